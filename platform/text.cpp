#include "vxplatform.h"

namespace vxp {
namespace {

constexpr char32_t replacement = 0xFFFD;

bool valid_code_point(char32_t c) {
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

void append_utf8(std::string& out, char32_t c) {
    if (!valid_code_point(c))
        c = replacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string to_code_page_1252(std::wstring_view text) {
    // Code page 1252 is Latin-1 except for 0x80 to 0x9F, which hold these characters (0 = none).
    static constexpr char16_t high[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        auto code = static_cast<char32_t>(c);
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            out += static_cast<char>(code);
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (high[i] && high[i] == code)
                mapped = static_cast<char>(0x80 + i);
        out += mapped;
    }
    return out;
}

std::string to_utf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
        append_utf8(out, static_cast<char32_t>(c));
    return out;
}

std::wstring from_utf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        int follow = lead < 0x80           ? 0
                     : (lead >> 5) == 0x6  ? 1
                     : (lead >> 4) == 0xE  ? 2
                     : (lead >> 3) == 0x1E ? 3
                                           : -1;
        if (follow < 0 || i + follow >= text.size()) {
            out += static_cast<wchar_t>(replacement);
            ++i;
            continue;
        }
        char32_t c = follow == 0 ? lead : lead & (0x3F >> follow);
        bool ok = true;
        for (int k = 1; k <= follow; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = (c << 6) | (next & 0x3F);
        }
        static constexpr char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (!ok || c < smallest[follow] || !valid_code_point(c)) {
            out += static_cast<wchar_t>(replacement);
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(c);
        i += follow + 1;
    }
    return out;
}

} // namespace vxp
