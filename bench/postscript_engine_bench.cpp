// The PostScript engine on a mostly white A0 page at 720 dpi (23,409 x 33,094 pixels, true
// colour): a 0.5 mm frame and a title block, sent in bands of two rows as the driver sends them.
// Counters: bytes of PostScript written, peak_rss_MB. Compare the size with the same page as PWG
// Raster with bench/compare_pwg.sh.
#include "host/print_engine.h"
#include "platform/vxplatform.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <sys/resource.h>
#include <vector>

namespace {

std::size_t g_bytes = 0;
std::FILE* g_keep = nullptr;

std::int32_t count(std::int32_t, const void* data, std::int32_t length) {
    g_bytes += std::size_t(length);
    if (g_keep)
        std::fwrite(data, 1, std::size_t(length), g_keep);
    return 1;
}

constexpr int width = 23409, height = 33094, mm = 720 * 10 / 254;

// The rows of the page differ only by which parts of the drawing they cross.
int row_kind(int y) {
    const int margin = 10 * mm, line = mm / 2;
    int block_top = height - margin - 60 * mm;
    bool in_frame = y >= margin && y < height - margin;
    bool frame_line = y < margin + line || y >= height - margin - line;
    bool in_block = y >= block_top && y < height - margin;
    bool block_line = (y - block_top) % (10 * mm) < line;
    return (in_frame ? 1 : 0) | (frame_line ? 2 : 0) | (in_block ? 4 : 0) | (block_line ? 8 : 0);
}

// The frame and title block: is pixel (x, y) ink?
bool ink(int x, int y) {
    const int margin = 10 * mm, line = mm / 2;
    bool frame = (x >= margin && x < width - margin && y >= margin && y < height - margin) &&
                 (x < margin + line || x >= width - margin - line || y < margin + line ||
                  y >= height - margin - line);
    int block_left = width - margin - 180 * mm, block_top = height - margin - 60 * mm;
    bool block = x >= block_left && x < width - margin && y >= block_top && y < height - margin &&
                 (x < block_left + line || (y - block_top) % (10 * mm) < line);
    return frame || block;
}

void BM_PostscriptA0(benchmark::State& state) {
    vxp::Module_Handle engine = vxp::load_library(ENGINE);
    auto init_job = reinterpret_cast<Engine_InitJob>(vxp::get_proc_address(engine, "InitJob"));
    auto init_page = reinterpret_cast<Engine_InitPage>(vxp::get_proc_address(engine, "InitPage"));
    auto band_out = reinterpret_cast<Engine_BandOut>(vxp::get_proc_address(engine, "BandOut"));
    auto terminate =
        reinterpret_cast<Engine_TerminatePage>(vxp::get_proc_address(engine, "TerminatePage"));
    auto destroy = reinterpret_cast<Engine_DestroyJob>(vxp::get_proc_address(engine, "DestroyJob"));
    Engine_Adjustment_Record adjustments{};
    Engine_Job_Record job{};
    job.record_kind = 6;
    job.color_mode = 1;
    job.x_resolution = job.y_resolution = 720;
    job.printable_width = width;
    job.printable_length = height;
    job.adjustments = &adjustments;
    Engine_Module_Record modules{};
    modules.output = &count;
    Engine_Page_Record page{};
    page.record_kind = 1;
    // Two-row bands of the page, made once for each pair of row kinds: the benchmark measures
    // the engine, not the drawing.
    std::map<std::pair<int, int>, std::vector<std::uint8_t>> bands;
    auto band_for = [&](int top, int rows) -> const std::uint8_t* {
        auto key = std::make_pair(row_kind(top), rows > 1 ? row_kind(top + 1) : -1);
        auto& band = bands[key];
        if (band.empty()) {
            band.assign(std::size_t(width) * 8, 0xFF);
            for (int r = 0; r < rows; ++r)
                for (int x = 0; x < width; ++x)
                    if (ink(x, top + r))
                        std::memset(band.data() + (std::size_t(r) * width + x) * 4, 0, 3);
        }
        return band.data();
    };
    for (auto _ : state) {
        g_bytes = 0;
        g_keep = std::getenv("KEEP_POSTSCRIPT") ? std::fopen(std::getenv("KEEP_POSTSCRIPT"), "wb")
                                                : nullptr;
        Engine_Job_Handle handle = nullptr;
        init_job(&handle, &job, &modules);
        init_page(handle, &page);
        for (int top = 0; top < height; top += 2) {
            int rows = std::min(2, height - top);
            Engine_Rect band_rect{0, 0, width, rows}, page_rect{0, top, width, top + rows};
            Engine_Band_Buffer buffer{width * 4, const_cast<std::uint8_t*>(band_for(top, rows))};
            std::uint32_t words[3] = {};
            band_out(handle, &band_rect, &buffer, 0, &page_rect, words);
        }
        terminate(handle);
        destroy(handle);
        if (g_keep)
            std::fclose(g_keep);
        g_keep = nullptr;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["bytes"] = double(g_bytes);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
    vxp::free_library(engine);
}
BENCHMARK(BM_PostscriptA0)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
