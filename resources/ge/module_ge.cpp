// The German build's own resources: the settings dialogs and the strings 1 to 11 (the colour
// names among them). The resource library chosen by the host's language does not replace them.
#include "../build.h"
#include "../dialog_layouts.h"

namespace {

using namespace raster_resources;

constexpr std::array<vxp::String_Resource, 11> strings = {{
    {1, L" Treiber - von ZELTO : Benutzerdefinierte Eigenschaften"},
    {2, L" - von %s"},
    {3, L"Weiß "},
    {4, L"Rot"},
    {5, L"Gelb"},
    {6, L"Grün "},
    {7, L"Cyan"},
    {8, L"Blau"},
    {9, L"Magenta"},
    {10, L"Schwarz"},
    {11, L"Weitere Farben"},
}};

constexpr Custom_Properties_Texts custom_properties_texts = {
    L"ZELTO Benutzerdefinierte Eigenschaften", // caption
    L"Farbkonvertierung beim Drucken",         // conversion
    L"Farben konvertieren",                    // apply_conversion
    L"Alles in Schwarz",                       // to_black
    L"Ersetzung",                              // substitution
    L"Bildschirmfarbe",                        // screen_colour
    L"Druckfarbe",                             // printed_colour
    L"Aktiv",                                  // apply
    L"Druckeinstellungen",                     // print_settings
    L"Patronenoption",                         // cartridge
    L"Tinten Fotoqualität",                    // photo_quality
    L"Tinten schnell",                         // high_speed
    L"Papiertyp",                              // paper_type
    L"Bidirektional",                          // bothway
    L"Moduseinstellungen",                     // mode_settings
    L"Qualität: Hoch",                         // quality
    L"Papier...",                              // paper_config
    L"Gamma",                                  // gamma
    L"Import...",                              // import_button
    L"Export...",                              // export_button
    L"OK",                                     // ok
    L"Abbrechen",                              // cancel
    L"Hilfe",                                  // help
};
constexpr auto custom_properties = custom_properties_controls(custom_properties_texts);

constexpr Paper_Config_Texts paper_config_texts = {
    L"Papierkonfiguration",                   // caption
    L"Farbdichte",                            // density
    L"Trocknungszeit pro Kopfdurchgang",      // drying
    L"(0,1 s)",                               // seconds
    L"Korrektur des Papiervorschubs",         // feed
    L"(0,01%)",                               // hundredths
    L"Papierstärke",                          // thickness
    L"(0,1 mm)",                              // millimetres
    L"Papieransaugung",                       // suction
    L"Standard  -1      -2      -3       -4", // suction_scale
    L"Schneidemethode",                       // cut
    L"Walzenabstand",                         // gap
    L"Auswurfrollentyp",                      // roller
    L"Standardwerte",                         // reset
    L"OK",                                    // ok
    L"Abbrechen",                             // cancel
};
constexpr Paper_Config_Size paper_config_size = {245, 394, 156};
constexpr auto paper_config = paper_config_controls(paper_config_texts, paper_config_size);

constexpr auto dialogs = settings_dialogs(custom_properties_texts, custom_properties,
                                          paper_config_texts, paper_config_size, paper_config);

} // namespace

const vxp::Resource_Table g_module_resources = resource_table(1031, strings, dialogs);
