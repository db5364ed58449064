#include "platform/dialogs/dialog.h"
#include "support/device_fixture.h"
#include "support/thrown_by.h"

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace {

// A plot monitor that answers "cancelled" from its n-th question on.
class Cancelling_Monitor : public VX_Plot_Monitor {
public:
    explicit Cancelling_Monitor(int after) : m_after(after) {}
    std::int32_t is_cancelled(std::int32_t) const override { return ++m_asked > m_after ? 1 : 0; }

private:
    int m_after;
    mutable int m_asked = 0;
};

// A device printing through the trace engine (or the PostScript engine) of its own installation.
struct Pipeline_Fixture : Device_Fixture {
    std::filesystem::path trace = layout.root() / "trace.jsonl";
    std::filesystem::path output = layout.root() / "out.prn";
    std::filesystem::path device_file = layout.root() / "device.prn";

    std::filesystem::path previous_folder = std::filesystem::current_path();

    Pipeline_Fixture() {
        // The copy spool file goes to the current folder when printing to a device.
        std::filesystem::current_path(layout.root());
        vxp::set_program_file_name((layout.root() / "host").wstring());
        std::filesystem::copy_file(TRACE_ENGINE, layout.drv() / "Z_PENG12.DLL");
        setenv("ZPENG_TRACE", trace.c_str(), 1);
        unsetenv("ZPENG_FAIL");
        vxp::clear_shown_windows();
        plot_to(output);
    }
    ~Pipeline_Fixture() override {
        std::filesystem::current_path(previous_folder);
        vxp::set_program_file_name(L"");
        unsetenv("ZPENG_TRACE");
        unsetenv("ZPENG_FAIL");
    }
    void plot_to(const std::filesystem::path& file, std::int32_t copies = 1) {
        auto shoebox = definition->get_shoebox();
        shoebox->plot_to_file_name = file.wstring();
        shoebox->device_destination = device_file.wstring();
        configuration().get_media_configuration()->set_copies(copies);
    }
    // Binds and configures the device for a user-defined page of 20 x `rows` pixels at 360 dpi.
    // The engine's page is the printable area plus 1 mm: 34 x (rows + 14) pixels.
    void configure(int rows, int setting = 1) {
        select(L"P0", L"UserDefined", {0, 0, 20 * 25.4 / 360, rows * 25.4 / 360}, setting);
        bind();
        device->establish_configuration();
        ASSERT_EQ(device->device_options().window_height, rows);
    }
    // Something is drawn: the clear action makes the device the output driver.
    void draw() {
        VX_Action clear = device->actions().get(vx_action_clear_drawing_buffer);
        reinterpret_cast<void (*)(VX_Renderer_Data*)>(clear.routine)(clear.owner);
    }
    std::vector<nlohmann::json> calls() {
        std::vector<nlohmann::json> lines;
        std::ifstream in(trace);
        for (std::string line; std::getline(in, line);)
            lines.push_back(nlohmann::json::parse(line));
        return lines;
    }
    std::vector<std::string> call_names() {
        std::vector<std::string> names;
        for (const auto& line : calls())
            names.push_back(line["call"]);
        return names;
    }
};

std::string one_copy(int rows) {
    std::string bytes = "InitJob\nInitPage\n";
    for (int top = 0; top + 1 < rows; top += 2)
        bytes += "BandOut " + std::to_string(top) + " " + std::to_string(top + 2) + "\n";
    if (rows % 2)
        bytes += "BandOut " + std::to_string(rows - 1) + " " + std::to_string(rows) + "\n";
    return bytes + "TerminatePage\nDestroyJob\n";
}

TEST_F(Pipeline_Fixture, OneCopyToAFile) {
    for (int rows : {1, 6, 7}) {
        SCOPED_TRACE(std::to_string(rows) + " rows");
        std::filesystem::remove(trace);
        vxp::clear_shown_windows();
        configure(rows);
        device->begin_picture({L"drawing", L"", 0, {}});
        draw();
        device->end_picture();
        EXPECT_EQ(read_file(output), one_copy(rows));
        auto lines = calls();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[0]["job"]["36"], 34) << "the printable width plus 1 mm";
        EXPECT_EQ(lines[0]["job"]["40"], rows + 14);
        EXPECT_EQ(lines[0]["job"]["84"], 530) << "roll paper";
        EXPECT_EQ(lines[0]["modules"]["16"], true) << "the output callback";
        EXPECT_EQ(lines[2]["band"], nlohmann::json::array({0, 0, 20, rows == 1 ? 1 : 2}));
        auto windows = vxp::shown_windows();
        ASSERT_EQ(windows.size(), 1u);
        EXPECT_EQ(windows[0].template_id, 116u) << "a plot to a file";
        EXPECT_EQ(windows[0].caption, L"Print Spool Status");
        ASSERT_EQ(windows[0].bars.size(), 1u);
        EXPECT_EQ(windows[0].bars[0].high, rows);
        EXPECT_EQ(windows[0].bars[0].steps_taken, rows);
        EXPECT_TRUE(windows[0].closed);
        auto label = std::find_if(windows[0].item_texts.begin(), windows[0].item_texts.end(),
                                  [](const auto& item) { return item.first == 1041; });
        ASSERT_NE(label, windows[0].item_texts.end());
        EXPECT_EQ(label->second, L"Current Page");
    }
}

