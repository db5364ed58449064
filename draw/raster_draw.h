// What the device's triangle action hands to the host's polygon fill, for each triangle.
#pragma once

#include "host/vx_render.h"

#include <cstdint>

struct Triangle_Fill {
    std::int32_t width; ///< stroke width in pixels: dpi x 0.1 x weight, at least 1
    bool horizontal;    ///< the triangle is wider than it is tall
};

/// The fill parameters of one triangle: a weight that is not above 0 (or not a number) counts as
/// 1.0; 0.1 is taken in single precision, the product truncated toward zero.
Triangle_Fill triangle_fill(const VX_DCI_Point* triangle, float weight, std::int32_t dpi);
