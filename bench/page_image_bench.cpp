// What a page image costs: an A0 sheet at 720 dpi in true colour (23,400 x 33,100 pixels).
//   BM_BlankPage           create, touch one pixel, release: time, and tile bytes held
//   BM_BorderAndTitleBlock a drawn frame and title block: tile bytes held
//   BM_DensePage           the dense twin: 3 GB allocated and touched (run it alone, on purpose:
//                          --benchmark_filter=Dense)
// Peak resident memory of the process is reported as peak_rss_MB; run one benchmark per process
// (--benchmark_filter) to read it for that benchmark alone.
#include "driver/raster_buffer.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>

namespace {

constexpr int a0_width = 23400;  // 841 mm at 720 dpi
constexpr int a0_height = 33100; // 1,189 mm at 720 dpi
constexpr int mm = 720 * 10 / 254;

double peak_rss_mb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void fill_rect(Raster_Buffer& page, int x0, int y0, int x1, int y1) {
    std::vector<std::uint32_t> run(std::size_t(x1 - x0), 0xFFFFFFFFu);
    for (int y = y0; y < y1; ++y)
        page.put_row(y, x0, x1 - x0, reinterpret_cast<const std::uint8_t*>(run.data()));
}

void BM_BlankPage(benchmark::State& state) {
    std::size_t tile_bytes = 0;
    for (auto _ : state) {
        Raster_Buffer page;
        page.create(a0_width, a0_height, 3, 3);
        page.put_colour(a0_width / 2, a0_height / 2, 0xFFFFFFFFu);
        tile_bytes = page.image()->allocated_bytes();
        page.release();
    }
    state.counters["tile_bytes"] = double(tile_bytes);
    state.counters["peak_rss_MB"] = peak_rss_mb();
}
BENCHMARK(BM_BlankPage)->Unit(benchmark::kMillisecond);

void BM_BorderAndTitleBlock(benchmark::State& state) {
    std::size_t tile_bytes = 0;
    for (auto _ : state) {
        Raster_Buffer page;
        page.create(a0_width, a0_height, 3, 3);
        const int margin = 10 * mm, line = mm / 2; // a 0.5 mm frame 10 mm inside the sheet
        const int left = margin, right = a0_width - margin, top = margin,
                  bottom = a0_height - margin;
        fill_rect(page, left, top, right, top + line);
        fill_rect(page, left, bottom - line, right, bottom);
        fill_rect(page, left, top, left + line, bottom);
        fill_rect(page, right - line, top, right, bottom);
        // A 180 x 60 mm title block in the lower right corner, with six rows of fields.
        const int block_left = right - 180 * mm, block_top = bottom - 60 * mm;
        fill_rect(page, block_left, block_top, block_left + line, bottom);
        for (int row = 0; row < 6; ++row)
            fill_rect(page, block_left, block_top + row * 10 * mm, right,
                      block_top + row * 10 * mm + line);
        tile_bytes = page.image()->allocated_bytes();
        page.release();
    }
    state.counters["tile_bytes"] = double(tile_bytes);
    state.counters["peak_rss_MB"] = peak_rss_mb();
}
BENCHMARK(BM_BorderAndTitleBlock)->Unit(benchmark::kMillisecond);

void BM_DensePage(benchmark::State& state) {
    const std::size_t bytes = std::size_t(a0_width) * a0_height * 4;
    for (auto _ : state) {
        auto* pixels = static_cast<std::uint8_t*>(std::malloc(bytes));
        if (!pixels) {
            state.SkipWithError("3 GB could not be allocated");
            break;
        }
        benchmark::DoNotOptimize(pixels);
        // White in the page's black/white exchange is 0; 0xFF keeps the compiler from turning
        // this into calloc, which would touch nothing.
        std::memset(pixels, 0xFF, bytes);
        benchmark::ClobberMemory();
        std::free(pixels);
    }
    state.counters["bytes"] = double(bytes);
    state.counters["peak_rss_MB"] = peak_rss_mb();
}
BENCHMARK(BM_DensePage)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
