// What the whole-page benchmarks share: a device of the staged driver on an A0 sheet (826 x 1167
// mm printable, user-defined size) whose print engine discards the page (the trace engine without
// a trace file), and the process's peak memory.
#pragma once

#include "host/vx_driver_module.h"
#include "support/host_layout.h"

#include <cstdlib>
#include <sys/resource.h>

inline double peak_rss_mb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

/// The device, bound and configured for resolution/colour setting `setting` (5, 6, 9: 720 dpi in
/// 256 colours, true colour, monochrome), plotting to /dev/null.
class A0_Device {
public:
    explicit A0_Device(std::int32_t setting)
        : m_layout(prepared_layout()), m_module(m_layout.driver().string()) {
        auto factory = m_module.make_class_factory();
        auto handler = vx_make<VX_Error_Handler>();
        auto definition = factory->VD_Create_Plotter_Definition(handler);
        factory->VD_Create_Caps_Loader(handler)->Load(definition, VX_Caps_Loader::Replace);
        auto configuration = definition->get_plotter_configuration();
        auto media = configuration->get_media_configuration();
        media->select(L"P0", L"UserDefined");
        media->set_printable_area({0, 0, 826, 1167});
        configuration->get_res_color_mem_configuration()->set_selected_index(setting);
        definition->get_shoebox()->plot_to_file_name = L"/dev/null";
        m_device = m_module.make_device();
        m_device->set_error_handler(handler);
        m_device->set_plotter_definition(definition);
        m_device->establish_configuration();
    }
    ~A0_Device() {
        m_device->release_reference();
        vxp::set_program_file_name(L"");
    }
    A0_Device(const A0_Device&) = delete;
    A0_Device& operator=(const A0_Device&) = delete;

    VX_Plotter_Device_Data& operator*() const { return *m_device; }
    VX_Plotter_Device_Data* operator->() const { return m_device; }
    const Host_Layout& layout() const { return m_layout; }
    /// The device's clear-page action.
    void clear() const {
        VX_Action clear = m_device->actions().get(vx_action_clear_drawing_buffer);
        reinterpret_cast<void (*)(VX_Renderer_Data*)>(clear.routine)(clear.owner);
    }

private:
    static Host_Layout prepared_layout() {
        vxp::set_message_box_echo(false);
        Host_Layout layout = Host_Layout::complete();
        std::filesystem::copy_file(TRACE_ENGINE, layout.drv() / "Z_PENG12.DLL");
        unsetenv("ZPENG_TRACE");
        vxp::set_program_file_name((layout.root() / "host").wstring());
        return layout;
    }

    Host_Layout m_layout;
    VX_Driver_Module m_module;
    VX_Plotter_Device_Data* m_device = nullptr;
};
