// The print job parameters: the driver's copies of the custom settings, the media and print mode
// indices, and the records the print engine is told the job through. RASTER_Driver owns one
// Raster_Job_Parameters and its record operations delegate here.
//
// Print mode tables: four static tables of rows of 18 columns C0 to C17, chosen by ink set
// (standard: 14 rows, photo: 22) and colour output; row = mode index = 2 x paper type + (0 at 360
// dpi, 1 otherwise). The ink record points into them, so they outlive every job.
#pragma once

#include "host/print_engine.h"
#include "host/vx_plotter.h"
#include "settings/media_catalogue.h"

#include <array>
#include <cstdint>

using Print_Mode_Row = std::array<std::int32_t, 18>;

/// Row `mode_index` of the table for the ink set (0 standard, else photo) and colour output.
/// An index outside the table gives row 0 or 1 (paper type 0 at the same resolution).
const Print_Mode_Row& print_mode_row(std::int32_t ink_set, bool color_output, int mode_index);

/// The ten per-paper values in the order of the driver's members.
struct Per_Paper_Values {
    std::int32_t gamma = 0;           ///< gamma index
    std::int32_t bidirectional = 0;   ///< 1 on
    std::int32_t suction = 0;         ///< suction index 0 to 4
    std::int32_t feed_offset = 0;     ///< hundredths of a percent
    std::int32_t drying_time = 0;     ///< tenths of a second
    std::int32_t paper_thickness = 0; ///< tenths of a millimetre
    std::int32_t cut_method = 0;      ///< cut method index
    std::int32_t ink_density = 0;     ///< percent
    std::int32_t platen_gap = 0;      ///< platen gap index
    std::int32_t eject_roller = 0;    ///< eject roller index
};

class Raster_Job_Parameters {
public:
    // Copies of the settings, in the driver's member order.
    std::int32_t m_color_correct_mode = 0;
    std::int32_t m_paper_kind_4c = 0;
    std::int32_t m_paper_kind_7c = 0;
    std::int32_t m_cartridge_option = 0;
    std::int32_t m_device_id = 0;

    std::int32_t m_dpi = 0;          ///< 360 or 720 (100 for media units other than 1)
    std::int32_t m_color_output = 0; ///< 1 when the configured colour depth prints in colour
    std::int32_t m_media_source = settings::source_roll;
    std::int32_t m_media_index = 0;
    std::int32_t m_mode_index = 0;

    Per_Paper_Values m_current;                ///< the values of the current resolution
    std::array<Per_Paper_Values, 2> m_per_dpi; ///< [0] the _360 settings, [1] the _720 ones

    /// Reads "Device_ID" to the per-resolution settings from the definition's custom items, in
    /// the engine's key order; a missing item leaves its member as it was.
    void read_settings(const VX_Plotter_Definition& definition);
    /// The current values become the _360 set when m_dpi is 360, else the _720 set.
    void select_resolution_values();
    /// Colour depth 4 or 256 prints in colour; -256, -4, -2 and anything else do not.
    void read_color_output(std::int32_t color_depth);
    /// "P0" to "P3" select their source; any other name selects roll paper.
    void read_media_source(const VX_String& source_name);
    /// Finds the row of the host's size name in the current source's catalogue (sizes named
    /// "User-..." are "UserDefined"; the last matching key prefix wins). A non-zero device
    /// identifier, or no match, leaves the index unchanged.
    void read_media_index(const VX_String& size_name);

    /// The mode index, the table row and the media geometry (printable area of `media` plus 1 mm,
    /// its option flag) into the job record.
    void fill_job_record(Engine_Job_Record& record, const VX_Media_Configuration& media);
    void fill_media_geometry(double width_mm, double height_mm, bool option,
                             Engine_Job_Record& record) const;
    void fill_adjustment_record(Engine_Adjustment_Record& record) const;
    void fill_ink_record(Engine_Ink_Record& record) const;
    void fill_page_record(Engine_Page_Record& record) const;
    /// The companion module paths (driver directory in code page 1252, into the module-wide
    /// buffers of 1,024 bytes; a longer path is cut), the output callback and its context 0.
    void fill_module_record(Engine_Module_Record& record, const VX_String& driver_directory,
                            Engine_Output_Callback output) const;
    /// Links the borderless record (borderless roll paper only), the adjustments and the ink
    /// record into the job record.
    void link_records(Engine_Job_Record& job, const Engine_Adjustment_Record& adjustments,
                      const Engine_Ink_Record& ink) const;

    /// The photo ink set is selected (any non-zero ink set value).
    bool photo_ink() const { return m_cartridge_option != 0; }
    /// Paper type index of the selected ink set (0 when the setting lies outside its list).
    std::int32_t paper_type() const;
};

/// The borderless record: 0x00020001, 0, 0.
extern const Engine_Borderless_Record raster_borderless_record;
