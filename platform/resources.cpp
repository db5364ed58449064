#include "vxplatform.h"

namespace vxp {

std::optional<std::wstring> load_string(Module_Handle module, unsigned id) {
    auto* table = static_cast<const Resource_Table*>(get_proc_address(module, "vxp_resources"));
    if (!table || table->format != resource_table_format)
        return std::nullopt;
    for (std::size_t i = 0; i < table->string_count; ++i)
        if (table->strings[i].id == id && table->strings[i].text)
            return std::wstring(table->strings[i].text);
    return std::nullopt;
}

} // namespace vxp

namespace vxp {

const Dialog_Resource* find_dialog(Module_Handle module, unsigned id) {
    auto* table = static_cast<const Resource_Table*>(get_proc_address(module, "vxp_resources"));
    if (!table || table->format != resource_table_format)
        return nullptr;
    for (std::size_t i = 0; i < table->dialog_count; ++i)
        if (table->dialogs[i].id == id)
            return &table->dialogs[i];
    return nullptr;
}

} // namespace vxp
