// The printer as the host describes it: the plotter capabilities (what it can do) and plotter
// configuration (what is chosen), each a container of one sub-object per area; the identity of the
// printer (meta capabilities, family, model); the shoebox; palettes; and the plotter definition
// that owns them all.
#pragma once

#include "platform/vxplatform.h"
#include "vx_custom.h"
#include "vx_exception.h"
#include "vx_media.h"

#include <array>
#include <cstdint>
#include <utility>

class VX_Std_Plotter_Class_Factory;

/// A named value in one of the host's simple lists (baud rates, protocols, ports, pens, ...).
class VX_API VX_Named_Entry : public VX_Object {
public:
    explicit VX_Named_Entry(VX_String name = {}, std::int32_t value = 0)
        : m_name(std::move(name)), m_value(value) {}
    ~VX_Named_Entry() override;
    const VX_String& name() const { return m_name; }
    std::int32_t value() const { return m_value; }

private:
    VX_String m_name;
    std::int32_t m_value;
};

/// A list of named entries.
class VX_API VX_Named_Entry_List : public VX_Object {
public:
    ~VX_Named_Entry_List() override;
    std::vector<VX_Smart_Pointer<VX_Named_Entry>> entries;
};

/// A host area the driver leaves to the host (pens, raster, line types, init/term strings,
/// validators): kept and handed on, never looked into.
class VX_API VX_Area_Object : public VX_Object {
public:
    ~VX_Area_Object() override;
};

/// Input/output capabilities: the methods and ports of the printer, and the option pairs the
/// driver's capabilities loader adds.
class VX_API VX_Plotter_IO_Capabilities : public VX_Object {
public:
    ~VX_Plotter_IO_Capabilities() override;
    virtual VX_Smart_Pointer<VX_Named_Entry_List> get_method_list() const { return m_methods; }
    virtual VX_Smart_Pointer<VX_Named_Entry_List> get_port_list() const { return m_ports; }
    virtual void set_method_list(VX_Smart_Pointer<VX_Named_Entry_List> list) { m_methods = list; }
    virtual void set_port_list(VX_Smart_Pointer<VX_Named_Entry_List> list) { m_ports = list; }
    /// Adds an option pair (kind, value); the sixth operation of the class.
    virtual void add_option_pair(std::int32_t kind, std::int32_t value);
    const std::vector<std::pair<std::int32_t, std::int32_t>>& option_pairs() const {
        return m_pairs;
    }

private:
    VX_Smart_Pointer<VX_Named_Entry_List> m_methods, m_ports;
    std::vector<std::pair<std::int32_t, std::int32_t>> m_pairs;
};

class VX_API VX_Plotter_IO_Configuration : public VX_Object {
public:
    ~VX_Plotter_IO_Configuration() override;
};

/// One resolution/colour/memory setting: resolution in dots per inch, colour depth code (256, 4,
/// -256, -4, -2) and colour system (0 8-bit palette, 1 true colour, 2 bitonal).
class VX_API VX_ResColorMem : public VX_Object {
public:
    VX_ResColorMem(double x_dpi = 0, double y_dpi = 0, std::int32_t color_depth = 0,
                   std::int32_t color_system = 0, VX_String name = {})
        : m_x(x_dpi), m_y(y_dpi), m_depth(color_depth), m_system(color_system),
          m_name(std::move(name)) {}
    ~VX_ResColorMem() override;
    std::pair<double, double> resolution() const { return {m_x, m_y}; }
    std::int32_t color_depth() const { return m_depth; }
    /// The colour value of the setting: its colour system.
    std::int32_t color_system() const { return m_system; }
    const VX_String& name() const { return m_name; }

private:
    double m_x, m_y;
    std::int32_t m_depth, m_system;
    VX_String m_name;
};

class VX_API VX_ResColorMem_List : public VX_Object {
public:
    ~VX_ResColorMem_List() override;
    std::vector<VX_Smart_Pointer<VX_ResColorMem>> entries;
};

/// The resolution/colour/memory settings a printer offers.
class VX_API VX_ResColorMem_Capabilities : public VX_Object {
public:
    ~VX_ResColorMem_Capabilities() override;
    const std::vector<VX_Smart_Pointer<VX_ResColorMem>>& entries() const { return m_entries; }
    void set_entries(std::vector<VX_Smart_Pointer<VX_ResColorMem>> entries) {
        m_entries = std::move(entries);
    }
    /// The setting at `index`, or null when there is none.
    VX_Smart_Pointer<VX_ResColorMem> get_entry(std::int32_t index) const;

private:
    std::vector<VX_Smart_Pointer<VX_ResColorMem>> m_entries;
};

