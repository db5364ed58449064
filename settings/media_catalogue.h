// The paper sizes the printer prints from each of its four sources, with the size code and the
// paper and printable dimensions in pixels at 360 dpi. The last row of every source is
// "UserDefined" (code 256, dimensions 0), whose dimensions come from the plot. Rows are matched
// against the host's media size names through the build's size keys (settings/texts.h), which are
// translated; display names and numbers are the same in every build.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace settings {

struct Media_Row {
    wchar_t display_name[60];
    std::int32_t size_code;
    std::int32_t paper_width, paper_length;         ///< pixels at 360 dpi
    std::int32_t printable_width, printable_length; ///< pixels at 360 dpi
};

/// Media source kinds, selected by the host's source name.
enum Media_Source : std::int32_t {
    source_roll = 0,            ///< "P0"
    source_roll_borderless = 1, ///< "P1"
    source_manual_feed = 2,     ///< "P2"
    source_paper_tray = 3,      ///< "P3"
};

/// What the print engine's job record receives for a source.
struct Media_Source_Codes {
    const wchar_t* name;        ///< "P0" to "P3"
    std::int32_t source_code;   ///< job offset 84
    std::uint32_t source_flags; ///< job offset 76, before the option bit
    bool option_bit;            ///< 0x20 is added when the media option flag is set
    bool borderless;            ///< the margin goes to the second margin field (offset 108)
};
inline constexpr std::uint32_t media_option_flag_bit = 0x20;

inline constexpr std::array<Media_Source_Codes, 4> media_sources{{
    {L"P0", 530, 0x80000000u, true, false},
    {L"P1", 256, 0x80000401u, true, true},
    {L"P2", 4, 0x80000010u, false, false},
    {L"P3", 7, 0x80000010u, false, false},
}};

/// The rows of a source, in catalogue order.
std::span<const Media_Row> media_rows(Media_Source source);

/// Margin in pixels at 360 dpi (doubled at 720).
inline constexpr std::int32_t media_margin_360 = 42;

} // namespace settings
