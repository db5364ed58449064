// Custom data: the driver's own settings, as named capabilities (what the model data file offers,
// with kind and default) and named configuration items (the values the plot configuration holds).
#pragma once

#include "vx_object.h"

#include <cstdint>

enum class VX_Custom_Kind { Long, Double, Boolean, String, Raw };

/// A value of a custom item. Long and Boolean data are read through the same integer read: a
/// Boolean is its low byte, nonzero meaning true.
class VX_API VX_Custom_Data : public VX_Object {
public:
    ~VX_Custom_Data() override;
    virtual VX_Custom_Kind kind() const = 0;
    /// The value as a 32-bit integer (0 for kinds without one).
    virtual std::int32_t get_long() const = 0;
    virtual VX_Smart_Pointer<VX_Custom_Data> clone() const = 0;
};

class VX_API VX_Std_Long_Custom_Data : public VX_Custom_Data {
public:
    explicit VX_Std_Long_Custom_Data(std::int32_t value = 0) : m_value(value) {}
    ~VX_Std_Long_Custom_Data() override;
    VX_Custom_Kind kind() const override { return VX_Custom_Kind::Long; }
    std::int32_t get_long() const override { return m_value; }
    void set_long(std::int32_t value) { m_value = value; }
    VX_Smart_Pointer<VX_Custom_Data> clone() const override;

private:
    std::int32_t m_value;
};

/// A Boolean as the host stores it: an integer of which the driver reads the low byte. Set through
/// set_boolean it holds 0 or 1; a stored configuration may bring any integer.
class VX_API VX_Std_Boolean_Custom_Data : public VX_Custom_Data {
public:
    explicit VX_Std_Boolean_Custom_Data(std::int32_t stored = 0) : m_value(stored) {}
    ~VX_Std_Boolean_Custom_Data() override;
    VX_Custom_Kind kind() const override { return VX_Custom_Kind::Boolean; }
    std::int32_t get_long() const override { return m_value; }
    void set_boolean(bool value) { m_value = value ? 1 : 0; }
    bool get_boolean() const { return (m_value & 0xFF) != 0; }
    VX_Smart_Pointer<VX_Custom_Data> clone() const override;

private:
    std::int32_t m_value;
};

/// One value a custom capability offers, with its display name.
class VX_API VX_Custom_Capability_Value : public VX_Object {
public:
    VX_Custom_Capability_Value(VX_String name = {}, std::int32_t value = 0)
        : m_name(std::move(name)), m_value(value) {}
    ~VX_Custom_Capability_Value() override;
    const VX_String& name() const { return m_name; }
    std::int32_t value() const { return m_value; }

private:
    VX_String m_name;
    std::int32_t m_value;
};

class VX_API VX_Custom_Capability_Value_List : public VX_Object {
public:
    ~VX_Custom_Capability_Value_List() override;
    std::vector<VX_Smart_Pointer<VX_Custom_Capability_Value>> values;
};

/// A custom setting the printer offers: its key, kind and default value.
class VX_API VX_Custom_Capability : public VX_Object {
public:
    VX_Custom_Capability(VX_String name = {}, VX_Custom_Kind kind = VX_Custom_Kind::Long,
                         std::int32_t default_value = 0)
        : m_name(std::move(name)), m_kind(kind), m_default(default_value) {}
    ~VX_Custom_Capability() override;
    const VX_String& name() const { return m_name; }
    VX_Custom_Kind kind() const { return m_kind; }
    std::int32_t default_value() const { return m_default; }

private:
    VX_String m_name;
    VX_Custom_Kind m_kind;
    std::int32_t m_default;
};

class VX_API VX_Custom_Capability_List : public VX_Object {
public:
    ~VX_Custom_Capability_List() override;
    std::vector<VX_Smart_Pointer<VX_Custom_Capability>> items;
};