/// The chosen resolution/colour/memory setting, as an index into the capabilities' entries.
class VX_API VX_ResColorMem_Configuration : public VX_Object {
public:
    ~VX_ResColorMem_Configuration() override;
    std::int32_t get_selected_index() const { return m_index; }
    void set_selected_index(std::int32_t index) { m_index = index; }

private:
    std::int32_t m_index = 0;
};

/// Plotter capabilities: one sub-object per area.
class VX_API VX_Plotter_Capabilities : public VX_Object {
public:
    ~VX_Plotter_Capabilities() override;
    virtual VX_Smart_Pointer<VX_Media_Capabilities> get_media_capabilities() const = 0;
    virtual VX_Smart_Pointer<VX_Plotter_IO_Capabilities> get_io_capabilities() const = 0;
    virtual VX_Smart_Pointer<VX_Area_Object> get_phys_pen_capabilities() const = 0;
    virtual VX_Smart_Pointer<VX_Area_Object> get_raster_capabilities() const = 0;
    virtual VX_Smart_Pointer<VX_Area_Object> get_linetype_capabilities() const = 0;
    virtual VX_Smart_Pointer<VX_ResColorMem_Capabilities>
    get_res_color_mem_capabilities() const = 0;
    virtual VX_Smart_Pointer<VX_Area_Object> get_init_term_capabilities() const = 0;
    virtual VX_Smart_Pointer<VX_Custom_Capabilities> get_custom_capabilities() const = 0;
    virtual void set_media_capabilities(VX_Smart_Pointer<VX_Media_Capabilities>) = 0;
    virtual void set_io_capabilities(VX_Smart_Pointer<VX_Plotter_IO_Capabilities>) = 0;
    virtual void set_phys_pen_capabilities(VX_Smart_Pointer<VX_Area_Object>) = 0;
    virtual void set_raster_capabilities(VX_Smart_Pointer<VX_Area_Object>) = 0;
    virtual void set_linetype_capabilities(VX_Smart_Pointer<VX_Area_Object>) = 0;
    virtual void set_res_color_mem_capabilities(VX_Smart_Pointer<VX_ResColorMem_Capabilities>) = 0;
    virtual void set_init_term_capabilities(VX_Smart_Pointer<VX_Area_Object>) = 0;
    virtual void set_custom_capabilities(VX_Smart_Pointer<VX_Custom_Capabilities>) = 0;
};

/// The host's standard capabilities container: keeps what its setters are given.
class VX_API VX_Std_Plotter_Capabilities : public VX_Plotter_Capabilities {
public:
    VX_Std_Plotter_Capabilities();
    ~VX_Std_Plotter_Capabilities() override;
    VX_Smart_Pointer<VX_Media_Capabilities> get_media_capabilities() const override;
    VX_Smart_Pointer<VX_Plotter_IO_Capabilities> get_io_capabilities() const override;
    VX_Smart_Pointer<VX_Area_Object> get_phys_pen_capabilities() const override;
    VX_Smart_Pointer<VX_Area_Object> get_raster_capabilities() const override;
    VX_Smart_Pointer<VX_Area_Object> get_linetype_capabilities() const override;
    VX_Smart_Pointer<VX_ResColorMem_Capabilities> get_res_color_mem_capabilities() const override;
    VX_Smart_Pointer<VX_Area_Object> get_init_term_capabilities() const override;
    VX_Smart_Pointer<VX_Custom_Capabilities> get_custom_capabilities() const override;
    void set_media_capabilities(VX_Smart_Pointer<VX_Media_Capabilities>) override;
    void set_io_capabilities(VX_Smart_Pointer<VX_Plotter_IO_Capabilities>) override;
    void set_phys_pen_capabilities(VX_Smart_Pointer<VX_Area_Object>) override;
    void set_raster_capabilities(VX_Smart_Pointer<VX_Area_Object>) override;
    void set_linetype_capabilities(VX_Smart_Pointer<VX_Area_Object>) override;
    void set_res_color_mem_capabilities(VX_Smart_Pointer<VX_ResColorMem_Capabilities>) override;
    void set_init_term_capabilities(VX_Smart_Pointer<VX_Area_Object>) override;
    void set_custom_capabilities(VX_Smart_Pointer<VX_Custom_Capabilities>) override;

private:
    VX_Smart_Pointer<VX_Media_Capabilities> m_media;
    VX_Smart_Pointer<VX_Plotter_IO_Capabilities> m_io;
    VX_Smart_Pointer<VX_Area_Object> m_phys_pen, m_raster, m_linetype, m_init_term;
    VX_Smart_Pointer<VX_ResColorMem_Capabilities> m_res_color_mem;
    VX_Smart_Pointer<VX_Custom_Capabilities> m_custom;
};

