// The PostScript engine: each job becomes a PostScript LanguageLevel 3 raster job, written through
// the output callback as the calls come. InitJob writes the header and the page device (page size
// from the printable width and length, resolution), with the job's media and adjustments in a job
// dictionary; InitPage starts the page image; every BandOut appends its rows; the page ends at
// TerminatePage and the job at DestroyJob.
//
// Image data: 8-bit RGB when the job's colour field (offset 8) is not 0, else 8-bit grey
// ((30 R + 59 G + 11 B) / 100); colour rows are sent as three planes (R, G, B), so that an area
// of one colour is a run in each. Equal rows in a row are sent once with their count (1 to 255):
// a drawing repeats most of its rows, and a repeated row costs a compare. Each group is a count
// byte and the row, run-length encoded; the runs are deflated in chunks of about 1 MiB, each a
// zlib stream of its own, so that a chunk is compressed in one call. The image's data source
// procedures read the groups through /FlateDecode and /RunLengthDecode and open the next chunk
// when one ends. Rows beyond the page are dropped; missing columns and rows are white.
//
// The encoding runs on a thread of the job, a few blocks of rows behind BandOut, so that the
// caller draws the next band while the last ones are compressed. Compressed bytes are handed to
// the output callback on the caller's thread, inside BandOut and TerminatePage, as before.
#include "engine_p.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <emmintrin.h>
#include <libdeflate.h>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// NOTE: pages larger than 1,000,000 pixels a side are refused: no roll is 35 m wide.
constexpr std::int32_t max_side = 1000000;

// Run-length data deflated as one zlib stream; a chunk ends at the first group past this size.
constexpr std::size_t chunk_bytes = std::size_t(1) << 20;

std::string format(const char* pattern, auto... values) {
    char text[512];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

unsigned mask16(__m128i equal) {
    return unsigned(_mm_movemask_epi8(equal));
}

__m128i load16(const std::uint8_t* bytes) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}

// The end of the run of bytes equal to row[i] from i on, compared 64 bytes at a time (the white
// of a drawing), then sixteen.
std::size_t run_end(const std::uint8_t* row, std::size_t i, std::size_t size) {
    const __m128i pattern = _mm_set1_epi8(char(row[i]));
    std::size_t j = i + 1;
    for (; j + 64 <= size; j += 64) {
        __m128i equal = _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(load16(row + j), pattern),
                                                    _mm_cmpeq_epi8(load16(row + j + 16), pattern)),
                                      _mm_and_si128(_mm_cmpeq_epi8(load16(row + j + 32), pattern),
                                                    _mm_cmpeq_epi8(load16(row + j + 48), pattern)));
        if (mask16(equal) != 0xFFFFu)
            break;
    }
    for (; j + 16 <= size; j += 16)
        if (unsigned differ = ~mask16(_mm_cmpeq_epi8(load16(row + j), pattern)) & 0xFFFFu)
            return j + unsigned(__builtin_ctz(differ));
    while (j < size && row[j] == row[i])
        ++j;
    return j;
}

// The end of a literal starting at i: the first j > i (at most `limit`) where three equal bytes
// begin, found sixteen positions at a time.
std::size_t literal_end(const std::uint8_t* row, std::size_t i, std::size_t limit,
                        std::size_t size) {
    std::size_t j = i + 1;
    for (; j + 18 <= size && j < limit; j += 16) {
        __m128i a = load16(row + j), b = load16(row + j + 1), c = load16(row + j + 2);
        if (unsigned three = mask16(_mm_and_si128(_mm_cmpeq_epi8(a, b), _mm_cmpeq_epi8(b, c))))
            return std::min(limit, j + unsigned(__builtin_ctz(three)));
    }
    while (j < limit && !(j + 2 < size && row[j] == row[j + 1] && row[j] == row[j + 2]))
        ++j;
    return std::min(j, limit);
}

// Room run_length_encode may need for `size` bytes.
std::size_t encoded_bound(std::size_t size) {
    return size + size / 128 + 2;
}

