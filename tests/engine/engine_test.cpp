#include "host/print_engine.h"
#include "platform/vxplatform.h"
#include "support/host_layout.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

namespace {

std::string* g_sink = nullptr;

std::int32_t collect(std::int32_t, const void* data, std::int32_t count) {
    if (g_sink)
        g_sink->append(static_cast<const char*>(data), std::size_t(count));
    return 1;
}

// The engine's entry points, loaded from the staged driver folder.
struct Engine {
    vxp::Module_Handle module = nullptr;
    Engine_InitJob init_job = nullptr;
    Engine_InitPage init_page = nullptr;
    Engine_BandOut band_out = nullptr;
    Engine_TerminatePage terminate_page = nullptr;
    Engine_DestroyJob destroy_job = nullptr;

    explicit Engine(const std::string& path) {
        module = vxp::load_library(path);
        if (!module)
            return;
        init_job = reinterpret_cast<Engine_InitJob>(vxp::get_proc_address(module, "InitJob"));
        init_page = reinterpret_cast<Engine_InitPage>(vxp::get_proc_address(module, "InitPage"));
        band_out = reinterpret_cast<Engine_BandOut>(vxp::get_proc_address(module, "BandOut"));
        terminate_page =
            reinterpret_cast<Engine_TerminatePage>(vxp::get_proc_address(module, "TerminatePage"));
        destroy_job =
            reinterpret_cast<Engine_DestroyJob>(vxp::get_proc_address(module, "DestroyJob"));
    }
    ~Engine() { vxp::free_library(module); }
};

const std::string postscript_engine = std::string(VX_STAGE_DIR) + "/bin/drv/Z_PENG12.DLL";

// A page of RGB pixels as the driver hands it on (R, G, B, 0 per pixel).
struct Page {
    int width, height;
    std::vector<std::uint8_t> pixels; // 4 bytes per pixel
    Page(int w, int h) : width(w), height(h), pixels(std::size_t(w) * h * 4, 255) {}
    std::uint8_t* row(int y) { return pixels.data() + std::size_t(y) * width * 4; }
};

struct Records {
    Engine_Adjustment_Record adjustments{2, 0, 959, 1024, 0, 0, 1, 100, 0, 0, 0, 0, 0};
    Engine_Job_Record job{};
    Engine_Module_Record modules{};
    Engine_Page_Record page{};
    Records(int width, int height, int dpi, bool colour) {
        job.record_kind = 6;
        job.color_mode = colour ? 1 : 0;
        job.x_resolution = job.y_resolution = dpi;
        job.printable_width = job.image_width = width;
        job.printable_length = job.image_length = height;
        job.adjustments = &adjustments;
        modules.output = &collect;
        page.record_kind = 1;
        page.gamma = 180;
    }
};

// Sends the page through the engine in bands of two rows (`rows` of them), returns the output.
std::string print(Engine& engine, Records& records, Page& page, int rows) {
    std::string out;
    g_sink = &out;
    Engine_Job_Handle job = nullptr;
    EXPECT_EQ(engine.init_job(&job, &records.job, &records.modules), 0);
    EXPECT_EQ(engine.init_page(job, &records.page), 0);
    for (int top = 0; top < rows; top += 2) {
        int count = std::min(2, rows - top);
        Engine_Rect band{0, 0, page.width, count};
        Engine_Rect where{0, top, page.width, top + count};
        Engine_Band_Buffer buffer{page.width * 4, page.row(top)};
        std::uint32_t words[3] = {};
        EXPECT_EQ(engine.band_out(job, &band, &buffer, 0, &where, words), 0);
    }
    EXPECT_EQ(engine.terminate_page(job), 0);
    EXPECT_EQ(engine.destroy_job(job), 0);
    g_sink = nullptr;
    return out;
}

// Renders PostScript with Ghostscript at `dpi`; the pixels of the first page, 3 bytes each.
// NOTE: grey pages are rendered in RGB too: Ghostscript's pgmraw device rounds some grey levels
// down by one (0x4D becomes 0x4C), its RGB and PNG devices do not.
std::vector<std::uint8_t> render(const std::string& postscript, int dpi, int& width, int& height) {
    Host_Layout scratch;
    auto in = scratch.root() / "job.ps", out = scratch.root() / "page.pnm";
    std::ofstream(in, std::ios::binary) << postscript;
    std::string command = "gs -q -dSAFER -dBATCH -dNOPAUSE -dFirstPage=1 -dLastPage=1 "
                          "-sDEVICE=ppmraw -r" +
                          std::to_string(dpi) + " -sOutputFile=" + out.string() + " " +
                          in.string() + " 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream image(out, std::ios::binary);
    // The header: magic, width, height, maximum, with comment lines between the fields.
    auto field = [&image] {
        std::string token;
        while (image >> token && token[0] == '#')
            std::getline(image, token);
        return token;
    };
    std::string magic = field();
    width = std::atoi(field().c_str());
    height = std::atoi(field().c_str());
    field(); // the maximum value, 255
    image.get();
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 3);
    image.read(reinterpret_cast<char*>(pixels.data()), std::streamsize(pixels.size()));
    return pixels;
}