/// Plotter configuration: one sub-object per area.
class VX_API VX_Plotter_Configuration : public VX_Object {
public:
    ~VX_Plotter_Configuration() override;
    virtual VX_Smart_Pointer<VX_Media_Configuration> get_media_configuration() const = 0;
    virtual VX_Smart_Pointer<VX_Plotter_IO_Configuration> get_io_configuration() const = 0;
    virtual VX_Smart_Pointer<VX_ResColorMem_Configuration>
    get_res_color_mem_configuration() const = 0;
    virtual VX_Smart_Pointer<VX_Area_Object> get_init_term_configuration() const = 0;
    virtual VX_Smart_Pointer<VX_Area_Object> get_phys_pen_configuration() const = 0;
    virtual VX_Smart_Pointer<VX_Custom_Configurations> get_custom_configuration() const = 0;
    virtual void set_media_configuration(VX_Smart_Pointer<VX_Media_Configuration>) = 0;
    virtual void set_io_configuration(VX_Smart_Pointer<VX_Plotter_IO_Configuration>) = 0;
    virtual void
        set_res_color_mem_configuration(VX_Smart_Pointer<VX_ResColorMem_Configuration>) = 0;
    virtual void set_init_term_configuration(VX_Smart_Pointer<VX_Area_Object>) = 0;
    virtual void set_phys_pen_configuration(VX_Smart_Pointer<VX_Area_Object>) = 0;
    virtual void set_custom_configuration(VX_Smart_Pointer<VX_Custom_Configurations>) = 0;
};

/// The host's standard configuration container: keeps what its setters are given.
class VX_API VX_Std_Plotter_Configuration : public VX_Plotter_Configuration {
public:
    VX_Std_Plotter_Configuration();
    ~VX_Std_Plotter_Configuration() override;
    VX_Smart_Pointer<VX_Media_Configuration> get_media_configuration() const override;
    VX_Smart_Pointer<VX_Plotter_IO_Configuration> get_io_configuration() const override;
    VX_Smart_Pointer<VX_ResColorMem_Configuration> get_res_color_mem_configuration() const override;
    VX_Smart_Pointer<VX_Area_Object> get_init_term_configuration() const override;
    VX_Smart_Pointer<VX_Area_Object> get_phys_pen_configuration() const override;
    VX_Smart_Pointer<VX_Custom_Configurations> get_custom_configuration() const override;
    void set_media_configuration(VX_Smart_Pointer<VX_Media_Configuration>) override;
    void set_io_configuration(VX_Smart_Pointer<VX_Plotter_IO_Configuration>) override;
    void set_res_color_mem_configuration(VX_Smart_Pointer<VX_ResColorMem_Configuration>) override;
    void set_init_term_configuration(VX_Smart_Pointer<VX_Area_Object>) override;
    void set_phys_pen_configuration(VX_Smart_Pointer<VX_Area_Object>) override;
    void set_custom_configuration(VX_Smart_Pointer<VX_Custom_Configurations>) override;

private:
    VX_Smart_Pointer<VX_Media_Configuration> m_media;
    VX_Smart_Pointer<VX_Plotter_IO_Configuration> m_io;
    VX_Smart_Pointer<VX_ResColorMem_Configuration> m_res_color_mem;
    VX_Smart_Pointer<VX_Area_Object> m_init_term, m_phys_pen;
    VX_Smart_Pointer<VX_Custom_Configurations> m_custom;
};

/// Flags, texts and (kind, value) pairs the definition gives a meta object; the host keeps them in
/// the order given.
class VX_API VX_Meta_Values {
public:
    void add_flag(std::int32_t flag) { m_flags.push_back(flag); }
    void add_text(VX_String text) { m_texts.push_back(std::move(text)); }
    void add_pair(std::int32_t kind, std::int32_t value) { m_pairs.emplace_back(kind, value); }
    const std::vector<std::int32_t>& flags() const { return m_flags; }
    const std::vector<VX_String>& texts() const { return m_texts; }
    const std::vector<std::pair<std::int32_t, std::int32_t>>& pairs() const { return m_pairs; }

private:
    std::vector<std::int32_t> m_flags;
    std::vector<VX_String> m_texts;
    std::vector<std::pair<std::int32_t, std::int32_t>> m_pairs;
};

