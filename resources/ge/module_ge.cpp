// The German build's own resources: the settings dialogs and the strings 1 to 11 (the colour
// names among them). The resource library chosen by the host's language does not replace them.
#include "../build.h"

namespace {

constexpr vxp::String_Resource strings[] = {
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
};

// Custom Properties: 323 x 275 dialog units. Labels carry the id -1.
constexpr vxp::Control_Resource custom_properties_controls[] = {
    {-1, "group", L"Farbkonvertierung beim Drucken", 6, 5, 309, 103},
    {1001, "check", L"Farben konvertieren", 65, 15, 85, 10},
    {1005, "check", L"Alles in Schwarz", 175, 15, 85, 10},
    {-1, "group", L"Ersetzung", 15, 25, 250, 77},
    {-1, "static", L"Bildschirmfarbe", 60, 35, 70, 10},
    {-1, "static", L"Druckfarbe", 168, 36, 70, 10},
    {1021, "check", L"Aktiv", 20, 48, 33, 10},
    {1004, "owner_combo", L"", 54, 45, 80, 70},
    {-1, "static", L"->", 146, 48, 12, 8},
    {1008, "owner_combo", L"", 164, 46, 80, 70},
    {1022, "check", L"Aktiv", 20, 64, 33, 10},
    {1006, "owner_combo", L"", 54, 62, 80, 70},
    {-1, "static", L"->", 146, 64, 12, 8},
    {1009, "owner_combo", L"", 164, 62, 80, 70},
    {1023, "check", L"Aktiv", 20, 80, 33, 10},
    {1007, "owner_combo", L"", 54, 78, 80, 70},
    {-1, "static", L"->", 146, 82, 12, 8},
    {1010, "owner_combo", L"", 164, 78, 80, 70},
    {-1, "group", L"Druckeinstellungen", 6, 114, 309, 71},
    {1036, "group", L"Patronenoption", 11, 124, 300, 35},
    {1037, "radio_group", L"Tinten Fotoqualität", 16, 140, 86, 10},
    {1038, "radio", L"Tinten schnell", 154, 139, 90, 10},
    {1026, "static", L"Papiertyp", 11, 168, 42, 8},
    {1002, "combo", L"", 59, 166, 167, 83},
    {1028, "check", L"Bidirektional", 233, 166, 78, 10},
    {1035, "group", L"Moduseinstellungen", 6, 189, 196, 50},
    {1031, "sunken_static", L"Qualität: Hoch", 23, 202, 84, 10},
    {1011, "combo", L"", 23, 218, 104, 51},
    {1032, "button", L"Papier...", 135, 202, 57, 14},
    {1027, "static", L"Gamma", 212, 195, 29, 8},
    {1012, "combo", L"", 244, 193, 65, 50},
    {1033, "button", L"Import...", 10, 251, 41, 14},
    {1034, "button", L"Export...", 65, 251, 41, 14},
    {1, "default_button", L"OK", 128, 251, 50, 14},
    {2, "button", L"Abbrechen", 193, 251, 50, 14},
    {1003, "button", L"Hilfe", 258, 251, 50, 14},
};

// Paper Config: 219 x 395 dialog units. Labels carry the id -1.
constexpr vxp::Control_Resource paper_config_controls[] = {
    {-1, "group", L"Farbdichte", 7, 5, 231, 45},
    {1034, "slider_both", L"", 15, 16, 130, 18},
    {-1, "static", L"-50", 15, 36, 15, 8},
    {-1, "static", L"50", 135, 36, 12, 8},
    {1036, "edit", L"", 152, 19, 28, 12},
    {-1, "static", L"(%)", 184, 21, 20, 8},
    {-1, "group", L"Trocknungszeit pro Kopfdurchgang", 7, 55, 231, 45},
    {1038, "slider", L"", 15, 66, 130, 18},
    {-1, "static", L"0", 17, 86, 8, 8},
    {-1, "static", L"50", 135, 86, 12, 8},
    {1037, "edit", L"", 152, 69, 28, 12},
    {-1, "static", L"(0,1 s)", 184, 71, 26, 8},
    {-1, "group", L"Korrektur des Papiervorschubs", 7, 105, 231, 45},
    {1039, "slider_both", L"", 15, 116, 130, 18},
    {-1, "static", L"-70", 15, 136, 15, 8},
    {-1, "static", L"70", 135, 136, 12, 8},
    {1035, "edit", L"", 152, 119, 28, 12},
    {-1, "static", L"(0,01%)", 184, 121, 26, 8},
    {-1, "group", L"Papierstärke", 7, 155, 231, 30},
    {1033, "edit", L"", 15, 167, 28, 12},
    {-1, "static", L"(0,1 mm)", 48, 169, 30, 8},
    {-1, "group", L"Papieransaugung", 7, 190, 231, 45},
    {1040, "slider_both", L"", 15, 201, 130, 18},
    {-1, "static", L"Standard  -1      -2      -3       -4", 15, 221, 140, 8},
    {-1, "group", L"Schneidemethode", 7, 240, 231, 30},
    {1032, "combo", L"", 15, 252, 156, 60},
    {-1, "group", L"Walzenabstand", 7, 275, 231, 30},
    {1041, "combo", L"", 15, 287, 156, 60},
    {-1, "group", L"Auswurfrollentyp", 7, 310, 231, 30},
    {1042, "combo", L"", 15, 322, 156, 60},
    {1031, "button", L"Standardwerte", 7, 350, 80, 14},
    {1, "default_button", L"OK", 128, 373, 50, 14},
    {2, "button", L"Abbrechen", 188, 373, 50, 14},
};

constexpr vxp::Dialog_Resource dialogs[] = {
    {101, L"ZELTO Benutzerdefinierte Eigenschaften", 323, 275, L"MS Sans Serif", 9,
     custom_properties_controls,
     sizeof custom_properties_controls / sizeof custom_properties_controls[0]},
    {133, L"Papierkonfiguration", 245, 394, L"MS Sans Serif", 9, paper_config_controls,
     sizeof paper_config_controls / sizeof paper_config_controls[0]},
};

} // namespace

const vxp::Resource_Table g_module_resources = {
    vxp::resource_table_format,         1033,    strings,
    sizeof strings / sizeof strings[0], dialogs, sizeof dialogs / sizeof dialogs[0],
};
