// The device object: construction, the binding to the host's objects, palette and configuration.
#include "raster_driver.h"

#include "drawing_routines.h"
#include "driver_palette.h"
#include "module_state.h"
#include "plotdef/raster_plotdef.h"
#include "resources/resource_library.h"
#include "settings/custom_settings.h"

#include <cmath>

namespace {

const char* const revision = "$Workfile: raster $ $Revision: 37 $";

[[noreturn]] void fail(Raster_Message message, const char* routine, const char* detail = "") {
    raster_throw(message, routine, detail, revision);
}

// The colour system error, reported under the name the dot routine uses for it.
[[noreturn]] void invalid_color_system() {
    raster_throw_severe(raster_msg_device_init, "raster_plotter_draw_dci_dot",
                        raster_message_text(raster_msg_color_system), revision);
}

} // namespace

Raster_Module_State& raster_module_state() {
    static Raster_Module_State state;
    return state;
}

RASTER_Driver::RASTER_Driver() : m_palette(vx_make<VX_Palette>()) {
    VX_Renderer_Options& options = renderer_options();
    options.buffer_depth = 8;
    options.pixel_aspect = 1.0;
    options.window_origin_x = options.window_origin_y = 0;
    options.window_width = options.window_height = 32767;
    actions().standard_actions = false;
    const Raster_Drawing_Routines& r = raster_drawing_routines;
    install(vx_action_dot, r.dot);
    install(vx_action_polytriangle, r.triangles);
    install(vx_action_shared_image_real, r.shared_image_real);
    install(vx_action_shared_image_integer, r.shared_image_integer);
    install(vx_action_clear_drawing_buffer, r.clear_page);
    install(vx_action_span, r.span);
}

RASTER_Driver::~RASTER_Driver() {
    m_plotter_definition.reset();
    m_raster.release();
    m_palette.reset();
    m_plotter_io.reset();
    if (raster_module_state().output_driver == this)
        raster_module_state().output_driver = nullptr;
}

void RASTER_Driver::install(int action, void (*routine)()) {
    if (routine)
        actions().set(action, {this, routine, 0, true});
}

void RASTER_Driver::next_request_serial() {
    // Wraps around like the 32-bit counter it is; 0 is skipped.
    m_request_serial = std::int32_t(std::uint32_t(m_request_serial) + 1u);
    if (m_request_serial == 0)
        m_request_serial = 1;
}

void RASTER_Driver::set_error_handler(VX_Smart_Pointer<VX_Error_Handler> handler) {
    m_error_handler = std::move(handler);
    auto factory = vx_create<VX_Std_Plotter_Class_Factory>("VX_Std_Plotter_Class_Factory");
    if (!factory)
        fail(raster_msg_memory, "raster", "pCF");
    m_plotter_io = factory->VD_Create_Plotter_IO(m_error_handler);
    if (!m_plotter_io)
        fail(raster_msg_memory, "raster", "m_plotter_io");
}

void RASTER_Driver::set_plotter_definition(VX_Smart_Pointer<VX_Plotter_Definition> definition) {
    const char* routine = "RASTER_Driver::set_error_handler";
    m_plotter_definition.reset();
    m_plotter_definition =
        vx_create<VX_RASTER_Plotter_Definition>("VX_RASTER_Plotter_Definition", m_error_handler);
    if (!m_plotter_definition)
        fail(raster_msg_null_pointer, routine);
    auto meta = definition ? definition->get_meta_capabilities() : nullptr;
    auto capabilities = definition ? definition->get_plotter_capabilities() : nullptr;
    auto configuration = definition ? definition->get_plotter_configuration() : nullptr;
    if (!meta || !capabilities || !configuration)
        fail(raster_msg_null_pointer, routine);
    m_plotter_definition->set_meta_capabilities(meta);
    m_plotter_definition->set_plotter_capabilities(capabilities);
    m_plotter_definition->set_plotter_configuration(configuration);
    if (auto shoebox = definition->get_shoebox())
        m_plotter_definition->set_shoebox(*shoebox);

    auto background = settings::read_if_present(*m_plotter_definition, settings::back_color.name);
    m_background_color = std::uint32_t(background.value_or(0)) | 0xFF000000u;
    m_conversion.read_settings(*m_plotter_definition);
    m_job.read_settings(*m_plotter_definition);

    vxp::Split_Path program = vxp::split_path(vxp::program_file_name());
    raster_module_state().driver_directory = program.drive + program.directory + L"drv/";
    if (m_plotter_io)
        m_plotter_io->bind_definition(m_plotter_definition);
    spd_initialize_palette();
}

