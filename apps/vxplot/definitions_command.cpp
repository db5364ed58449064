#include "definitions_command.h"

#include "definitions/definitions.h"
#include "settings/texts.h"

#include <fstream>
#include <iomanip>
#include <iostream>
#include <memory>

namespace {

struct Options {
    std::filesystem::path file;
    bool verbose = false;
};

// The whole file, or nothing (with the reason on standard error) when it cannot be read or is
// larger than the dialog's buffer.
std::unique_ptr<Definitions_Text> read_definitions(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "vxplot: cannot read " << file.string() << "\n";
        return nullptr;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto text = std::make_unique<Definitions_Text>();
    if (!text->assign(bytes)) {
        std::cerr << "vxplot: " << file.string() << " holds " << bytes.size()
                  << " bytes, more than " << Definitions_Text::capacity - 1 << "\n";
        return nullptr;
    }
    return text;
}

// Reads and checks the file; prints every fault and answers null when it is not valid.
std::unique_ptr<Definitions_Text> valid_definitions(const std::filesystem::path& file) {
    auto text = read_definitions(file);
    if (!text)
        return nullptr;
    auto faults = CheckDefinitions(text->view());
    for (const auto& fault : faults)
        std::cerr << file.string() << ": " << fault << "\n";
    return faults.empty() ? std::move(text) : nullptr;
}

std::string media_name(int paper) {
    const auto& list = paper <= 7 ? settings::g_texts.high_speed_media.data()
                                  : settings::g_texts.photo_quality_media.data();
    return vxp::to_utf8(list[paper <= 7 ? paper - 1 : paper - 8].text);
}

void show_table(const PaperBlockStore& store, std::ostream& out) {
    out << std::left << std::setw(9) << "paper" << std::setw(15) << "ink set" << std::setw(10)
        << "media" << std::right << std::setw(4) << "dpi";
    for (const auto& setting : settings::per_resolution)
        out << "  " << setting.file_tag;
    out << '\n';
    for (int paper = 1; paper <= paper_count; ++paper)
        for (auto resolution : {settings::Resolution::dpi360, settings::Resolution::dpi720}) {
            bool first = resolution == settings::Resolution::dpi360;
            out << std::left << std::setw(9) << (first ? paper_name(paper) : "") << std::setw(15)
                << (first ? (paper <= 7 ? "High Speed" : "Photo Quality") : "") << std::setw(10)
                << (first ? media_name(paper) : "") << std::right << std::setw(4)
                << (first ? 360 : 720);
            PaperSettings values{};
            ParsePaperSettings(store.block(paper, resolution).view(), values);
            for (std::size_t i = 0; i < settings::per_resolution.size(); ++i)
                out << "  "
                    << std::setw(static_cast<int>(
                           std::string_view(settings::per_resolution[i].file_tag).size()))
                    << values.field(i);
            out << '\n';
        }
}

} // namespace

void add_definitions_command(CLI::App& app, std::function<std::filesystem::path()> driver_file,
                             int& status) {
    auto options = std::make_shared<Options>();
    auto* command = app.add_subcommand(
        "definitions", "check, show or create the advanced definitions file (zelto7m.px_)");
    command->require_subcommand(1);
    auto installed = [driver_file] { return DefinitionsPaths(driver_file()).file; };

    auto* check = command->add_subcommand(
        "check", "check a definitions file; print every fault, exit 1 when there is one");
    check->add_option("FILE", options->file, "the file to check")->required();
    check->callback([options, &status] { status = valid_definitions(options->file) ? 0 : 1; });

    auto* show = command->add_subcommand(
        "show", "print the table of a definitions file (default: the installed one)");
    show->add_option("FILE", options->file, "the file to show");
    show->callback([options, installed, &status] {
        auto file = options->file.empty() ? installed() : options->file;
        auto text = valid_definitions(file);
        if (!text) {
            status = 1;
            return;
        }
        auto store = std::make_unique<PaperBlockStore>();
        ExtractAllPaperBlocks(text->view(), *store);
        show_table(*store, std::cout);
        status = 0;
    });

    auto* init = command->add_subcommand(
        "init", "create the installed definitions file with the defaults when it is missing "
                "(an incorrect one is kept as a backup and replaced, as the settings dialog does)");
    init->add_flag("-v,--verbose", options->verbose, "say what was done");
    init->callback([options, installed, &status] {
        auto file = installed();
        auto store = std::make_unique<PaperBlockStore>();
        auto text = std::make_unique<Definitions_Text>();
        Opening_Result result = ReadDefinitionsAtOpening(file, *store, *text, [] {
            vxp::message_box(nullptr, settings::g_texts.definitions_incorrect,
                             settings::g_texts.custom_properties_error,
                             vxp::mb_ok | vxp::mb_icon_error);
        });
        for (const auto& fault : result.faults)
            std::cerr << file.string() << ": " << fault << "\n";
        if (result.backup)
            std::cerr << "vxplot: the previous file is kept as " << result.backup->string() << "\n";
        status = result.file_valid || result.defaults_written ? 0 : 1;
        if (status)
            std::cerr << "vxplot: cannot write " << file.string() << "\n";
        else if (options->verbose)
            std::cout << file.string()
                      << (result.file_valid ? ": valid\n" : ": defaults written\n");
    });
}
