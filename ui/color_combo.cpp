#include "color_combo.h"

#include "resources/resource_library.h"
#include "ui_state.h"

const std::array<std::int32_t, 256>& ColorIndexPalette = colour_index_palette();

namespace {

constexpr int fixed_colours = 8;
constexpr unsigned first_colour_name = 3; // "White"; then Red ... Black, then "Other Colors"
constexpr int other_colours = 8;

// The values stored for the fixed colours, and the colours their swatches show.
constexpr std::int32_t stored[fixed_colours] = {0x000000, 0x0000FF, 0x00FFFF, 0x00FF00,
                                                0xFFFF00, 0xFF0000, 0xFF00FF, 0xFFFFFF};
constexpr std::int32_t swatch[fixed_colours] = {0xFFFFFF, 0x0000FF, 0x00FFFF, 0x00FF00,
                                                0xFFFF00, 0xFF0000, 0xFF00FF, 0x000000};

std::wstring colour_name(unsigned id) {
    return ModuleString(id).value_or(L"");
}

int fixed_position(std::int32_t colour) {
    for (int i = 0; i < fixed_colours; ++i)
        if (stored[i] == colour)
            return i;
    return -1;
}

void fill(CComboBox& combo, int entries) {
    combo.ResetContent();
    for (int i = 0; i < entries; ++i)
        combo.AddString(colour_name(first_colour_name + unsigned(i)));
    for (int i = 0; i < fixed_colours; ++i)
        combo.SetItemData(i, std::uintptr_t(stored[i]));
}

} // namespace

int ColorToIndex(std::int32_t colour) {
    if (int position = fixed_position(colour); position >= 0)
        return position;
    for (int i = 1; i < 256; ++i)
        if (ColorIndexPalette[std::size_t(i)] == colour)
            return i;
    return 0;
}

int ItemTextToColorSlot(const std::wstring& text) {
    for (int i = 0; i < fixed_colours; ++i)
        if (colour_name(first_colour_name + unsigned(i)) == text)
            return i;
    return -1;
}

void FillCompareColorCombo(std::int32_t colour, CComboBox& combo, std::wstring& name) {
    fill(combo, fixed_colours);
    if (int position = fixed_position(colour); position >= 0) {
        name = combo.GetLBText(position);
        combo.SetCurSel(position);
    }
}

void FillSwapColorCombo(std::int32_t colour, CComboBox& combo, std::wstring& name) {
    fill(combo, fixed_colours + 1);
    combo.SetItemData(other_colours, std::uintptr_t(std::uint32_t(colour)));
    int position = fixed_position(colour);
    if (position < 0)
        position = other_colours;
    name = combo.GetLBText(position);
    combo.SetCurSel(position);
}

void SelectColorItem(std::int32_t colour, CComboBox& combo) {
    if (int position = fixed_position(colour); position >= 0)
        combo.SetCurSel(position);
}

void CColorComboBox::DrawItem(Draw_Item& item) {
    if (item.item == -1 || !item.dc)
        return;
    Device_Context& dc = *item.dc;
    const bool palette = TheCustomPropertiesState().display_palette;
    if (palette)
        dc.select_palette(true);
    if (item.disabled)
        dc.set_colours(colour_gray_text, colour_button_face);
    else
        dc.set_colours(colour_window_text, colour_window);
    const Dialog_Rect& r = item.rect;
    const int s = r.height - 4;
    const std::wstring text = GetLBText(item.item);
    dc.text_out(r.x + s + 5, r.y + (r.height - dc.text_height()) / 2, r, text);
    const int slot = ItemTextToColorSlot(text);
    const std::uint32_t colour =
        slot >= 0 ? std::uint32_t(swatch[slot]) : std::uint32_t(custom_colour) & 0xFFFFFF;
    const Dialog_Rect square{r.x + 2, r.y + 2, s, r.height - 4};
    dc.fill(square, colour);
    dc.frame(square, 0x000000);
    if (item.focused)
        dc.focus_rect(r);
    if (palette)
        dc.select_palette(false);
}
