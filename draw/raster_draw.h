// The drawing actions' parts that are seen from outside draw/: what the triangle action hands to
// the host's polygon fill, and the drawing of an image source.
#pragma once

#include "host/vx_image.h"
#include "host/vx_render.h"

#include <cstdint>

struct Triangle_Fill {
    std::int32_t width; ///< stroke width in pixels: dpi x 0.1 x weight, at least 1
    bool horizontal;    ///< the triangle is wider than it is tall
};

/// The fill parameters of one triangle: a weight that is not above 0 (or not a number) counts as
/// 1.0; 0.1 is taken in single precision, the product truncated toward zero.
Triangle_Fill triangle_fill(const VX_DCI_Point* triangle, float weight, std::int32_t dpi);

class RASTER_Driver;

/// Draws the image source with its bottom-left corner at `at`: strip by strip from the top down,
/// each at most 512 KiB of pixels, directly into the page image or through a scratch image. Ends
/// early, keeping what was drawn, when the plot is cancelled, a strip does not come or the scratch
/// image cannot be had. Throws VX_Severe_Error 102 for an invalid colour system, VX_Error 100 when
/// the clip points cannot be copied.
void raster_draw_image_source(RASTER_Driver& d, const VX_Rendition& rendition,
                              const VX_DCI_Point& at, VX_Image_Source& source);
