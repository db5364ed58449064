// The PostScript engine: each job becomes a PostScript LanguageLevel 3 raster job, written through
// the output callback as the calls come. InitJob writes the header and the page device (page size
// from the printable width and length, resolution), with the job's media and adjustments in a job
// dictionary; InitPage starts the page image; every BandOut appends its rows, compressed; the
// page ends at TerminatePage and the job at DestroyJob. Only one band is ever held.
//
// Image data: 8-bit RGB when the job's colour field (offset 8) is not 0, else 8-bit grey
// ((30 R + 59 G + 11 B) / 100). Equal rows in a row are sent once with their count (1 to 255): a
// drawing repeats most of its rows, and a repeated row costs a compare. Each group is a count
// byte and the row, run-length encoded (long runs found a word at a time), and the runs are
// deflated; the image's data source procedure reads the groups through /FlateDecode and
// /RunLengthDecode. Rows beyond the page are dropped; missing columns and rows are white.
#include "engine_p.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

// NOTE: pages larger than 1,000,000 pixels a side are refused: no roll is 35 m wide.
constexpr std::int32_t max_side = 1000000;

std::string format(const char* pattern, auto... values) {
    char text[512];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

// Length of the run of bytes equal to row[i] from i on, compared eight bytes at a time.
std::size_t run_length(const std::uint8_t* row, std::size_t i, std::size_t size) {
    std::uint64_t pattern = 0x0101010101010101ull * row[i];
    std::size_t j = i + 1;
    while (j + 8 <= size) {
        std::uint64_t word;
        std::memcpy(&word, row + j, 8);
        if (word != pattern)
            break;
        j += 8;
    }
    while (j < size && row[j] == row[i])
        ++j;
    return j - i;
}

// PostScript run-length encoding of one row: runs of 2 to 128 equal bytes as (257 - n, byte),
// other bytes as literals of up to 128 (n - 1, bytes). Long runs (the white of a drawing) are
// found a word at a time.
void run_length_encode(const std::uint8_t* row, std::size_t size, std::vector<std::uint8_t>& out) {
    std::size_t i = 0;
    while (i < size) {
        std::size_t run = run_length(row, i, size);
        if (run >= 2) {
            for (std::size_t left = run; left > 0;) {
                std::size_t n = left > 128 ? 128 : left;
                if (n == 1) { // a single byte left over from a long run
                    out.push_back(0);
                } else {
                    out.push_back(std::uint8_t(257 - n));
                }
                out.push_back(row[i]);
                left -= n;
            }
            i += run;
            continue;
        }
        std::size_t start = i;
        while (i < size && i - start < 128 &&
               !(i + 2 < size && row[i] == row[i + 1] && row[i] == row[i + 2]))
            ++i;
        out.push_back(std::uint8_t(i - start - 1));
        out.insert(out.end(), row + start, row + i);
    }
}

class Postscript_Job : public Engine_Backend {
public:
    ~Postscript_Job() override { deflateEnd(&m_zip); }

    std::int32_t init_job(const Engine_Job_Record& job, const Engine_Module_Record&,
                          const Engine_Output& output) override {
        if (job.record_kind != 6 || job.printable_width <= 0 || job.printable_length <= 0 ||
            job.printable_width > max_side || job.printable_length > max_side ||
            job.x_resolution <= 0 || job.y_resolution <= 0 || !job.adjustments)
            return ENGINE_ERROR_UNKNOWN;
        m_output = &output;
        m_width = job.printable_width;
        m_height = job.printable_length;
        m_colour = job.color_mode != 0;
        m_channels = m_colour ? 3 : 1;
        double width_pt = m_width_pt = m_width * 72.0 / job.x_resolution;
        double height_pt = m_length_pt = m_height * 72.0 / job.y_resolution;
        const Engine_Adjustment_Record& a = *job.adjustments;
        std::string text = "%!PS-Adobe-3.0\n%%Creator: Z_PENG12 print engine (qr7m)\n";
        text += "%%LanguageLevel: 3\n";
        text +=
            format("%%%%BoundingBox: 0 0 %d %d\n", int(width_pt + 0.999), int(height_pt + 0.999));
        text += format("%%%%HiResBoundingBox: 0 0 %.6f %.6f\n", width_pt, height_pt);
        text += "%%EndComments\n%%BeginSetup\n/qr7m-job <<\n";
        text +=
            format("  /Resolution [%d %d] /HeadResolution [%d %d] /Passes %u /Bidirectional %s\n",
                   job.x_resolution, job.y_resolution, job.head_x_resolution, job.head_y_resolution,
                   job.pass_flags & ~4u, job.pass_flags & 4u ? "true" : "false");
        text += format("  /MediaCode %d /PaperSizeCode %d /Source %d /SourceFlags 16#%08X "
                       "/Borderless %s\n",
                       job.media_code, job.paper_size_code, job.source_code, job.source_flags,
                       job.borderless ? "true" : "false");
        text += format("  /Paper [%d %d] /Margins [%d %d] /Colour %s /ColourInks %d\n",
                       job.paper_width, job.paper_length, job.first_margin, job.second_margin,
                       m_colour ? "true" : "false", job.color_inks);
        text += format("  /InkDensity %d /FeedOffset %d /DryingTime %d /PaperThickness %d\n",
                       a.ink_density, a.feed_offset, a.drying_time, a.paper_thickness);
        text += format("  /Suction %d /CutMethod %d /PlatenGap %d /EjectRoller %d\n", a.suction,
                       a.cut_method, a.platen_gap, a.eject_roller);
        text += ">> def\n";
        text += format("<< /PageSize [%.6f %.6f] /HWResolution [%d %d] >> setpagedevice\n",
                       width_pt, height_pt, job.x_resolution, job.y_resolution);
        text += "%%EndSetup\n";
        output.emit(text.c_str());
        return ENGINE_OK;
    }

    std::int32_t init_page(const Engine_Page_Record& page) override {
        if (page.record_kind != 1 || deflateInit(&m_zip, Z_BEST_SPEED) != Z_OK)
            return ENGINE_ERROR_UNKNOWN;
        ++m_pages;
        m_rows = 0;
        std::string text = format("%%%%Page: %d %d\n", m_pages, m_pages);
        text += format("/qr7m-page << /Gamma %d /ColourCorrection %d >> def\n", page.gamma,
                       page.color_correction);
        text += format("gsave\n%.6f %.6f scale\n", m_width_pt, m_length_pt);
        text += m_colour ? "/DeviceRGB setcolorspace\n" : "/DeviceGray setcolorspace\n";
        // The data: groups of a repeat count (1 to 255) and a row, run-length encoded, deflated.
        text += "/qr7m-src currentfile /FlateDecode filter /RunLengthDecode filter def\n";
        text += format("/qr7m-row %d string def /qr7m-left 0 def\n", m_width * m_channels);
        text += format("<< /ImageType 1 /Width %d /Height %d /BitsPerComponent 8 /Decode [%s]\n",
                       m_width, m_height, m_colour ? "0 1 0 1 0 1" : "0 1");
        text += format("   /ImageMatrix [%d 0 0 %d 0 %d] /Interpolate false\n", m_width, -m_height,
                       m_height);
        text += "   /DataSource {\n";
        text += "     qr7m-left 0 eq { /qr7m-left qr7m-src read pop def\n";
        text += "                      qr7m-src qr7m-row readstring pop pop } if\n";
        text += "     /qr7m-left qr7m-left 1 sub def qr7m-row }\n>> image\n";
        m_output->emit(text.c_str());
        m_row.assign(std::size_t(m_width) * std::size_t(m_channels), 0xFF);
        m_white_source.resize(std::size_t(m_width) * 4);
        for (std::size_t i = 0; i < m_white_source.size(); ++i)
            m_white_source[i] = i % 4 == 3 ? 0 : 0xFF; // R, G, B, 0
        m_white_runs.clear();
        run_length_encode(m_row.data(), m_row.size(), m_white_runs);
        m_pending.assign(m_white_source.size(), 0);
        m_pending_count = 0;
        return ENGINE_OK;
    }

    std::int32_t band_out(const Engine_Rect& band, const Engine_Band_Buffer& buffer,
                          const Engine_Rect& page) override {
        std::int32_t rows = band.bottom - band.top;
        std::int32_t columns = std::min(band.right - band.left, m_width);
        if (rows < 0 || columns < 0 || buffer.row_bytes < 4 * columns)
            return ENGINE_ERROR_UNKNOWN;
        for (std::int32_t r = 0; r < rows && page.top + r < m_height; ++r) {
            if (page.top + r < m_rows)
                continue; // a row sent twice keeps its first copy
            const std::uint8_t* source =
                buffer.rows + std::size_t(r) * std::size_t(buffer.row_bytes);
            while (m_rows < page.top + r)
                add_row(m_white_source.data(), m_width);
            add_row(source, columns);
        }
        return flush(Z_NO_FLUSH);
    }

    std::int32_t terminate_page() override {
        while (m_rows < m_height)
            add_row(m_white_source.data(), m_width);
        write_pending();
        m_runs.push_back(128); // end of the run-length data
        std::int32_t result = flush(Z_FINISH);
        deflateEnd(&m_zip);
        m_zip = z_stream{};
        m_output->emit("\ngrestore\nshowpage\n%%PageTrailer\n");
        return result;
    }

    std::int32_t destroy_job() override {
        m_output->emit(format("%%%%Trailer\n%%%%Pages: %d\n%%%%EOF\n", m_pages).c_str());
        return ENGINE_OK;
    }

private:
    // The band row's first `columns` pixels (R, G, B, 0) into m_row, white beyond.
    void convert_row(const std::uint8_t* source, std::int32_t columns) {
        std::uint8_t* out = m_row.data();
        if (m_colour) {
            for (std::int32_t x = 0; x < columns; ++x) {
                out[3 * x] = source[4 * x];
                out[3 * x + 1] = source[4 * x + 1];
                out[3 * x + 2] = source[4 * x + 2];
            }
        } else {
            for (std::int32_t x = 0; x < columns; ++x)
                out[x] = std::uint8_t(
                    (30 * source[4 * x] + 59 * source[4 * x + 1] + 11 * source[4 * x + 2]) / 100);
        }
        std::fill(m_row.begin() + std::ptrdiff_t(columns) * m_channels, m_row.end(), 0xFF);
    }

    // A row of `columns` source pixels (white beyond). Equal rows in a row are written once with
    // their count: a drawing repeats most of its rows.
    void add_row(const std::uint8_t* source, std::int32_t columns) {
        const std::size_t used = std::size_t(columns) * 4;
        bool same = m_pending_count > 0 && m_pending_count < 255 &&
                    std::memcmp(source, m_pending.data(), used) == 0 &&
                    std::memcmp(m_pending.data() + used, m_white_source.data() + used,
                                m_pending.size() - used) == 0;
        ++m_rows;
        if (same) {
            ++m_pending_count;
            return;
        }
        write_pending();
        std::memcpy(m_pending.data(), source, used);
        std::memcpy(m_pending.data() + used, m_white_source.data() + used, m_pending.size() - used);
        m_pending_count = 1;
    }

    // The pending row with its repeat count, run-length encoded.
    void write_pending() {
        if (m_pending_count == 0)
            return;
        m_runs.push_back(0); // a literal of one byte: the count
        m_runs.push_back(std::uint8_t(m_pending_count));
        if (m_pending == m_white_source) {
            m_runs.insert(m_runs.end(), m_white_runs.begin(), m_white_runs.end());
        } else {
            convert_row(m_pending.data(), m_width);
            run_length_encode(m_row.data(), m_row.size(), m_runs);
        }
        m_pending_count = 0;
    }

    // Deflates the collected runs and hands the compressed bytes on.
    std::int32_t flush(int mode) {
        m_zip.next_in = m_runs.data();
        m_zip.avail_in = uInt(m_runs.size());
        std::uint8_t out[65536];
        int status;
        do {
            m_zip.next_out = out;
            m_zip.avail_out = sizeof out;
            status = deflate(&m_zip, mode);
            if (status == Z_STREAM_ERROR)
                return ENGINE_ERROR_MEMORY;
            m_output->emit(out, sizeof out - m_zip.avail_out);
        } while (m_zip.avail_out == 0 || (mode == Z_FINISH && status != Z_STREAM_END));
        m_runs.clear();
        return ENGINE_OK;
    }

    const Engine_Output* m_output = nullptr;
    std::int32_t m_width = 0, m_height = 0, m_channels = 3, m_rows = 0, m_pages = 0;
    double m_width_pt = 0, m_length_pt = 0;
    bool m_colour = true;
    z_stream m_zip{};
    std::vector<std::uint8_t> m_row, m_runs, m_white_runs, m_white_source;
    std::vector<std::uint8_t> m_pending; ///< the last row received, in source pixels
    int m_pending_count = 0;             ///< how often it came in a row, 0 when none
};

} // namespace

std::unique_ptr<Engine_Backend> make_engine_backend() {
    return std::make_unique<Postscript_Job>();
}

Engine_Observer* engine_observer() {
    return nullptr;
}
