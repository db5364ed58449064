// The Spanish resource library.
#include "platform/vxplatform.h"

namespace {

constexpr vxp::String_Resource strings[] = {
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
};

// The Print Spool Status window: 112 printing to a device, 116 to a file, 117 nothing drawn.
constexpr vxp::Control_Resource device_controls[] = {
    {1041, "static", L"Número de copias", 10, 6, 60, 8},
    {1042, "static", L"Página actual", 10, 36, 43, 8},
    {138, "picture", L"#138", 6, 70, 64, 16},
    {143, "picture", L"#143", 218, 13, 55, 62},
};
constexpr vxp::Control_Resource file_controls[] = {
    {1041, "static", L"Número de copias", 10, 6, 56, 8},
    {1042, "static", L"Página actual", 10, 36, 43, 8},
    {138, "picture", L"#138", 6, 70, 64, 16},
    {140, "picture", L"#140", 230, 14, 42, 53},
};
constexpr vxp::Control_Resource nothing_controls[] = {
    {1041, "static", L"Número de copias", 10, 6, 56, 8},
    {1042, "static", L"Página actual", 10, 36, 43, 8},
    {138, "picture", L"#138", 8, 70, 64, 16},
    {141, "picture", L"#141", 228, 14, 42, 53},
};

constexpr vxp::Dialog_Resource dialogs[] = {
    {112, L"Estado de la cola de impresión", 287, 91, L"MS Sans Serif", 9, device_controls, 4},
    {116, L"Estado de la cola de impresión", 287, 91, L"MS Sans Serif", 9, file_controls, 4},
    {117, L"Estado de la cola de impresión", 287, 91, L"MS Sans Serif", 9, nothing_controls, 4},
};

} // namespace

extern "C" VXP_API const vxp::Resource_Table vxp_resources = {
    vxp::resource_table_format,         1033,    strings,
    sizeof strings / sizeof strings[0], dialogs, sizeof dialogs / sizeof dialogs[0],
};
