#include "driver_palette.h"

#include <algorithm>

bool fill_driver_palette(VX_Palette& palette, std::uint32_t background, bool with_cube) {
    palette.set_entry(0, {std::uint8_t(background & 0xFF), std::uint8_t((background >> 8) & 0xFF),
                          std::uint8_t((background >> 16) & 0xFF), 255});
    bool cube = !with_cube || palette.install_color_cube(1);
    for (int i = 0; i < 39; ++i) {
        auto grey = std::uint8_t(std::min(7 * i, 255));
        palette.set_entry(217 + i, {grey, grey, grey, 255});
    }
    return cube;
}

std::array<std::uint32_t, 256> palette_image_colours(const VX_Palette& palette) {
    std::array<std::uint32_t, 256> colours{};
    for (int i = 0; i < 256; ++i) {
        VX_Palette::Entry e = palette.get_entry(i);
        colours[std::size_t(i)] = std::uint32_t(e.red) | std::uint32_t(e.green) << 8 |
                                  std::uint32_t(e.blue) << 16 | 0xFF000000u;
    }
    return colours;
}
