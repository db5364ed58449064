// The per-paper settings table and the advanced definitions file.
//
// For each of the 18 papers (7 media types of the High Speed ink set, papers 1 to 7, and 11 of the
// Photo Quality ink set, papers 8 to 18) and each resolution (360, 720 dpi) the driver keeps ten
// adjustments, PaperSettings. While the settings dialogs run, the table lives in a process-wide
// store of 36 text blocks, each holding a paper line:
//   <gamma>1</gamma><bothway>1</bothway>...<roller>0</roller>
// and on disk in the advanced definitions file "zelto7m.px_" beside the driver, a tagged text:
//   <zelto>
//     <dpi360>
//       <paper01>
//         <gamma>1</gamma>...<roller>0</roller>
//       </paper01>
//       ... paper18
//     </dpi360>
//     <dpi720> ... </dpi720>
//   </zelto>
// Readers do not parse it as XML: they search fixed open and close tags from the start of a text
// (FindTaggedSpan), so order, indentation and other text do not matter and the first of a repeated
// tag wins. The writer always produces the canonical form above (8,991 bytes from the defaults).
//
// Every working buffer has a fixed capacity (terminator included). Text that does not fit is
// refused as incorrect; nothing is ever written beyond a buffer.
#pragma once

#include "settings/custom_settings.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Capacities, in bytes with the terminating NUL.

inline constexpr std::size_t definitions_text_capacity = 34816; ///< the whole file
inline constexpr std::size_t validation_block_capacity = 8192;  ///< a resolution block, checked
inline constexpr std::size_t extraction_block_capacity = 36864; ///< a resolution block, extracted
inline constexpr std::size_t validation_paper_capacity = 1024;  ///< a paper block, checked
inline constexpr std::size_t paper_block_capacity = 8192;       ///< a paper block of the store
inline constexpr std::size_t paper_line_capacity = 1024;        ///< a formatted paper line
inline constexpr std::size_t value_text_capacity = 100;         ///< the content of a field tag

/// A NUL-terminated text in a fixed buffer of Capacity bytes.
template <std::size_t Capacity>
class Fixed_Text {
public:
    static constexpr std::size_t capacity = Capacity;
    /// Replaces the content; false, and the content unchanged, when `text` does not fit.
    bool assign(std::string_view text) {
        if (text.size() >= Capacity)
            return false;
        text.copy(m_data.data(), text.size());
        m_length = text.size();
        m_data[m_length] = '\0';
        return true;
    }
    /// Appends; false, and the content unchanged, when the result would not fit.
    bool append(std::string_view text) {
        if (text.size() >= Capacity - m_length)
            return false;
        text.copy(m_data.data() + m_length, text.size());
        m_length += text.size();
        m_data[m_length] = '\0';
        return true;
    }
    void clear() { assign({}); }
    std::string_view view() const { return {m_data.data(), m_length}; }
    const char* c_str() const { return m_data.data(); }

private:
    std::array<char, Capacity> m_data{};
    std::size_t m_length = 0;
};

// ---------------------------------------------------------------------------------------------
// Tag search

/// Content of a tag pair: bytes [first, end) of the text.
struct Tagged_Span {
    std::size_t first, end;
};

/// Finds the first `open` at or after `start`, then the first `close` after it; the text counts up
/// to its first NUL. Byte-wise and case-sensitive. When no close tag follows the first open tag the
/// search fails: later open tags are not tried.
std::optional<Tagged_Span> FindTaggedSpan(std::string_view text, std::string_view open,
                                          std::string_view close, std::size_t start = 0);

/// Copies the content of FindTaggedSpan into `out`; false when the tags are not found or the
/// content does not fit (`out` is then unchanged).
template <std::size_t N>
bool ExtractTaggedText(std::string_view text, std::string_view open, std::string_view close,
                       std::size_t start, Fixed_Text<N>& out) {
    auto span = FindTaggedSpan(text, open, close, start);
    return span && out.assign(text.substr(span->first, span->end - span->first));
}

// ---------------------------------------------------------------------------------------------
// The table

/// The ten adjustments of one paper at one resolution, in file order.
struct PaperSettings {
    std::int32_t gamma;      ///< index of the gamma list (0 to 2)
    std::int32_t bothway;    ///< bidirectional printing, 0 or 1
    std::int32_t inkdensity; ///< percent, -50 to 50
    std::int32_t delaytime;  ///< drying time per head pass, tenths of a second, 0 to 50
    std::int32_t feedoffset; ///< paper feed, hundredths of a percent, -70 to 70
    std::int32_t vacuum;     ///< suction step, 0 to 4
    std::int32_t adjustmode; ///< cut method index, 0 to 3
    std::int32_t paperthick; ///< tenths of a millimetre, 1 to 16
    std::int32_t gap;        ///< platen gap index, 0 to 4
    std::int32_t roller;     ///< eject roller index, 0 to 3
    /// Field i in file order (the order of settings::per_resolution).
    std::int32_t& field(std::size_t i);
    std::int32_t field(std::size_t i) const;
    bool operator==(const PaperSettings&) const = default;
};

inline constexpr int paper_count = 18;

/// The built-in defaults, [resolution][paper - 1]; both resolutions hold the same values.
extern const std::array<std::array<PaperSettings, paper_count>, 2> DefaultPaperSettings;

