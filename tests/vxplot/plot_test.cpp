// vxplot plot, config and preview, run as a user runs them: the staged program on files in a
// scratch folder, with the printer data read back through Ghostscript.
#include "support/host_layout.h"
#include "support/png_file.h"
#include "support/process.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct Outcome {
    int status = -1; ///< exit status, or 128 + the signal that ended the program
    std::string out, err;
};

// Starts vxplot in `dir` with its output and errors going to files there.
pid_t start(const fs::path& dir, const std::vector<std::string>& arguments) {
    std::vector<std::string> args = {std::string(VX_STAGE_DIR) + "/bin/vxplot"};
    args.insert(args.end(), arguments.begin(), arguments.end());
    return start_process(args, dir / "stdout", dir / "stderr", dir);
}

Outcome finish(const fs::path& dir, pid_t pid) {
    Outcome run;
    run.status = wait_for(pid);
    run.out = read_file(dir / "stdout");
    run.err = read_file(dir / "stderr");
    return run;
}

struct Plot_Fixture : ::testing::Test {
    Host_Layout scratch;
    fs::path dir = scratch.root();

    Outcome vxplot(const std::vector<std::string>& arguments) {
        return finish(dir, start(dir, arguments));
    }
    fs::path write_drawing(const std::string& name, const json& drawing) {
        std::ofstream(dir / name) << drawing.dump();
        return dir / name;
    }
    // A 40 x 30 mm sheet: a red square 10 mm wide at (10, 10), on A4.
    json small_drawing() {
        return {{"title", "test"},
                {"elements",
                 {{{"type", "polygon"},
                   {"outline", {{10, 10}, {20, 10}, {20, 20}, {10, 20}}},
                   {"color", {255, 0, 0}}}}}};
    }
    // The colour at (x, y) mm from the lower-left corner of the printable area in a PostScript
    // file rendered at 72 dpi, as "r,g,b".
    std::string colour_at(const fs::path& printer_data, double x_mm, double y_mm) {
        fs::path ppm = dir / "page.ppm";
        std::string command =
            "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r72 -sOutputFile=" + ppm.string() +
            " " + printer_data.string();
        if (std::system(command.c_str()) != 0)
            return "unreadable";
        std::string data = read_file(ppm);
        // P6, a comment line, width height, 255.
        std::size_t at = 0;
        std::vector<std::string> header;
        while (header.size() < 4) {
            std::size_t end = data.find('\n', at);
            std::string line = data.substr(at, end - at);
            at = end + 1;
            if (!line.empty() && line[0] != '#')
                header.push_back(line);
            if (header.size() == 2 && header[1].find(' ') != std::string::npos) {
                header.push_back(header[1].substr(header[1].find(' ') + 1));
                header[1] = header[1].substr(0, header[1].find(' '));
            }
        }
        int width = std::stoi(header[1]), height = std::stoi(header[2]);
        // The page of the printer data is the printable area.
        int px = int(x_mm / 25.4 * 72), py = height - 1 - int(y_mm / 25.4 * 72);
        const auto* p = reinterpret_cast<const unsigned char*>(data.data() + at) +
                        (std::size_t(py) * width + px) * 3;
        return std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]);
    }
};

TEST_F(Plot_Fixture, PlotsToAFileInEachModeAndToStandardOutput) {
    fs::path drawing = write_drawing("d.json", small_drawing());
    struct Case {
        const char* mode;
        const char* dpi;
        const char* inside;
    };
    const Case cases[] = {
        {"color", "360", "255,0,0"},    {"color256", "720", "255,0,0"}, {"gray", "360", "76,76,76"},
        {"gray256", "360", "76,76,76"}, {"mono", "360", "0,0,0"},
    };
    for (const auto& c : cases) {
        Outcome run = vxplot({"plot", drawing.string(), "-o", "out.ps", "-p",
                              "A4_Roll_Paper_Portrait", "-m", c.mode, "-r", c.dpi});
        ASSERT_EQ(run.status, 0) << c.mode << run.err;
        EXPECT_EQ(run.out, "") << "nothing printed on success";
        std::string inside = colour_at(dir / "out.ps", 15, 15);
        if (std::string(c.mode).starts_with("gray")) {
            // Grey of red: one value in all three channels, neither white nor black.
            EXPECT_NE(inside, "255,255,255") << c.mode;
            EXPECT_EQ(inside.substr(0, inside.find(',')), inside.substr(inside.rfind(',') + 1))
                << c.mode << " " << inside;
        } else {
            EXPECT_EQ(inside, c.inside) << c.mode;
        }
        EXPECT_EQ(colour_at(dir / "out.ps", 30, 15), "255,255,255") << c.mode;
    }
    Outcome to_file =
        vxplot({"plot", drawing.string(), "-o", "file.ps", "-p", "A4_Roll_Paper_Portrait"});
    Outcome to_stdout =
        vxplot({"plot", drawing.string(), "-o", "-", "-p", "A4_Roll_Paper_Portrait"});
    ASSERT_EQ(to_stdout.status, 0) << to_stdout.err;
    EXPECT_EQ(to_stdout.out, read_file(dir / "file.ps"));
    EXPECT_GT(to_stdout.out.size(), 1000u);
}

