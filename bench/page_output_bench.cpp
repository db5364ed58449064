// end_picture of an A0 page at 720 dpi (23,409 x 33,094 pixels sent to the engine) through the
// driver as a host drives it, into an engine that discards what it gets (the trace engine without
// a trace file), for each colour system. Counters: Mpixel/s of the page sent, peak_rss_MB.
#include "driver/colour_conversion.h"
#include "driver/pipeline_p.h"
#include "host/vx_driver_module.h"
#include "host/vx_language.h"
#include "support/host_layout.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <sys/resource.h>

namespace {

double peak_rss_mb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void BM_EndPictureA0(benchmark::State& state) {
    vxp::set_message_box_echo(false);
    Host_Layout layout = Host_Layout::complete();
    std::filesystem::copy_file(TRACE_ENGINE, layout.drv() / "Z_PENG12.DLL");
    unsetenv("ZPENG_TRACE");
    vxp::set_program_file_name((layout.root() / "host").wstring());
    {
        VX_Driver_Module module(layout.driver().string());
        auto factory = module.make_class_factory();
        auto handler = vx_make<VX_Error_Handler>();
        auto definition = factory->VD_Create_Plotter_Definition(handler);
        factory->VD_Create_Caps_Loader(handler)->Load(definition, VX_Caps_Loader::Replace);
        auto configuration = definition->get_plotter_configuration();
        auto media = configuration->get_media_configuration();
        media->select(L"P0", L"UserDefined");
        media->set_printable_area({0, 0, 826, 1167});
        // Settings 5, 6, 9: 720 dpi in 256 colours, true colour, monochrome.
        configuration->get_res_color_mem_configuration()->set_selected_index(
            std::int32_t(state.range(0)));
        definition->get_shoebox()->plot_to_file_name = L"/dev/null";
        VX_Plotter_Device_Data* device = module.make_device();
        device->set_error_handler(handler);
        device->set_plotter_definition(definition);
        device->establish_configuration();
        double pixels = double(device->device_options().window_width - 9) *
                        device->device_options().window_height;
        VX_Action clear = device->actions().get(vx_action_clear_drawing_buffer);
        for (auto _ : state) {
            device->begin_picture({});
            reinterpret_cast<void (*)(VX_Renderer_Data*)>(clear.routine)(clear.owner);
            device->end_picture();
        }
        state.counters["Mpixel/s"] =
            benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
        state.counters["peak_rss_MB"] = peak_rss_mb();
        device->release_reference();
    }
    vxp::set_program_file_name(L"");
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