// What a page's rows hold, for the pixel test.
enum class Content {
    noise,        ///< many colours, runs across the planes, white and repeated rows
    few_colours,  ///< a drawing: runs of six colours on white
    mixed,        ///< few colours, but rows 64 to 127 are noise
    palette_edge, ///< rows 0-63 hold exactly 256 colours, rows 64-127 hold 257
};

void fill_page(Page& page, Content content, std::mt19937& random) {
    const std::uint32_t inks[] = {0x000000, 0x1010D0, 0xC04010, 0x308010, 0x0080C0, 0x7F7F7F};
    auto put = [&](int x, int y, std::uint32_t rgb) {
        std::uint8_t* p = page.row(y) + 4 * x;
        p[0] = std::uint8_t(rgb >> 16);
        p[1] = std::uint8_t(rgb >> 8);
        p[2] = std::uint8_t(rgb);
        p[3] = 0;
    };
    for (int y = 0; y < page.height; ++y) {
        const bool noise = content == Content::noise || (content == Content::mixed && y / 64 == 1);
        if (content == Content::palette_edge) {
            // Colours 0 .. 255 (white among them) in the first strip, one more in the second.
            const int colours = y < 64 ? 255 : 256;
            for (int x = 0; x < page.width; ++x)
                if (x < colours)
                    put(x, y, std::uint32_t(x) * 0x010203u + std::uint32_t(y / 64));
            continue;
        }
        if (y % 5 == 0)
            continue; // a white row
        if (y % 7 == 3) {
            std::memcpy(page.row(y), page.row(y - 1), std::size_t(page.width) * 4);
            continue;
        }
        for (int x = 0; x < page.width; ++x) {
            if (!noise) {
                if ((x / 9 + y / 4) % 3 != 0)
                    put(x, y, inks[(x / 23 + y / 11) % 6]);
            } else if (x % 300 < 150 && y % 3 == 0) {
                put(x, y, x % 300 < 75 ? 0 : 0x404040); // runs across the planes
            } else {
                std::uint32_t r = random() & 0xFF, b = random() & 0xFF;
                std::uint32_t g = x % 7 == 0 ? r : random() & 0xFF;
                put(x, y, r << 16 | g << 8 | b);
            }
        }
    }
}

TEST(PostscriptEngine, GhostscriptRendersExactlyThePixelsReceived) {
    Engine engine(postscript_engine);
    ASSERT_TRUE(engine.init_job) << vxp::last_load_error();
    const unsigned seed = 1211;
    std::mt19937 random(seed);
    struct Case {
        int width, height;
        Content content;
        int indexed_strips; ///< strips of 64 rows sent as palette indexes, in colour
        const char* what;
    };
    const Case cases[] = {
        {57, 23, Content::noise, 0, "odd rows: the last band has one row"},
        {1500, 300, Content::noise, 0, "strips of many colours, as planes"},
        {301, 150, Content::few_colours, 3, "strips of few colours, as palette indexes"},
        {200, 200, Content::mixed, 3, "a strip of many colours between strips of few"},
        {300, 128, Content::palette_edge, 1, "256 colours in a strip, then 257"},
    };
    for (const Case& c : cases)
        for (bool colour : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (colour ? ", colour" : ", grey"));
            Page page(c.width, c.height);
            fill_page(page, c.content, random);
            Records records(page.width, page.height, 360, colour);
            std::string postscript = print(engine, records, page, page.height);
            int indexed = 0;
            for (auto at = postscript.find("[/Indexed"); at != std::string::npos;
                 at = postscript.find("[/Indexed", at + 1))
                ++indexed;
            EXPECT_EQ(indexed, colour ? c.indexed_strips : 0);
            int width = 0, height = 0;
            auto pixels = render(postscript, 360, width, height);
            ASSERT_EQ(width, page.width);
            ASSERT_EQ(height, page.height);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const std::uint8_t* p = page.row(y) + 4 * x;
                    const std::uint8_t* q = &pixels[(std::size_t(y) * width + x) * 3];
                    int grey = (30 * p[0] + 59 * p[1] + 11 * p[2]) / 100;
                    std::array<int, 3> expected = colour ? std::array<int, 3>{p[0], p[1], p[2]}
                                                         : std::array<int, 3>{grey, grey, grey};
                    ASSERT_EQ((std::array<int, 3>{q[0], q[1], q[2]}), expected)
                        << x << ", " << y << " seed " << seed;
                }
        }
}

