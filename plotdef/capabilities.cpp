// The capabilities and configuration constructors: every area is created through a temporary
// class factory of the driver, each tested before the next; only when all exist are they installed.
// A failure throws, and what was created so far is released with the half-built object.
#include "raster_plotdef.h"
#include "resources/resource_library.h"

namespace {

const char* const caps_revision = "$Workfile: rasterplcaps $ $Revision: 5 $";
const char* const caps_routine = "VX_RASTER_Plotter_Capabilities::VX_RASTER_Plotter_Capabilities";
const char* const cfg_revision = "$Workfile: rasterplcfg $ $Revision: 5 $";
const char* const cfg_routine = "VX_RASTER_Plotter_Configuration::VX_RASTER_Plotter_Configuration";

template <class T>
VX_Smart_Pointer<T> required(VX_Smart_Pointer<T> created, const char* routine, const char* detail,
                             const char* revision) {
    if (!created)
        raster_throw(raster_msg_memory, routine, detail, revision);
    return created;
}

// Runs the setters; an error they throw carries the constructor's name on its way out.
template <class Install>
void install(const char* routine, Install&& setters) {
    try {
        setters();
    } catch (VX_Exception& e) {
        e.add_catcher(routine);
        throw;
    }
}

} // namespace

VX_RASTER_Plotter_Capabilities::VX_RASTER_Plotter_Capabilities() {
    auto cf =
        required(vx_create<VX_RASTER_Plotter_Class_Factory>("VX_RASTER_Plotter_Class_Factory"),
                 caps_routine, "pCF", caps_revision);
    auto need = [](auto created, const char* detail) {
        return required(std::move(created), caps_routine, detail, caps_revision);
    };
    auto media = need(cf->VD_Create_Media_Capabilities(), "pMediaCaps");
    auto io = need(cf->VD_Create_Plotter_IO_Capabilities(), "pIOCaps");
    auto pens = need(cf->VD_Create_Pen_Capabilities(), "pPhysPenCaps");
    auto raster = need(cf->VD_Create_Raster_Capabilities(), "pRasterCaps");
    auto linetypes = need(cf->VD_Create_Linetype_Capabilities(), "pLinetypeCaps");
    auto settings = need(cf->VD_Create_ResColorMem_Capabilities(), "pRCMCaps");
    auto init_term = need(cf->VD_Create_InitTerm_Capabilities(), "pInitTermCaps");
    auto custom = need(cf->VD_Create_Custom_Capabilities(), "pCustomCaps");
    install(caps_routine, [&] {
        set_media_capabilities(media);
        set_io_capabilities(io);
        set_phys_pen_capabilities(pens);
        set_raster_capabilities(raster);
        set_linetype_capabilities(linetypes);
        set_res_color_mem_capabilities(settings);
        set_init_term_capabilities(init_term);
        set_custom_capabilities(custom);
    });
}

VX_RASTER_Plotter_Capabilities::~VX_RASTER_Plotter_Capabilities() = default;

VX_RASTER_Plotter_Configuration::VX_RASTER_Plotter_Configuration() {
    auto cf =
        required(vx_create<VX_RASTER_Plotter_Class_Factory>("VX_RASTER_Plotter_Class_Factory"),
                 "rasterplcfg", "pCF", cfg_revision);
    auto need = [](auto created, const char* detail) {
        return required(std::move(created), cfg_routine, detail, cfg_revision);
    };
    auto media = need(cf->VD_Create_Media_Configuration(), "pMediaCfg");
    auto io = need(cf->VD_Create_Plotter_IO_Configuration(), "pIOCfg");
    auto pens = need(cf->VD_Create_Pen_Configuration(), "pPhysPenCfg");
    auto settings = need(cf->VD_Create_ResColorMem_Configuration(), "pRCMCfg");
    auto init_term = need(cf->VD_Create_InitTerm_Configuration(), "pInitTermCfg");
    auto custom = need(cf->VD_Create_Custom_Configurations(), "pCustomCfg");
    install(cfg_routine, [&] {
        set_media_configuration(media);
        set_io_configuration(io);
        set_phys_pen_configuration(pens);
        set_res_color_mem_configuration(settings);
        set_init_term_configuration(init_term);
        set_custom_configuration(custom);
    });
}

VX_RASTER_Plotter_Configuration::~VX_RASTER_Plotter_Configuration() = default;
