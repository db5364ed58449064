// What the drawing actions share: the device behind an action's owner, the error they throw, and
// the prologue every action runs.
#pragma once

#include "driver/raster_driver.h"
#include "resources/resource_library.h"

namespace raster_draw {

/// The module tag the drawing actions' errors carry.
inline constexpr const char* revision = "$Workfile: rasterdraw $ $Revision: 33 $";

inline RASTER_Driver& device_of(VX_Renderer_Data* owner) {
    return *static_cast<RASTER_Driver*>(owner);
}

/// VX_Severe_Error 102 with the routine's error name and the detail.
[[noreturn]] void fail(const char* routine, Raster_Message detail);

/// True when the plot was cancelled; the page image is then released.
bool cancelled(RASTER_Driver& d);

/// The prologue: makes the device the print engine's output target; false when the plot was
/// cancelled.
inline bool prologue(RASTER_Driver& d) {
    d.set_output_driver(&d);
    return !cancelled(d);
}

} // namespace raster_draw