TEST(PostscriptEngine, RunsLongerThan128BytesAreSplit) {
    Engine engine(postscript_engine);
    // Grey rows of 129 equal bytes: a run of 128 and a single byte.
    for (int level : {255, 0, 77}) {
        Page page(129, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 129; ++x)
                std::memset(page.row(y) + 4 * x, y == 1 ? level : 255, 3);
        Records records(129, 3, 72, false);
        int width = 0, height = 0;
        auto pixels = render(print(engine, records, page, 3), 72, width, height);
        ASSERT_EQ(width, 129);
        EXPECT_EQ(pixels[(129 + 128) * 3], level) << "the last pixel of the middle row";
        EXPECT_EQ(pixels[129 * 3], level);
        EXPECT_EQ(pixels[2 * 129 * 3], 255);
    }
}

TEST(PostscriptEngine, RowsRepeatedMoreThan255TimesAreSentInGroups) {
    Engine engine(postscript_engine);
    Page page(5, 600);
    for (int y = 0; y < 600; ++y)
        std::memset(page.row(y) + 4 * (y < 300 ? 1 : 3), 0, 3); // 300 rows, then 300 others
    Records records(5, 600, 72, true);
    int width = 0, height = 0;
    auto pixels = render(print(engine, records, page, 600), 72, width, height);
    ASSERT_EQ(height, 600);
    for (int y : {0, 254, 255, 256, 299, 300, 554, 555, 599}) {
        int dark = y < 300 ? 1 : 3;
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(pixels[(std::size_t(y) * 5 + x) * 3], x == dark ? 0 : 255) << x << ", " << y;
    }
}

TEST(PostscriptEngine, MissingRowsAndColumnsAreWhiteAndExtraRowsDropped) {
    Engine engine(postscript_engine);
    Page page(20, 12);
    for (auto& b : page.pixels)
        b = 0;                         // black everywhere
    Records records(24, 10, 72, true); // the page is wider and shorter than the bands
    std::string postscript = print(engine, records, page, 6); // only six rows are sent
    int width = 0, height = 0;
    auto pixels = render(postscript, 72, width, height);
    ASSERT_EQ(width, 24);
    ASSERT_EQ(height, 10);
    auto at = [&](int x, int y) { return pixels[(std::size_t(y) * width + x) * 3]; };
    EXPECT_EQ(at(0, 0), 0);
    EXPECT_EQ(at(19, 5), 0);
    EXPECT_EQ(at(20, 5), 255) << "columns beyond the bands";
    EXPECT_EQ(at(0, 6), 255) << "rows that never came";

    Page tall(24, 30);
    for (auto& b : tall.pixels)
        b = 0;
    postscript = print(engine, records, tall, 30);
    pixels = render(postscript, 72, width, height);
    EXPECT_EQ(height, 10) << "rows beyond the page are dropped";
}

TEST(PostscriptEngine, CallsOutOfOrderAndBadRecordsAreRefused) {
    Engine engine(postscript_engine);
    Records records(10, 10, 360, true);
    std::string out;
    g_sink = &out;
    Engine_Job_Handle job = nullptr;
    int fake = 0;
    EXPECT_EQ(engine.init_page(&fake, &records.page), ENGINE_ERROR_HANDLE);
    EXPECT_EQ(engine.init_job(&job, nullptr, &records.modules), ENGINE_ERROR_MEMORY);
    Engine_Job_Record bad = records.job;
    bad.printable_width = 0;
    EXPECT_EQ(engine.init_job(&job, &bad, &records.modules), ENGINE_ERROR_UNKNOWN);
    ASSERT_EQ(engine.init_job(&job, &records.job, &records.modules), 0);
    std::uint32_t words[3] = {};
    Engine_Rect band{0, 0, 10, 2}, where{0, 0, 10, 2};
    std::vector<std::uint8_t> rows(80, 255);
    Engine_Band_Buffer buffer{40, rows.data()};
    EXPECT_EQ(engine.band_out(job, &band, &buffer, 0, &where, words), ENGINE_ERROR_CALL_ORDER);
    EXPECT_EQ(engine.terminate_page(job), ENGINE_ERROR_CALL_ORDER);
    ASSERT_EQ(engine.init_page(job, &records.page), 0);
    EXPECT_EQ(engine.init_page(job, &records.page), ENGINE_ERROR_CALL_ORDER);
    EXPECT_EQ(engine.band_out(job, &band, &buffer, 0, &where, nullptr), ENGINE_ERROR_MEMORY)
        << "a missing argument fails the call and ends the job";
    EXPECT_EQ(engine.band_out(job, &band, &buffer, 0, &where, words), ENGINE_ERROR_HANDLE);
    EXPECT_EQ(engine.destroy_job(job), ENGINE_ERROR_HANDLE);
    g_sink = nullptr;
}

} // namespace

