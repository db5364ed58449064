// State the driver keeps for the module as a whole (one plot at a time per loaded driver).
#pragma once

#include "host/vx_object.h"

class RASTER_Driver;

struct Raster_Module_State {
    /// The host program's folder followed by "drv/": where the print engine is loaded from.
    VX_String driver_directory;
    /// The device the print engine's output goes to; null until something was drawn.
    RASTER_Driver* output_driver = nullptr;
    /// Grey printing (true-colour system with a grey colour depth).
    bool grey_printing = false;
    /// The index colour table is grey (8-bit system with a grey colour depth).
    bool grey_table = false;
};

Raster_Module_State& raster_module_state();
