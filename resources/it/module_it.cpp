// The Italian build's own resources: the settings dialogs and the strings 1 to 11 (the colour
// names among them). The resource library chosen by the host's language does not replace them.
#include "../build.h"
#include "../dialog_layouts.h"

namespace {

using namespace raster_resources;

constexpr std::array<vxp::String_Resource, 11> strings = {{
    {1, L" Driver - di ZELTO : Proprietà personalizzate"},
    {2, L" - di %s"},
    {3, L"Bianco"},
    {4, L"Rosso"},
    {5, L"Giallo"},
    {6, L"Verde"},
    {7, L"Ciano"},
    {8, L"Blu"},
    {9, L"Magenta"},
    {10, L"Nero"},
    {11, L"Altri colori"},
}};

constexpr Custom_Properties_Texts custom_properties_texts = {
    L"Proprietà personalizzate ZELTO", // caption
    L"Conversione colore in stampa",   // conversion
    L"Applica conversione",            // apply_conversion
    L"Tutto in nero",                  // to_black
    L"Sostituzione",                   // substitution
    L"Colore a video",                 // screen_colour
    L"Colore in stampa",               // printed_colour
    L"Applica",                        // apply
    L"Impostazioni di stampa",         // print_settings
    L"Opzione cartucce",               // cartridge
    L"Inchiostri foto",                // photo_quality
    L"Inchiostri veloci",              // high_speed
    L"Tipo carta",                     // paper_type
    L"Bidirezionale",                  // bothway
    L"Impostazioni modalità",          // mode_settings
    L"Qualità: Alta",                  // quality
    L"Carta...",                       // paper_config
    L"Gamma",                          // gamma
    L"Importa",                        // import_button
    L"Esporta",                        // export_button
    L"OK",                             // ok
    L"Annulla",                        // cancel
    L"Guida",                          // help
};
constexpr auto custom_properties = custom_properties_controls(custom_properties_texts);

constexpr Paper_Config_Texts paper_config_texts = {
    L"Configurazione carta",                           // caption
    L"Densità colore",                                 // density
    L"Tempo di asciugatura per passata della testina", // drying
    L"(0,1 s)",                                        // seconds
    L"Regolazione avanzamento carta",                  // feed
    L"(0,01%)",                                        // hundredths
    L"Spessore carta",                                 // thickness
    L"(0,1 mm)",                                       // millimetres
    L"Aspirazione carta",                              // suction
    L"Standard  -1      -2      -3       -4",          // suction_scale
    L"Metodo di taglio",                               // cut
    L"Distanza dal piano",                             // gap
    L"Tipo di rullo di espulsione",                    // roller
    L"Valori predefiniti",                             // reset
    L"OK",                                             // ok
    L"Annulla",                                        // cancel
};
constexpr Paper_Config_Size paper_config_size = {219, 395, 140};
constexpr auto paper_config = paper_config_controls(paper_config_texts, paper_config_size);

constexpr auto dialogs = settings_dialogs(custom_properties_texts, custom_properties,
                                          paper_config_texts, paper_config_size, paper_config);

} // namespace

const vxp::Resource_Table g_module_resources = resource_table(1040, strings, dialogs);
