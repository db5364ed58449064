#include "custom_settings.h"

namespace settings {

std::wstring per_resolution_key(std::size_t setting, Resolution resolution) {
    return std::wstring(per_resolution.at(setting).name) +
           (resolution == Resolution::dpi360 ? L"_360" : L"_720");
}

Resolution resolution_of(double horizontal_dpi) {
    return static_cast<float>(horizontal_dpi) == 360.0f ? Resolution::dpi360 : Resolution::dpi720;
}

std::optional<double> configured_horizontal_dpi(const VX_Plotter_Definition& definition) {
    auto capabilities = definition.get_plotter_capabilities();
    auto offered = capabilities ? capabilities->get_res_color_mem_capabilities() : nullptr;
    auto configuration = definition.get_plotter_configuration();
    auto chosen = configuration ? configuration->get_res_color_mem_configuration() : nullptr;
    auto entry = offered && chosen ? offered->get_entry(chosen->get_selected_index()) : nullptr;
    if (!entry)
        return std::nullopt;
    return entry->resolution().first;
}

VX_Smart_Pointer<VX_Custom_Config_Item> find_item(const VX_Plotter_Definition& definition,
                                                  const wchar_t* key) {
    auto configuration = definition.get_plotter_configuration();
    auto custom = configuration ? configuration->get_custom_configuration() : nullptr;
    return custom ? custom->find(key) : nullptr;
}

bool has_capability(const VX_Plotter_Definition& definition, const wchar_t* key) {
    auto capabilities = definition.get_plotter_capabilities();
    auto custom = capabilities ? capabilities->get_custom_capabilities() : nullptr;
    return custom && custom->find(key);
}

std::int32_t read_long(const VX_Custom_Config_Item& item) {
    auto data = item.get_data();
    return data ? data->get_long() : 0;
}

bool read_boolean(const VX_Custom_Config_Item& item) {
    return (read_long(item) & 0xFF) != 0;
}

void write_long(VX_Custom_Config_Item& item, std::int32_t value) {
    VX_Std_Long_Custom_Data data(value);
    item.set_data(data);
}

void write_boolean(VX_Custom_Config_Item& item, bool value) {
    VX_Std_Boolean_Custom_Data data;
    data.set_boolean(value);
    item.set_data(data);
}

Dialog_Read read_printer_setting(const VX_Plotter_Definition& definition, const wchar_t* key,
                                 std::int32_t dialog_default) {
    Dialog_Read read{find_item(definition, key), dialog_default};
    if (read.item && has_capability(definition, key))
        read.value = read_long(*read.item);
    return read;
}

Dialog_Read read_conversion_setting(const VX_Plotter_Definition& definition, const Key& key) {
    Dialog_Read read{find_item(definition, key.name), key.dialog_default};
    if (read.item)
        read.value = key.kind == Kind::Boolean ? read_boolean(*read.item) : read_long(*read.item);
    return read;
}

std::optional<std::int32_t> read_if_present(const VX_Plotter_Definition& definition,
                                            const wchar_t* key) {
    auto item = find_item(definition, key);
    if (!item)
        return std::nullopt;
    return read_long(*item);
}

} // namespace settings