/// The printer family: a name and a description, from the model data file.
class VX_API VX_Family : public VX_Object, public VX_Meta_Values {
public:
    ~VX_Family() override;
    VX_String name, description;
};

/// The printer model: name and description from the model data file, the running system and the
/// driver's locale (its translation list).
class VX_API VX_Model : public VX_Object, public VX_Meta_Values {
public:
    ~VX_Model() override;
    VX_String name, description, os_text, driver_locale;
};

/// The driver's identity as the host lists it.
class VX_API VX_Meta_Capabilities : public VX_Object, public VX_Meta_Values {
public:
    ~VX_Meta_Capabilities() override;
    VX_String version, driver_path_name, description;
    VX_Smart_Pointer<VX_Family> family;
    VX_Smart_Pointer<VX_Model> model;
};

/// The application shoebox: where the host application keeps its files.
class VX_API VX_Kadrion_Shoebox : public VX_Object {
public:
    ~VX_Kadrion_Shoebox() override;
    VX_String folder;
};

/// The shoebox of a plotter definition: the host's file settings for plots (the application
/// shoebox, the plot-to-file name).
class VX_Plot_Monitor;

class VX_API VX_Shoebox : public VX_Object {
public:
    ~VX_Shoebox() override;
    VX_Smart_Pointer<VX_Kadrion_Shoebox> application;
    VX_String plot_to_file_name;
    /// Where output goes when it is not plotted to a file: the printer's device or queue file,
    /// as the host set the plot up.
    VX_String device_destination;
    /// The monitor of the plot in progress (shared by copies of the shoebox), or null.
    VX_Smart_Pointer<VX_Plot_Monitor> plot_monitor;
    /// A deep copy.
    VX_Smart_Pointer<VX_Shoebox> clone() const;
};

/// A palette of up to 256 RGBA entries, with the count of entries in use.
class VX_API VX_Palette : public VX_Object {
public:
    struct Entry {
        std::uint8_t red, green, blue, alpha;
    };
    ~VX_Palette() override;
    /// Sets entry `index` (0 to 255) and counts entries up to it as used.
    void set_entry(int index, Entry entry);
    /// Puts the 216 colours of a 6 x 6 x 6 colour cube (components 0, 51, ..., 255, blue
    /// fastest) into entries `first` to `first` + 215; false when they do not fit.
    bool install_color_cube(int first);
    Entry get_entry(int index) const { return m_entries.at(static_cast<std::size_t>(index)); }
    int used() const { return m_used; }

private:
    std::array<Entry, 256> m_entries{};
    int m_used = 0;
};

class VX_API VX_Validator : public VX_Object {
public:
    ~VX_Validator() override;
};

/// The printer as the host sees it: identity, capabilities, configuration, shoebox.
class VX_API VX_Plotter_Definition : public VX_Object {
public:
    ~VX_Plotter_Definition() override;
    virtual VX_Smart_Pointer<VX_Meta_Capabilities> get_meta_capabilities() const = 0;
    virtual VX_Smart_Pointer<VX_Plotter_Capabilities> get_plotter_capabilities() const = 0;
    virtual VX_Smart_Pointer<VX_Plotter_Capabilities> get_bidi_capabilities() const = 0;
    virtual VX_Smart_Pointer<VX_Plotter_Configuration> get_plotter_configuration() const = 0;
    virtual VX_Smart_Pointer<VX_Plotter_Configuration> get_bidi_configuration() const = 0;
    virtual VX_Smart_Pointer<VX_Validator> get_plotter_validator() const = 0;
    virtual VX_Smart_Pointer<VX_Std_Plotter_Class_Factory> get_class_factory() const = 0;
    virtual VX_Smart_Pointer<VX_Shoebox> get_shoebox() const = 0;
    virtual VX_Smart_Pointer<VX_Error_Handler> get_error_handler() const = 0;
    virtual void set_meta_capabilities(VX_Smart_Pointer<VX_Meta_Capabilities>) = 0;
    virtual void set_plotter_capabilities(VX_Smart_Pointer<VX_Plotter_Capabilities>) = 0;
    virtual void set_plotter_configuration(VX_Smart_Pointer<VX_Plotter_Configuration>) = 0;
    /// Keeps a copy of the shoebox; the caller keeps its own.
    virtual void set_shoebox(const VX_Shoebox& shoebox) = 0;
    virtual bool DevmodeConfigure(vxp::Window_Handle parent) = 0;
    virtual bool Custom_Config_UI_Available() = 0;
    virtual bool CustomConfigure(vxp::Window_Handle parent) = 0;
    virtual bool Longplot_UI_Available() = 0;
    virtual bool LongplotUI(vxp::Window_Handle parent) = 0;
    /// Help file and topic of the driver's settings.
    virtual bool get_driver_hints_helpfile(VX_String& file, VX_String& topic) = 0;
    /// Puts the printer's true device colours for the selected setting into `palette`.
    virtual bool get_true_device_colors(VX_Smart_Pointer<VX_Palette> palette) const = 0;
};

