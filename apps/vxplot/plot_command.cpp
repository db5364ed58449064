#include "plot_command.h"

#include "device_output.h"
#include "drawing.h"
#include "platform/dialogs/dialog.h"
#include "plot_config.h"
#include "sheet_render.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// Ctrl-C asks the plot monitor to cancel; a second Ctrl-C ends the program at once.
std::atomic<int> interrupts{0};

void on_interrupt(int) {
    if (interrupts.fetch_add(1) >= 1) {
        std::signal(SIGINT, SIG_DFL);
        std::raise(SIGINT);
    }
}

class Terminal_Plot_Monitor : public VX_Plot_Monitor {
public:
    std::int32_t is_cancelled(std::int32_t what) const override {
        return interrupts.load() > 0 ? 1 : VX_Plot_Monitor::is_cancelled(what);
    }
};

struct Plot_Options {
    fs::path drawing;
    fs::path config;
    std::string output, device;
    std::optional<int> copies, dpi;
    std::string paper, source, mode;
};

json load_config(const Host_Session& session, const fs::path& file) {
    json config = file.empty() ? json::object() : read_plot_config(file);
    return checked_plot_config(session.definition(), config);
}

// Copies a file to standard output; false when it cannot be read or written.
bool copy_to_stdout(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::cout << in.rdbuf();
    std::cout.flush();
    return in.good() || in.eof() ? bool(std::cout) : false;
}

int plot(const Host_Options& host, const Plot_Options& o) {
    if (!o.output.empty() && !o.device.empty()) {
        std::cerr << "vxplot: give either -o FILE or -d DEVICE, not both\n";
        return 2;
    }
    // The drawing is read first: a malformed one is reported before anything is sent.
    drawing::Drawing sheet = drawing::read_drawing(o.drawing);
    Host_Session session(with_configured_language(host, o.config));
    VX_Plotter_Definition& definition = session.definition();
    json config = load_config(session, o.config);
    if (!o.source.empty())
        set_plot_config(definition, config, "source", o.source);
    if (!o.paper.empty())
        set_plot_config(definition, config, "size", o.paper);
    if (o.dpi)
        set_plot_config(definition, config, "dpi", std::to_string(*o.dpi));
    if (!o.mode.empty())
        set_plot_config(definition, config, "mode", o.mode);
    if (o.copies)
        set_plot_config(definition, config, "copies", std::to_string(*o.copies));

    // Where the job goes: a file (the driver's plot-to-file case), standard output (through a
    // temporary file, since the driver reads the first copy back for the others), or a printer.
    std::unique_ptr<Device_Output> device;
    fs::path stdout_file;
    if (o.output == "-") {
        char name[] = "/tmp/vxplot-XXXXXX";
        int fd = ::mkstemp(name);
        if (fd < 0) {
            std::cerr << "vxplot: cannot make a temporary file for standard output\n";
            return 1;
        }
        ::close(fd);
        stdout_file = name;
        config["plot_to_file"] = stdout_file.string();
    } else if (!o.output.empty()) {
        config["plot_to_file"] = fs::absolute(o.output).string();
    } else if (!o.device.empty()) {
        device = std::make_unique<Device_Output>(
            o.device, sheet.title.empty() ? o.drawing.filename().string() : sheet.title);
        config["plot_to_file"] = "";
        definition.get_shoebox()->device_destination = vxp::from_utf8(device->channel());
    } else if (config["plot_to_file"].get<std::string>().empty()) {
        std::cerr << "vxplot: no output: give -o FILE, -o - or -d DEVICE, or set plot_to_file "
                     "in the configuration\n";
        return 2;
    }
    apply_plot_config(definition, config);
    auto monitor = vx_make<Terminal_Plot_Monitor>();
    definition.get_shoebox()->plot_monitor = monitor;

    interrupts = 0;
    auto previous = std::signal(SIGINT, on_interrupt);
    int status = 0;
    VX_Plotter_Device_Data* plotter = session.make_device();
    try {
        if (!plotter)
            throw VX_Error(nullptr, vx_msg_plugin_unusable, "vxplot plot",
                           "the driver could not create its device", "");
        plotter->set_error_handler(session.handler_pointer());
        plotter->set_plotter_definition(session.definition_pointer());
        plotter->establish_configuration();
        VX_Document_Info document;
        document.name = vxp::from_utf8(o.drawing.filename().string());
        document.title = vxp::from_utf8(sheet.title);
        plotter->begin_picture(document);
        render_drawing(*plotter, sheet, config["dpi"].get<int>());
        plotter->end_picture();
    } catch (const VX_Exception& error) {
        print_error(error);
        status = 1;
    }
    if (plotter)
        plotter->release_reference();
    std::signal(SIGINT, previous);
    if (::isatty(STDERR_FILENO))
        std::fputc('\n', stderr); // ends the progress line the status window drew

    if (device && !device->finish()) {
        std::cerr << "vxplot: the job did not reach " << o.device << ": " << device->error()
                  << "\n";
        status = 1;
    }
    for (std::int32_t reported : monitor->statuses())
        if (reported == 2 && status == 0) {
            std::cerr << "vxplot: the printer data could not be written completely\n";
            status = 1;
        }
    if (!stdout_file.empty()) {
        if (status == 0 && interrupts == 0 && !copy_to_stdout(stdout_file))
            status = 1;
        fs::remove(stdout_file);
    }
    if (interrupts > 0) {
        std::cerr << "vxplot: plot cancelled\n";
        return 128 + SIGINT;
    }
    return status;
}

