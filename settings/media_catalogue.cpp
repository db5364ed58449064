#include "media_catalogue.h"

namespace settings {
namespace {

constexpr Media_Row user_defined{L"UserDefined", 256, 0, 0, 0, 0};

constexpr std::array<Media_Row, 13> roll_rows{{
    {L"Letter Roll Paper", 1, 3060, 3960, 2976, 3876},
    {L"A4 Roll Paper Portrait", 9, 2976, 4209, 2892, 4125},
    {L"A4 Roll Paper Landscape", 256, 4209, 2976, 4125, 2892},
    {L"A3 Roll Paper Portrait", 8, 4209, 5953, 4125, 5869},
    {L"A3 Roll Paper Landscape", 256, 5953, 4209, 5869, 4125},
    {L"A2 Roll Paper Portrait", 257, 5953, 8419, 5869, 8335},
    {L"ANSI B Roll Paper Portrait", 262, 3960, 6120, 3876, 6036},
    {L"ANSI B Roll Paper Landscape", 256, 6120, 3960, 6036, 3876},
    {L"ANSI C Roll Paper Portrait", 261, 6120, 7920, 6036, 7836},
    {L"ARCH A Roll Paper Portrait", 256, 3240, 4320, 3156, 4236},
    {L"ARCH A Roll Paper Landscape", 256, 4320, 3240, 4236, 3156},
    {L"ARCH B Roll Paper Portrait", 256, 4320, 6480, 4236, 6396},
    user_defined,
}};

constexpr std::array<Media_Row, 11> borderless_rows{{
    {L"Letter Roll Borderless Portrait", 256, 3060, 3988, 3144, 3988},
    {L"A4 Roll Borderless Portrait", 256, 2976, 4238, 3060, 4238},
    {L"A4 Roll Borderless Landscape", 256, 4209, 3005, 4293, 3005},
    {L"A3 Roll Borderless Portrait", 256, 4209, 5981, 4293, 5981},
    {L"A3 Roll Borderless Landscape", 256, 5953, 4238, 6037, 4238},
    {L"A2 Roll Borderless Portrait", 256, 5953, 8447, 6037, 8447},
    {L"ANSI B Roll Borderless Landscape", 256, 6120, 3988, 6204, 3988},
    {L"ANSI C Roll Borderless Portrait", 256, 6120, 7948, 6204, 7948},
    {L"ARCH A Roll Borderless Landscape", 256, 4320, 3268, 4404, 3268},
    {L"ARCH B Roll Borderless Portrait", 256, 4320, 6508, 4404, 6508},
    user_defined,
}};

constexpr std::array<Media_Row, 9> manual_feed_rows{{
    {L"Letter Manual Feed", 1, 3060, 3960, 2976, 3876},
    {L"A4 Manual Feed", 9, 2976, 4209, 2892, 4125},
    {L"A3 Manual Feed", 8, 4209, 5953, 4125, 5869},
    {L"A2 Manual Feed", 257, 5953, 8419, 5869, 8335},
    {L"ANSI B Manual Feed", 262, 3960, 6120, 3876, 6036},
    {L"ANSI C Manual Feed", 261, 6120, 7920, 6036, 7836},
    {L"ARCH A Manual Feed", 256, 3240, 4320, 3156, 4236},
    {L"ARCH B Manual Feed", 256, 4320, 6480, 4236, 6396},
    user_defined,
}};

constexpr std::array<Media_Row, 9> paper_tray_rows{{
    {L"Letter Paper Tray", 1, 3060, 3960, 2976, 3876},
    {L"A4 Paper Tray", 9, 2976, 4209, 2892, 4125},
    {L"A3 Paper Tray", 8, 4209, 5953, 4125, 5869},
    {L"A2 Paper Tray", 257, 5953, 8419, 5869, 8335},
    {L"ANSI B Paper Tray", 262, 3960, 6120, 3876, 6036},
    {L"ANSI C Paper Tray", 261, 6120, 7920, 6036, 7836},
    {L"ARCH A Paper Tray", 256, 3240, 4320, 3156, 4236},
    {L"ARCH B Paper Tray", 256, 4320, 6480, 4236, 6396},
    user_defined,
}};

} // namespace

std::span<const Media_Row> media_rows(Media_Source source) {
    switch (source) {
    case source_roll_borderless:
        return borderless_rows;
    case source_manual_feed:
        return manual_feed_rows;
    case source_paper_tray:
        return paper_tray_rows;
    case source_roll:
        break;
    }
    return roll_rows;
}

} // namespace settings
