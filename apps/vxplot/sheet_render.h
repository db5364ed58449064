// Drawing a sheet through a device's drawing actions, the way a CAD host does: thick lines and
// filled areas become triangle strips, hairlines become dots, images become the image action of
// the device's colour system or, when large, an image source fetched in strips.
#pragma once

#include "drawing.h"
#include "host/vx_device.h"

#include <cstdint>

struct Render_Options {
    /// Images of more device pixels than this are drawn through an image source.
    std::int64_t image_source_pixels = 4'000'000;
};

/// Draws the drawing at `dpi` (millimetres to device points: x dpi / 25.4). Image files are read
/// here; throws VX_Exception for an unreadable one and passes on what the device throws.
void render_drawing(VX_Renderer_Data& device, const drawing::Drawing& sheet, int dpi,
                    const Render_Options& options = {});
