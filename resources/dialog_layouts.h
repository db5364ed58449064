// The dialog templates of the language builds: one layout per template, in dialog units, filled
// with the texts each build gives it. The settings dialogs (101, 133) are the driver module's own;
// the Print Spool Status windows (112, 116, 117) are the resource library's. Also the string
// tables: the module's strings 1 to 11, and the resource library's description and messages.
#pragma once

#include "platform/vxplatform.h"

#include <array>

namespace raster_resources {

inline constexpr const wchar_t* dialog_font = L"MS Sans Serif";
inline constexpr int dialog_font_size = 9;

template <std::size_t N>
constexpr vxp::Dialog_Resource dialog(unsigned id, const wchar_t* caption, int width, int height,
                                      const std::array<vxp::Control_Resource, N>& controls) {
    return {id, caption, width, height, dialog_font, dialog_font_size, controls.data(), N};
}

/// The texts of Custom Properties (template 101).
struct Custom_Properties_Texts {
    const wchar_t* caption;
    const wchar_t* conversion;       ///< the group "Print Color Conversion"
    const wchar_t* apply_conversion; ///< check box 1001
    const wchar_t* to_black;         ///< check box 1005
    const wchar_t* substitution;
    const wchar_t* screen_colour;  ///< "Original Screen Color"
    const wchar_t* printed_colour; ///< "Print Converted Color"
    const wchar_t* apply;          ///< check boxes 1021 to 1023
    const wchar_t* print_settings;
    const wchar_t* cartridge;
    const wchar_t* photo_quality; ///< radio button 1037
    const wchar_t* high_speed;    ///< radio button 1038
    const wchar_t* paper_type;
    const wchar_t* bothway; ///< check box 1028
    const wchar_t* mode_settings;
    const wchar_t* quality; ///< label 1031, replaced at opening
    const wchar_t* paper_config;
    const wchar_t* gamma;
    const wchar_t* import_button;
    const wchar_t* export_button;
    const wchar_t* ok;
    const wchar_t* cancel;
    const wchar_t* help;
};

/// Custom Properties: 323 x 275 dialog units in every build. Labels carry the id -1.
constexpr std::array<vxp::Control_Resource, 36>
custom_properties_controls(const Custom_Properties_Texts& t) {
    return {{
        {-1, "group", t.conversion, 6, 5, 309, 103},
        {1001, "check", t.apply_conversion, 65, 15, 85, 10},
        {1005, "check", t.to_black, 175, 15, 85, 10},
        {-1, "group", t.substitution, 15, 25, 250, 77},
        {-1, "static", t.screen_colour, 60, 35, 70, 10},
        {-1, "static", t.printed_colour, 168, 36, 70, 10},
        {1021, "check", t.apply, 20, 48, 33, 10},
        {1004, "owner_combo", L"", 54, 45, 80, 70},
        {-1, "static", L"->", 146, 48, 12, 8},
        {1008, "owner_combo", L"", 164, 46, 80, 70},
        {1022, "check", t.apply, 20, 64, 33, 10},
        {1006, "owner_combo", L"", 54, 62, 80, 70},
        {-1, "static", L"->", 146, 64, 12, 8},
        {1009, "owner_combo", L"", 164, 62, 80, 70},
        {1023, "check", t.apply, 20, 80, 33, 10},
        {1007, "owner_combo", L"", 54, 78, 80, 70},
        {-1, "static", L"->", 146, 82, 12, 8},
        {1010, "owner_combo", L"", 164, 78, 80, 70},
        {-1, "group", t.print_settings, 6, 114, 309, 71},
        {1036, "group", t.cartridge, 11, 124, 300, 35},
        {1037, "radio_group", t.photo_quality, 16, 140, 86, 10},
        {1038, "radio", t.high_speed, 154, 139, 90, 10},
        {1026, "static", t.paper_type, 11, 168, 42, 8},
        {1002, "combo", L"", 59, 166, 167, 83},
        {1028, "check", t.bothway, 233, 166, 78, 10},
        {1035, "group", t.mode_settings, 6, 189, 196, 50},
        {1031, "sunken_static", t.quality, 23, 202, 84, 10},
        {1011, "combo", L"", 23, 218, 104, 51},
        {1032, "button", t.paper_config, 135, 202, 57, 14},
        {1027, "static", t.gamma, 212, 195, 29, 8},
        {1012, "combo", L"", 244, 193, 65, 50},
        {1033, "button", t.import_button, 10, 251, 41, 14},
        {1034, "button", t.export_button, 65, 251, 41, 14},
        {1, "default_button", t.ok, 128, 251, 50, 14},
        {2, "button", t.cancel, 193, 251, 50, 14},
        {1003, "button", t.help, 258, 251, 50, 14},
    }};
}

/// The texts of Paper Config (template 133).
struct Paper_Config_Texts {
    const wchar_t* caption;
    const wchar_t* density;
    const wchar_t* drying;
    const wchar_t* seconds; ///< "(0.1sec.)"
    const wchar_t* feed;
    const wchar_t* hundredths; ///< "(0.01%)"
    const wchar_t* thickness;
    const wchar_t* millimetres; ///< "(0.1mm)"
    const wchar_t* suction;
    const wchar_t* suction_scale; ///< "Standard  -1      -2      -3       -4"
    const wchar_t* cut;
    const wchar_t* gap;
    const wchar_t* roller;
    const wchar_t* reset;
    const wchar_t* ok;
    const wchar_t* cancel;
};

/// The size of Paper Config and the width of its three lists in a build (English: 219 x 395,
/// lists 130 wide). The groups widen with the dialog; OK and Cancel keep to its bottom right.
struct Paper_Config_Size {
    int width, height, list_width;
};

constexpr std::array<vxp::Control_Resource, 33> paper_config_controls(const Paper_Config_Texts& t,
                                                                      Paper_Config_Size size) {
    const int group = size.width - 14, list = size.list_width;
    const int buttons_x = size.width - 117, buttons_y = size.height - 21;
    return {{
        {-1, "group", t.density, 7, 5, group, 45},
        {1034, "slider_both", L"", 15, 16, 130, 18},
        {-1, "static", L"-50", 15, 36, 15, 8},
        {-1, "static", L"50", 135, 36, 12, 8},
        {1036, "edit", L"", 152, 19, 28, 12},
        {-1, "static", L"(%)", 184, 21, 20, 8},
        {-1, "group", t.drying, 7, 55, group, 45},
        {1038, "slider", L"", 15, 66, 130, 18},
        {-1, "static", L"0", 17, 86, 8, 8},
        {-1, "static", L"50", 135, 86, 12, 8},
        {1037, "edit", L"", 152, 69, 28, 12},
        {-1, "static", t.seconds, 184, 71, 26, 8},
        {-1, "group", t.feed, 7, 105, group, 45},
        {1039, "slider_both", L"", 15, 116, 130, 18},
        {-1, "static", L"-70", 15, 136, 15, 8},
        {-1, "static", L"70", 135, 136, 12, 8},
        {1035, "edit", L"", 152, 119, 28, 12},
        {-1, "static", t.hundredths, 184, 121, 26, 8},
        {-1, "group", t.thickness, 7, 155, group, 30},
        {1033, "edit", L"", 15, 167, 28, 12},
        {-1, "static", t.millimetres, 48, 169, 30, 8},
        {-1, "group", t.suction, 7, 190, group, 45},
        {1040, "slider_both", L"", 15, 201, 130, 18},
        {-1, "static", t.suction_scale, 15, 221, 140, 8},
        {-1, "group", t.cut, 7, 240, group, 30},
        {1032, "combo", L"", 15, 252, list, 60},
        {-1, "group", t.gap, 7, 275, group, 30},
        {1041, "combo", L"", 15, 287, list, 60},
        {-1, "group", t.roller, 7, 310, group, 30},
        {1042, "combo", L"", 15, 322, list, 60},
        {1031, "button", t.reset, 7, 350, 80, 14},
        {1, "default_button", t.ok, buttons_x, buttons_y, 50, 14},
        {2, "button", t.cancel, buttons_x + 60, buttons_y, 50, 14},
    }};
}

/// The texts of the Print Spool Status windows, and how much wider than in English a build
/// makes the label of the copies.
struct Spool_Status_Texts {
    const wchar_t* caption;
    const wchar_t* copies; ///< "Number of Copies"
    const wchar_t* current_page;
    int copies_wider;
};

/// The controls of the Print Spool Status windows: 112 printing to a device, 116 to a file, 117
/// nothing drawn. Each shows bitmap 138 and one picture of its own.
struct Spool_Status_Controls {
    std::array<vxp::Control_Resource, 4> device, file, nothing;
};

constexpr Spool_Status_Controls spool_status_controls(const Spool_Status_Texts& t) {
    return {
        {{{1041, "static", t.copies, 10, 6, 60 + t.copies_wider, 8},
          {1042, "static", t.current_page, 10, 36, 43, 8},
          {138, "picture", L"#138", 6, 70, 64, 16},
          {143, "picture", L"#143", 218, 13, 55, 62}}},
        {{{1041, "static", t.copies, 10, 6, 56 + t.copies_wider, 8},
          {1042, "static", t.current_page, 10, 36, 43, 8},
          {138, "picture", L"#138", 6, 70, 64, 16},
          {140, "picture", L"#140", 230, 14, 42, 53}}},
        {{{1041, "static", t.copies, 10, 6, 56 + t.copies_wider, 8},
          {1042, "static", t.current_page, 10, 36, 43, 8},
          {138, "picture", L"#138", 8, 70, 64, 16},
          {141, "picture", L"#141", 228, 14, 42, 53}}},
    };
}

/// The windows 112, 116 and 117 of a build's resource library.
constexpr std::array<vxp::Dialog_Resource, 3> spool_status_dialogs(const Spool_Status_Texts& t,
                                                                   const Spool_Status_Controls& c) {
    return {{dialog(112, t.caption, 287, 91, c.device), dialog(116, t.caption, 287, 91, c.file),
             dialog(117, t.caption, 287, 91, c.nothing)}};
}

/// The dialogs 101 and 133 of a build's module.
constexpr std::array<vxp::Dialog_Resource, 2>
settings_dialogs(const Custom_Properties_Texts& custom_texts,
                 const std::array<vxp::Control_Resource, 36>& custom_properties,
                 const Paper_Config_Texts& paper_texts, Paper_Config_Size paper_size,
                 const std::array<vxp::Control_Resource, 33>& paper_config) {
    return {{dialog(101, custom_texts.caption, 323, 275, custom_properties),
             dialog(133, paper_texts.caption, paper_size.width, paper_size.height, paper_config)}};
}

/// A resource table of strings and dialogs tagged with a language id.
template <std::size_t S, std::size_t D>
constexpr vxp::Resource_Table resource_table(std::uint32_t language,
                                             const std::array<vxp::String_Resource, S>& strings,
                                             const std::array<vxp::Dialog_Resource, D>& dialogs) {
    return {vxp::resource_table_format, language, strings.data(), S, dialogs.data(), D};
}

/// The resource library's strings: the plotter description (string 2, the build's) and the
/// messages 100 to 116, English in every build.
constexpr std::array<vxp::String_Resource, 11> library_strings(const wchar_t* description) {
    return {{
        {2, description},
        {100, L"INTERNAL ERROR - Memory allocation"},
        {101, L"INTERNAL ERROR - Unexpected NULL pointer"},
        {102, L"INTERNAL ERROR - Device initialization failure"},
        {103, L"INTERNAL ERROR - Driver initialization failure"},
        {104, L"Image Engine File Writer DLL load failure"},
        {107, L"Image Engine main image creation failure"},
        {108, L"Image Engine: Image is invalid"},
        {109, L"Image Engine make write context failure"},
        {115, L"Vexil palette install failure"},
        {116, L"Invalid color system or palette depth"},
    }};
}

} // namespace raster_resources