// PostScript run-length encoding of one row into `out` (room for encoded_bound(size) bytes):
// runs of 2 to 128 equal bytes as (257 - n, byte), other bytes as literals of up to 128
// (n - 1, bytes). Returns the bytes written.
std::size_t run_length_encode(const std::uint8_t* row, std::size_t size, std::uint8_t* out) {
    std::uint8_t* const first = out;
    std::size_t i = 0;
    while (i < size) {
        std::size_t end = run_end(row, i, size);
        if (end - i >= 2) {
            for (std::size_t left = end - i; left > 0;) {
                std::size_t n = left > 128 ? 128 : left;
                *out++ = n == 1 ? 0 : std::uint8_t(257 - n); // 0: one byte left from a long run
                *out++ = row[i];
                left -= n;
            }
            i = end;
            continue;
        }
        end = literal_end(row, i, std::min(size, i + 128), size);
        *out++ = std::uint8_t(end - i - 1);
        std::memcpy(out, row + i, end - i);
        out += end - i;
        i = end;
    }
    return std::size_t(out - first);
}

// Encodes a page's rows on a thread of its own. The caller fills blocks of rows of the image's
// samples (`row_bytes` each) and takes the compressed bytes as they come; finish() waits for the
// rest.
class Page_Encoder {
public:
    Page_Encoder(std::size_t row_bytes, libdeflate_compressor& compressor)
        : m_row_bytes(row_bytes), m_compressor(compressor), m_pending(row_bytes) {
        m_runs.reserve(chunk_bytes + encoded_bound(row_bytes) + 3);
        for (auto& block : m_blocks) {
            block.pixels.resize(row_bytes * block_rows);
            m_free.push_back(&block);
        }
        m_thread = std::thread([this] { run(); });
    }
    ~Page_Encoder() {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }

    /// Room for the next row; add_row() passes it on.
    std::uint8_t* next_row() {
        if (!m_filling) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_free.empty(); });
            m_filling = m_free.front();
            m_free.pop_front();
            m_filling->rows = 0;
        }
        return m_filling->pixels.data() + std::size_t(m_filling->rows) * m_row_bytes;
    }
    void add_row() {
        if (++m_filling->rows == block_rows)
            submit();
    }

    /// The compressed bytes made so far, to be written out.
    std::vector<std::uint8_t> take_output() {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_output, {});
    }

    /// Encodes the rows given and ends the data; false when compression failed.
    bool finish() {
        if (m_filling)
            submit();
        std::unique_lock lock(m_mutex);
        m_ending = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_done; });
        return !m_failed;
    }

