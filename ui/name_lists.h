// Filling a drop-down list from one of the build's lists of names (settings::Texts).
#pragma once

#include "platform/dialogs/dialog.h"
#include "settings/texts.h"

/// Empties the list and adds the names before the first empty one, in their order: the entry's
/// index is the name's position, which is the value the settings store.
template <std::size_t N, std::size_t Count>
void fill_names(CComboBox& list, const std::array<settings::Fixed_Name<N>, Count>& names) {
    list.ResetContent();
    for (std::size_t i = 0; i < settings::list_length(names); ++i)
        list.AddString(names[i].text);
}