namespace {

const std::string trace_engine = std::string(TRACE_ENGINE);

std::vector<nlohmann::json> trace_lines(const std::filesystem::path& file) {
    std::vector<nlohmann::json> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        lines.push_back(nlohmann::json::parse(line));
    return lines;
}

TEST(TraceEngine, WritesEveryCallWithItsRecordsByOffset) {
    Host_Layout scratch;
    auto trace = scratch.root() / "trace.jsonl";
    setenv("ZPENG_TRACE", trace.c_str(), 1);
    unsetenv("ZPENG_FAIL");
    Engine engine(trace_engine);
    ASSERT_TRUE(engine.init_job) << vxp::last_load_error();
    Page page(8, 3);
    Records records(8, 3, 360, true);
    const char* tables[] = {"/drv/Z_TBLA60.DLL", nullptr};
    records.modules.screen_module = "/drv/Z_SCRN4S.DLL";
    records.modules.table_modules = tables;
    std::string output = print(engine, records, page, 3);
    EXPECT_EQ(output, "InitJob\nInitPage\nBandOut 0 2\nBandOut 2 3\nTerminatePage\nDestroyJob\n");
    auto lines = trace_lines(trace);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0]["call"], "InitJob");
    EXPECT_EQ(lines[0]["result"], 0);
    EXPECT_EQ(lines[0]["job"]["0"], 6);
    EXPECT_EQ(lines[0]["job"]["36"], 8);
    EXPECT_EQ(lines[0]["job"]["116"]["4"], 959) << "the adjustments nested under their pointer";
    EXPECT_EQ(lines[0]["job"]["104"], nullptr);
    EXPECT_EQ(lines[0]["modules"]["0"], "/drv/Z_SCRN4S.DLL");
    EXPECT_EQ(lines[0]["modules"]["8"], nlohmann::json::parse(R"(["/drv/Z_TBLA60.DLL"])"));
    EXPECT_EQ(lines[1]["page"]["40"], 180);
    EXPECT_EQ(lines[3]["band"], nlohmann::json::parse("[0, 0, 8, 1]"));
    EXPECT_EQ(lines[3]["page_rect"], nlohmann::json::parse("[0, 2, 8, 3]"));
    auto fnv = [](std::size_t bytes) { // FNV-1a of `bytes` white bytes
        std::uint32_t hash = 2166136261u;
        for (std::size_t i = 0; i < bytes; ++i)
            hash = (hash ^ 255u) * 16777619u;
        return hash;
    };
    EXPECT_EQ(lines[2]["checksum"], fnv(2 * 8 * 4));
    EXPECT_EQ(lines[3]["checksum"], fnv(1 * 8 * 4));
    unsetenv("ZPENG_TRACE");
}

TEST(TraceEngine, FailsTheCallItIsToldTo) {
    Host_Layout scratch;
    auto trace = scratch.root() / "trace.jsonl";
    setenv("ZPENG_TRACE", trace.c_str(), 1);
    setenv("ZPENG_FAIL", "BandOut:2:-15", 1);
    Engine engine(trace_engine);
    Records records(4, 8, 360, true);
    Page page(4, 8);
    std::string out;
    g_sink = &out;
    Engine_Job_Handle job = nullptr;
    ASSERT_EQ(engine.init_job(&job, &records.job, &records.modules), 0);
    ASSERT_EQ(engine.init_page(job, &records.page), 0);
    std::uint32_t words[3] = {};
    std::vector<std::int32_t> results;
    for (int top = 0; top < 8; top += 2) {
        Engine_Rect band{0, 0, 4, 2}, where{0, top, 4, top + 2};
        Engine_Band_Buffer buffer{16, page.row(top)};
        results.push_back(engine.band_out(job, &band, &buffer, 0, &where, words));
    }
    g_sink = nullptr;
    EXPECT_EQ(results,
              (std::vector<std::int32_t>{0, -15, ENGINE_ERROR_HANDLE, ENGINE_ERROR_HANDLE}));
    auto lines = trace_lines(trace);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3]["result"], -15);
    unsetenv("ZPENG_TRACE");
    unsetenv("ZPENG_FAIL");
}

} // namespace