// A drawing with every kind of element, plotted in each colour mode of the printer and read back
// through Ghostscript: a red area, a thick blue line, hairlines and dots, a small dark green image
// (sent whole, as the colour mode's image) and a large magenta one (fetched in strips from an
// image source), with and without the user's colour conversions.
TEST_F(Plot_Fixture, DrawingsRenderInEveryColourMode) {
    write_png(dir / "green.png", 2, 2,
              {0, 100, 0, 255, 0, 100, 0, 255, 0, 100, 0, 255, 0, 100, 0, 255});
    std::vector<std::uint8_t> magenta(64 * 64 * 4);
    for (std::size_t i = 0; i < magenta.size(); i += 4)
        magenta[i] = 200, magenta[i + 2] = 200, magenta[i + 3] = 255;
    write_png(dir / "magenta.png", 64, 64, magenta);
    json drawing = {{"elements",
                     {{{"type", "polygon"},
                       {"outline", {{10, 10}, {40, 10}, {40, 40}, {10, 40}}},
                       {"color", {255, 0, 0}}},
                      {{"type", "line"},
                       {"points", {{10, 60}, {80, 60}}},
                       {"width", 5},
                       {"color", {0, 0, 255}}},
                      {{"type", "line"}, {"points", {{10, 80}, {80, 90}}}, {"color", {0, 0, 0}}},
                      {{"type", "dot"}, {"at", {50, 50}}, {"color", {0, 0, 0}}},
                      {{"type", "image"},
                       {"file", "green.png"},
                       {"at", {60, 10}},
                       {"width", 20},
                       {"height", 20}},
                      // 150 mm at 360 dpi: 4.4 million dots, above the image source threshold.
                      {{"type", "image"},
                       {"file", "magenta.png"},
                       {"at", {100, 200}},
                       {"width", 150},
                       {"height", 150}}}}};
    fs::path file = write_drawing("all.json", drawing);
    struct Case {
        const char* mode;
        const char* dpi;
        const char* area;
        const char* line;
        const char* small_image;
        const char* large_image;
    };
    const Case cases[] = {
        {"color", "360", "255,0,0", "0,0,255", "0,100,0", "200,0,200"},
        {"color", "720", "255,0,0", "0,0,255", "0,100,0", "200,0,200"},
        {"color256", "360", "255,0,0", "0,0,255", "0,102,0", "204,0,204"},
        {"gray", "360", "76,76,76", "28,28,28", "59,59,59", "82,82,82"},
        // Grey of the nearest palette colours, (0, 102, 0) and (204, 0, 204).
        {"gray256", "360", "76,76,76", "28,28,28", "60,60,60", "83,83,83"},
        {"mono", "360", "0,0,0", "0,0,0", "0,0,0", "0,0,0"},
        {"mono", "720", "0,0,0", "0,0,0", "0,0,0", "0,0,0"},
    };
    for (const auto& c : cases) {
        Outcome run = vxplot({"plot", file.string(), "-o", "all.ps", "-p", "A3_Roll_Paper_Portrait",
                              "-m", c.mode, "-r", c.dpi});
        ASSERT_EQ(run.status, 0) << c.mode << run.err;
        const fs::path ps = dir / "all.ps";
        EXPECT_EQ(colour_at(ps, 25, 25), c.area) << c.mode << " " << c.dpi;
        EXPECT_EQ(colour_at(ps, 45, 60), c.line) << c.mode << " " << c.dpi;
        EXPECT_EQ(colour_at(ps, 70, 20), c.small_image) << c.mode << " " << c.dpi;
        EXPECT_EQ(colour_at(ps, 175, 275), c.large_image) << c.mode << " " << c.dpi;
        EXPECT_EQ(colour_at(ps, 90, 150), "255,255,255") << c.mode << " " << c.dpi;
    }

    // Substituting red by blue converts image pixels; areas keep the colour they were drawn in
    // (blue is in the palette, so the 256-colour table is not rewritten either).
    write_png(dir / "green.png", 1, 1, {255, 0, 0, 255}); // now red
    ASSERT_EQ(vxplot({"config", "init", "-c", "swap.json"}).status, 0);
    for (const char* set :
         {"RASTER_ChangeColor true", "RASTER_ConvertColor1 true",
          "RASTER_RGB_Compare1_IndexColor 255", "RASTER_RGB_Swap1_IndexColor 16711680",
          "size A3_Roll_Paper_Portrait"}) {
        std::string text = set;
        std::string key = text.substr(0, text.find(' ')), value = text.substr(text.find(' ') + 1);
        ASSERT_EQ(vxplot({"config", "set", key, value, "-c", "swap.json"}).status, 0) << set;
    }
    for (const char* mode : {"color", "color256"}) {
        Outcome run =
            vxplot({"plot", file.string(), "-c", "swap.json", "-m", mode, "-o", "swap.ps"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(colour_at(dir / "swap.ps", 70, 20), "0,0,255") << mode << ": the red image";
        EXPECT_EQ(colour_at(dir / "swap.ps", 25, 25), "255,0,0") << mode << ": the red area";
    }
}

TEST_F(Plot_Fixture, MalformedDrawingsNameTheElementAndSendNothing) {
    auto with = [](json element) { return json{{"elements", {std::move(element)}}}; };
    struct Case {
        json drawing;
        const char* message;
    };
    const Case cases[] = {
        {json::array(), "a drawing must be a JSON object"},
        {json{{"shapes", json::array()}}, "a drawing needs \"elements\""},
        {with({{"type", "spline"}}), "element 0 (spline): unknown type"},
        {with({{"type", "line"}, {"points", {{0, 0}}}}),
         "element 0 (line): \"points\" has 1 points, at least 2 are needed"},
        {with({{"type", "polygon"}, {"outline", {{0, 0}, {1, 0}, {1, 1}}}, {"color", {0, 0, 300}}}),
         "element 0 (polygon): \"color\" must be [red, green, blue] from 0 to 255"},
        {with({{"type", "circle"}, {"center", {5, 5}}, {"radius", -1}}),
         "element 0 (circle): \"radius\" must be above 0"},
        {with({{"type", "line"}, {"points", {{0, 0}, {"a", 1}}}}),
         "element 0 (line): \"points[1] x\" must be a number"},
        {with({{"type", "image"},
               {"file", "none.png"},
               {"at", {0, 0}},
               {"width", 5},
               {"height", 5}}),
         "element 0 (image): image file"},
        {json{{"clip", {5, 5, 1, 1}}, {"elements", json::array()}}, "\"clip\" must have x0 < x1"},
    };
    for (const auto& c : cases) {
        fs::path drawing = write_drawing("bad.json", c.drawing);
        Outcome run = vxplot({"plot", drawing.string(), "-o", "bad.ps"});
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(dir / "bad.ps")) << c.message;
    }
    std::ofstream(dir / "broken.json") << "{\"elements\": [";
    Outcome run = vxplot({"plot", "broken.json", "-o", "bad.ps"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("not JSON"), std::string::npos) << run.err;
}

TEST_F(Plot_Fixture, ConfigurationsAreCheckedAndKeptWhole) {
    ASSERT_EQ(vxplot({"config", "init", "-c", "c.json"}).status, 0);
    json initial = json::parse(read_file(dir / "c.json"));
    EXPECT_EQ(initial["source"], "P0");
    EXPECT_EQ(initial["custom"]["RASTER_RGB_Back_Color"], 16777215);
    EXPECT_EQ(initial["custom"]["RASTER_Draw2Black"], false);

    ASSERT_EQ(vxplot({"config", "set", "size", "A2_Roll_Paper_Portrait", "-c", "c.json"}).status,
              0);
    ASSERT_EQ(vxplot({"config", "set", "RASTER_ChangeColor", "true", "-c", "c.json"}).status, 0);
    ASSERT_EQ(vxplot({"config", "set", "RASTER_Draw2Black", "true", "-c", "c.json"}).status, 0);
    json changed = json::parse(read_file(dir / "c.json"));
    EXPECT_EQ(changed["size"], "A2_Roll_Paper_Portrait");
    EXPECT_EQ(changed["custom"]["RASTER_Draw2Black"], true);

    struct Case {
        std::vector<std::string> set;
        const char* message;
    };
    const Case cases[] = {
        {{"colour", "red"}, "unknown key \"colour\""},
        {{"size", "A2_Manual_Feed"}, "is not offered by source P0"},
        {{"dpi", "600"}, "dpi must be 360 or 720"},
        {{"copies", "two"}, "copies must be a whole number"},
        {{"mode", "sepia"}, "mode \"sepia\" is not offered"},
        {{"RASTER_Draw2Black", "3"}, "custom item RASTER_Draw2Black must be true or false"},
        {{"InkDensity_360", "high"}, "custom item InkDensity_360 must be a whole number"},
        {{"user_size", "826x1167"}, "user_size is for the size UserDefined"},
        {{"user_size", "big"}, "user_size must be WIDTHxLENGTH"},
    };
    const std::string before = read_file(dir / "c.json");
    for (const auto& c : cases) {
        std::vector<std::string> args = {"config", "set"};
        args.insert(args.end(), c.set.begin(), c.set.end());
        args.insert(args.end(), {"-c", "c.json"});
        Outcome run = vxplot(args);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(read_file(dir / "c.json"), before) << "the file is left as it was";
    }
    Outcome again = vxplot({"config", "init", "-c", "c.json"});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(read_file(dir / "c.json"), before);

    // The configuration drives the plot; the command line overrides it for the run only.
    // Convert-to-black turns images black; filled areas keep their colour.
    json drawing_with_image = small_drawing();
    write_png(dir / "red.png", 2, 2, std::vector<std::uint8_t>(16, 255));
    drawing_with_image["elements"].push_back(
        {{"type", "image"}, {"file", "red.png"}, {"at", {30, 10}}, {"width", 10}, {"height", 10}});
    fs::path drawing = write_drawing("d.json", drawing_with_image);
    ASSERT_EQ(vxplot({"config", "set", "size", "A4_Roll_Paper_Portrait", "-c", "c.json"}).status,
              0);
    ASSERT_EQ(vxplot({"plot", drawing.string(), "-c", "c.json", "-o", "black.ps"}).status, 0);
    EXPECT_EQ(colour_at(dir / "black.ps", 35, 15), "0,0,0") << "the white image prints black";
    EXPECT_EQ(colour_at(dir / "black.ps", 15, 15), "255,0,0");
    Outcome a2 =
        vxplot({"plot", drawing.string(), "-c", "c.json", "-p", "A3_Manual_Feed", "-o", "x.ps"});
    EXPECT_EQ(a2.status, 2);
    EXPECT_NE(a2.err.find("is not offered by source P0"), std::string::npos) << a2.err;
}

// A printer on a loopback port that takes `limit` bytes, then drops the connection.
struct Dropping_Printer {
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;
    std::size_t received = 0;
    std::thread thread;

    explicit Dropping_Printer(std::size_t limit) {
        port = bind_loopback(listener);
        listen(listener, 1);
        thread = std::thread([this, limit] {
            int client = accept(listener, nullptr, nullptr);
            char buffer[4096];
            while (received < limit) {
                ssize_t n = recv(client, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                received += std::size_t(n);
            }
            // Closing with unread data resets the connection.
            close(client);
        });
    }
    ~Dropping_Printer() {
        shutdown(listener, SHUT_RDWR);
        if (thread.joinable())
            thread.join();
        close(listener);
    }
};

TEST_F(Plot_Fixture, ASocketPrinterThatDropsTheJobFailsThePlot) {
    // A drawing large enough that its printer data outgrows the pipe and socket buffers.
    json elements = json::array();
    for (int i = 0; i < 300; ++i)
        elements.push_back({{"type", "line"},
                            {"points", {{5, 5 + i * 0.9}, {400, 5 + (i * 37 % 580)}}},
                            {"width", 0.5},
                            {"color", {i % 255, 40, 200}}});
    fs::path drawing = write_drawing("big.json", {{"elements", elements}});
    Dropping_Printer printer(20000);
    Outcome run = vxplot({"plot", drawing.string(), "-p", "A2_Roll_Paper_Portrait", "-r", "720",
                          "-d", "socket://127.0.0.1:" + std::to_string(printer.port)});
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("the job did not reach socket://127.0.0.1"), std::string::npos)
        << run.err;
    EXPECT_GE(printer.received, 1u);

    Outcome refused = vxplot({"plot", drawing.string(), "-d", "socket://127.0.0.1:1"});
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.err.find("Connection refused"), std::string::npos) << refused.err;
    Outcome malformed = vxplot({"plot", drawing.string(), "-d", "lpd://printer"});
    EXPECT_EQ(malformed.status, 2);
    EXPECT_NE(malformed.err.find("is not socket://HOST:PORT"), std::string::npos) << malformed.err;
}

TEST_F(Plot_Fixture, CtrlCCancelsCleanly) {
    json elements = json::array();
    for (int i = 0; i < 40000; ++i)
        elements.push_back({{"type", "polygon"},
                            {"outline",
                             {{5 + i % 400, 5 + i % 577},
                              {5 + i % 400 + 8, 5 + i % 577},
                              {5 + i % 400 + 4, 5 + i % 577 + 8}}},
                            {"color", {i % 255, 0, 0}}});
    fs::path drawing = write_drawing("long.json", {{"elements", elements}});
    pid_t pid = start(dir, {"plot", drawing.string(), "-p", "A2_Roll_Paper_Portrait", "-r", "720",
                            "-o", "cancelled.ps"});
    // Interrupt once the plot is under way (the drawing is read and the output file opened).
    for (int i = 0; i < 200 && !fs::exists(dir / "cancelled.ps"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    kill(pid, SIGINT);
    Outcome run = finish(dir, pid);
    EXPECT_EQ(run.status, 128 + SIGINT) << run.err;
    EXPECT_NE(run.err.find("plot cancelled"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir / "zelto.cpy")) << "no spool file is left";
}

TEST_F(Plot_Fixture, PreviewRendersPrinterData) {
    fs::path drawing = write_drawing("d.json", small_drawing());
    ASSERT_EQ(
        vxplot({"plot", drawing.string(), "-o", "p.ps", "-p", "A4_Roll_Paper_Portrait"}).status, 0);
    Outcome run = vxplot({"preview", "p.ps", "-o", "p.png"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(read_file(dir / "p.png").substr(1, 3), "PNG");
    Outcome missing = vxplot({"preview", "none.ps", "-o", "n.png"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.ps does not exist"), std::string::npos);
}

} // namespace

namespace {

TEST_F(Plot_Fixture, ConfigureRunsTheSettingsDialogOnTheConfiguration) {
    // A driver installation of its own, so that the definitions file is written there.
    Host_Layout installation = Host_Layout::complete();
    const std::string folder = installation.drv().string();
    ASSERT_EQ(vxplot({"--driver-folder", folder, "config", "init", "-c", "c.json"}).status, 0);
    std::ofstream(dir / "ok.txt") << "# gamma 2.2 and bidirectional printing off\n"
                                     "select 1012 2\nclick 1028\nok\n";
    Outcome run =
        vxplot({"--driver-folder", folder, "configure", "-c", "c.json", "--script", "ok.txt"});
    ASSERT_EQ(run.status, 0) << run.err;
    json config = json::parse(read_file(dir / "c.json"));
    EXPECT_EQ(config["custom"]["GammaMode_360"], 2);
    EXPECT_EQ(config["custom"]["BothSideProcess_360"], 1) << "the default 0 was clicked on";
    EXPECT_TRUE(fs::exists(installation.drv() / "zelto7m.px_"));

    const std::string before = read_file(dir / "c.json");
    std::ofstream(dir / "cancel.txt") << "select 1012 0\ncancel\n";
    std::ofstream(dir / "bad.txt") << "select 1012\n";
    std::ofstream(dir / "disabled.txt") << "click 1005\nok\n";
    struct Case {
        const char* script;
        int status;
        const char* message;
    };
    for (const Case& c : {Case{"cancel.txt", 1, "the settings were cancelled"},
                          Case{"bad.txt", 2, "line 1 (\"select 1012\"): a number is needed"},
                          Case{"disabled.txt", 1, "control 1005 is disabled"}}) {
        Outcome failed =
            vxplot({"--driver-folder", folder, "configure", "-c", "c.json", "--script", c.script});
        EXPECT_EQ(failed.status, c.status) << c.script;
        EXPECT_NE(failed.err.find(c.message), std::string::npos) << failed.err;
        EXPECT_EQ(read_file(dir / "c.json"), before) << c.script;
    }
}

} // namespace
