// The advanced definitions file format: validation, extraction of paper blocks, composition of
// the canonical text.
#include "definitions.h"

#include <cstdio>

namespace {

using settings::Resolution;

constexpr Resolution resolutions[] = {Resolution::dpi360, Resolution::dpi720};

std::string open_tag(std::string_view name) {
    return "<" + std::string(name) + ">";
}
std::string close_tag(std::string_view name) {
    return "</" + std::string(name) + ">";
}

std::string with_thousands(std::size_t n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

// "holds 9,000 bytes, more than 8,191" for content that does not fit a buffer.
std::string too_large(std::size_t size, std::size_t capacity) {
    return "holds " + with_thousands(size) + " bytes, more than " + with_thousands(capacity - 1);
}

// Content of a tag pair copied into `out`, or the reason it could not be.
template <std::size_t N>
std::optional<std::string> copy_tagged(std::string_view text, std::string_view name,
                                       Fixed_Text<N>& out) {
    auto span = FindTaggedSpan(text, open_tag(name), close_tag(name));
    if (!span)
        return "lacks " + open_tag(name) + " ... " + close_tag(name);
    if (!out.assign(text.substr(span->first, span->end - span->first)))
        return open_tag(name) + " " + too_large(span->end - span->first, N);
    return std::nullopt;
}

template <class Settings_Of>
void compose(Definitions_Text& out, Settings_Of&& settings_of) {
    out.assign("<zelto>\n");
    for (Resolution resolution : resolutions) {
        out.append(resolution == Resolution::dpi360 ? "  <dpi360>\n" : "  <dpi720>\n");
        for (int paper = 1; paper <= paper_count; ++paper) {
            std::string name = paper_name(paper);
            // 36 papers of at most 522 bytes and the frame fit the 34,816-byte buffer.
            out.append("    " + open_tag(name) + "\n");
            out.append("      ");
            out.append(FormatPaperSettings(settings_of(paper, resolution)).view());
            out.append("\n    " + close_tag(name) + "\n");
        }
        out.append(resolution == Resolution::dpi360 ? "  </dpi360>\n" : "  </dpi720>\n");
    }
    out.append("</zelto>\n");
}

} // namespace

int CheckPaperBlock(std::string_view resolution_block, std::int32_t ink_set,
                    std::int32_t media_index, std::string* fault) {
    auto report = [&](std::string reason) {
        if (fault)
            *fault = std::move(reason);
        return 0;
    };
    int paper = paper_number(ink_set, media_index);
    if (!paper)
        return report("has no paper for ink set " + std::to_string(ink_set) + ", media " +
                      std::to_string(media_index));
    Fixed_Text<validation_paper_capacity> content;
    if (auto problem = copy_tagged(resolution_block, paper_name(paper), content))
        return report(*problem);
    std::string missing;
    for (const auto& setting : settings::per_resolution) {
        Fixed_Text<value_text_capacity> value;
        if (auto problem = copy_tagged(content.view(), setting.file_tag, value))
            missing += (missing.empty() ? "" : "; ") + *problem;
    }
    return missing.empty() ? 1 : report(missing);
}

std::vector<std::string> CheckDefinitions(std::string_view text) {
    std::vector<std::string> faults;
    if (!FindTaggedSpan(text, "<zelto>", "</zelto>"))
        faults.push_back("the text lacks its root <zelto> ... </zelto>");
    for (Resolution resolution : resolutions) {
        const char* block_name = resolution_name(resolution);
        Fixed_Text<validation_block_capacity> block;
        if (auto problem = copy_tagged(text, block_name, block)) {
            faults.push_back("the text " + *problem);
            continue;
        }
        const char* dpi = resolution == Resolution::dpi360 ? "360" : "720";
        for (std::int32_t ink_set : {0, 1})
            for (std::int32_t index = 0; index < settings::media_count(ink_set); ++index) {
                std::string fault;
                if (!CheckPaperBlock(block.view(), ink_set, index, &fault))
                    faults.push_back(paper_name(paper_number(ink_set, index)) + " at " + dpi +
                                     " dpi " + fault);
            }
    }
    return faults;
}

int ValidateDefinitions(std::string_view text) {
    return CheckDefinitions(text).empty() ? 1 : 0;
}

bool ExtractPaperBlock(std::string_view text, std::string_view paper, std::string_view resolution,
                       PaperBlockStore::Block& out) {
    Fixed_Text<extraction_block_capacity> block;
    return !copy_tagged(text, resolution, block) && !copy_tagged(block.view(), paper, out);
}

void ExtractAllPaperBlocks(std::string_view text, PaperBlockStore& store) {
    for (int paper = 1; paper <= paper_count; ++paper)
        for (Resolution resolution : resolutions) {
            PaperBlockStore::Block& block = store.block(paper, resolution);
            if (!ExtractPaperBlock(text, paper_name(paper), resolution_name(resolution), block))
                block.clear();
        }
}

void ComposeDefinitionsText(Definitions_Text& out) {
    compose(out, [](int paper, Resolution resolution) {
        return DefaultPaperSettings[resolution == Resolution::dpi360 ? 0 : 1][paper - 1];
    });
}

void ComposeDefinitionsText(Definitions_Text& out, const PaperBlockStore& store) {
    compose(out, [&](int paper, Resolution resolution) {
        PaperSettings values =
            DefaultPaperSettings[resolution == Resolution::dpi360 ? 0 : 1][paper - 1];
        ParsePaperSettings(store.block(paper, resolution).view(), values);
        return values;
    });
}
