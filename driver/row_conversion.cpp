// Page-image rows into engine pixels (R, G, B, 0). end_picture converts every row of the page.
#include "colour_conversion.h"
#include "pipeline_p.h"

#include <algorithm>
#include <cstring>

std::array<std::uint32_t, 256> index_engine_pixels() {
    const Index_Colour_Table& table = raster_index_colour_table();
    std::array<std::uint32_t, 256> pixels;
    for (std::size_t i = 0; i < 256; ++i)
        pixels[i] = std::uint32_t(table[i][0] & 0xFF) | std::uint32_t(table[i][1] & 0xFF) << 8 |
                    std::uint32_t(table[i][2] & 0xFF) << 16;
    return pixels;
}

namespace {

// True-colour pixels (R, G, B, x) into engine pixels, black and white exchanged back. Written
// without branches so that the compiler vectorises it, and built for the wider vector units too
// (chosen when the program loads): end_picture converts every row of the page.
__attribute__((target_clones("arch=x86-64-v4", "avx2", "default"))) void
convert_true_colour(const std::uint8_t* in, std::int32_t width, std::uint8_t* out) {
    for (std::int32_t x = 0; x < width; ++x) {
        std::uint32_t pixel;
        std::memcpy(&pixel, in + std::size_t(x) * 4, 4);
        std::uint32_t rgb = pixel & 0xFFFFFFu; // R, G, B in bytes 0, 1, 2
        rgb = rgb == 0xFFFFFFu ? 0u : rgb == 0u ? 0xFFFFFFu : rgb;
        std::memcpy(out + std::size_t(x) * 4, &rgb, 4);
    }
}

} // namespace

void convert_engine_row(const std::uint8_t* in, int bits_per_pixel, bool grey, std::int32_t width,
                        std::uint8_t* out, const std::array<std::uint32_t, 256>& index_pixels) {
    switch (bits_per_pixel) {
    case 24:
        if (!grey) {
            convert_true_colour(in, width, out);
            break;
        }
        for (std::int32_t x = 0; x < width; ++x, in += 4, out += 4) {
            std::uint8_t r = in[0], g = in[1], b = in[2];
            if ((r & g & b) == 255)
                r = g = b = 0; // the page image's black/white exchange, undone
            else if ((r | g | b) == 0)
                r = g = b = 255;
            else if (!(r == g && g == b))
                r = g = b = std::uint8_t(std::min((r * 30 + g * 59 + b * 11) / 100, 255));
            out[0] = r;
            out[1] = g;
            out[2] = b;
            out[3] = 0;
        }
        break;
    case 8:
        for (std::int32_t x = 0; x < width; ++x)
            std::memcpy(out + std::size_t(x) * 4, &index_pixels[in[x]], 4);
        break;
    default: {
        // Eight pixels per source byte, from a table of the 256 bytes' pixels.
        static const auto byte_pixels = [] {
            std::array<std::array<std::uint32_t, 8>, 256> table{};
            for (std::size_t b = 0; b < 256; ++b)
                for (std::size_t k = 0; k < 8; ++k)
                    table[b][k] = (b >> (7 - k)) & 1 ? 0u : 0xFFFFFFu;
            return table;
        }();
        std::int32_t whole = width / 8;
        for (std::int32_t i = 0; i < whole; ++i)
            std::memcpy(out + std::size_t(i) * 32, byte_pixels[in[i]].data(), 32);
        for (std::int32_t x = whole * 8; x < width; ++x)
            std::memcpy(out + std::size_t(x) * 4, &byte_pixels[in[x >> 3]][std::size_t(x & 7)], 4);
        break;
    }
    }
}
