// The colour lists of the Custom Properties dialog: each entry drawn as a colour swatch and the
// colour's name; eight fixed colours, and in the lists of printed colours "Other Colors", which
// opens the host's colour picker. Colour values are 0x00BBGGRR; the fixed "White" is stored as 0
// and "Black" as 0xFFFFFF, the reverse of the swatches they show.
#pragma once

#include "platform/dialogs/dialog.h"

#include <array>
#include <cstdint>
#include <string>

/// The 256 colours the picker offers, by colour index (the host's colour index palette).
extern const std::array<std::int32_t, 256>& ColorIndexPalette;

/// The colour index of a value: the fixed colours' own indices (0 for 0, 7 for 0xFFFFFF), else
/// the first palette entry 1 to 255 equal to it, else 0.
int ColorToIndex(std::int32_t colour);

/// The fixed-colour position 0 to 7 of an entry's text (the build's colour names, compared
/// exactly), or -1.
int ItemTextToColorSlot(const std::wstring& text);

/// Fills a list of screen colours with the eight fixed colours and selects the one equal to
/// `colour` (loading its name into `name`); another value selects nothing and leaves `name`.
void FillCompareColorCombo(std::int32_t colour, CComboBox& combo, std::wstring& name);
/// Fills a list of printed colours with the eight fixed colours and "Other Colors", whose value
/// is `colour`; selects the fixed colour equal to it, or "Other Colors".
void FillSwapColorCombo(std::int32_t colour, CComboBox& combo, std::wstring& name);
/// Selects the fixed colour equal to `colour`; another value leaves the selection.
void SelectColorItem(std::int32_t colour, CComboBox& combo);

class CColorComboBox : public CComboBox {
public:
    /// The swatch colour of entries that are not fixed colours (-1, drawn white, for none).
    std::int32_t custom_colour = -1;
    /// The entry's text beside a swatch of its colour, framed in black.
    void DrawItem(Draw_Item& item) override;
};
