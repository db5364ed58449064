// The driver's own print settings: the named custom items of the host's plot configuration.
//
// Vocabulary: every key with its kind and the default the Custom Properties dialog assumes when the
// item (or, for printer settings, the capability of the same key) is missing; the media type and
// mode lists whose positions the values are; the colour codes; the rule that picks the 360 or 720
// dpi member of a per-resolution pair.
//
// Access: find an item, test a capability, read, write; every host object met on the way is held
// through a counted reference and released when the step is done. A missing item or capability is
// never an error: the reader takes the default. No range is checked: values are stored and read
// back unchanged.
#pragma once

#include "host/vx_plotter.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace settings {

enum class Kind { Long, Boolean };

/// A key of the custom settings store.
struct Key {
    const wchar_t* name;
    Kind kind;
    std::int32_t dialog_default; ///< what the dialog assumes when the item is missing
};

// Colour conversion group (Boolean switches and colour codes; dialog defaults false / no colour).
inline constexpr Key change_color{L"RASTER_ChangeColor", Kind::Boolean, 0};
inline constexpr Key draw_to_black{L"RASTER_Draw2Black", Kind::Boolean, 0};
inline constexpr std::array<Key, 3> convert_color{{{L"RASTER_ConvertColor1", Kind::Boolean, 0},
                                                   {L"RASTER_ConvertColor2", Kind::Boolean, 0},
                                                   {L"RASTER_ConvertColor3", Kind::Boolean, 0}}};
inline constexpr std::array<Key, 3> compare_color{
    {{L"RASTER_RGB_Compare1_IndexColor", Kind::Long, 0},
     {L"RASTER_RGB_Compare2_IndexColor", Kind::Long, 0},
     {L"RASTER_RGB_Compare3_IndexColor", Kind::Long, 0}}};
inline constexpr std::array<Key, 3> swap_color{{{L"RASTER_RGB_Swap1_IndexColor", Kind::Long, 0},
                                                {L"RASTER_RGB_Swap2_IndexColor", Kind::Long, 0},
                                                {L"RASTER_RGB_Swap3_IndexColor", Kind::Long, 0}}};

/// Page background colour 0x00BBGGRR; the driver reads it (missing: 0) and never writes it.
inline constexpr Key back_color{L"RASTER_RGB_Back_Color", Kind::Long, 0};

// Printer settings (long; the dialog takes the item only when the capability exists too).
inline constexpr Key device_id{L"Device_ID", Kind::Long, 0};
inline constexpr Key color_correct_mode{L"ColorCorrectMode", Kind::Long, 0};
/// Ink set: 0 High Speed, 1 Photo Quality (the dialog reads any non-zero value as 1).
inline constexpr Key cartridge_option{L"CartrigeOpt", Kind::Long, 0};
inline constexpr Key paper_kind_4c{L"PaperKindMode_4c", Kind::Long, 0};
inline constexpr Key paper_kind_7c{L"PaperKindMode_7c", Kind::Long, 0};

/// The ten per-resolution settings, in the order of PaperSettings and of the definitions file.
struct Per_Resolution_Setting {
    const wchar_t* name;  ///< key without its "_360" / "_720" suffix
    const char* file_tag; ///< tag of the advanced definitions file
    std::int32_t dialog_default;
};
inline constexpr std::array<Per_Resolution_Setting, 10> per_resolution{{
    {L"GammaMode", "gamma", 0},
    {L"BothSideProcess", "bothway", 0},
    {L"InkDensity", "inkdensity", 0},
    {L"PathDelayTime", "delaytime", 0},
    {L"FeedOffset", "feedoffset", 0},
    {L"VacuumIndex", "vacuum", 0},
    {L"CutAdjustMode", "adjustmode", 0},
    {L"PaperThick", "paperthick", 1},
    {L"PlatenGapMode", "gap", 0},
    {L"EjectRollerMode", "roller", 0},
}};

/// The two resolutions that have settings of their own.
enum class Resolution { dpi360, dpi720 };