/// The host's standard plotter definition: keeps what its setters are given and offers no custom
/// user interface; drivers derive from it.
class VX_API VX_Std_Plotter_Definition : public VX_Plotter_Definition {
public:
    explicit VX_Std_Plotter_Definition(VX_Smart_Pointer<VX_Error_Handler> handler);
    ~VX_Std_Plotter_Definition() override;
    VX_Smart_Pointer<VX_Meta_Capabilities> get_meta_capabilities() const override;
    VX_Smart_Pointer<VX_Plotter_Capabilities> get_plotter_capabilities() const override;
    VX_Smart_Pointer<VX_Plotter_Capabilities> get_bidi_capabilities() const override;
    VX_Smart_Pointer<VX_Plotter_Configuration> get_plotter_configuration() const override;
    VX_Smart_Pointer<VX_Plotter_Configuration> get_bidi_configuration() const override;
    VX_Smart_Pointer<VX_Validator> get_plotter_validator() const override;
    VX_Smart_Pointer<VX_Std_Plotter_Class_Factory> get_class_factory() const override;
    VX_Smart_Pointer<VX_Shoebox> get_shoebox() const override;
    VX_Smart_Pointer<VX_Error_Handler> get_error_handler() const override;
    void set_meta_capabilities(VX_Smart_Pointer<VX_Meta_Capabilities>) override;
    void set_plotter_capabilities(VX_Smart_Pointer<VX_Plotter_Capabilities>) override;
    void set_plotter_configuration(VX_Smart_Pointer<VX_Plotter_Configuration>) override;
    void set_shoebox(const VX_Shoebox& shoebox) override;
    bool DevmodeConfigure(vxp::Window_Handle parent) override;
    bool Custom_Config_UI_Available() override;
    bool CustomConfigure(vxp::Window_Handle parent) override;
    bool Longplot_UI_Available() override;
    bool LongplotUI(vxp::Window_Handle parent) override;
    bool get_driver_hints_helpfile(VX_String& file, VX_String& topic) override;
    bool get_true_device_colors(VX_Smart_Pointer<VX_Palette> palette) const override;

private:
    VX_Smart_Pointer<VX_Error_Handler> m_error_handler;
    VX_Smart_Pointer<VX_Meta_Capabilities> m_meta;
    VX_Smart_Pointer<VX_Plotter_Capabilities> m_capabilities;
    VX_Smart_Pointer<VX_Plotter_Configuration> m_configuration;
    VX_Smart_Pointer<VX_Shoebox> m_shoebox;
};

/// Fills a plotter definition's capabilities from the printer's capability description.
class VX_API VX_Caps_Loader : public VX_Object {
public:
    /// Replace: the loaded description replaces what the capabilities held. Merge: sources,
    /// settings and custom capabilities are added to what they held.
    enum Load_Policy { Replace = 0, Merge = 1 };
    VX_Caps_Loader() = default;
    explicit VX_Caps_Loader(VX_Smart_Pointer<VX_Error_Handler> handler)
        : m_error_handler(std::move(handler)) {}
    ~VX_Caps_Loader() override;
    /// True when the capabilities were loaded; false (the error reported to the error handler,
    /// the definition untouched) when the description could not be read or is incorrect.
    virtual bool Load(VX_Smart_Pointer<VX_Plotter_Definition> definition, Load_Policy policy) = 0;

protected:
    /// Reports to the error handler, or to standard error when there is none.
    void report(const VX_Exception& error) const;

private:
    VX_Smart_Pointer<VX_Error_Handler> m_error_handler;
};
