// vxplot: the reference host. It loads the qr7m driver from the installation the way a CAD host
// does and works with it from the command line.
#include "definitions_command.h"
#include "describe.h"
#include "plot_command.h"

#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"vxplot: a host for the qr7m raster driver", "vxplot"};
    app.require_subcommand(1);

    Host_Options host;
    app.add_option("--driver", host.driver,
                   "driver file name in the drv folder (default: the build of the language)");
    app.add_option("--driver-folder", host.driver_folder,
                   "folder holding the driver (default: drv beside vxplot)");
    app.add_option("--language", host.language, "host language, such as en-US (default en-US)");

    bool as_json = false;
    auto* describe = app.add_subcommand(
        "describe", "load the driver and print what it tells the host about the printer");
    describe->add_flag("--json", as_json, "print one JSON object instead of text");

    int status = 0;
    add_definitions_command(
        app, [&host] { return host.driver_file(); }, status);

    add_plot_commands(app, host, status);

    // A printer that drops the connection shows as a short write, not as a signal.
    std::signal(SIGPIPE, SIG_IGN);
    CLI11_PARSE(app, argc, argv);
    if (!describe->parsed())
        return status;
    try {
        Host_Session session(host);
        if (as_json)
            describe_json(session, std::cout);
        else
            describe_text(session, std::cout);
    } catch (const VX_Exception& error) {
        print_error(error);
        return 1;
    }
    return 0;
}
