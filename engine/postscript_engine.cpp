// The PostScript engine: each job becomes a PostScript LanguageLevel 3 raster job, written through
// the output callback as the calls come. InitJob writes the header and the page device (page size
// from the printable width and length, resolution), with the job's media and adjustments in a job
// dictionary; InitPage starts the page; every BandOut appends its rows; the page ends at
// TerminatePage and the job at DestroyJob.
//
// Image data: the page is a column of strips of 64 rows, each an image of its own placed by its
// image matrix (whole numbers: the strips meet exactly). In colour, a strip of at most 256
// colours is sent as indexes into a palette (/Indexed): one byte a pixel, and a drawing has few
// colours; other strips as three planes of 8-bit R, G and B, so that an area of one colour is a
// run in each. Without colour every strip is 8-bit grey ((30 R + 59 G + 11 B) / 100). Equal rows
// in a row are sent once with their count (1 to 255): a drawing repeats most of its rows, and a
// repeated row costs a compare. Each group is a count byte and the row, run-length encoded, and a
// strip's runs are deflated as one zlib stream that its data source procedure reads through
// /FlateDecode and /RunLengthDecode, to its end. Rows beyond the page are dropped; missing
// columns and rows are white.
//
// The encoding runs on a thread of the job, a few strips behind BandOut, so that the caller draws
// the next band while the last ones are compressed. Compressed bytes are handed to the output
// callback on the caller's thread, inside BandOut and TerminatePage.
#include "engine_p.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <emmintrin.h>
#include <libdeflate.h>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// NOTE: pages larger than 1,000,000 pixels a side are refused: no roll is 35 m wide.
constexpr std::int32_t max_side = 1000000;

// Rows of a strip, each strip one image and one zlib stream.
constexpr int strip_rows = 64;

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

// A strip's colours, as indexes into its palette, while there are at most 256.
class Palette {
public:
    void clear() {
        m_keys.fill(0);
        m_size = 0;
        m_last_pixel = ~0u;
    }
    std::size_t size() const { return m_size; }
    /// The palette in RGB order, three bytes a colour, as a PostScript hex string's digits.
    std::string hex() const {
        std::string text;
        for (std::size_t i = 0; i < m_size; ++i)
            text += format("%06X", (m_colours[i] & 0xFF) << 16 | (m_colours[i] & 0xFF00) |
                                       (m_colours[i] >> 16 & 0xFF));
        return text;
    }
    /// A row of pixels (R, G, B, 0) as indexes; false when the strip has too many colours.
    bool index_row(const std::uint8_t* row, std::size_t width, std::uint8_t* out) {
        std::size_t x = 0;
        while (x < width) {
            std::uint32_t pixel;
            std::memcpy(&pixel, row + 4 * x, 4);
            pixel &= 0xFFFFFFu;
            if (pixel != m_last_pixel) {
                int index = find(pixel);
                if (index < 0)
                    return false;
                m_last_pixel = pixel;
                m_last_index = std::uint8_t(index);
            }
            // The run of this colour, sixteen pixels at a time (the white of a drawing), then
            // four.
            const __m128i pattern = _mm_set1_epi32(int(pixel));
            const __m128i colour = _mm_set1_epi32(0xFFFFFF);
            const auto same = [&](std::size_t at) {
                return _mm_cmpeq_epi32(_mm_and_si128(load16(row + 4 * at), colour), pattern);
            };
            std::size_t end = x + 1;
            while (end + 16 <= width &&
                   mask16(_mm_and_si128(_mm_and_si128(same(end), same(end + 4)),
                                        _mm_and_si128(same(end + 8), same(end + 12)))) == 0xFFFFu)
                end += 16;
            while (end + 4 <= width && mask16(same(end)) == 0xFFFFu)
                end += 4;
            while (end < width) {
                std::uint32_t next;
                std::memcpy(&next, row + 4 * end, 4);
                if ((next & 0xFFFFFFu) != pixel)
                    break;
                ++end;
            }
            std::memset(out + x, m_last_index, end - x);
            x = end;
        }
        return true;
    }

private:
    // The index of a colour, added when new; -1 when the palette is full.
    int find(std::uint32_t pixel) {
        const std::uint32_t key = pixel + 1; // 0 marks a free slot
        for (std::size_t slot = (pixel * 2654435761u) >> 22;; slot = (slot + 1) & 1023) {
            if (m_keys[slot] == key)
                return m_indexes[slot];
            if (m_keys[slot] == 0) {
                if (m_size == 256)
                    return -1;
                m_keys[slot] = key;
                m_indexes[slot] = std::uint8_t(m_size);
                m_colours[m_size] = pixel;
                return int(m_size++);
            }
        }
    }

