// The host's device side: what a plotter device (a driver's device object) is built on and talks
// to while it plots. The renderer options it draws with, the table of drawing actions the
// renderer calls, the plot monitor that answers whether the user cancelled, and the plotter output
// channel the printer data goes to.
#pragma once

#include "vx_plotter.h"

#include <array>
#include <cstdint>
#include <cstdio>

/// What the host tells a device about the document at the start of a picture.
struct VX_Document_Info {
    VX_String name;
    VX_String title;
    std::int32_t flags = 0;
    std::array<std::uint8_t, 4> reserved{};
};

/// Options a renderer draws with. The device's first options object carries buffer depth, pixel
/// aspect, window and palette; the second the colour system, pattern scale, window and bitonal
/// format.
class VX_API VX_Renderer_Options : public VX_Object {
public:
    ~VX_Renderer_Options() override;
    std::int32_t buffer_depth = 0;
    double pixel_aspect = 1.0;
    std::int32_t window_origin_x = 0, window_origin_y = 0;
    std::int32_t window_width = 0, window_height = 0;
    VX_Smart_Pointer<VX_Palette> palette;
    std::int32_t color_system = 0;
    double pattern_scale = 1.0;
    /// 1: ink where the source bit is set; 3: ink where it is clear (a white background).
    std::int32_t bitonal_format = 0;
};

/// The host's plotter options.
class VX_API VX_Plotter_Options : public VX_Object {
public:
    ~VX_Plotter_Options() override;
    bool fat_dots_as_squares = true;
};

/// Host action numbers of the drawing actions a device can install.
enum VX_Action_Number : int {
    vx_action_polytriangle = 13,
    vx_action_dot = 87,
    vx_action_shared_image_real = 89,
    vx_action_shared_image_integer = 91,
    vx_action_rgb32_image = 97,
    vx_action_index8_image = 101,
    vx_action_bitonal_image = 105,
    vx_action_clear_drawing_buffer = 114,
    /// Optional: a span path for the renderer's fills (VX_Span_Action).
    vx_action_span = 120,
};

class VX_Renderer_Data;

/// One entry of the action table: the routine the renderer calls for an action, with its owner
/// (passed as the routine's first argument) and a user value. The routine's real signature
/// depends on the action number; the renderer casts it back.
struct VX_Action {
    VX_Renderer_Data* owner = nullptr;
    void (*routine)() = nullptr;
    std::intptr_t user = 0;
    bool enabled = false;
};

class VX_API VX_Action_Table {
public:
    static constexpr int size = 128;
    /// Installs an action; numbers outside the table are ignored.
    void set(int action, const VX_Action& entry);
    /// The action's entry (a disabled empty one for numbers outside the table).
    VX_Action get(int action) const;
    /// Whether the renderer's standard routines stand in for actions a device did not install.
    bool standard_actions = true;

private:
    std::array<VX_Action, size> m_entries{};
};

/// Answers whether the user cancelled the plot, and receives status reports.
class VX_API VX_Plot_Monitor : public VX_Object {
public:
    ~VX_Plot_Monitor() override;
    /// Non-zero when the plot is cancelled (`what` 0: the plot as a whole).
    virtual std::int32_t is_cancelled(std::int32_t what) const;
    /// Records a status (2: output could not be written).
    virtual void report_status(std::int32_t status);
    void cancel() { m_cancelled = true; }
    const std::vector<std::int32_t>& statuses() const { return m_statuses; }

private:
    bool m_cancelled = false;
    std::vector<std::int32_t> m_statuses;
};

/// The plotter output channel: where a device writes its printer data. The standard channel
/// writes to the plot-to-file name of the bound definition's shoebox, or to its device
/// destination when there is no plot-to-file name. Writes are not buffered, so a full disk shows
/// in the count written.
class VX_API VX_Plotter_IO : public VX_Object {
public:
    explicit VX_Plotter_IO(VX_Smart_Pointer<VX_Error_Handler> handler = nullptr);
    ~VX_Plotter_IO() override;
    /// The definition whose shoebox names the destination.
    virtual void bind_definition(VX_Smart_Pointer<VX_Plotter_Definition> definition);
    /// Opens the destination for a document (replacing an open one); false when it cannot be
    /// opened or none is named.
    virtual bool open(const VX_Document_Info& document);
    /// Whether output can be written.
    virtual bool ready() const;
    /// Writes the bytes; returns how many were written (fewer on a full disk or a closed channel).
    virtual long write(const void* data, long length);
    /// Flushes and closes; nothing when it is not open.
    virtual void close();
    /// What the last failure was, for the host's message ("" when none).
    const std::string& last_error() const { return m_last_error; }

private:
    VX_Smart_Pointer<VX_Error_Handler> m_error_handler;
    VX_Smart_Pointer<VX_Plotter_Definition> m_definition;
    std::FILE* m_file = nullptr;
    std::string m_last_error;
};

/// Renderer side of a device: its renderer options and action table.
class VX_API VX_Renderer_Data : public VX_Counted {
public:
    VX_Renderer_Data();
    ~VX_Renderer_Data() override;
    /// The first renderer options object (the one the renderer-options accessors return).
    VX_Renderer_Options& renderer_options() { return *m_options; }
    /// The second options object.
    VX_Renderer_Options& device_options() { return *m_device_options; }
    VX_Action_Table& actions() { return m_actions; }

private:
    VX_Smart_Pointer<VX_Renderer_Options> m_options, m_device_options;
    VX_Action_Table m_actions;
};

/// A plotter device: the renderer side, the host's plotter options, a third options object the
/// device does not use, and the error handler. Drivers derive their device object from it.
class VX_API VX_Plotter_Device_Data : public VX_Renderer_Data {
public:
    VX_Plotter_Device_Data();
    ~VX_Plotter_Device_Data() override;

    virtual std::int32_t establish_configuration() = 0;
    /// Starts a picture; the base does nothing.
    virtual void begin_picture(const VX_Document_Info& document);
    /// Ends a picture; the base does nothing.
    virtual void end_picture();
    virtual void set_plotter_definition(VX_Smart_Pointer<VX_Plotter_Definition> definition) = 0;
    virtual void set_error_handler(VX_Smart_Pointer<VX_Error_Handler> handler) = 0;
    /// A new definition the caller owns.
    virtual VX_Plotter_Definition* get_plotter_definition() = 0;

    VX_Plotter_Options& plotter_options() { return *m_plotter_options; }
    VX_Renderer_Options& third_options() { return *m_third_options; }

protected:
    VX_Smart_Pointer<VX_Error_Handler> m_error_handler;

private:
    VX_Smart_Pointer<VX_Plotter_Options> m_plotter_options;
    VX_Smart_Pointer<VX_Renderer_Options> m_third_options;
};
