#include "raster_plotdef.h"

RASTER_DRC_Caps_Loader::RASTER_DRC_Caps_Loader() = default;
RASTER_DRC_Caps_Loader::RASTER_DRC_Caps_Loader(VX_Smart_Pointer<VX_Error_Handler> handler)
    : PM_DRC_Caps_Loader(std::move(handler)) {}
RASTER_DRC_Caps_Loader::~RASTER_DRC_Caps_Loader() = default;

bool RASTER_DRC_Caps_Loader::Load(VX_Smart_Pointer<VX_Plotter_Definition> definition,
                                  Load_Policy policy) {
    if (!PM_DRC_Caps_Loader::Load(definition, policy))
        return false;
    auto capabilities = definition->get_plotter_capabilities();
    if (auto io = capabilities ? capabilities->get_io_capabilities() : nullptr)
        io->add_option_pair(5, 4);
    return true;
}