VX_Plotter_Definition* RASTER_Driver::get_plotter_definition() {
    auto definition =
        vx_create<VX_RASTER_Plotter_Definition>("VX_RASTER_Plotter_Definition", m_error_handler);
    if (!definition)
        fail(raster_msg_null_pointer, "RASTER_Driver::get_plotter_definition");
    // The caller owns the definition: hand over the reference without releasing it.
    return definition.detach();
}

VX_Smart_Pointer<VX_ResColorMem> RASTER_Driver::selected_setting(const char* routine) const {
    auto capabilities =
        m_plotter_definition ? m_plotter_definition->get_plotter_capabilities() : nullptr;
    auto offered = capabilities ? capabilities->get_res_color_mem_capabilities() : nullptr;
    auto configuration =
        m_plotter_definition ? m_plotter_definition->get_plotter_configuration() : nullptr;
    auto chosen = configuration ? configuration->get_res_color_mem_configuration() : nullptr;
    auto entry = offered && chosen ? offered->get_entry(chosen->get_selected_index()) : nullptr;
    if (!entry)
        fail(raster_msg_null_pointer, routine);
    return entry;
}

void RASTER_Driver::spd_initialize_palette() {
    m_color_system = selected_setting("RASTER_Driver::spd_initialize_palette")->color_system();
    device_options().color_system = m_color_system;
    const Raster_Drawing_Routines& r = raster_drawing_routines;
    switch (m_color_system) {
    case 1:
        install(vx_action_rgb32_image, r.rgb32_image);
        break;
    case 2:
        fill_driver_palette(*m_palette, m_background_color, false);
        renderer_options().palette = m_palette;
        install(vx_action_bitonal_image, r.bitonal_image);
        break;
    case 0: {
        if (!fill_driver_palette(*m_palette, m_background_color, true))
            raster_throw_severe(raster_msg_device_init, "RASTER_Driver::spd_initialize_palette",
                                raster_message_text(raster_msg_palette_install), revision);
        Index_Colour_Table& table = raster_index_colour_table();
        for (int i = 0; i < 256; ++i) {
            VX_Palette::Entry e = m_palette->get_entry(i);
            table[std::size_t(i)] = {e.red, e.green, e.blue};
        }
        renderer_options().palette = m_palette;
        install(vx_action_index8_image, r.index8_image);
        break;
    }
    default:
        invalid_color_system();
    }
}

std::int32_t RASTER_Driver::establish_configuration() {
    const char* routine = "RASTER_Driver::establish_configuration";
    auto capabilities =
        m_plotter_definition ? m_plotter_definition->get_plotter_capabilities() : nullptr;
    auto configuration =
        m_plotter_definition ? m_plotter_definition->get_plotter_configuration() : nullptr;
    auto media = configuration ? configuration->get_media_configuration() : nullptr;
    auto offered = capabilities ? capabilities->get_media_capabilities() : nullptr;
    auto source = media && offered ? offered->find_source(media->source_name()) : nullptr;
    auto size = source ? source->find_size(media->size_name()) : nullptr;
    auto settings = configuration ? configuration->get_res_color_mem_configuration() : nullptr;
    if (!size || !settings)
        fail(raster_msg_null_pointer, routine);
    auto entry = selected_setting(routine);
    m_media_units = size->units();

    const VX_Area& area = media->printable_area();
    m_print_area = {float(area.x_min), float(area.x_max), float(area.y_min), float(area.y_max)};
    if (m_media_units == 1) {
        auto [x_dpi, y_dpi] = entry->resolution();
        m_job.m_dpi = std::int32_t(x_dpi);
        m_print_area = {float(area.x_min * x_dpi / 25.4), float(area.x_max * x_dpi / 25.4),
                        float(area.y_min * y_dpi / 25.4), float(area.y_max * y_dpi / 25.4)};
    } else {
        m_job.m_dpi = 100;
    }
    // Halves round away from zero.
    auto x1 = std::lround(m_print_area[0]), x2 = std::lround(m_print_area[1]);
    auto y1 = std::lround(m_print_area[2]), y2 = std::lround(m_print_area[3]);
    long width_index = x2 - x1 - (m_media_units == 1 ? 1 : 0);
    long height_index = y2 - y1 - (m_media_units == 1 ? 1 : 0);
    m_band_width = std::int32_t(width_index + 1);
    m_page_max_x = std::int32_t(width_index + 10);
    m_page_max_y = std::int32_t(height_index + 1);

    const Raster_Drawing_Routines& r = raster_drawing_routines;
    install(vx_action_dot, m_job.m_dpi <= 400 ? r.dot : r.dot_block);
    VX_Renderer_Options& options = device_options();
    options.pattern_scale = m_job.m_dpi * 0.5;
    options.color_system = m_color_system;
    options.window_width = m_page_max_x;
    options.window_height = m_page_max_y;
    plotter_options().fat_dots_as_squares = false;
    if (m_color_system == 2)
        options.bitonal_format = (m_background_color & 0xFFFFFF) != 0 ? 3 : 1;
    m_job.select_resolution_values();
    return 0;
}