private:
    // NOTE: a driver paints its page a band of rows at a time (64 rows of the page image) and
    // then sends them quickly; a queue of more than two such bands keeps the encoder busy while
    // the next band is painted.
    static constexpr int block_rows = 16;
    static constexpr int block_count = 12;
    struct Block {
        std::vector<std::uint8_t> pixels;
        int rows = 0;
    };

    void submit() {
        {
            std::lock_guard lock(m_mutex);
            m_full.push_back(std::exchange(m_filling, nullptr));
        }
        m_changed.notify_all();
    }

    void run() {
        for (;;) {
            Block* block = nullptr;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return m_stop || !m_full.empty() || m_ending; });
                if (m_stop)
                    return;
                if (m_full.empty()) { // ending, with every block encoded
                    lock.unlock();
                    write_pending();
                    m_runs.push_back(128); // end of the run-length data
                    compress_chunk();
                    lock.lock();
                    m_done = true;
                    m_changed.notify_all();
                    return;
                }
                block = m_full.front();
                m_full.pop_front();
            }
            for (int r = 0; r < block->rows; ++r)
                add_row(block->pixels.data() + std::size_t(r) * m_row_bytes);
            {
                std::lock_guard lock(m_mutex);
                m_free.push_back(block);
            }
            m_changed.notify_all();
        }
    }

    // Equal rows in a row are written once with their count.
    void add_row(const std::uint8_t* row) {
        if (m_pending_count > 0 && m_pending_count < 255 &&
            std::memcmp(row, m_pending.data(), m_row_bytes) == 0) {
            ++m_pending_count;
            return;
        }
        write_pending();
        std::memcpy(m_pending.data(), row, m_row_bytes);
        m_pending_count = 1;
    }

    // The pending row with its repeat count, run-length encoded; a chunk is deflated when full.
    void write_pending() {
        if (m_pending_count == 0)
            return;
        const std::size_t used = m_runs.size();
        m_runs.resize(used + 2 + encoded_bound(m_pending.size()));
        m_runs[used] = 0; // a literal of one byte: the count
        m_runs[used + 1] = std::uint8_t(m_pending_count);
        m_runs.resize(used + 2 +
                      run_length_encode(m_pending.data(), m_pending.size(), &m_runs[used + 2]));
        m_pending_count = 0;
        if (m_runs.size() >= chunk_bytes) {
            m_runs.push_back(128);
            compress_chunk();
        }
    }

    // The collected runs as one zlib stream, onto the output.
    void compress_chunk() {
        std::vector<std::uint8_t> zipped(
            libdeflate_zlib_compress_bound(&m_compressor, m_runs.size()));
        std::size_t size = libdeflate_zlib_compress(&m_compressor, m_runs.data(), m_runs.size(),
                                                    zipped.data(), zipped.size());
        m_runs.clear();
        std::lock_guard lock(m_mutex);
        if (size == 0)
            m_failed = true;
        m_output.insert(m_output.end(), zipped.begin(), zipped.begin() + std::ptrdiff_t(size));
    }

    const std::size_t m_row_bytes;
    libdeflate_compressor& m_compressor;

    // The encoding thread's own.
    std::vector<std::uint8_t> m_pending; ///< the last row received
    std::vector<std::uint8_t> m_runs;    ///< the chunk's runs so far
    int m_pending_count = 0;             ///< how often it came in a row, 0 when none

    // Shared, under m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Block m_blocks[block_count];
    std::deque<Block*> m_free, m_full;
    std::vector<std::uint8_t> m_output;
    bool m_ending = false, m_done = false, m_stop = false, m_failed = false;

    Block* m_filling = nullptr; ///< the caller's block
    std::thread m_thread;
};