    std::array<std::uint32_t, 1024> m_keys{}; ///< colour + 1 by hash slot, 0 when free
    std::array<std::uint8_t, 1024> m_indexes{};
    std::array<std::uint32_t, 256> m_colours{};
    std::size_t m_size = 0;
    std::uint32_t m_last_pixel = ~0u;
    std::uint8_t m_last_index = 0;
};

// Encodes a page's strips on a thread of its own. The caller fills strips of rows (the page's
// width, R, G, B, 0 per pixel) and takes the printer data as it comes; finish() waits for the
// rest.
class Page_Encoder {
public:
    Page_Encoder(std::int32_t width, std::int32_t height, bool colour,
                 libdeflate_compressor& compressor)
        : m_width(std::size_t(width)), m_height(height), m_colour(colour), m_compressor(compressor),
          m_samples(m_width * (colour ? 3 : 1)),
          m_indexes(m_width * strip_rows), m_converted{std::vector<std::uint8_t>(m_samples),
                                                       std::vector<std::uint8_t>(m_samples)},
          m_runs(std::make_unique_for_overwrite<std::uint8_t[]>(
              std::size_t(strip_rows) * (2 + encoded_bound(m_samples)) + 1)) {
        for (auto& strip : m_strips) {
            strip.pixels.resize(m_width * 4 * strip_rows);
            m_free.push_back(&strip);
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

    /// Room for the next row (4 bytes a pixel of the page's width); add_row() passes it on.
    std::uint8_t* next_row() {
        if (!m_filling) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_free.empty(); });
            m_filling = m_free.front();
            m_free.pop_front();
            m_filling->top = m_next_top;
            m_filling->rows = 0;
        }
        return m_filling->pixels.data() + std::size_t(m_filling->rows) * m_width * 4;
    }
    void add_row() {
        ++m_next_top;
        if (++m_filling->rows == strip_rows)
            submit();
    }

    /// The printer data made so far, to be written out.
    std::vector<std::uint8_t> take_output() {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_output, {});
    }

    /// Encodes the rows given; false when compression failed.
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
    // then sends them quickly; a queue of several strips keeps the encoder busy while the next
    // band is painted.
    static constexpr int strip_count = 4;
    struct Strip {
        std::vector<std::uint8_t> pixels;
        std::int32_t top = 0; ///< its first page row
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
            Strip* strip = nullptr;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return m_stop || !m_full.empty() || m_ending; });
                if (m_stop)
                    return;
                if (m_full.empty()) { // ending, with every strip encoded
                    m_done = true;
                    m_changed.notify_all();
                    return;
                }
                strip = m_full.front();
                m_full.pop_front();
            }
            bool encoded = true;
            try {
                encode(*strip);
            } catch (const std::bad_alloc&) {
                encoded = false; // the page fails at TerminatePage
            }
            {
                std::lock_guard lock(m_mutex);
                m_failed |= !encoded;
                m_free.push_back(strip);
            }
            m_changed.notify_all();
        }
    }

    // A strip: the image's PostScript, then its rows' runs, deflated.
    void encode(const Strip& strip) {
        const auto row = [&](int r) { return strip.pixels.data() + std::size_t(r) * m_width * 4; };
        bool indexed = m_colour;
        if (indexed) {
            m_palette.clear();
            for (int r = 0; r < strip.rows && indexed; ++r)
                indexed =
                    m_palette.index_row(row(r), m_width, &m_indexes[std::size_t(r) * m_width]);
        }
        std::string text = "\n";
        if (indexed)
            text += format("[/Indexed /DeviceRGB %zu <", m_palette.size() - 1) + m_palette.hex() +
                    ">] setcolorspace /qr7m-row qr7m-index def\n";
        else if (m_colour)
            text += "/DeviceRGB setcolorspace /qr7m-row qr7m-rgb def\n";
        else
            text += "/DeviceGray setcolorspace /qr7m-row qr7m-index def\n";
        text += format("/qr7m-h %d def /qr7m-y 0 def /qr7m-left 0 def qr7m-open\n", strip.rows);
        const int width = int(m_width);
        text += format("<< /ImageType 1 /Width %d /Height %d /BitsPerComponent 8 /Decode [%s]\n"
                       "   /ImageMatrix [%d 0 0 %d 0 %d] /Interpolate false\n",
                       width, strip.rows,
                       indexed    ? "0 255"
                       : m_colour ? "0 1 0 1 0 1"
                                  : "0 1",
                       width, -m_height, m_height - strip.top);
        if (m_colour && !indexed)
            // One source per plane, called in turn for each row: the first reads the row.
            text += format("   /MultipleDataSources true /DataSource [\n"
                           "     { qr7m-next qr7m-row 0 %d getinterval }\n"
                           "     { qr7m-row %d %d getinterval }\n"
                           "     { qr7m-row %d %d getinterval } ]\n>> image\n",
                           width, width, width, 2 * width, width);
        else
            text += "   /DataSource { qr7m-next qr7m-row }\n>> image\n";

        // Groups of equal rows, run-length encoded, then the end of the runs.
        const std::size_t samples = indexed ? m_width : m_samples;
        std::uint8_t* runs = m_runs.get();
        const std::uint8_t* pending = nullptr;
        int count = 0;
        for (int r = 0; r < strip.rows; ++r) {
            const std::uint8_t* next = &m_indexes[std::size_t(r) * m_width];
            if (!indexed) {
                std::uint8_t* to = m_converted[pending == m_converted[0].data() ? 1 : 0].data();
                convert_row(row(r), to);
                next = to;
            }
            if (count > 0 && count < 255 && std::memcmp(next, pending, samples) == 0) {
                ++count;
                continue;
            }
            if (count > 0)
                runs = write_group(pending, samples, count, runs);
            pending = next;
            count = 1;
        }
        if (count > 0)
            runs = write_group(pending, samples, count, runs);
        *runs++ = 128;
        const std::size_t size = std::size_t(runs - m_runs.get());
        m_zipped.resize(
            std::max(m_zipped.size(), libdeflate_zlib_compress_bound(&m_compressor, size)));
        const std::size_t zipped_size = libdeflate_zlib_compress(&m_compressor, m_runs.get(), size,
                                                                 m_zipped.data(), m_zipped.size());
        std::lock_guard lock(m_mutex);
        if (zipped_size == 0)
            m_failed = true;
        m_output.insert(m_output.end(), text.begin(), text.end());
        m_output.insert(m_output.end(), m_zipped.begin(),
                        m_zipped.begin() + std::ptrdiff_t(zipped_size));
    }

    // A group: its count as a literal of one byte, then the row's runs.
    static std::uint8_t* write_group(const std::uint8_t* row, std::size_t samples, int count,
                                     std::uint8_t* out) {
        *out++ = 0;
        *out++ = std::uint8_t(count);
        return out + run_length_encode(row, samples, out);
    }

    // A row of pixels (R, G, B, 0) as the image's samples: in colour three planes, else grey.
    void convert_row(const std::uint8_t* source, std::uint8_t* out) const {
        const std::size_t width = m_width;
        if (m_colour) {
            for (std::size_t x = 0; x < width; ++x) {
                out[x] = source[4 * x];
                out[width + x] = source[4 * x + 1];
                out[2 * width + x] = source[4 * x + 2];
            }
        } else {
            for (std::size_t x = 0; x < width; ++x)
                out[x] = std::uint8_t(
                    (30 * source[4 * x] + 59 * source[4 * x + 1] + 11 * source[4 * x + 2]) / 100);
        }
    }

    const std::size_t m_width;
    const std::int32_t m_height;
    const bool m_colour;
    libdeflate_compressor& m_compressor;
    const std::size_t m_samples; ///< bytes of a row as planes or grey

    // The encoding thread's own.
    Palette m_palette;
    std::vector<std::uint8_t> m_indexes;                  ///< the strip's rows as indexes
    std::array<std::vector<std::uint8_t>, 2> m_converted; ///< the last two rows as samples
    std::unique_ptr<std::uint8_t[]> m_runs;               ///< the strip's runs
    std::vector<std::uint8_t> m_zipped;                   ///< and deflated

    // Shared, under m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Strip m_strips[strip_count];
    std::deque<Strip*> m_free, m_full;
    std::vector<std::uint8_t> m_output;
    bool m_ending = false, m_done = false, m_stop = false, m_failed = false;

    // The caller's.
    Strip* m_filling = nullptr;
    std::int32_t m_next_top = 0;
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
        try {
            m_encoder = std::make_unique<Page_Encoder>(m_width, m_height, m_colour, *m_compressor);
        } catch (const std::exception&) { // no memory for the strips, or no thread
            return ENGINE_ERROR_MEMORY;
        }
        ++m_pages;
        m_rows = 0;
        std::string text = format("%%%%Page: %d %d\n", m_pages, m_pages);
        text += format("/qr7m-page << /Gamma %d /ColourCorrection %d >> def\n", page.gamma,
                       page.color_correction);
        text += format("gsave\n%.6f %.6f scale\n", m_width_pt, m_length_pt);
        // A strip's data: groups (a repeat count, 1 to 255, and a row), run-length encoded and
        // deflated, read to the end of its zlib stream once the strip's rows have come.
        text += "/qr7m-open { /qr7m-zip currentfile /FlateDecode filter def\n"
                "  /qr7m-src qr7m-zip /RunLengthDecode filter def } def\n";
        text += format("/qr7m-index %d string def /qr7m-rgb %d string def\n", m_width,
                       m_colour ? 3 * m_width : 1);
        text += "/qr7m-next { qr7m-left 0 eq {\n"
                "    /qr7m-left qr7m-src read pop def qr7m-src qr7m-row readstring pop pop\n"
                "    /qr7m-y qr7m-y qr7m-left add def\n"
                "    qr7m-y qr7m-h ge { qr7m-zip flushfile } if } if\n"
                "  /qr7m-left qr7m-left 1 sub def } def\n";
        m_output->emit(text.c_str());
        m_white.resize(std::size_t(m_width) * 4);
        for (std::size_t i = 0; i < m_white.size(); ++i)
            m_white[i] = i % 4 == 3 ? 0 : 0xFF; // R, G, B, 0
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
    // A row's first `columns` pixels (R, G, B, 0), white beyond, to the encoder.
    void add_row(const std::uint8_t* source, std::int32_t columns) {
        std::uint8_t* out = m_encoder->next_row();
        const std::size_t used = std::size_t(columns) * 4;
        if (used > 0)
            std::memcpy(out, source, used);
        std::memcpy(out + used, m_white.data() + used, m_white.size() - used);
        m_encoder->add_row();
        ++m_rows;
    }

    void write_output() {
        std::vector<std::uint8_t> bytes = m_encoder->take_output();
        if (!bytes.empty())
            m_output->emit(bytes.data(), bytes.size());
    }

    const Engine_Output* m_output = nullptr;
    std::int32_t m_width = 0, m_height = 0, m_rows = 0, m_pages = 0;
    double m_width_pt = 0, m_length_pt = 0;
    bool m_colour = true;
    std::vector<std::uint8_t> m_white; ///< a row of white pixels (R, G, B, 0)
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
