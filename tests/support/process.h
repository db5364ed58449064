// Running programs from tests: started with their output going to files, waited for, stopped.
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

/// Starts `arguments[0]` (looked up in PATH when it holds no "/") with the other arguments, its
/// standard output written to `out` and its errors to `err` (one file when they are the same),
/// in `folder` (empty: the current one). -1 when it cannot be started.
pid_t start_process(const std::vector<std::string>& arguments, const std::filesystem::path& out,
                    const std::filesystem::path& err, const std::filesystem::path& folder = {});

/// Waits for the process: its exit status, or 128 + the signal that ended it.
int wait_for(pid_t pid);

/// Ends the process (SIGTERM) and waits for it; nothing for -1.
void stop_process(pid_t pid);

/// Binds a socket to a free port of the loopback address, for a server a test starts: the port.
int bind_loopback(int socket);