/// Paper number 1 to 18 of a media index of an ink set (any non-zero ink set is Photo Quality);
/// 0 when the index lies outside the ink set's list.
int paper_number(std::int32_t ink_set, std::int32_t media_index);
/// "paper01" to "paper18".
std::string paper_name(int paper);
/// "dpi360" or "dpi720".
const char* resolution_name(settings::Resolution resolution);
/// The resolution of a table entry: exactly 360.0 or 720.0 (single precision), else nothing.
std::optional<settings::Resolution> table_resolution(float resolution);

using Paper_Line = Fixed_Text<paper_line_capacity>;
/// The paper line: the ten tag pairs with plain decimal values, no separators.
Paper_Line FormatPaperSettings(const PaperSettings& values);

/// Reads the ten fields, each searched from the start of `block`, converted like atoi (blanks, a
/// sign, digits up to the first non-digit; none gives 0; saturated to 32 bits). Returns 1 when all
/// ten were found; at the first missing tag (or one whose content exceeds 99 characters) returns 0,
/// the fields before it written and the others as they were.
int ParsePaperSettings(std::string_view block, PaperSettings& values);

/// The 36 paper blocks of the table.
class PaperBlockStore {
public:
    using Block = Fixed_Text<paper_block_capacity>;

    /// The block of that paper and resolution, or null for a resolution other than 360.0 or
    /// 720.0 or an index outside the ink set's list.
    Block* PaperBlockFor(float resolution, std::int32_t ink_set, std::int32_t media_index);
    const Block* PaperBlockFor(float resolution, std::int32_t ink_set,
                               std::int32_t media_index) const;
    /// Formats the values and replaces the paper's block; false when there is no such block.
    bool StorePaperSettings(std::int32_t media_index, float resolution, std::int32_t ink_set,
                            const PaperSettings& values);
    /// ParsePaperSettings of the paper's block; 0 when there is no such block.
    int LoadPaperSettings(std::int32_t media_index, float resolution, std::int32_t ink_set,
                          PaperSettings& values) const;

    /// Block of paper 1 to 18.
    Block& block(int paper, settings::Resolution resolution);
    const Block& block(int paper, settings::Resolution resolution) const;

private:
    std::array<std::array<Block, paper_count>, 2> m_blocks;
};

/// The store of the driver's settings dialogs: empty when the module is loaded, kept until it is
/// unloaded.
PaperBlockStore& ThePaperBlockStore();

// ---------------------------------------------------------------------------------------------
// The advanced definitions file

inline constexpr const char* definitions_file_name = "zelto7m.px_";

using Definitions_Text = Fixed_Text<definitions_text_capacity>;

/// Every fault of a definitions text, each saying what is missing or too large and where
/// ("paper12 at 720 dpi lacks <vacuum>"); empty when the text is valid.
std::vector<std::string> CheckDefinitions(std::string_view text);
/// 1 when the text is a complete definitions text, else 0.
int ValidateDefinitions(std::string_view text);
/// 1 when the block of that paper is in the resolution block's content with all ten field tags;
/// else 0, with the reason put into `fault` when given.
int CheckPaperBlock(std::string_view resolution_block, std::int32_t ink_set,
                    std::int32_t media_index, std::string* fault = nullptr);
/// Copies the content of paper `paper` ("paper07") of resolution block `resolution` ("dpi360")
/// into `out`; false when not found or too large.
bool ExtractPaperBlock(std::string_view text, std::string_view paper, std::string_view resolution,
                       PaperBlockStore::Block& out);
/// The canonical text of the defaults.
void ComposeDefinitionsText(Definitions_Text& out);
/// The canonical text of the store; a block without all ten fields is completed from the paper's
/// defaults.
void ComposeDefinitionsText(Definitions_Text& out, const PaperBlockStore& store);
/// Extracts all 36 blocks of a valid or composed text into the store.
void ExtractAllPaperBlocks(std::string_view text, PaperBlockStore& store);

/// Where the definitions file of a driver module lives.
struct Definitions_Paths {
    std::filesystem::path driver_directory; ///< the module's folder
    std::filesystem::path file;             ///< that folder followed by "zelto7m.px_"
};
Definitions_Paths DefinitionsPaths(const std::filesystem::path& module_file_name);

/// What reading at dialog opening found and did.
struct Opening_Result {
    bool file_valid = false;                     ///< the file was read and is valid
    bool defaults_written = false;               ///< the defaults were saved to the file
    std::optional<std::filesystem::path> backup; ///< where an unusable file was kept
    std::vector<std::string> faults;             ///< why the file was incorrect
};

/// Reading at dialog opening: reads and validates the file into `text`; when it is missing,
/// unreadable or incorrect, composes the defaults into `text` and saves them (an existing file is
/// first kept aside under a backup name; `show_incorrect` is called for an incorrect one). Then
/// extracts the 36 blocks from `text` into `store`. Failures to save are not reported: the store
/// is filled all the same.
Opening_Result ReadDefinitionsAtOpening(const std::filesystem::path& file, PaperBlockStore& store,
                                        Definitions_Text& text,
                                        const std::function<void()>& show_incorrect);

/// Rewriting at confirmation: composes the store into `text` and replaces the file atomically.
/// False when the file could not be replaced (write-protected, folder gone, disk full); the old
/// file is then intact.
bool RewriteDefinitionsAtConfirmation(const std::filesystem::path& file,
                                      const PaperBlockStore& store, Definitions_Text& text);

/// Process-wide state of the settings dialogs: the paths of the last opening, the definitions text
/// buffer, and whether the last read found a valid file.
struct Definitions_State {
    Definitions_Paths paths;
    Definitions_Text text;
    bool last_read_valid = false;
};
Definitions_State& TheDefinitionsState();
