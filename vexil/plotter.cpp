#include "host/vx_class_factory.h"
#include "host/vx_device.h"

#include <cstdio>

VX_Named_Entry::~VX_Named_Entry() = default;
VX_Named_Entry_List::~VX_Named_Entry_List() = default;
VX_Area_Object::~VX_Area_Object() = default;
VX_Plotter_IO_Capabilities::~VX_Plotter_IO_Capabilities() = default;
VX_Plotter_IO_Configuration::~VX_Plotter_IO_Configuration() = default;
VX_ResColorMem::~VX_ResColorMem() = default;
VX_ResColorMem_List::~VX_ResColorMem_List() = default;
VX_ResColorMem_Capabilities::~VX_ResColorMem_Capabilities() = default;
VX_ResColorMem_Configuration::~VX_ResColorMem_Configuration() = default;
VX_Plotter_Capabilities::~VX_Plotter_Capabilities() = default;
VX_Plotter_Configuration::~VX_Plotter_Configuration() = default;
VX_Family::~VX_Family() = default;
VX_Model::~VX_Model() = default;
VX_Meta_Capabilities::~VX_Meta_Capabilities() = default;
VX_Kadrion_Shoebox::~VX_Kadrion_Shoebox() = default;
VX_Shoebox::~VX_Shoebox() = default;
VX_Palette::~VX_Palette() = default;
VX_Validator::~VX_Validator() = default;
VX_Plotter_Definition::~VX_Plotter_Definition() = default;
VX_Caps_Loader::~VX_Caps_Loader() = default;

void VX_Plotter_IO_Capabilities::add_option_pair(std::int32_t kind, std::int32_t value) {
    m_pairs.emplace_back(kind, value);
}

VX_Smart_Pointer<VX_ResColorMem> VX_ResColorMem_Capabilities::get_entry(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_entries.size())
        return nullptr;
    return m_entries[static_cast<std::size_t>(index)];
}

VX_Smart_Pointer<VX_Shoebox> VX_Shoebox::clone() const {
    auto copy = vx_make<VX_Shoebox>(*this);
    if (application)
        copy->application = vx_make<VX_Kadrion_Shoebox>(*application);
    return copy;
}

void VX_Palette::set_entry(int index, Entry entry) {
    m_entries.at(static_cast<std::size_t>(index)) = entry;
    if (index + 1 > m_used)
        m_used = index + 1;
}

bool VX_Palette::install_color_cube(int first) {
    if (first < 0 || first + 216 > 256)
        return false;
    int index = first;
    for (int red = 0; red < 6; ++red)
        for (int green = 0; green < 6; ++green)
            for (int blue = 0; blue < 6; ++blue)
                set_entry(index++, {std::uint8_t(red * 51), std::uint8_t(green * 51),
                                    std::uint8_t(blue * 51), 255});
    return true;
}

void VX_Caps_Loader::report(const VX_Exception& error) const {
    if (m_error_handler)
        m_error_handler->report(error);
    else
        std::fprintf(stderr, "%s\n", error.what());
}

// ---------------------------------------------------------------------------------------------
// Standard containers: each getter hands out the held sub-object, each setter keeps what it is
// given (and records itself in the creation trace, so a host can see which setters ran).

