// The drawing routines a device installs in the renderer's action table. Each receives the device
// first; the renderer casts the generic pointer back to the action's own signature. A routine
// that is null is not installed, and the renderer's standard routine draws that primitive.
#pragma once

struct Raster_Drawing_Routines {
    void (*dot)();                  ///< action 87 at 400 dpi or less
    void (*dot_block)();            ///< action 87 above 400 dpi
    void (*triangles)();            ///< action 13
    void (*shared_image_real)();    ///< action 89
    void (*shared_image_integer)(); ///< action 91
    void (*rgb32_image)();          ///< action 97, true-colour system
    void (*index8_image)();         ///< action 101, 8-bit palette system
    void (*bitonal_image)();        ///< action 105, bitonal system
    void (*clear_page)();           ///< action 114
    void (*span)();                 ///< the host's span path for fills (vx_action_span)
};

/// The routines of this driver (draw/raster_draw.cpp).
extern const Raster_Drawing_Routines raster_drawing_routines;

class RASTER_Driver;

/// Puts the device's page image into deferred filling (Raster_Buffer::defer_fills): from then on
/// the triangle action keeps triangles it would fill through the span path as records, painted
/// when their rows are needed (draw/raster_draw.cpp).
void raster_defer_page_fills(RASTER_Driver& device);
