// The per-paper table: tag search, the paper line, and the process-wide store of paper blocks.
#include "definitions.h"

#include <cctype>
#include <cstdio>
#include <limits>

namespace {

using settings::Resolution;

constexpr std::int32_t PaperSettings::*fields[] = {
    &PaperSettings::gamma,      &PaperSettings::bothway,    &PaperSettings::inkdensity,
    &PaperSettings::delaytime,  &PaperSettings::feedoffset, &PaperSettings::vacuum,
    &PaperSettings::adjustmode, &PaperSettings::paperthick, &PaperSettings::gap,
    &PaperSettings::roller,
};
static_assert(std::size(fields) == settings::per_resolution.size());

// The defaults of one paper: everything but the cut method and the thickness is common.
constexpr PaperSettings paper_default(std::int32_t adjustmode, std::int32_t paperthick) {
    return {1, 1, 0, 0, 0, 0, adjustmode, paperthick, 0, 0};
}

constexpr std::array<PaperSettings, paper_count> default_row = {
    paper_default(0, 1), paper_default(0, 1), paper_default(1, 1), paper_default(0, 1),
    paper_default(0, 2), paper_default(0, 2), paper_default(0, 2), paper_default(0, 1),
    paper_default(0, 1), paper_default(1, 1), paper_default(0, 1), paper_default(0, 2),
    paper_default(0, 2), paper_default(0, 2), paper_default(0, 3), paper_default(0, 3),
    paper_default(0, 3), paper_default(0, 3),
};

// atoi: leading blanks, an optional sign, digits up to the first non-digit; saturated.
std::int32_t decimal_value(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min(value * 10 + (text[i] - '0'), limit);
    value = negative ? -value : std::min<std::int64_t>(value, limit - 1);
    return static_cast<std::int32_t>(value);
}

std::string open_tag(std::string_view name) {
    return "<" + std::string(name) + ">";
}
std::string close_tag(std::string_view name) {
    return "</" + std::string(name) + ">";
}

} // namespace

const std::array<std::array<PaperSettings, paper_count>, 2> DefaultPaperSettings = {default_row,
                                                                                    default_row};

std::int32_t& PaperSettings::field(std::size_t i) {
    return this->*fields[i];
}
std::int32_t PaperSettings::field(std::size_t i) const {
    return this->*fields[i];
}

std::optional<Tagged_Span> FindTaggedSpan(std::string_view text, std::string_view open,
                                          std::string_view close, std::size_t start) {
    text = text.substr(0, text.find('\0'));
    std::size_t at = text.find(open, start);
    if (at == std::string_view::npos)
        return std::nullopt;
    std::size_t first = at + open.size();
    std::size_t end = text.find(close, first);
    if (end == std::string_view::npos)
        return std::nullopt;
    return Tagged_Span{first, end};
}

int paper_number(std::int32_t ink_set, std::int32_t media_index) {
    if (media_index < 0 || media_index >= settings::media_count(ink_set))
        return 0;
    return ink_set == 0 ? media_index + 1 : media_index + 8;
}

std::string paper_name(int paper) {
    char name[16];
    std::snprintf(name, sizeof name, paper < 10 ? "paper0%d" : "paper%d", paper);
    return name;
}

const char* resolution_name(Resolution resolution) {
    return resolution == Resolution::dpi360 ? "dpi360" : "dpi720";
}

std::optional<Resolution> table_resolution(float resolution) {
    if (resolution == 360.0f)
        return Resolution::dpi360;
    if (resolution == 720.0f)
        return Resolution::dpi720;
    return std::nullopt;
}

Paper_Line FormatPaperSettings(const PaperSettings& values) {
    Paper_Line line;
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        const char* tag = settings::per_resolution[i].file_tag;
        char pair[64];
        std::snprintf(pair, sizeof pair, "<%s>%d</%s>", tag, values.field(i), tag);
        // Ten pairs of at most 43 bytes always fit the 1,024-byte line.
        line.append(pair);
    }
    return line;
}

int ParsePaperSettings(std::string_view block, PaperSettings& values) {
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        const char* tag = settings::per_resolution[i].file_tag;
        Fixed_Text<value_text_capacity> value;
        if (!ExtractTaggedText(block, open_tag(tag), close_tag(tag), 0, value))
            return 0;
        values.field(i) = decimal_value(value.view());
    }
    return 1;
}

PaperBlockStore::Block* PaperBlockStore::PaperBlockFor(float resolution, std::int32_t ink_set,
                                                       std::int32_t media_index) {
    auto which = table_resolution(resolution);
    int paper = paper_number(ink_set, media_index);
    return which && paper ? &block(paper, *which) : nullptr;
}

const PaperBlockStore::Block* PaperBlockStore::PaperBlockFor(float resolution, std::int32_t ink_set,
                                                             std::int32_t media_index) const {
    return const_cast<PaperBlockStore*>(this)->PaperBlockFor(resolution, ink_set, media_index);
}

bool PaperBlockStore::StorePaperSettings(std::int32_t media_index, float resolution,
                                         std::int32_t ink_set, const PaperSettings& values) {
    Block* target = PaperBlockFor(resolution, ink_set, media_index);
    return target && target->assign(FormatPaperSettings(values).view());
}

int PaperBlockStore::LoadPaperSettings(std::int32_t media_index, float resolution,
                                       std::int32_t ink_set, PaperSettings& values) const {
    const Block* source = PaperBlockFor(resolution, ink_set, media_index);
    return source ? ParsePaperSettings(source->view(), values) : 0;
}

PaperBlockStore::Block& PaperBlockStore::block(int paper, Resolution resolution) {
    return m_blocks.at(resolution == Resolution::dpi360 ? 0 : 1).at(paper - 1);
}

const PaperBlockStore::Block& PaperBlockStore::block(int paper, Resolution resolution) const {
    return m_blocks.at(resolution == Resolution::dpi360 ? 0 : 1).at(paper - 1);
}

PaperBlockStore& ThePaperBlockStore() {
    static PaperBlockStore store;
    return store;
}
