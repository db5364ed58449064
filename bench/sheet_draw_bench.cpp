// Drawing the A0 benchmark sheet through the driver's actions at 720 dpi in true colour, as the
// host does between begin_picture and end_picture. BM_DrawA0Sheet times the drawing only (the
// page image keeps most fills as records, painted when end_picture reads their rows);
// BM_DrawAndSendA0Sheet times drawing and end_picture into an engine that discards the page, so
// the painting shows. Counters: peak_rss_MB, page_MB (tiles of the page image in use after
// drawing).
#include "a0_device.h"
#include "cad_sheet.h"
#include "driver/raster_driver.h"
#include "sheet_render.h"

#include <benchmark/benchmark.h>

namespace {

void draw_a0_sheet(benchmark::State& state, bool send) {
    A0_Device device(std::int32_t(state.range(0)));
    const drawing::Drawing sheet = cad_sheet(826, 1167, device.layout().root() / "image.png");
    double page_mb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        device->begin_picture({});
        state.ResumeTiming();
        render_drawing(*device, sheet, 720);
        state.PauseTiming();
        page_mb =
            double(static_cast<RASTER_Driver&>(*device).m_raster.image()->allocated_bytes()) / 1e6;
        if (!send) // a blank page sends in no time
            device.clear();
        state.ResumeTiming();
        if (send)
            device->end_picture();
        state.PauseTiming();
        if (!send)
            device->end_picture();
        state.ResumeTiming();
    }
    state.counters["page_MB"] = page_mb;
    state.counters["peak_rss_MB"] = peak_rss_mb();
}

void BM_DrawA0Sheet(benchmark::State& state) {
    draw_a0_sheet(state, false);
}

void BM_DrawAndSendA0Sheet(benchmark::State& state) {
    draw_a0_sheet(state, true);
}

// Setting 6: 720 dpi true colour.
BENCHMARK(BM_DrawA0Sheet)->Arg(6)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_DrawAndSendA0Sheet)
    ->Arg(6)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->Iterations(1);

} // namespace
BENCHMARK_MAIN();
