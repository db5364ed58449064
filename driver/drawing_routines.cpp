// The drawing routines the device installs. Clear page is the device's own; the routines that
// rasterise dots, triangles and images come with the drawing module, and until they are there the
// renderer draws those primitives with its standard routines.
#include "drawing_routines.h"

#include "raster_driver.h"

namespace {

// Action 114: every pixel of the page image back to blank paper; nothing without a page image.
void raster_plotter_clear_drawing_buffer(RASTER_Driver* driver) {
    driver->set_output_driver(driver);
    driver->m_raster.clear();
}

template <class Routine>
void (*generic(Routine routine))() {
    return reinterpret_cast<void (*)()>(routine);
}

} // namespace

const Raster_Drawing_Routines raster_drawing_routines = {
    nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr,
    nullptr, nullptr, generic(&raster_plotter_clear_drawing_buffer),
};