/// The custom capabilities of a printer.
class VX_API VX_Custom_Capabilities : public VX_Object {
public:
    ~VX_Custom_Capabilities() override;
    /// The capability with this key, or null.
    virtual VX_Smart_Pointer<VX_Custom_Capability> find(const VX_String& name) const;
    /// Adds a capability, replacing one of the same key.
    virtual void add(VX_Smart_Pointer<VX_Custom_Capability> capability);
    const std::vector<VX_Smart_Pointer<VX_Custom_Capability>>& all() const { return m_items; }
    void clear() { m_items.clear(); }

private:
    std::vector<VX_Smart_Pointer<VX_Custom_Capability>> m_items;
};

/// A named custom value of the plot configuration.
class VX_API VX_Custom_Config_Item : public VX_Object {
public:
    explicit VX_Custom_Config_Item(VX_String name = {}, VX_Smart_Pointer<VX_Custom_Data> data = {})
        : m_name(std::move(name)), m_data(std::move(data)) {}
    ~VX_Custom_Config_Item() override;
    const VX_String& name() const { return m_name; }
    /// The item's data object (null when it holds none).
    virtual VX_Smart_Pointer<VX_Custom_Data> get_data() const { return m_data; }
    /// Copies the value of `data` into the item; the caller keeps `data`.
    virtual void set_data(const VX_Custom_Data& data) { m_data = data.clone(); }

private:
    VX_String m_name;
    VX_Smart_Pointer<VX_Custom_Data> m_data;
};

class VX_API VX_Custom_Config_Item_List : public VX_Object {
public:
    ~VX_Custom_Config_Item_List() override;
    std::vector<VX_Smart_Pointer<VX_Custom_Config_Item>> items;
};

/// The custom items of a plot configuration.
class VX_API VX_Custom_Configurations : public VX_Object {
public:
    ~VX_Custom_Configurations() override;
    /// The item with this key, or null.
    virtual VX_Smart_Pointer<VX_Custom_Config_Item> find(const VX_String& name) const;
    /// Adds an item, replacing one of the same key.
    virtual void add(VX_Smart_Pointer<VX_Custom_Config_Item> item);
    const std::vector<VX_Smart_Pointer<VX_Custom_Config_Item>>& all() const { return m_items; }

private:
    std::vector<VX_Smart_Pointer<VX_Custom_Config_Item>> m_items;
};

/// Checks custom configuration items against their capabilities (the host's validation step).
class VX_API VX_Custom_Validator : public VX_Object {
public:
    ~VX_Custom_Validator() override;
};

class VX_API VX_Std_Double_Custom_Data : public VX_Custom_Data {
public:
    explicit VX_Std_Double_Custom_Data(double value = 0) : m_value(value) {}
    ~VX_Std_Double_Custom_Data() override;
    VX_Custom_Kind kind() const override { return VX_Custom_Kind::Double; }
    /// The value truncated toward zero, saturated to the 32-bit range.
    std::int32_t get_long() const override;
    double get_double() const { return m_value; }
    void set_double(double value) { m_value = value; }
    VX_Smart_Pointer<VX_Custom_Data> clone() const override;

private:
    double m_value;
};

class VX_API VX_Std_String_Custom_Data : public VX_Custom_Data {
public:
    explicit VX_Std_String_Custom_Data(VX_String value = {}) : m_value(std::move(value)) {}
    ~VX_Std_String_Custom_Data() override;
    VX_Custom_Kind kind() const override { return VX_Custom_Kind::String; }
    std::int32_t get_long() const override { return 0; }
    const VX_String& get_string() const { return m_value; }
    void set_string(VX_String value) { m_value = std::move(value); }
    VX_Smart_Pointer<VX_Custom_Data> clone() const override;

private:
    VX_String m_value;
};

class VX_API VX_Std_Raw_Custom_Data : public VX_Custom_Data {
public:
    ~VX_Std_Raw_Custom_Data() override;
    VX_Custom_Kind kind() const override { return VX_Custom_Kind::Raw; }
    std::int32_t get_long() const override { return 0; }
    const std::vector<std::uint8_t>& get_bytes() const { return m_bytes; }
    void set_bytes(std::vector<std::uint8_t> bytes) { m_bytes = std::move(bytes); }
    VX_Smart_Pointer<VX_Custom_Data> clone() const override;

private:
    std::vector<std::uint8_t> m_bytes;
};
