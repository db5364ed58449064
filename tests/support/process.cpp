#include "process.h"

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>

extern char** environ;

pid_t start_process(const std::vector<std::string>& arguments, const std::filesystem::path& out,
                    const std::filesystem::path& err, const std::filesystem::path& folder) {
    std::vector<std::string> args = arguments;
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    const int flags = O_WRONLY | O_CREAT | O_TRUNC;
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), flags, 0644);
    if (err == out)
        posix_spawn_file_actions_adddup2(&files, 1, 2);
    else
        posix_spawn_file_actions_addopen(&files, 2, err.c_str(), flags, 0644);
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&files, folder.c_str());
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&files);
    return pid;
}

int wait_for(pid_t pid) {
    int status = 0;
    if (pid <= 0 || waitpid(pid, &status, 0) < 0)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void stop_process(pid_t pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    wait_for(pid);
}

int bind_loopback(int socket) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}