/// The member of a per-resolution pair: "GammaMode_360" for (0, dpi360).
std::wstring per_resolution_key(std::size_t setting, Resolution resolution);

/// The resolution rule: a horizontal resolution of exactly 360.0 (compared in single precision)
/// selects the 360 dpi members; any other value selects the 720 dpi members.
Resolution resolution_of(double horizontal_dpi);

/// The horizontal resolution of the configured resolution/colour/memory entry, or nothing when
/// the definition lacks the capabilities, the configuration or the selected entry.
std::optional<double> configured_horizontal_dpi(const VX_Plotter_Definition& definition);

// ---------------------------------------------------------------------------------------------
// Value lists: a stored value is a position in its list; the value column is what the driver
// hands on to the print engine. The lists' names are the build's texts (settings/texts.h).

inline constexpr std::array<std::int32_t, 2> color_mode_values{0, 2};
inline constexpr std::array<std::int32_t, 3> gamma_values{150, 180, 220};
inline constexpr std::array<std::int32_t, 4> cut_method_values{0, 1, 2, 3};
inline constexpr std::array<std::int32_t, 5> platen_gap_values{0, 1, 2, 3, 4};
inline constexpr std::array<std::int32_t, 4> eject_roller_values{0, 1, 2, 3};

/// Media types per ink set: 7 for High Speed (papers 1 to 7), 11 for Photo Quality (8 to 18).
inline constexpr int high_speed_media_count = 7;
inline constexpr int photo_quality_media_count = 11;
/// Number of media types of an ink set (any non-zero ink set is Photo Quality).
constexpr int media_count(std::int32_t ink_set) {
    return ink_set == 0 ? high_speed_media_count : photo_quality_media_count;
}

/// The eight fixed colour choices, as stored (0x00BBGGRR; white and black are stored swapped).
enum Color_Code : std::uint32_t {
    code_white = 0x000000,
    code_red = 0x0000FF,
    code_yellow = 0x00FFFF,
    code_green = 0x00FF00,
    code_cyan = 0xFFFF00,
    code_blue = 0xFF0000,
    code_magenta = 0xFF00FF,
    code_black = 0xFFFFFF,
};
inline constexpr std::array<std::uint32_t, 8> fixed_color_codes{
    code_white, code_red, code_yellow, code_green, code_cyan, code_blue, code_magenta, code_black};

// ---------------------------------------------------------------------------------------------
// Access steps

/// The configuration item of that key, or null.
VX_Smart_Pointer<VX_Custom_Config_Item> find_item(const VX_Plotter_Definition& definition,
                                                  const wchar_t* key);
/// Whether the capabilities hold a custom capability of that key.
bool has_capability(const VX_Plotter_Definition& definition, const wchar_t* key);
/// The item's integer; 0 when it holds no data.
std::int32_t read_long(const VX_Custom_Config_Item& item);
/// The low byte of the item's integer, non-zero meaning true.
bool read_boolean(const VX_Custom_Config_Item& item);
/// Writes through a fresh data object of the item's kind, which the item copies.
void write_long(VX_Custom_Config_Item& item, std::int32_t value);
void write_boolean(VX_Custom_Config_Item& item, bool value);

/// A setting as the dialog reads it: the item found (kept for the write on OK) and the value.
struct Dialog_Read {
    VX_Smart_Pointer<VX_Custom_Config_Item> item;
    std::int32_t value;
};
/// Printer and per-resolution settings: the item's value when both the item and the capability
/// of the same key exist, else `dialog_default`.
Dialog_Read read_printer_setting(const VX_Plotter_Definition& definition, const wchar_t* key,
                                 std::int32_t dialog_default);
/// Colour conversion keys: the item's value (a Boolean as 0 or 1) when it exists, else the key's
/// default; no capability is consulted.
Dialog_Read read_conversion_setting(const VX_Plotter_Definition& definition, const Key& key);
/// The driver's read: the item's integer when the item exists, else nothing.
std::optional<std::int32_t> read_if_present(const VX_Plotter_Definition& definition,
                                            const wchar_t* key);

} // namespace settings
