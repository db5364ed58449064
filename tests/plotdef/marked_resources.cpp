// A resource library told apart from the staged one by its description text.
#include "platform/vxplatform.h"

namespace {

constexpr vxp::String_Resource strings[] = {
    {2, L" - by %s (marked)"},
    {100, L"INTERNAL ERROR - Memory allocation"},
    {103, L"INTERNAL ERROR - Driver initialization failure"},
};

} // namespace

extern "C" VXP_API const vxp::Resource_Table vxp_resources = {
    vxp::resource_table_format, 1033, strings, sizeof strings / sizeof strings[0], nullptr, 0};
