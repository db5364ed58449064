// The driver's 256-colour palette: entry 0 the page background, entries 1 to 216 a 6 x 6 x 6
// colour cube (8-bit palette system only), entries 217 to 255 a grey ramp (217 + i has the grey
// 7 x i, limited to 255, so 254 and 255 are white).
#pragma once

#include "host/vx_plotter.h"

#include <array>
#include <cstdint>

/// Fills the palette for the colour system (0: with the cube, 2: without). `background` is
/// 0x00BBGGRR. False when the host refuses the cube (entry 0 and the ramp are set all the same).
bool fill_driver_palette(VX_Palette& palette, std::uint32_t background, bool with_cube);

/// The palette as the page image's colours: each entry as four bytes red, green, blue, 255.
std::array<std::uint32_t, 256> palette_image_colours(const VX_Palette& palette);
