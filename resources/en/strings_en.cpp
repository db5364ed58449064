// The English resource library.
#include "platform/vxplatform.h"

namespace {

constexpr vxp::String_Resource strings[] = {
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

} // namespace

extern "C" VXP_API const vxp::Resource_Table vxp_resources = {
    vxp::resource_table_format,
    1033,
    strings,
    sizeof strings / sizeof strings[0],
};