class Postscript_Job : public Engine_Backend {
public:
    ~Postscript_Job() override {
        m_encoder.reset();
        if (m_compressor)
            libdeflate_free_compressor(m_compressor);
    }

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
        if (page.record_kind != 1)
            return ENGINE_ERROR_UNKNOWN;
        if (!m_compressor && !(m_compressor = libdeflate_alloc_compressor(1)))
            return ENGINE_ERROR_MEMORY;
        ++m_pages;
        m_rows = 0;
        std::string text = format("%%%%Page: %d %d\n", m_pages, m_pages);
        text += format("/qr7m-page << /Gamma %d /ColourCorrection %d >> def\n", page.gamma,
                       page.color_correction);
        text += format("gsave\n%.6f %.6f scale\n", m_width_pt, m_length_pt);
        text += m_colour ? "/DeviceRGB setcolorspace\n" : "/DeviceGray setcolorspace\n";
        // The data: chunks of groups (a repeat count, 1 to 255, and a row), run-length encoded
        // and deflated. A chunk ends with the end of its runs; its zlib stream is read to its end
        // before the next is opened, and so is the last once every row has come.
        text += "/qr7m-open { /qr7m-zip currentfile /FlateDecode filter def\n"
                "  /qr7m-src qr7m-zip /RunLengthDecode filter def } def\n";
        text += format("/qr7m-row %d string def /qr7m-left 0 def /qr7m-y 0 def\n",
                       m_width * m_channels);
        text +=
            format("/qr7m-next { qr7m-left 0 eq {\n"
                   "    qr7m-src read not { qr7m-zip flushfile qr7m-open qr7m-src read pop } if\n"
                   "    /qr7m-left exch def qr7m-src qr7m-row readstring pop pop\n"
                   "    /qr7m-y qr7m-y qr7m-left add def\n"
                   "    qr7m-y %d ge { qr7m-zip flushfile } if } if\n"
                   "  /qr7m-left qr7m-left 1 sub def } def\n",
                   m_height);
        text += "qr7m-open\n";
        text += format("<< /ImageType 1 /Width %d /Height %d /BitsPerComponent 8 /Decode [%s]\n",
                       m_width, m_height, m_colour ? "0 1 0 1 0 1" : "0 1");
        text += format("   /ImageMatrix [%d 0 0 %d 0 %d] /Interpolate false\n", m_width, -m_height,
                       m_height);
        if (m_colour) {
            // One source per plane, called in turn for each row: the first reads the row.
            text += format("   /MultipleDataSources true /DataSource [\n"
                           "     { qr7m-next qr7m-row 0 %d getinterval }\n"
                           "     { qr7m-row %d %d getinterval }\n"
                           "     { qr7m-row %d %d getinterval } ]\n>> image\n",
                           m_width, m_width, m_width, 2 * m_width, m_width);
        } else {
            text += "   /DataSource { qr7m-next qr7m-row }\n>> image\n";
        }
        m_output->emit(text.c_str());
        m_encoder = std::make_unique<Page_Encoder>(std::size_t(m_width) * std::size_t(m_channels),
                                                   *m_compressor);
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
            while (m_rows < page.top + r)
                add_row(nullptr, 0);
            add_row(buffer.rows + std::size_t(r) * std::size_t(buffer.row_bytes), columns);
        }
        write_output();
        return ENGINE_OK;
    }

    std::int32_t terminate_page() override {
        while (m_rows < m_height)
            add_row(nullptr, 0);
        bool compressed = m_encoder->finish();
        write_output();
        m_encoder.reset();
        m_output->emit("\ngrestore\nshowpage\n%%PageTrailer\n");
        return compressed ? ENGINE_OK : ENGINE_ERROR_MEMORY;
    }

    std::int32_t destroy_job() override {
        m_output->emit(format("%%%%Trailer\n%%%%Pages: %d\n%%%%EOF\n", m_pages).c_str());
        return ENGINE_OK;
    }

private:
    // A row's first `columns` pixels (R, G, B, 0), white beyond, to the encoder as the image's
    // samples: in colour three planes, else grey.
    void add_row(const std::uint8_t* source, std::int32_t columns) {
        std::uint8_t* out = m_encoder->next_row();
        const std::size_t width = std::size_t(m_width), used = std::size_t(columns);
        if (m_colour) {
            for (std::size_t x = 0; x < used; ++x) {
                out[x] = source[4 * x];
                out[width + x] = source[4 * x + 1];
                out[2 * width + x] = source[4 * x + 2];
            }
            for (std::size_t plane = 0; plane < 3; ++plane)
                std::memset(out + plane * width + used, 0xFF, width - used);
        } else {
            for (std::size_t x = 0; x < used; ++x)
                out[x] = std::uint8_t(
                    (30 * source[4 * x] + 59 * source[4 * x + 1] + 11 * source[4 * x + 2]) / 100);
            std::memset(out + used, 0xFF, width - used);
        }
        m_encoder->add_row();
        ++m_rows;
    }

    void write_output() {
        std::vector<std::uint8_t> bytes = m_encoder->take_output();
        if (!bytes.empty())
            m_output->emit(bytes.data(), bytes.size());
    }

    const Engine_Output* m_output = nullptr;
    std::int32_t m_width = 0, m_height = 0, m_channels = 3, m_rows = 0, m_pages = 0;
    double m_width_pt = 0, m_length_pt = 0;
    bool m_colour = true;
    libdeflate_compressor* m_compressor = nullptr;
    std::unique_ptr<Page_Encoder> m_encoder; ///< the page's, from InitPage to TerminatePage
};

} // namespace

std::unique_ptr<Engine_Backend> make_engine_backend() {
    return std::make_unique<Postscript_Job>();
}

Engine_Observer* engine_observer() {
    return nullptr;
}
