// vxplot plot, config and preview: plotting a drawing through the driver, keeping the plot
// configuration, and looking at the printer data that was sent.
#pragma once

#include "session.h"

#include <CLI/CLI.hpp>

/// Adds `plot`, `config init|show|set` and `preview` to `app`. The exit status of the command that
/// ran goes into `status`; `host` holds the global options when the command runs.
void add_plot_commands(CLI::App& app, const Host_Options& host, int& status);
