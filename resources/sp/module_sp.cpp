// The Spanish build's own resources: the settings dialogs and the strings 1 to 11 (the colour
// names among them). The resource library chosen by the host's language does not replace them.
#include "../build.h"
#include "../dialog_layouts.h"

namespace {

using namespace raster_resources;

constexpr std::array<vxp::String_Resource, 11> strings = {{
    {1, L" Controlador - por ZELTO : Propiedades personalizadas"},
    {2, L" - por %s"},
    {3, L"Blanco"},
    {4, L"Rojo"},
    {5, L"Amarillo"},
    {6, L"Verde"},
    {7, L"Cian"},
    {8, L"Azul"},
    {9, L"Magenta"},
    {10, L"Negro"},
    {11, L"Otros colores"},
}};

constexpr Custom_Properties_Texts custom_properties_texts = {
    L"Propiedades personalizadas de ZELTO", // caption
    L"Conversión de color en la impresión", // conversion
    L"Aplicar conversión",                  // apply_conversion
    L"Todo a negro",                        // to_black
    L"Sustitución",                         // substitution
    L"Color en pantalla",                   // screen_colour
    L"Color impreso",                       // printed_colour
    L"Aplicar",                             // apply
    L"Ajustes de impresión",                // print_settings
    L"Opción de cartuchos",                 // cartridge
    L"Tintas calidad foto",                 // photo_quality
    L"Tintas alta velocidad",               // high_speed
    L"Tipo papel",                          // paper_type
    L"Bidireccional",                       // bothway
    L"Ajustes de modo",                     // mode_settings
    L"Calidad: Alta",                       // quality
    L"Papel...",                            // paper_config
    L"Gamma",                               // gamma
    L"Importar",                            // import_button
    L"Exportar",                            // export_button
    L"Aceptar",                             // ok
    L"Cancelar",                            // cancel
    L"Ayuda",                               // help
};
constexpr auto custom_properties = custom_properties_controls(custom_properties_texts);

constexpr Paper_Config_Texts paper_config_texts = {
    L"Configuración del papel",                 // caption
    L"Densidad de color",                       // density
    L"Tiempo de secado por pasada del cabezal", // drying
    L"(0,1 s)",                                 // seconds
    L"Ajuste del avance del papel",             // feed
    L"(0,01%)",                                 // hundredths
    L"Grosor del papel",                        // thickness
    L"(0,1 mm)",                                // millimetres
    L"Succión del papel",                       // suction
    L"Estándar  -1      -2      -3       -4",   // suction_scale
    L"Método de corte",                         // cut
    L"Separación del cabezal",                  // gap
    L"Tipo de rodillo de expulsión",            // roller
    L"Valores iniciales",                       // reset
    L"Aceptar",                                 // ok
    L"Cancelar",                                // cancel
};
constexpr Paper_Config_Size paper_config_size = {237, 395, 150};
constexpr auto paper_config = paper_config_controls(paper_config_texts, paper_config_size);

constexpr auto dialogs = settings_dialogs(custom_properties_texts, custom_properties,
                                          paper_config_texts, paper_config_size, paper_config);

} // namespace

const vxp::Resource_Table g_module_resources = resource_table(3082, strings, dialogs);
