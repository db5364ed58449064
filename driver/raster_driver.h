// The device object through which the host plots on the qr7m. The host creates it with
// VD_Create_Plotter_Device, gives it an error handler (which creates the plotter output channel)
// and the plotter definition (which makes the device read the driver's settings and build its
// palette), lets it establish its configuration (page size, resolution, renderer options), and then
// draws each picture between begin_picture and end_picture.
#pragma once

#include "colour_conversion.h"
#include "host/vx_device.h"
#include "job_parameters.h"
#include "raster_buffer.h"

class VX_RASTER_Plotter_Definition;

class RASTER_Driver : public VX_Plotter_Device_Data {
public:
    RASTER_Driver();
    ~RASTER_Driver() override;

    /// Page geometry, resolution and renderer options from the media and resolution/colour/memory
    /// configuration. Throws VX_Error 101 when the size, its source, the selected setting or the
    /// configuration part is missing. Returns 0.
    std::int32_t establish_configuration() override;
    /// Makes the driver's own definition from the host's, reads the settings, finds the driver
    /// directory, binds the output channel and builds the palette. Throws VX_Error 101 when the
    /// host definition lacks its meta capabilities, capabilities or configuration.
    void set_plotter_definition(VX_Smart_Pointer<VX_Plotter_Definition> definition) override;
    /// Keeps the handler and creates the plotter output channel for it (VX_Error 100 when that
    /// fails); a previous channel is released.
    void set_error_handler(VX_Smart_Pointer<VX_Error_Handler> handler) override;
    /// A new definition of the driver, owned by the caller (VX_Error 101 when it cannot be made).
    VX_Plotter_Definition* get_plotter_definition() override;
    /// Prepares a picture: colours, the page image (VX_Severe_Error 102 with message 107, 108 or
    /// 109 when it cannot be made), a check that the print engine is installed (a message box and
    /// VX_Severe_Error 102 when not), the output channel, media, colour output and copies.
    void begin_picture(const VX_Document_Info& document) override;
    /// Streams the page to the print engine and its output to the channel, replays copies, and
    /// releases the page image on every path. Throws VX_Error 104 when the channel is not ready
    /// ("m_plotter_io") or the engine fails (its error text); nothing is sent for a cancelled plot.
    void end_picture() override;

    /// Colour system and palette from the selected resolution/colour/memory setting; installs the
    /// image action of that system. Throws VX_Severe_Error 102 when the host refuses the colour
    /// cube (detail: message 115) or the colour system is not 0, 1 or 2 (message 116).
    virtual void spd_initialize_palette();
    /// 1 when the plot monitor says the plot was cancelled.
    virtual std::int32_t is_plot_cancelled();
    /// Makes `driver` the target of the print engine's output.
    virtual void set_output_driver(RASTER_Driver* driver);
    virtual void read_color_output();
    virtual void read_media_source();
    virtual void read_media_index();
    virtual void read_copies();
    virtual void fill_job_record(Engine_Job_Record& record);
    virtual void fill_media_geometry(double width_mm, double height_mm, bool option,
                                     Engine_Job_Record& record);
    virtual void fill_adjustment_record(Engine_Adjustment_Record& record);
    virtual void fill_ink_record(Engine_Ink_Record& record);
    virtual void fill_page_record(Engine_Page_Record& record);
    /// The companion module paths and the engine output callback.
    virtual void fill_module_record(Engine_Module_Record& record);
    /// Writes printer data to the output channel: 0 when written or ignored, 1 on a short write
    /// (reported once to the plot monitor; the rest of the picture is then dropped).
    virtual std::int32_t write_output(const void* data, long length);

    /// Begin of picture, before the page image is made: the image codes and the grey flags for
    /// the colour system (a negative colour depth code is a grey one); in the 8-bit palette
    /// system the index colour table, grey or in colour with the conversion's compare entries
    /// left alone. Throws VX_Severe_Error 102 (message 116) for another colour system.
    void prepare_picture_colours(std::int32_t color_depth);
    /// Begin of picture, 8-bit palette system: the conversion's black or substitute indices.
    void compute_colour_indices();
    /// Adds 1 to the request serial, skipping 0.
    void next_request_serial();

    // The device's state (in the order the host framework documents it).
    VX_Smart_Pointer<VX_RASTER_Plotter_Definition> m_plotter_definition;
    VX_Smart_Pointer<VX_Plotter_IO> m_plotter_io;
    VX_Smart_Pointer<VX_Plot_Monitor> m_plot_monitor;
    VX_Document_Info m_document_info;
    std::int32_t m_request_serial = 1;
    std::uint8_t m_media_units = 0;
    std::uint32_t m_background_color = 0; ///< 0x00BBGGRR with the top byte forced to 0xFF
    std::array<std::int32_t, 3> m_image_model{3, 3, 3};
    std::int32_t m_color_system = 0; ///< 0 8-bit palette, 1 true colour, 2 bitonal
    VX_Smart_Pointer<VX_Palette> m_palette;
    std::array<float, 4> m_print_area{}; ///< x min, x max, y min, y max in pixels
    std::int32_t m_page_max_x = 0;       ///< last column of the page image
    std::int32_t m_page_max_y = 0;       ///< last row of the page image
    std::int32_t m_band_width = 0;       ///< pixels per row handed to the print engine
    bool m_write_failed = false;
    std::int32_t m_copies = 0;
    /// Settings copies, m_dpi, m_color_output, media and mode indices, per-paper values.
    Raster_Job_Parameters m_job;
    /// m_change_color, m_draw_to_black, the slots and their indices.
    Colour_Conversion m_conversion;
    Raster_Buffer m_raster;

private:
    void install(int action, void (*routine)());
    /// With several copies to a device: the copy spool file beside the output file (or in the
    /// current folder) and its chunk table; a plot to a file gets one copy.
    void prepare_copy_spool(const VX_String& output_file);
    /// Sends the recorded first copy again, chunk by chunk, for copies 2 and up.
    void replay_copies();
    /// The selected resolution/colour/memory setting; VX_Error 101 naming `routine` when missing.
    VX_Smart_Pointer<VX_ResColorMem> selected_setting(const char* routine) const;
    /// The media configuration; VX_Error 101 naming `routine` when missing.
    VX_Smart_Pointer<VX_Media_Configuration> media_configuration(const char* routine) const;
};
