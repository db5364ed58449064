// Drawing the A0 benchmark sheet through the driver's actions at 720 dpi in true colour, as the
// host does between begin_picture and end_picture. BM_DrawA0Sheet times the drawing only (the
// page image keeps most fills as records, painted when end_picture reads their rows);
// BM_DrawAndSendA0Sheet times drawing and end_picture into an engine that discards the page, so
// the painting shows. Counters: peak_rss_MB, page_MB (tiles of the page image in use after
// drawing).
#include "cad_sheet.h"
#include "driver/raster_driver.h"
#include "host/vx_driver_module.h"
#include "sheet_render.h"
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

void draw_a0_sheet(benchmark::State& state, bool send) {
    vxp::set_message_box_echo(false);
    Host_Layout layout = Host_Layout::complete();
    std::filesystem::copy_file(TRACE_ENGINE, layout.drv() / "Z_PENG12.DLL");
    unsetenv("ZPENG_TRACE");
    vxp::set_program_file_name((layout.root() / "host").wstring());
    const drawing::Drawing sheet = cad_sheet(826, 1167, layout.root() / "image.png");
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
        configuration->get_res_color_mem_configuration()->set_selected_index(
            std::int32_t(state.range(0)));
        definition->get_shoebox()->plot_to_file_name = L"/dev/null";
        VX_Plotter_Device_Data* device = module.make_device();
        device->set_error_handler(handler);
        device->set_plotter_definition(definition);
        device->establish_configuration();
        VX_Action clear = device->actions().get(vx_action_clear_drawing_buffer);
        double page_mb = 0;
        for (auto _ : state) {
            state.PauseTiming();
            device->begin_picture({});
            state.ResumeTiming();
            render_drawing(*device, sheet, 720);
            state.PauseTiming();
            auto* raster = static_cast<RASTER_Driver*>(device)->m_raster.image();
            page_mb = double(raster->allocated_bytes()) / 1e6;
            if (!send) // a blank page sends in no time
                reinterpret_cast<void (*)(VX_Renderer_Data*)>(clear.routine)(clear.owner);
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
        device->release_reference();
    }
    vxp::set_program_file_name(L"");
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
