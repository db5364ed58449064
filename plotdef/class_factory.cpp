#include "raster_plotdef.h"

VX_RASTER_Plotter_Class_Factory::VX_RASTER_Plotter_Class_Factory() = default;
VX_RASTER_Plotter_Class_Factory::~VX_RASTER_Plotter_Class_Factory() = default;

VX_Smart_Pointer<VX_Caps_Loader> VX_RASTER_Plotter_Class_Factory::VD_Create_Caps_Loader(
    VX_Smart_Pointer<VX_Error_Handler> handler) const {
    return vx_create<RASTER_DRC_Caps_Loader>("VD_Create_Caps_Loader", std::move(handler));
}

VX_Smart_Pointer<VX_Plotter_Capabilities>
VX_RASTER_Plotter_Class_Factory::VD_Create_Plotter_Capabilities(const wchar_t*, const wchar_t*,
                                                                const wchar_t*) const {
    return vx_create<VX_RASTER_Plotter_Capabilities>("VD_Create_Plotter_Capabilities");
}

VX_Smart_Pointer<VX_Plotter_Configuration>
VX_RASTER_Plotter_Class_Factory::VD_Create_Plotter_Configuration(const wchar_t*, const wchar_t*,
                                                                 const wchar_t*) const {
    return vx_create<VX_RASTER_Plotter_Configuration>("VD_Create_Plotter_Configuration");
}

VX_Smart_Pointer<VX_Plotter_Definition>
VX_RASTER_Plotter_Class_Factory::VD_Create_Plotter_Definition(
    VX_Smart_Pointer<VX_Error_Handler> handler) const {
    return vx_create<VX_RASTER_Plotter_Definition>("VD_Create_Plotter_Definition",
                                                   std::move(handler));
}