void RASTER_Driver::prepare_picture_colours(std::int32_t color_depth) {
    Raster_Module_State& state = raster_module_state();
    state.grey_printing = false;
    state.grey_table = false;
    const bool grey = color_depth < 0;
    switch (m_color_system) {
    case 1:
        m_image_model = {3, 3, 3};
        state.grey_printing = grey;
        break;
    case 2:
        m_image_model = {0, 0, 3};
        break;
    case 0:
        state.grey_table = grey;
        m_conversion.prepare_index_table(raster_index_colour_table(), *m_palette, grey);
        m_image_model = {1, 1, 3};
        break;
    default:
        invalid_color_system();
    }
}

void RASTER_Driver::compute_colour_indices() {
    if (m_color_system == 0)
        m_conversion.compute_indices(raster_index_colour_table(), *m_palette);
}

std::int32_t RASTER_Driver::is_plot_cancelled() {
    return m_plot_monitor && m_plot_monitor->is_cancelled(0) != 0 ? 1 : 0;
}

void RASTER_Driver::set_output_driver(RASTER_Driver* driver) {
    raster_module_state().output_driver = driver;
}

void RASTER_Driver::read_color_output() {
    m_job.read_color_output(selected_setting("RASTER_Driver::read_color_output")->color_depth());
}

VX_Smart_Pointer<VX_Media_Configuration>
RASTER_Driver::media_configuration(const char* routine) const {
    auto configuration =
        m_plotter_definition ? m_plotter_definition->get_plotter_configuration() : nullptr;
    auto media = configuration ? configuration->get_media_configuration() : nullptr;
    if (!media)
        fail(raster_msg_null_pointer, routine);
    return media;
}

void RASTER_Driver::read_media_source() {
    m_job.read_media_source(media_configuration("RASTER_Driver::read_media_source")->source_name());
}

void RASTER_Driver::read_media_index() {
    m_job.read_media_index(media_configuration("RASTER_Driver::read_media_index")->size_name());
}

void RASTER_Driver::read_copies() {
    m_copies = media_configuration("RASTER_Driver::read_copies")->copies();
}

void RASTER_Driver::fill_job_record(Engine_Job_Record& record) {
    m_job.fill_job_record(record, *media_configuration("RASTER_Driver::fill_job_record"));
}

void RASTER_Driver::fill_media_geometry(double width_mm, double height_mm, bool option,
                                        Engine_Job_Record& record) {
    m_job.fill_media_geometry(width_mm, height_mm, option, record);
}

void RASTER_Driver::fill_adjustment_record(Engine_Adjustment_Record& record) {
    m_job.fill_adjustment_record(record);
}

void RASTER_Driver::fill_ink_record(Engine_Ink_Record& record) {
    m_job.fill_ink_record(record);
}

void RASTER_Driver::fill_page_record(Engine_Page_Record& record) {
    m_job.fill_page_record(record);
}
