#include "color_combo.h"

#include "resources/resource_library.h"
#include "ui_state.h"

const std::array<std::int32_t, 256> ColorIndexPalette = {
    0xFFFFFF, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0x000000, 0xFEFEFE,
    0xFDFDFD, 0x0101FF, 0x7F7FFF, 0x0000A5, 0x5252A5, 0x00007F, 0x3F3F7F, 0x00004C, 0x26264C,
    0x000026, 0x131326, 0x003FFF, 0x7F9FFF, 0x0029A5, 0x5267A5, 0x001F7F, 0x3F4F7F, 0x00134C,
    0x262F4C, 0x000926, 0x131726, 0x007FFF, 0x7FBFFF, 0x0052A5, 0x527CA5, 0x003F7F, 0x3F5F7F,
    0x00264C, 0x26394C, 0x001326, 0x131C26, 0x00BFFF, 0x7FDFFF, 0x007CA5, 0x5291A5, 0x005F7F,
    0x3F6F7F, 0x00394C, 0x26424C, 0x001C26, 0x132126, 0x01FFFF, 0x7FFFFF, 0x00A5A5, 0x52A5A5,
    0x007F7F, 0x3F7F7F, 0x004C4C, 0x264C4C, 0x002626, 0x132626, 0x00FFBF, 0x7FFFDF, 0x00A57C,
    0x52A591, 0x007F5F, 0x3F7F6F, 0x004C39, 0x264C42, 0x00261C, 0x132621, 0x00FF7F, 0x7FFFBF,
    0x00A552, 0x52A57C, 0x007F3F, 0x3F7F5F, 0x004C26, 0x264C39, 0x002613, 0x13261C, 0x00FF3F,
    0x7FFF9F, 0x00A529, 0x52A567, 0x007F1F, 0x3F7F4F, 0x004C13, 0x264C2F, 0x002609, 0x132617,
    0x01FF01, 0x7FFF7F, 0x00A500, 0x52A552, 0x007F00, 0x3F7F3F, 0x004C00, 0x264C26, 0x002600,
    0x132613, 0x3FFF00, 0x9FFF7F, 0x29A500, 0x67A552, 0x1F7F00, 0x4F7F3F, 0x134C00, 0x2F4C26,
    0x092600, 0x172613, 0x7FFF00, 0xBFFF7F, 0x52A500, 0x7CA552, 0x3F7F00, 0x5F7F3F, 0x264C00,
    0x394C26, 0x132600, 0x1C2613, 0xBFFF00, 0xDFFF7F, 0x7CA500, 0x91A552, 0x5F7F00, 0x6F7F3F,
    0x394C00, 0x424C26, 0x1C2600, 0x212613, 0xFFFF01, 0xFFFF7F, 0xA5A500, 0xA5A552, 0x7F7F00,
    0x7F7F3F, 0x4C4C00, 0x4C4C26, 0x262600, 0x262613, 0xFFBF00, 0xFFDF7F, 0xA57C00, 0xA59152,
    0x7F5F00, 0x7F6F3F, 0x4C3900, 0x4C4226, 0x261C00, 0x262113, 0xFF7F00, 0xFFBF7F, 0xA55200,
    0xA57C52, 0x7F3F00, 0x7F5F3F, 0x4C2600, 0x4C3926, 0x261300, 0x261C13, 0xFF3F00, 0xFF9F7F,
    0xA52900, 0xA56752, 0x7F1F00, 0x7F4F3F, 0x4C1300, 0x4C2F26, 0x260900, 0x261713, 0xFF0101,
    0xFF7F7F, 0xA50000, 0xA55252, 0x7F0000, 0x7F3F3F, 0x4C0000, 0x4C2626, 0x260000, 0x261313,
    0xFF003F, 0xFF7F9F, 0xA50029, 0xA55267, 0x7F001F, 0x7F3F4F, 0x4C0013, 0x4C262F, 0x260009,
    0x261317, 0xFF007F, 0xFF7FBF, 0xA50052, 0xA5527C, 0x7F003F, 0x7F3F5F, 0x4C0026, 0x4C2639,
    0x260013, 0x26131C, 0xFF00BF, 0xFF7FDF, 0xA5007C, 0xA55291, 0x7F005F, 0x7F3F6F, 0x4C0039,
    0x4C2642, 0x26001C, 0x261321, 0xFF01FF, 0xFF7FFF, 0xA500A5, 0xA552A5, 0x7F007F, 0x7F3F7F,
    0x4C004C, 0x4C264C, 0x260026, 0x261326, 0xBF00FF, 0xDF7FFF, 0x7C00A5, 0x9152A5, 0x5F007F,
    0x6F3F7F, 0x39004C, 0x42264C, 0x1C0026, 0x211326, 0x7F00FF, 0xBF7FFF, 0x5200A5, 0x7C52A5,
    0x3F007F, 0x5F3F7F, 0x26004C, 0x39264C, 0x130026, 0x1C1326, 0x3F00FF, 0x9F7FFF, 0x2900A5,
    0x6752A5, 0x1F007F, 0x4F3F7F, 0x13004C, 0x2F264C, 0x090026, 0x171326, 0x545454, 0x767676,
    0x989898, 0xBABABA, 0xDCDCDC, 0xFCFCFC,
};

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
    return vxp::load_string(ResourceLibraryHandle(), id).value_or(L"");
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
