// end_picture of an A0 page at 720 dpi (23,409 x 33,094 pixels sent to the engine) through the
// driver as a host drives it, into an engine that discards what it gets (the trace engine without
// a trace file), for each colour system. Counters: Mpixel/s of the page sent, peak_rss_MB.
#include "a0_device.h"
#include "driver/colour_conversion.h"
#include "driver/pipeline_p.h"
#include "host/vx_language.h"

#include <benchmark/benchmark.h>

namespace {

void BM_EndPictureA0(benchmark::State& state) {
    A0_Device device(std::int32_t(state.range(0)));
    double pixels =
        double(device->device_options().window_width - 9) * device->device_options().window_height;
    for (auto _ : state) {
        device->begin_picture({});
        device.clear();
        device->end_picture();
    }
    state.counters["Mpixel/s"] =
        benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak_rss_MB"] = peak_rss_mb();
}
BENCHMARK(BM_EndPictureA0)->Arg(6)->Arg(5)->Arg(9)->Unit(benchmark::kMillisecond)->Iterations(3);

// The row conversion alone, on drawn rows (A0 at 720 dpi in rows of 23,409 pixels), with the
// page's mix of white, black and colours.
void BM_ConvertRows(benchmark::State& state) {
    const int bits = int(state.range(0));
    const std::int32_t width = 23409;
    std::vector<std::uint8_t> in(std::size_t(width) * 4), out(std::size_t(width) * 4);
    for (std::size_t i = 0; i < in.size(); ++i)
        in[i] = std::uint8_t(i % 7 == 0 ? 0 : i % 5 == 0 ? 255 : i * 31);
    auto index_pixels = index_engine_pixels();
    for (auto _ : state) {
        convert_engine_row(in.data(), bits, false, width, out.data(), index_pixels);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["Mpixel/s"] =
        benchmark::Counter(width / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ConvertRows)->Arg(24)->Arg(8)->Arg(1);

} // namespace

BENCHMARK_MAIN();
