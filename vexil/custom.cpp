#include "host/vx_custom.h"
#include "named_p.h"

#include <cmath>
#include <limits>

VX_Custom_Data::~VX_Custom_Data() = default;
VX_Std_Long_Custom_Data::~VX_Std_Long_Custom_Data() = default;
VX_Std_Boolean_Custom_Data::~VX_Std_Boolean_Custom_Data() = default;
VX_Std_Double_Custom_Data::~VX_Std_Double_Custom_Data() = default;
VX_Std_String_Custom_Data::~VX_Std_String_Custom_Data() = default;
VX_Std_Raw_Custom_Data::~VX_Std_Raw_Custom_Data() = default;

VX_Smart_Pointer<VX_Custom_Data> VX_Std_Long_Custom_Data::clone() const {
    return vx_make<VX_Std_Long_Custom_Data>(*this);
}
VX_Smart_Pointer<VX_Custom_Data> VX_Std_Boolean_Custom_Data::clone() const {
    return vx_make<VX_Std_Boolean_Custom_Data>(*this);
}
VX_Smart_Pointer<VX_Custom_Data> VX_Std_Double_Custom_Data::clone() const {
    return vx_make<VX_Std_Double_Custom_Data>(*this);
}
VX_Smart_Pointer<VX_Custom_Data> VX_Std_String_Custom_Data::clone() const {
    return vx_make<VX_Std_String_Custom_Data>(*this);
}
VX_Smart_Pointer<VX_Custom_Data> VX_Std_Raw_Custom_Data::clone() const {
    return vx_make<VX_Std_Raw_Custom_Data>(*this);
}

std::int32_t VX_Std_Double_Custom_Data::get_long() const {
    using limits = std::numeric_limits<std::int32_t>;
    if (std::isnan(m_value))
        return 0;
    if (m_value <= limits::min())
        return limits::min();
    if (m_value >= limits::max())
        return limits::max();
    return static_cast<std::int32_t>(m_value);
}

VX_Custom_Capability_Value::~VX_Custom_Capability_Value() = default;
VX_Custom_Capability_Value_List::~VX_Custom_Capability_Value_List() = default;
VX_Custom_Capability::~VX_Custom_Capability() = default;
VX_Custom_Capability_List::~VX_Custom_Capability_List() = default;
VX_Custom_Capabilities::~VX_Custom_Capabilities() = default;
VX_Custom_Config_Item::~VX_Custom_Config_Item() = default;
VX_Custom_Config_Item_List::~VX_Custom_Config_Item_List() = default;
VX_Custom_Configurations::~VX_Custom_Configurations() = default;
VX_Custom_Validator::~VX_Custom_Validator() = default;

VX_Smart_Pointer<VX_Custom_Capability> VX_Custom_Capabilities::find(const VX_String& name) const {
    return find_named(m_items, name);
}

void VX_Custom_Capabilities::add(VX_Smart_Pointer<VX_Custom_Capability> capability) {
    put_named(m_items, std::move(capability));
}

VX_Smart_Pointer<VX_Custom_Config_Item>
VX_Custom_Configurations::find(const VX_String& name) const {
    return find_named(m_items, name);
}

void VX_Custom_Configurations::add(VX_Smart_Pointer<VX_Custom_Config_Item> item) {
    put_named(m_items, std::move(item));
}
