// The Italian build's own resources: the settings dialogs and the strings 1 to 11 (the colour
// names among them). The resource library chosen by the host's language does not replace them.
#include "../build.h"

namespace {

constexpr vxp::String_Resource strings[] = {
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
};

// Custom Properties: 323 x 275 dialog units. Labels carry the id -1.
constexpr vxp::Control_Resource custom_properties_controls[] = {
    {-1, "group", L"Conversione colore in stampa", 6, 5, 309, 103},
    {1001, "check", L"Applica conversione", 65, 15, 85, 10},
    {1005, "check", L"Tutto in nero", 175, 15, 85, 10},
    {-1, "group", L"Sostituzione", 15, 25, 250, 77},
    {-1, "static", L"Colore a video", 60, 35, 70, 10},
    {-1, "static", L"Colore in stampa", 168, 36, 70, 10},
    {1021, "check", L"Applica", 20, 48, 33, 10},
    {1004, "owner_combo", L"", 54, 45, 80, 70},
    {-1, "static", L"->", 146, 48, 12, 8},
    {1008, "owner_combo", L"", 164, 46, 80, 70},
    {1022, "check", L"Applica", 20, 64, 33, 10},
    {1006, "owner_combo", L"", 54, 62, 80, 70},
    {-1, "static", L"->", 146, 64, 12, 8},
    {1009, "owner_combo", L"", 164, 62, 80, 70},
    {1023, "check", L"Applica", 20, 80, 33, 10},
    {1007, "owner_combo", L"", 54, 78, 80, 70},
    {-1, "static", L"->", 146, 82, 12, 8},
    {1010, "owner_combo", L"", 164, 78, 80, 70},
    {-1, "group", L"Impostazioni di stampa", 6, 114, 309, 71},
    {1036, "group", L"Opzione cartucce", 11, 124, 300, 35},
    {1037, "radio_group", L"Inchiostri foto", 16, 140, 86, 10},
    {1038, "radio", L"Inchiostri veloci", 154, 139, 90, 10},
    {1026, "static", L"Tipo carta", 11, 168, 42, 8},
    {1002, "combo", L"", 59, 166, 167, 83},
    {1028, "check", L"Bidirezionale", 233, 166, 78, 10},
    {1035, "group", L"Impostazioni modalità", 6, 189, 196, 50},
    {1031, "sunken_static", L"Qualità: Alta", 23, 202, 84, 10},
    {1011, "combo", L"", 23, 218, 104, 51},
    {1032, "button", L"Carta...", 135, 202, 57, 14},
    {1027, "static", L"Gamma", 212, 195, 29, 8},
    {1012, "combo", L"", 244, 193, 65, 50},
    {1033, "button", L"Importa", 10, 251, 41, 14},
    {1034, "button", L"Esporta", 65, 251, 41, 14},
    {1, "default_button", L"OK", 128, 251, 50, 14},
    {2, "button", L"Annulla", 193, 251, 50, 14},
    {1003, "button", L"Guida", 258, 251, 50, 14},
};

// Paper Config: 219 x 395 dialog units. Labels carry the id -1.
constexpr vxp::Control_Resource paper_config_controls[] = {
    {-1, "group", L"Densità colore", 7, 5, 205, 45},
    {1034, "slider_both", L"", 15, 16, 130, 18},
    {-1, "static", L"-50", 15, 36, 15, 8},
    {-1, "static", L"50", 135, 36, 12, 8},
    {1036, "edit", L"", 152, 19, 28, 12},
    {-1, "static", L"(%)", 184, 21, 20, 8},
    {-1, "group", L"Tempo di asciugatura per passata della testina", 7, 55, 205, 45},
    {1038, "slider", L"", 15, 66, 130, 18},
    {-1, "static", L"0", 17, 86, 8, 8},
    {-1, "static", L"50", 135, 86, 12, 8},
    {1037, "edit", L"", 152, 69, 28, 12},
    {-1, "static", L"(0,1 s)", 184, 71, 26, 8},
    {-1, "group", L"Regolazione avanzamento carta", 7, 105, 205, 45},
    {1039, "slider_both", L"", 15, 116, 130, 18},
    {-1, "static", L"-70", 15, 136, 15, 8},
    {-1, "static", L"70", 135, 136, 12, 8},
    {1035, "edit", L"", 152, 119, 28, 12},
    {-1, "static", L"(0,01%)", 184, 121, 26, 8},
    {-1, "group", L"Spessore carta", 7, 155, 205, 30},
    {1033, "edit", L"", 15, 167, 28, 12},
    {-1, "static", L"(0,1 mm)", 48, 169, 30, 8},
    {-1, "group", L"Aspirazione carta", 7, 190, 205, 45},
    {1040, "slider_both", L"", 15, 201, 130, 18},
    {-1, "static", L"Standard  -1      -2      -3       -4", 15, 221, 140, 8},
    {-1, "group", L"Metodo di taglio", 7, 240, 205, 30},
    {1032, "combo", L"", 15, 252, 140, 60},
    {-1, "group", L"Distanza dal piano", 7, 275, 205, 30},
    {1041, "combo", L"", 15, 287, 140, 60},
    {-1, "group", L"Tipo di rullo di espulsione", 7, 310, 205, 30},
    {1042, "combo", L"", 15, 322, 140, 60},
    {1031, "button", L"Valori predefiniti", 7, 350, 80, 14},
    {1, "default_button", L"OK", 102, 374, 50, 14},
    {2, "button", L"Annulla", 162, 374, 50, 14},
};

constexpr vxp::Dialog_Resource dialogs[] = {
    {101, L"Proprietà personalizzate ZELTO", 323, 275, L"MS Sans Serif", 9,
     custom_properties_controls,
     sizeof custom_properties_controls / sizeof custom_properties_controls[0]},
    {133, L"Configurazione carta", 219, 395, L"MS Sans Serif", 9, paper_config_controls,
     sizeof paper_config_controls / sizeof paper_config_controls[0]},
};

} // namespace

const vxp::Resource_Table g_module_resources = {
    vxp::resource_table_format,         1033,    strings,
    sizeof strings / sizeof strings[0], dialogs, sizeof dialogs / sizeof dialogs[0],
};