#define VX_AREA_ACCESSORS(Class, Type, Getter, Setter, Member)                                     \
    VX_Smart_Pointer<Type> Class::Getter() const {                                                 \
        return Member;                                                                             \
    }                                                                                              \
    void Class::Setter(VX_Smart_Pointer<Type> value) {                                             \
        VX_Creation_Faults::trace(#Setter);                                                        \
        Member = std::move(value);                                                                 \
    }

VX_Std_Plotter_Capabilities::VX_Std_Plotter_Capabilities() = default;
VX_Std_Plotter_Capabilities::~VX_Std_Plotter_Capabilities() = default;
VX_AREA_ACCESSORS(VX_Std_Plotter_Capabilities, VX_Media_Capabilities, get_media_capabilities,
                  set_media_capabilities, m_media)
VX_AREA_ACCESSORS(VX_Std_Plotter_Capabilities, VX_Plotter_IO_Capabilities, get_io_capabilities,
                  set_io_capabilities, m_io)
VX_AREA_ACCESSORS(VX_Std_Plotter_Capabilities, VX_Area_Object, get_phys_pen_capabilities,
                  set_phys_pen_capabilities, m_phys_pen)
VX_AREA_ACCESSORS(VX_Std_Plotter_Capabilities, VX_Area_Object, get_raster_capabilities,
                  set_raster_capabilities, m_raster)
VX_AREA_ACCESSORS(VX_Std_Plotter_Capabilities, VX_Area_Object, get_linetype_capabilities,
                  set_linetype_capabilities, m_linetype)
VX_AREA_ACCESSORS(VX_Std_Plotter_Capabilities, VX_ResColorMem_Capabilities,
                  get_res_color_mem_capabilities, set_res_color_mem_capabilities, m_res_color_mem)
VX_AREA_ACCESSORS(VX_Std_Plotter_Capabilities, VX_Area_Object, get_init_term_capabilities,
                  set_init_term_capabilities, m_init_term)
VX_AREA_ACCESSORS(VX_Std_Plotter_Capabilities, VX_Custom_Capabilities, get_custom_capabilities,
                  set_custom_capabilities, m_custom)

VX_Std_Plotter_Configuration::VX_Std_Plotter_Configuration() = default;
VX_Std_Plotter_Configuration::~VX_Std_Plotter_Configuration() = default;
VX_AREA_ACCESSORS(VX_Std_Plotter_Configuration, VX_Media_Configuration, get_media_configuration,
                  set_media_configuration, m_media)
VX_AREA_ACCESSORS(VX_Std_Plotter_Configuration, VX_Plotter_IO_Configuration, get_io_configuration,
                  set_io_configuration, m_io)
VX_AREA_ACCESSORS(VX_Std_Plotter_Configuration, VX_ResColorMem_Configuration,
                  get_res_color_mem_configuration, set_res_color_mem_configuration, m_res_color_mem)
VX_AREA_ACCESSORS(VX_Std_Plotter_Configuration, VX_Area_Object, get_init_term_configuration,
                  set_init_term_configuration, m_init_term)
VX_AREA_ACCESSORS(VX_Std_Plotter_Configuration, VX_Area_Object, get_phys_pen_configuration,
                  set_phys_pen_configuration, m_phys_pen)
VX_AREA_ACCESSORS(VX_Std_Plotter_Configuration, VX_Custom_Configurations, get_custom_configuration,
                  set_custom_configuration, m_custom)

VX_Std_Plotter_Definition::VX_Std_Plotter_Definition(VX_Smart_Pointer<VX_Error_Handler> handler)
    : m_error_handler(std::move(handler)) {}
VX_Std_Plotter_Definition::~VX_Std_Plotter_Definition() = default;

VX_AREA_ACCESSORS(VX_Std_Plotter_Definition, VX_Meta_Capabilities, get_meta_capabilities,
                  set_meta_capabilities, m_meta)
VX_AREA_ACCESSORS(VX_Std_Plotter_Definition, VX_Plotter_Capabilities, get_plotter_capabilities,
                  set_plotter_capabilities, m_capabilities)
VX_AREA_ACCESSORS(VX_Std_Plotter_Definition, VX_Plotter_Configuration, get_plotter_configuration,
                  set_plotter_configuration, m_configuration)

#undef VX_AREA_ACCESSORS

VX_Smart_Pointer<VX_Plotter_Capabilities> VX_Std_Plotter_Definition::get_bidi_capabilities() const {
    return nullptr; // the host has no bidirectional channel to the printer
}
VX_Smart_Pointer<VX_Plotter_Configuration>
VX_Std_Plotter_Definition::get_bidi_configuration() const {
    return nullptr;
}
VX_Smart_Pointer<VX_Validator> VX_Std_Plotter_Definition::get_plotter_validator() const {
    return nullptr;
}
VX_Smart_Pointer<VX_Std_Plotter_Class_Factory>
VX_Std_Plotter_Definition::get_class_factory() const {
    return vx_create<VX_Std_Plotter_Class_Factory>("VX_Std_Plotter_Class_Factory");
}
VX_Smart_Pointer<VX_Shoebox> VX_Std_Plotter_Definition::get_shoebox() const {
    return m_shoebox;
}
VX_Smart_Pointer<VX_Error_Handler> VX_Std_Plotter_Definition::get_error_handler() const {
    return m_error_handler;
}
void VX_Std_Plotter_Definition::set_shoebox(const VX_Shoebox& shoebox) {
    VX_Creation_Faults::trace("set_shoebox");
    m_shoebox = shoebox.clone();
}
bool VX_Std_Plotter_Definition::DevmodeConfigure(vxp::Window_Handle) {
    return false;
}
bool VX_Std_Plotter_Definition::Custom_Config_UI_Available() {
    return false;
}
bool VX_Std_Plotter_Definition::CustomConfigure(vxp::Window_Handle) {
    return false;
}
bool VX_Std_Plotter_Definition::Longplot_UI_Available() {
    return false;
}
bool VX_Std_Plotter_Definition::LongplotUI(vxp::Window_Handle) {
    return false;
}
bool VX_Std_Plotter_Definition::get_driver_hints_helpfile(VX_String&, VX_String&) {
    return false;
}
bool VX_Std_Plotter_Definition::get_true_device_colors(VX_Smart_Pointer<VX_Palette>) const {
    return false;
}
