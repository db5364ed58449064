// Colour conversion: the user's "Print Color Conversion" settings either turn every image pixel
// black or substitute up to three screen colours (compare colours) by printed colours (swap
// colours). Image pixels are converted one by one; in the 8-bit palette system the process-wide
// index colour table, through which every 8-bit page pixel reaches the printer, is prepared at
// each begin of picture so that a substitution also reaches dots and areas.
//
// Colour codes are 0x00BBGGRR; a code is split into the triple (b0, b1, b2) = (red, green, blue).
#pragma once

#include "host/vx_plotter.h"

#include <array>
#include <cstdint>

/// 256 entries of (red, green, blue), 0 to 255: how each 8-bit page pixel prints. Process-wide: an
/// entry a picture does not write keeps its last value.
using Index_Colour_Table = std::array<std::array<std::int32_t, 3>, 256>;
Index_Colour_Table& raster_index_colour_table();

struct Colour_Triple {
    std::uint8_t b0 = 0, b1 = 0, b2 = 0; ///< red, green, blue
    bool operator==(const Colour_Triple&) const = default;
};
/// The triple of a colour code 0x00BBGGRR.
Colour_Triple triple_of(std::uint32_t code);

class Colour_Conversion {
public:
    std::int32_t m_change_color = 0;  ///< conversion on
    std::int32_t m_draw_to_black = 0; ///< convert all to black
    std::array<std::int32_t, 3> m_convert_color{};
    std::array<Colour_Triple, 3> m_compare_color{};
    std::array<Colour_Triple, 3> m_swap_color{};
    std::array<std::int32_t, 3> m_compare_index{-1, -1, -1}; ///< palette index per slot
    std::array<std::int32_t, 3> m_swap_index{-1, -1, -1};    ///< table index per slot
    std::int32_t m_black_index = 0;

    /// Reads the conversion items of the definition's configuration. Conversion ends up on only
    /// when convert-to-black or at least one complete slot is on.
    void read_settings(const VX_Plotter_Definition& definition);

    /// Begin of picture, 8-bit palette system, step 1: the table from the palette, grey when the
    /// colour depth is a grey one; otherwise an entry whose colour is the compare colour of an
    /// enabled slot is left as it was.
    void prepare_index_table(Index_Colour_Table& table, const VX_Palette& palette, bool grey) const;
    /// Begin of picture, 8-bit palette system, steps 2 to 4: the black index, or each slot's
    /// compare and swap index (writing a swap colour the table lacks into the compare entry).
    void compute_indices(Index_Colour_Table& table, const VX_Palette& palette);

    /// An 8-bit image pixel.
    std::uint8_t convert_index8(std::uint8_t pixel) const;
    /// A 32-bit image pixel, given after the page image's black/white exchange (bytes 0 to 2 red,
    /// green, blue; byte 3 is never changed).
    void convert_rgb32(std::uint8_t* pixel) const;

    bool slot_enabled(std::size_t slot) const {
        return m_change_color && !m_draw_to_black && m_convert_color[slot];
    }
};
