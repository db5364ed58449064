// The page output pipeline. begin_picture prepares the page: colours, the page image, a check that
// the print engine is installed, the output channel. end_picture streams the page image to the
// print engine in bands of two rows, each row converted to engine pixels (R, G, B, 0) on its way,
// and replays the recorded output for further copies. Every path releases the page image.
#include "drawing_routines.h"
#include "driver_palette.h"
#include "module_state.h"
#include "pipeline_p.h"
#include "plotdef/raster_plotdef.h"
#include "raster_driver.h"
#include "resources/resource_library.h"
#include "settings/texts.h"

#include <algorithm>
#include <cstring>

namespace {

const char* const revision = "$Workfile: raster $ $Revision: 37 $";
const char* const begin_routine = "RASTER_Driver::begin_picture";
const char* const end_routine = "RASTER_Driver::end_picture";

// Reads the page image's rows from the top, one at a time, converted to engine pixels tile by
// tile: an untouched tile is blank paper and is copied from a row converted once, without
// reading the image. Each band of rows is settled (its deferred fills painted) before its first
// row is read and released after its last, so the page is never whole in memory.
class Row_Reader {
public:
    Row_Reader(Raster_Buffer& page, int bits_per_pixel, bool grey)
        : m_page(page), m_image(*page.image()), m_bits(bits_per_pixel), m_grey(grey),
          m_index_pixels(index_engine_pixels()), m_blank(std::size_t(m_image.tile_size()) * 4) {
        std::vector<std::uint8_t> zero(
            Imvo::row_bytes(m_image.tile_size(), m_image.bits_per_pixel()));
        convert_engine_row(zero.data(), m_bits, m_grey, m_image.tile_size(), m_blank.data(),
                           m_index_pixels);
    }
    std::int32_t remaining() const { return m_image.height() - m_next; }
    /// The next row's first `width` pixels into `out`.
    void next(std::int32_t width, std::uint8_t* out) {
        const int tile = m_image.tile_size();
        if (m_next % tile == 0)
            m_page.settle(m_next);
        for (std::int32_t x = 0; x < width; x += tile) {
            std::int32_t count = std::min(tile, width - x);
            std::uint8_t* to = out + std::size_t(x) * 4;
            if (const std::uint8_t* row = m_image.tile_row(x, m_next))
                convert_engine_row(row, m_bits, m_grey, count, to, m_index_pixels);
            else
                std::memcpy(to, m_blank.data(), std::size_t(count) * 4);
        }
        if ((m_next + 1) % tile == 0)
            m_page.release_band(m_next);
        ++m_next;
    }

private:
    Raster_Buffer& m_page;
    const Imvo::Image& m_image;
    int m_bits;
    bool m_grey;
    std::int32_t m_next = 0;
    std::array<std::uint32_t, 256> m_index_pixels;
    std::vector<std::uint8_t> m_blank; ///< a tile's width of converted blank paper
};

// One page-image row into `width` engine pixels. False when no row remains.
bool convert_row(Row_Reader& rows, std::int32_t width, std::uint8_t* out) {
    if (rows.remaining() <= 0)
        return false;
    rows.next(width, out);
    return true;
}

int bits_per_pixel_of(std::int32_t color_system) {
    return color_system == 0 ? 8 : color_system == 1 ? 24 : 1;
}

} // namespace

void RASTER_Driver::begin_picture(const VX_Document_Info& document) {
    auto shoebox = m_plotter_definition ? m_plotter_definition->get_shoebox() : nullptr;
    m_plot_monitor = shoebox ? shoebox->plot_monitor : nullptr;
    raster_module_state().output_driver = nullptr;
    m_document_info = document;
    prepare_picture_colours(selected_setting(begin_routine)->color_depth());
    next_request_serial();

    if (m_color_system == 0)
        m_raster.create_palette_image(m_page_max_x + 1, m_page_max_y + 1,
                                      palette_image_colours(*m_palette));
    else
        m_raster.create(m_page_max_x + 1, m_page_max_y + 1, m_image_model[0], m_image_model[2]);
    Raster_Message fault = !m_raster.image()            ? raster_msg_image_create
                           : !m_raster.image()->valid() ? raster_msg_image_invalid
                           : !m_raster.context()        ? raster_msg_write_context
                                                        : Raster_Message(0);
    if (fault) {
        m_raster.release();
        raster_throw_severe(raster_msg_device_init, begin_routine, raster_message_text(fault),
                            revision);
    }
    raster_defer_page_fills(*this);

    if (!Engine_Module(raster_module_state().driver_directory).loaded()) {
        vxp::message_box(nullptr, settings::g_texts.engine_missing,
                         settings::g_texts.engine_missing_caption, vxp::mb_ok | vxp::mb_icon_error);
        raster_throw_severe(raster_msg_device_init, begin_routine, "", revision);
    }

    m_write_failed = false;
    if (m_plotter_io)
        m_plotter_io->open(m_document_info);
    read_media_source();
    read_media_index();
    read_color_output();
    read_copies();
    compute_colour_indices();
}

