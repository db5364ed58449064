// Media: the paper sources of a printer with the sizes each offers (capabilities), and the source
// and size currently chosen (configuration). Lengths are millimetres unless the size's units say
// else.
#pragma once

#include "vx_object.h"

#include <cstdint>
#include <optional>

/// A rectangle in millimetres; max values are inclusive.
struct VX_Area {
    double x_min = 0, y_min = 0, x_max = 0, y_max = 0;
};

/// A paper size: its name (matched by the driver against its media catalogue), paper dimensions,
/// printable area and unit code (1 = millimetres).
class VX_API VX_Media_Size : public VX_Object {
public:
    VX_Media_Size() = default;
    VX_Media_Size(VX_String name, double width, double length, VX_Area printable,
                  std::uint8_t units = 1)
        : m_name(std::move(name)), m_width(width), m_length(length), m_printable(printable),
          m_units(units) {}
    ~VX_Media_Size() override;
    const VX_String& name() const { return m_name; }
    double width() const { return m_width; }
    double length() const { return m_length; }
    const VX_Area& printable_area() const { return m_printable; }
    std::uint8_t units() const { return m_units; }

private:
    VX_String m_name;
    double m_width = 0, m_length = 0;
    VX_Area m_printable;
    std::uint8_t m_units = 1;
};

class VX_API VX_Media_Size_List : public VX_Object {
public:
    ~VX_Media_Size_List() override;
    std::vector<VX_Smart_Pointer<VX_Media_Size>> sizes;
};

/// A paper source ("P0" to "P3" on the qr7m) with its description and the sizes it takes.
class VX_API VX_Media_Source : public VX_Object {
public:
    VX_Media_Source() = default;
    VX_Media_Source(VX_String name, VX_String description)
        : m_name(std::move(name)), m_description(std::move(description)) {}
    ~VX_Media_Source() override;
    const VX_String& name() const { return m_name; }
    const VX_String& description() const { return m_description; }
    std::vector<VX_Smart_Pointer<VX_Media_Size>> sizes;
    /// The size of that name, or null.
    VX_Smart_Pointer<VX_Media_Size> find_size(const VX_String& name) const;

private:
    VX_String m_name, m_description;
};

class VX_API VX_Media_Source_List : public VX_Object {
public:
    ~VX_Media_Source_List() override;
    std::vector<VX_Smart_Pointer<VX_Media_Source>> sources;
};

/// A text describing media, kept by the host for its user interface.
class VX_API VX_Media_Description : public VX_Object {
public:
    explicit VX_Media_Description(VX_String text = {}) : m_text(std::move(text)) {}
    ~VX_Media_Description() override;
    const VX_String& text() const { return m_text; }

private:
    VX_String m_text;
};

class VX_API VX_Media_Description_List : public VX_Object {
public:
    ~VX_Media_Description_List() override;
    std::vector<VX_Smart_Pointer<VX_Media_Description>> descriptions;
};

/// The sources a printer offers.
class VX_API VX_Media_Capabilities : public VX_Object {
public:
    ~VX_Media_Capabilities() override;
    const std::vector<VX_Smart_Pointer<VX_Media_Source>>& sources() const { return m_sources; }
    void set_sources(std::vector<VX_Smart_Pointer<VX_Media_Source>> sources) {
        m_sources = std::move(sources);
    }
    /// The source of that name, or null.
    VX_Smart_Pointer<VX_Media_Source> find_source(const VX_String& name) const;

private:
    std::vector<VX_Smart_Pointer<VX_Media_Source>> m_sources;
};

/// The chosen source and size, with the printable area of the plot on it (millimetres), the
/// number of copies and the media option (a yes/no choice the host offers with the media).
class VX_API VX_Media_Configuration : public VX_Object {
public:
    ~VX_Media_Configuration() override;
    const VX_String& source_name() const { return m_source; }
    const VX_String& size_name() const { return m_size; }
    void select(VX_String source, VX_String size) {
        m_source = std::move(source);
        m_size = std::move(size);
    }
    const VX_Area& printable_area() const { return m_printable; }
    void set_printable_area(const VX_Area& area) { m_printable = area; }
    std::int32_t copies() const { return m_copies; }
    void set_copies(std::int32_t copies) { m_copies = copies; }
    bool option_flag() const { return m_option; }
    void set_option_flag(bool option) { m_option = option; }

private:
    VX_String m_source, m_size;
    VX_Area m_printable;
    std::int32_t m_copies = 1;
    bool m_option = false;
};
