// The texts a language build carries in its own data tables (not in its resource library): the
// media type lists, the mode lists and the messages of the advanced definitions. Each build links
// the definition of `g_texts` for its language (resources/<language>/texts_<language>.cpp).
//
// Lists are fixed-size name records, as the dialogs show them; a list ends at the first empty
// name. A translation that does not fit its record does not compile.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace settings {

/// A name in a fixed record of N wide characters (N - 1 characters and the terminator).
template <std::size_t N>
struct Fixed_Name {
    wchar_t text[N];
};

/// The number of entries before the first empty name.
template <std::size_t N, std::size_t Count>
constexpr std::size_t list_length(const std::array<Fixed_Name<N>, Count>& list) {
    std::size_t length = 0;
    while (length < Count && list[length].text[0] != L'\0')
        ++length;
    return length;
}

struct Texts {
    std::array<Fixed_Name<60>, 8> high_speed_media;     ///< Media A to G, then the end
    std::array<Fixed_Name<60>, 12> photo_quality_media; ///< Media A to K, then the end
    std::array<Fixed_Name<60>, 3> color_modes;          ///< "Photo-realistic", "Vivid"
    std::array<Fixed_Name<60>, 4> gamma_modes;          ///< "1.5", "1.8", "2.2"
    std::array<Fixed_Name<62>, 5> cut_methods;
    std::array<Fixed_Name<62>, 6> platen_gaps;
    std::array<Fixed_Name<62>, 5> eject_rollers;
    /// Media size keys per source, in catalogue row order (settings/media_catalogue.h); they
    /// equal the host's media size names of this language.
    std::array<Fixed_Name<60>, 13> roll_size_keys;
    std::array<Fixed_Name<60>, 11> borderless_size_keys;
    std::array<Fixed_Name<60>, 9> manual_feed_size_keys;
    std::array<Fixed_Name<60>, 9> paper_tray_size_keys;
    /// Print Spool Status window: the title with the number of copies (one "%d"), the label of
    /// the row bar for a single copy.
    const wchar_t* spool_status_copies;
    const wchar_t* current_page;
    /// Print engine error texts: -15, -10, -5, -4, -2 and any other code.
    const wchar_t* engine_spooler_error;
    const wchar_t* engine_unknown_error;
    const wchar_t* engine_handle_error;
    const wchar_t* engine_memory_error;
    const wchar_t* engine_order_error;
    const wchar_t* engine_other_error;
    /// The message box shown when the print engine is missing, and its caption.
    const wchar_t* engine_missing;
    const wchar_t* engine_missing_caption;
    /// Shown when the advanced definitions file is incorrect.
    const wchar_t* definitions_incorrect;
    /// Caption of the settings dialogs' error messages.
    const wchar_t* custom_properties_error;
    /// The Custom Properties dialog's quality label at 360 dpi and at any other resolution.
    const wchar_t* quality_fast;
    const wchar_t* quality_high;
    /// Export and import of the definitions file: the refusals, the file dialogs' titles and
    /// their filter ("description|pattern||").
    const wchar_t* export_not_committed;
    const wchar_t* export_folder_refused;
    const wchar_t* import_own_file;
    const wchar_t* import_wrong_kind;
    const wchar_t* import_unreadable;
    const wchar_t* import_incorrect;
    const wchar_t* export_title;
    const wchar_t* import_title;
    const wchar_t* definitions_filter;
};

/// The texts of this build.
extern const Texts g_texts;

} // namespace settings