int config_command(const Host_Options& host, const std::string& action, const fs::path& file,
                   const std::string& key, const std::string& value) {
    Host_Session session(with_configured_language(host, action == "init" ? fs::path() : file));
    if (action == "init") {
        if (fs::exists(file)) {
            std::cerr << "vxplot: " << file.string() << " exists; it was left as it was\n";
            return 1;
        }
        write_plot_config(file, default_plot_config(session.definition()));
        return 0;
    }
    json config = load_config(session, file);
    if (action == "show") {
        std::cout << config.dump(2) << "\n";
        return 0;
    }
    set_plot_config(session.definition(), config, key, value);
    write_plot_config(file, config);
    return 0;
}

// Opens the driver's Custom Properties dialog on the plot configuration; saves its custom items
// when the dialog ends with OK. The user's actions come from a script (one action per line, see
// platform/dialogs/dialog.h), for unattended set-up of many machines, or from the user at a
// window when there is a display and no script.
int configure(const Host_Options& host, const fs::path& file, const fs::path& script) {
    std::vector<Dialog_Action> actions;
    if (!script.empty()) {
        std::ifstream in(script);
        if (!in) {
            std::cerr << "vxplot: " << script.string() << ": cannot be read\n";
            return 2;
        }
        actions = parse_dialog_script(std::string(std::istreambuf_iterator<char>(in), {}));
    } else if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::cerr << "vxplot: there is no display for the settings dialog; give the user's "
                     "actions with --script FILE\n";
        return 2;
    }
    Host_Session session(with_configured_language(host, fs::exists(file) ? file : fs::path()));
    VX_Plotter_Definition& definition = session.definition();
    json config = load_config(session, fs::exists(file) ? file : fs::path());
    apply_plot_config(definition, config);
    clear_dialog_actions();
    queue_dialog_actions(actions);
    const bool confirmed = definition.CustomConfigure(nullptr);
    clear_dialog_actions();
    if (!confirmed) {
        std::cerr << "vxplot: the settings were cancelled; " << file.string()
                  << " was left as it was\n";
        return 1;
    }
    auto items = definition.get_plotter_configuration()->get_custom_configuration();
    for (auto& [key, value] : config["custom"].items()) {
        auto item = items->find(vxp::from_utf8(key));
        auto data = item ? item->get_data() : nullptr;
        if (data && value.is_boolean())
            value = (data->get_long() & 0xFF) != 0;
        else if (data)
            value = data->get_long();
    }
    write_plot_config(file, config);
    return 0;
}

// Renders printer data with Ghostscript: a PNG, or PWG Raster when the output ends in .pwg.
int preview(const fs::path& input, const fs::path& output, int resolution) {
    if (!fs::is_regular_file(input)) {
        std::cerr << "vxplot: " << input.string() << " does not exist\n";
        return 1;
    }
    const bool pwg = output.extension() == ".pwg";
    std::vector<std::string> args = {"gs",        "-q",
                                     "-dSAFER",   "-dBATCH",
                                     "-dNOPAUSE", pwg ? "-sDEVICE=pwgraster" : "-sDEVICE=png16m"};
    // A PNG well below the printer's resolution is rendered at four times its resolution and
    // averaged down, so hairlines and hatching show instead of falling between the samples.
    if (!pwg && resolution <= 180) {
        args.push_back("-r" + std::to_string(resolution * 4));
        args.push_back("-dDownScaleFactor=4");
    } else {
        args.push_back("-r" + std::to_string(resolution));
    }
    args.push_back("-sOutputFile=" + output.string());
    args.push_back(input.string());
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    // Ghostscript's own output (the raster devices report every page; errors go to standard
    // output) is shown, on standard error, only when it fails.
    std::FILE* chatter = std::tmpfile();
    pid_t child = ::fork();
    if (child == 0) {
        if (chatter) {
            ::dup2(::fileno(chatter), STDOUT_FILENO);
            ::dup2(::fileno(chatter), STDERR_FILENO);
        }
        ::execvp("gs", argv.data());
        std::perror("vxplot: cannot run gs (is Ghostscript installed?)");
        ::_exit(127);
    }
    int wait_status = 0;
    const bool failed = child < 0 || ::waitpid(child, &wait_status, 0) < 0 ||
                        !WIFEXITED(wait_status) || WEXITSTATUS(wait_status) != 0;
    if (failed && chatter) {
        std::rewind(chatter);
        char line[512];
        while (std::fgets(line, sizeof line, chatter))
            std::cerr << line;
    }
    if (chatter)
        std::fclose(chatter);
    if (failed) {
        std::cerr << "vxplot: Ghostscript could not render " << input.string() << "\n";
        return 1;
    }
    return 0;
}