TEST_F(Pipeline_Fixture, NothingDrawnSendsNothing) {
    configure(4);
    device->begin_picture({});
    device->end_picture();
    EXPECT_EQ(read_file(output), "");
    EXPECT_EQ(call_names().size(), 6u) << "the engine still runs";
    EXPECT_EQ(vxp::shown_windows().at(0).template_id, 117u);
}

TEST_F(Pipeline_Fixture, ThreeCopiesToADeviceReplayTheFirst) {
    plot_to("", 3);
    configure(5);
    device->begin_picture({});
    draw();
    device->end_picture();
    std::string copy = one_copy(5);
    EXPECT_EQ(read_file(device_file), copy + copy + copy);
    EXPECT_EQ(call_names().size(), 7u) << "the engine runs once";
    EXPECT_FALSE(std::filesystem::exists("zelto.cpy")) << "the spool file is removed";
    auto window = vxp::shown_windows().at(0);
    EXPECT_EQ(window.template_id, 112u);
    EXPECT_EQ(window.caption, L"Print Spool Status (3 Copies)");
    ASSERT_EQ(window.bars.size(), 2u);
    EXPECT_EQ(window.bars[0].high, 100);
    EXPECT_GT(window.bars[0].steps_taken, 1);
}

TEST_F(Pipeline_Fixture, ThreeCopiesToAFileNameGiveOne) {
    plot_to(output, 3);
    configure(3);
    device->begin_picture({});
    draw();
    device->end_picture();
    EXPECT_EQ(read_file(output), one_copy(3));
}

TEST_F(Pipeline_Fixture, TheSpoolFileDoesNotFollowLinks) {
    plot_to("", 2);
    std::filesystem::path victim = layout.root() / "victim";
    std::ofstream(victim) << "precious";
    std::filesystem::path spool = std::filesystem::current_path() / "zelto.cpy";
    std::filesystem::remove(spool);
    std::filesystem::create_symlink(victim, spool);
    configure(3);
    device->begin_picture({});
    draw();
    device->end_picture();
    EXPECT_EQ(read_file(victim), "precious");
    EXPECT_EQ(read_file(device_file), one_copy(3) + one_copy(3));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(spool)));
}

TEST_F(Pipeline_Fixture, EngineErrorsReleaseEverythingAndStopTheEngine) {
    struct Case {
        const char* failure;
        const char* text;
        std::size_t calls; // calls the trace shows
    };
    for (auto c :
         {Case{"InitJob:1:-15", "Spooler Error", 1},
          Case{"InitPage:1:-5", "Incorrect handle used.", 2},
          Case{"BandOut:2:-10", "An error has occurred. The cause cannot be identified.", 4},
          Case{"BandOut:1:-3", "Other Error", 3}}) {
        SCOPED_TRACE(c.failure);
        std::filesystem::remove(trace);
        setenv("ZPENG_FAIL", c.failure, 1);
        configure(8);
        device->begin_picture({});
        draw();
        VX_Exception e = thrown_by([&] { device->end_picture(); });
        EXPECT_EQ(e.message_id(), 104);
        EXPECT_EQ(e.message_text(), "Image Engine File Writer DLL load failure");
        EXPECT_EQ(e.routine(), "RASTER_Driver::end_picture");
        EXPECT_EQ(e.detail(), c.text);
        EXPECT_EQ(calls().size(), c.calls) << "nothing is called after the failure";
        EXPECT_TRUE(vxp::shown_windows().empty() || vxp::shown_windows().back().closed);
        unsetenv("ZPENG_FAIL");
        device->begin_picture({}); // the device is usable again
        draw();
        device->end_picture();
    }
}

