// vxplot definitions: checking, showing and creating the advanced definitions file, for
// administrators who prepare one file for many machines.
#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <functional>

/// Adds `definitions check FILE`, `definitions show [FILE]` and `definitions init` to `app`.
/// `driver_file` gives the installed driver, beside which the definitions file lives; the exit
/// status of the command that ran is put into `status`.
void add_definitions_command(CLI::App& app, std::function<std::filesystem::path()> driver_file,
                             int& status);