// Runs a command body, turning the errors users can cause into messages and exit statuses.
template <class Body>
int guarded(Body&& body) {
    try {
        return body();
    } catch (const VX_Exception& error) {
        print_error(error);
    } catch (const drawing::Drawing_Error& error) {
        std::cerr << "vxplot: " << error.what() << "\n";
        return 2;
    } catch (const Config_Error& error) {
        std::cerr << "vxplot: " << error.what() << "\n";
        return 2;
    } catch (const std::invalid_argument& error) {
        std::cerr << "vxplot: " << error.what() << "\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "vxplot: " << error.what() << "\n";
    }
    return 1;
}

} // namespace

void add_plot_commands(CLI::App& app, const Host_Options& host, int& status) {
    auto plot_options = std::make_shared<Plot_Options>();
    auto* plot_command = app.add_subcommand("plot", "plot a drawing (JSON display list)");
    plot_command->add_option("DRAWING", plot_options->drawing, "the drawing")
        ->required()
        ->check(CLI::ExistingFile);
    plot_command
        ->add_option("-c,--config", plot_options->config,
                     "plot configuration file (default: the printer's defaults)")
        ->check(CLI::ExistingFile);
    plot_command->add_option("-o,--output", plot_options->output,
                             "write the printer data to FILE (- for standard output)");
    plot_command->add_option("-d,--device", plot_options->device,
                             "send the job to socket://HOST:PORT or ipp://HOST:PORT/PATH");
    plot_command->add_option("-n,--copies", plot_options->copies, "number of copies");
    plot_command->add_option("-p,--paper", plot_options->paper, "paper size key");
    plot_command->add_option("-s,--source", plot_options->source, "media source P0 to P3");
    plot_command->add_option("-m,--mode", plot_options->mode,
                             "colour mode: color256, color, gray256, gray or mono");
    plot_command->add_option("-r,--dpi", plot_options->dpi, "resolution")
        ->check(CLI::IsMember({360, 720}));
    plot_command->callback([&host, &status, plot_options] {
        status = guarded([&] { return plot(host, *plot_options); });
    });

    struct Config_Options {
        std::string action, key, value;
        fs::path file = "vxplot-config.json";
    };
    auto config_options = std::make_shared<Config_Options>();
    auto* config = app.add_subcommand("config", "create, show or change a plot configuration");
    config->add_option("ACTION", config_options->action, "init, show or set")
        ->required()
        ->check(CLI::IsMember({"init", "show", "set"}));
    config->add_option("KEY", config_options->key, "the key to set");
    config->add_option("VALUE", config_options->value, "its new value");
    config->add_option("-c,--config", config_options->file, "the configuration file")
        ->capture_default_str();
    config->callback([&host, &status, config_options] {
        const Config_Options& c = *config_options;
        if (c.action == "set" && (c.key.empty() || c.value.empty())) {
            std::cerr << "vxplot: config set needs KEY and VALUE\n";
            status = 2;
            return;
        }
        status = guarded([&] { return config_command(host, c.action, c.file, c.key, c.value); });
    });

    struct Configure_Options {
        fs::path file = "vxplot-config.json", script;
    };
    auto configure_options = std::make_shared<Configure_Options>();
    auto* configure_command = app.add_subcommand(
        "configure", "edit the driver's own settings in its Custom Properties dialog");
    configure_command->add_option("-c,--config", configure_options->file, "the configuration file")
        ->capture_default_str();
    configure_command->add_option(
        "--script", configure_options->script,
        "the user's actions, one per line (click ID, select ID N, type ID TEXT, ok, ...); "
        "without it the dialog opens on the display");
    configure_command->callback([&host, &status, configure_options] {
        status = guarded(
            [&] { return configure(host, configure_options->file, configure_options->script); });
    });

    struct Preview_Options {
        fs::path input, output;
        int resolution = 72;
    };
    auto preview_options = std::make_shared<Preview_Options>();
    auto* preview_command =
        app.add_subcommand("preview", "render printer data to a PNG (or .pwg) with Ghostscript");
    preview_command->add_option("FILE", preview_options->input, "printer data")->required();
    preview_command->add_option("-o,--output", preview_options->output, "the image to write")
        ->required();
    preview_command
        ->add_option("-r,--resolution", preview_options->resolution, "dots per inch of the preview")
        ->capture_default_str()
        ->check(CLI::Range(1, 720));
    preview_command->callback([&status, preview_options] {
        status = guarded([&] {
            return preview(preview_options->input, preview_options->output,
                           preview_options->resolution);
        });
    });
}
