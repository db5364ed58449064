// The English build's own resources: the settings dialogs and the strings 1 to 11 (the colour
// names among them). The resource library chosen by the host's language does not replace them.
#include "../build.h"
#include "../dialog_layouts.h"

namespace {

using namespace raster_resources;

constexpr std::array<vxp::String_Resource, 11> strings = {{
    {1, L" Driver - by ZELTO : Custom Properties"},
    {2, L" - by %s"},
    {3, L"White"},
    {4, L"Red"},
    {5, L"Yellow"},
    {6, L"Green"},
    {7, L"Cyan"},
    {8, L"Blue"},
    {9, L"Magenta"},
    {10, L"Black"},
    {11, L"Other Colors"},
}};

constexpr Custom_Properties_Texts custom_properties_texts = {
    L"ZELTO Custom Properties", // caption
    L"Print Color Conversion",  // conversion
    L"Apply Color Conversion",  // apply_conversion
    L"Convert all to black",    // to_black
    L"Substitution",            // substitution
    L"Original Screen Color",   // screen_colour
    L"Print Converted Color",   // printed_colour
    L"Apply",                   // apply
    L"Print settings",          // print_settings
    L"Cartridge Option",        // cartridge
    L"Photo Quality Ink Set",   // photo_quality
    L"High Speed Ink Set",      // high_speed
    L"Paper Type",              // paper_type
    L"Bidirectional Printing",  // bothway
    L"Mode Settings",           // mode_settings
    L"Quality Selection; High", // quality
    L"Paper Config...",         // paper_config
    L"Gamma",                   // gamma
    L"Import...",               // import_button
    L"Export...",               // export_button
    L"OK",                      // ok
    L"Cancel",                  // cancel
    L"Help",                    // help
};
constexpr auto custom_properties = custom_properties_controls(custom_properties_texts);

constexpr Paper_Config_Texts paper_config_texts = {
    L"Paper Config",                          // caption
    L"Color Density",                         // density
    L"Drying Time Per Head Pass",             // drying
    L"(0.1sec.)",                             // seconds
    L"Paper Feed Adjustment",                 // feed
    L"(0.01%)",                               // hundredths
    L"Paper Thickness",                       // thickness
    L"(0.1mm)",                               // millimetres
    L"Paper Suction",                         // suction
    L"Standard  -1      -2      -3       -4", // suction_scale
    L"Cut Method",                            // cut
    L"Platen Gap",                            // gap
    L"Eject Roller Type",                     // roller
    L"Reset To Defaults",                     // reset
    L"OK",                                    // ok
    L"Cancel",                                // cancel
};
constexpr Paper_Config_Size paper_config_size = {219, 395, 130};
constexpr auto paper_config = paper_config_controls(paper_config_texts, paper_config_size);

constexpr auto dialogs = settings_dialogs(custom_properties_texts, custom_properties,
                                          paper_config_texts, paper_config_size, paper_config);

} // namespace

const vxp::Resource_Table g_module_resources = resource_table(1033, strings, dialogs);
