// The device entry point of the driver module.
#include "raster_driver.h"

/// A new device with one reference, the host's; null when it cannot be allocated.
extern "C" __attribute__((visibility("default"))) VX_Plotter_Device_Data*
VD_Create_Plotter_Device() {
    if (VX_Creation_Faults::consume("VD_Create_Plotter_Device"))
        return nullptr;
    return new (std::nothrow) RASTER_Driver;
}