TEST_F(Pipeline_Fixture, CancellingBeforeOrDuringThePage) {
    configure(10);
    auto shoebox = definition->get_shoebox();
    shoebox->plot_monitor = vx_make<Cancelling_Monitor>(0);
    bind();
    device->establish_configuration();
    device->begin_picture({});
    draw();
    device->end_picture();
    EXPECT_FALSE(std::filesystem::exists(trace)) << "nothing reaches the engine";

    shoebox->plot_monitor = vx_make<Cancelling_Monitor>(3);
    plot_to("", 3);
    bind();
    device->establish_configuration();
    device->begin_picture({});
    draw();
    device->end_picture();
    auto names = call_names();
    EXPECT_EQ(names.back(), "DestroyJob") << "the page is ended";
    EXPECT_EQ(std::count(names.begin(), names.end(), "BandOut"), 1);
    EXPECT_EQ(read_file(device_file), "InitJob\nInitPage\nBandOut 0 2\nTerminatePage\nDestroyJob\n")
        << "no copies are replayed";
}

TEST_F(Pipeline_Fixture, CancellingDuringAReplaySendsTheLastChunkOnce) {
    plot_to("", 3);
    // Asked once before the page, once per row (4), then once per replayed chunk: questions 6
    // and 7 let the replay's chunks 0 and 1 through, the eighth (chunk 2) cancels.
    definition->get_shoebox()->plot_monitor = vx_make<Cancelling_Monitor>(7);
    configure(4);
    device->begin_picture({});
    draw();
    device->end_picture();
    EXPECT_EQ(read_file(device_file),
              one_copy(4) + "InitJob\nInitPage\n" + "TerminatePage\nDestroyJob\n");
}

TEST_F(Pipeline_Fixture, AShortWriteIsReportedOnceAndTheRestDropped) {
    plot_to("/dev/full");
    auto monitor = vx_make<VX_Plot_Monitor>();
    definition->get_shoebox()->plot_monitor = monitor;
    configure(6);
    device->begin_picture({});
    draw();
    device->end_picture();
    EXPECT_EQ(monitor->statuses(), std::vector<std::int32_t>{2});
}

TEST_F(Pipeline_Fixture, AMissingEngineIsSaidOnce) {
    std::filesystem::remove(layout.drv() / "Z_PENG12.DLL");
    configure(4);
    VX_Exception e = thrown_by([&] { device->begin_picture({}); });
    EXPECT_EQ(e.level(), 4);
    EXPECT_EQ(e.message_id(), 102);
    EXPECT_EQ(e.routine(), "RASTER_Driver::begin_picture");
    EXPECT_EQ(e.detail(), "");
    auto boxes = vxp::shown_message_boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Z_PENG12.DLL has not been installed.");
    EXPECT_EQ(boxes[0].caption, L"Serious Kadrion error");
    EXPECT_EQ(boxes[0].flags, vxp::mb_ok | vxp::mb_icon_error);
}

TEST_F(Pipeline_Fixture, ThePostscriptEngineOutputRendersAsBlankPages) {
    std::filesystem::copy_file(std::string(VX_STAGE_DIR) + "/bin/drv/Z_PENG12.DLL",
                               layout.drv() / "Z_PENG12.DLL",
                               std::filesystem::copy_options::overwrite_existing);
    plot_to("", 3);
    configure(9);
    device->begin_picture({});
    draw();
    device->end_picture();
    std::string command = "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r360 -sOutputFile=" +
                          (layout.root() / "page-%d.ppm").string() + " " + device_file.string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (int page = 1; page <= 3; ++page) {
        std::string image = read_file(layout.root() / ("page-" + std::to_string(page) + ".ppm"));
        ASSERT_FALSE(image.empty()) << "page " << page;
        std::string pixels = image.substr(image.size() - 34 * 23 * 3);
        EXPECT_EQ(pixels, std::string(34 * 23 * 3, '\xff')) << "a blank page is white";
        EXPECT_NE(image.find("34 23"), std::string::npos) << "34 x 23 pixels";
    }
    EXPECT_FALSE(std::filesystem::exists(layout.root() / "page-4.ppm"));
}

} // namespace

namespace {

// The status window as a Qt window (offscreen): it follows the page and leaves its picture, as it
// looked when it closed, in the build tree for a person to look at.
TEST_F(Pipeline_Fixture, TheStatusWindowInQt) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    set_dialog_backend(Dialog_Backend::qt);
    const std::filesystem::path folder = VX_SCREENSHOT_DIR;
    std::filesystem::create_directories(folder);
    std::filesystem::remove(folder / "116.png");
    vxp::set_window_picture_folder(folder.string());
    configure(40);
    device->begin_picture({L"drawing", L"", 0, {}});
    draw();
    device->end_picture();
    vxp::set_window_picture_folder("");
    set_dialog_backend(Dialog_Backend::headless);
    EXPECT_EQ(read_file(output), one_copy(40));
    ASSERT_EQ(vxp::shown_windows().size(), 1u);
    EXPECT_EQ(vxp::shown_windows()[0].bars.at(0).steps_taken, 40);
    EXPECT_GT(std::filesystem::file_size(folder / "116.png"), 500u);
}

} // namespace