void RASTER_Driver::fill_module_record(Engine_Module_Record& record) {
    m_job.fill_module_record(record, raster_module_state().driver_directory, &raster_engine_output);
}

void RASTER_Driver::end_picture() {
    Page_Output_State& state = page_output_state();
    const int bits_per_pixel = bits_per_pixel_of(m_color_system);
    auto finish = [&] {
        state.spool.release();
        if (m_plotter_io)
            m_plotter_io->close();
        m_plot_monitor.reset();
        m_raster.release();
    };

    if (is_plot_cancelled()) {
        // Nothing is sent, and the output channel stays open.
        m_plot_monitor.reset();
        m_raster.release();
        return;
    }
    auto shoebox = m_plotter_definition ? m_plotter_definition->get_shoebox() : nullptr;
    VX_String output_file = shoebox ? shoebox->plot_to_file_name : VX_String();
    if (!m_plotter_io || !m_plotter_io->ready()) {
        m_raster.release();
        m_plot_monitor.reset();
        raster_throw(raster_msg_engine_load, end_routine, "m_plotter_io", revision);
    }
    if (!m_raster.image()) {
        finish();
        return;
    }
    prepare_copy_spool(output_file);

    auto engine = std::make_unique<Engine_Module>(raster_module_state().driver_directory);
    auto fail = [&](std::int32_t code) {
        state.status.close();
        engine.reset();
        finish();
        raster_throw(raster_msg_engine_load, end_routine,
                     vxp::to_utf8(engine_error_text(code)).c_str(), revision);
    };
    if (!engine->loaded())
        fail(ENGINE_ERROR_UNKNOWN);

    Engine_Job_Record job{};
    Engine_Adjustment_Record adjustments{};
    Engine_Ink_Record ink{};
    Engine_Module_Record modules{};
    Engine_Page_Record page{};
    fill_job_record(job);
    fill_adjustment_record(adjustments);
    fill_ink_record(ink);
    m_job.link_records(job, adjustments, ink);
    fill_module_record(modules);
    const Raster_Module_State& module = raster_module_state();
    if (module.grey_printing || module.grey_table || bits_per_pixel == 1)
        job.color_mode = 0;
    Row_Reader rows(m_raster, bits_per_pixel, module.grey_printing);

    Engine_Job_Handle handle = nullptr;
    if (std::int32_t result = engine->init_job(&handle, &job, &modules))
        fail(result);
    fill_page_record(page);
    if (std::int32_t result = engine->init_page(handle, &page))
        fail(result);

    const std::int32_t width = m_band_width;
    const std::int32_t height = m_page_max_y;
    std::vector<std::uint8_t> band(std::size_t(std::max(width, 0)) * 4 * 2);
    unsigned window = module.output_driver == nullptr ? 117 : output_file.empty() ? 112 : 116;
    state.status.open(window, m_copies, m_page_max_y);
    state.spool.close_chunk();

    auto send = [&](std::int32_t top, std::int32_t count) {
        Engine_Rect band_rect{0, 0, width, count};
        Engine_Rect page_rect{0, top, width, top + count};
        Engine_Band_Buffer buffer{width * 4, band.data()};
        std::uint32_t words[3] = {0, 0, 0};
        if (std::int32_t result =
                engine->band_out(handle, &band_rect, &buffer, 0, &page_rect, words))
            fail(result);
    };
    int filled = 0;
    bool ended_early = false;
    for (std::int32_t r = 0; r < height; ++r) {
        state.status.advance();
        if (is_plot_cancelled()) {
            m_copies = 1;
            ended_early = true;
            break;
        }
        std::uint8_t* slot = band.data() + std::size_t(filled) * std::size_t(width) * 4;
        if (!convert_row(rows, width, slot)) {
            ended_early = true;
            break;
        }
        if (++filled == 2) {
            send(r - 1, 2);
            filled = 0;
        }
        state.spool.close_chunk();
    }
    if (!ended_early && filled == 1) {
        send(height - 1, 1);
        state.spool.close_chunk();
    }
    band.clear();
    engine->terminate_page(handle);
    engine->destroy_job(handle);
    engine.reset();

    replay_copies();
    state.status.close();
    finish();
}
