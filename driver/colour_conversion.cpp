#include "colour_conversion.h"

#include "settings/custom_settings.h"

#include <algorithm>

namespace {

Colour_Triple palette_triple(const VX_Palette& palette, int index) {
    VX_Palette::Entry e = palette.get_entry(index);
    return {e.red, e.green, e.blue};
}

bool table_holds(const std::array<std::int32_t, 3>& entry, const Colour_Triple& c) {
    return entry[0] == c.b0 && entry[1] == c.b1 && entry[2] == c.b2;
}

// The page image's black/white exchange.
Colour_Triple exchanged(Colour_Triple c) {
    if (c == Colour_Triple{0, 0, 0})
        return {255, 255, 255};
    if (c == Colour_Triple{255, 255, 255})
        return {0, 0, 0};
    return c;
}

} // namespace

Index_Colour_Table& raster_index_colour_table() {
    static Index_Colour_Table table{};
    return table;
}

Colour_Triple triple_of(std::uint32_t code) {
    return {std::uint8_t(code & 0xFF), std::uint8_t((code >> 8) & 0xFF),
            std::uint8_t((code >> 16) & 0xFF)};
}

void Colour_Conversion::read_settings(const VX_Plotter_Definition& definition) {
    auto boolean = [&](const settings::Key& key) {
        auto item = settings::find_item(definition, key.name);
        return item && settings::read_boolean(*item) ? 1 : 0;
    };
    m_change_color = boolean(settings::change_color);
    m_draw_to_black = 0;
    m_convert_color = {0, 0, 0};
    if (m_change_color) {
        m_draw_to_black = boolean(settings::draw_to_black);
        for (std::size_t k = 0; k < 3 && !m_draw_to_black; ++k) {
            auto convert = settings::find_item(definition, settings::convert_color[k].name);
            auto compare = settings::find_item(definition, settings::compare_color[k].name);
            auto swap = settings::find_item(definition, settings::swap_color[k].name);
            if (!convert || !compare || !swap)
                continue;
            m_convert_color[k] = settings::read_boolean(*convert) ? 1 : 0;
            m_compare_color[k] = triple_of(std::uint32_t(settings::read_long(*compare)));
            auto swap_code = std::uint32_t(settings::read_long(*swap));
            m_swap_color[k] = swap_code == 0xFFFFFF ? Colour_Triple{0, 0, 0} : triple_of(swap_code);
        }
    }
    bool any_slot = std::any_of(m_convert_color.begin(), m_convert_color.end(),
                                [](std::int32_t on) { return on != 0; });
    if (!m_draw_to_black && !any_slot)
        m_change_color = 0;
}

void Colour_Conversion::prepare_index_table(Index_Colour_Table& table, const VX_Palette& palette,
                                            bool grey) const {
    for (int i = 0; i < 256; ++i) {
        Colour_Triple c = palette_triple(palette, i);
        if (grey) {
            std::int32_t g = c.b0;
            if (!(c.b0 == c.b1 && c.b1 == c.b2))
                g = std::clamp((30 * c.b0 + 59 * c.b1 + 11 * c.b2) / 100, 0, 255);
            table[std::size_t(i)] = {g, g, g};
            continue;
        }
        bool compared = false;
        for (std::size_t k = 0; k < 3; ++k)
            compared = compared || (slot_enabled(k) && c == m_compare_color[k]);
        if (!compared)
            table[std::size_t(i)] = {c.b0, c.b1, c.b2};
    }
}

void Colour_Conversion::compute_indices(Index_Colour_Table& table, const VX_Palette& palette) {
    m_compare_index = {-1, -1, -1};
    if (!m_change_color)
        return;
    if (m_draw_to_black) {
        m_black_index = 1;
        for (int i = 0; i < 256; ++i)
            if (table_holds(table[std::size_t(i)], {0, 0, 0})) {
                m_black_index = i;
                break;
            }
        return;
    }
    m_swap_index = {-1, -1, -1};
    for (std::size_t k = 0; k < 3; ++k) {
        if (!m_convert_color[k])
            continue;
        for (int i = 0; i < 256 && m_compare_index[k] < 0; ++i)
            if (palette_triple(palette, i) == m_compare_color[k])
                m_compare_index[k] = i;
        if (m_compare_index[k] < 0)
            continue;
        for (int i = 255; i >= 0 && m_swap_index[k] < 0; --i)
            if (table_holds(table[std::size_t(i)], m_swap_color[k]))
                m_swap_index[k] = i;
        if (m_swap_index[k] < 0) {
            const Colour_Triple& s = m_swap_color[k];
            table[std::size_t(m_compare_index[k])] = {s.b0, s.b1, s.b2};
            m_swap_index[k] = m_compare_index[k];
        }
    }
}

std::uint8_t Colour_Conversion::convert_index8(std::uint8_t pixel) const {
    if (m_change_color && m_draw_to_black)
        return pixel == 0 ? 0 : std::uint8_t(m_black_index & 0xFF);
    for (std::size_t k = 0; k < 3; ++k)
        if (m_compare_index[k] != -1 && pixel == std::uint8_t(m_compare_index[k] & 0xFF))
            return std::uint8_t(m_swap_index[k] & 0xFF);
    return pixel;
}

void Colour_Conversion::convert_rgb32(std::uint8_t* pixel) const {
    if (!m_change_color)
        return;
    if (m_draw_to_black) {
        pixel[0] = pixel[1] = pixel[2] = 255;
        return;
    }
    Colour_Triple d{pixel[0], pixel[1], pixel[2]};
    for (std::size_t k = 0; k < 3; ++k) {
        if (!m_convert_color[k] || d != exchanged(m_compare_color[k]))
            continue;
        Colour_Triple s = m_swap_color[k] == Colour_Triple{0, 0, 0} ? Colour_Triple{255, 255, 255}
                                                                    : m_swap_color[k];
        pixel[0] = s.b0;
        pixel[1] = s.b1;
        pixel[2] = s.b2;
        return;
    }
}
