// The device's drawing actions: dots, dot blocks above 400 dpi, triangles, bitonal, 8-bit and
// 32-bit images, shared images, and clear page. Each writes into the page image; device point (x,
// y) lands in column x and page row m_page_max_y - y. Every action first makes its device the print
// engine's output target, and (clear page excepted) releases the page image and returns when the
// plot was cancelled.
#include "raster_draw.h"

#include "draw_p.h"
#include "driver/drawing_routines.h"
#include "host/vx_image.h"

#include <algorithm>
#include <climits>
#include <limits>
#include <new>
#include <span>
#include <type_traits>
#include <vector>

namespace raster_draw {

void fail(const char* routine, Raster_Message detail) {
    raster_throw_severe(raster_msg_device_init, routine, raster_message_text(detail), revision);
}

bool cancelled(RASTER_Driver& d) {
    if (!d.is_plot_cancelled())
        return false;
    d.m_raster.release();
    return true;
}

} // namespace raster_draw

namespace {

using namespace raster_draw;

// The page image value of a dot colour (0xAARRGGBB) in the device's colour system.
std::uint32_t dot_value(const RASTER_Driver& d, std::uint32_t color, const char* routine) {
    switch (d.m_color_system) {
    case 0:
        return color & 0xFF;
    case 1: {
        std::uint32_t c0 = color & 0xFF, c1 = (color >> 8) & 0xFF, c2 = (color >> 16) & 0xFF;
        std::uint32_t c3 = color >> 24;
        if (c0 == 0 && c1 == 0 && c2 == 0)
            c0 = c1 = c2 = 255; // the page image stores black as white...
        else if (c0 == 255 && c1 == 255 && c2 == 255)
            c0 = c1 = c2 = 0; // ...and white as black
        return c2 | c1 << 8 | c0 << 16 | c3 << 24;
    }
    case 2: {
        bool black = (color & 0xFFFFFF) == 0;
        return (d.m_background_color & 0xFFFFFF) != 0 ? black : !black;
    }
    default:
        fail(routine, raster_msg_color_system);
    }
}

void put(RASTER_Driver& d, int x, int row, std::uint32_t value) {
    switch (d.m_color_system) {
    case 0:
        d.m_raster.put_index(x, row, std::uint8_t(value));
        break;
    case 1:
        d.m_raster.put_colour(x, row, value);
        break;
    default:
        d.m_raster.put_bit(x, row, value);
        break;
    }
}

// Writes a dot's cell unless the clip region leaves it out (x, row in page coordinates).
void put_cell(RASTER_Driver& d, const VX_Rendition& r, int x, int row, std::int32_t z,
              std::uint32_t value) {
    if (r.clip_region &&
        !point_inside(*r.clip_region, float(x), float(d.m_page_max_y - row), float(z)))
        return;
    put(d, x, row, value);
}

void raster_plotter_draw_dci_dot(VX_Renderer_Data* owner, const VX_Rendition& r,
                                 const VX_DCI_Point& p, const std::uint32_t* color) {
    RASTER_Driver& d = device_of(owner);
    if (!prologue(d))
        return;
    if (p.y < 0 || p.y > d.m_page_max_y || p.x < 0 || p.x > d.m_page_max_x)
        return;
    if (r.clip_region && !point_inside(*r.clip_region, float(p.x), float(p.y), float(p.z)))
        return;
    put(d, p.x, d.m_page_max_y - p.y,
        dot_value(d, color ? *color : r.color, "raster_plotter_draw_dci_dot"));
}

// Where the dots and spans of the resolution land. Above 600 dpi a dot is a 4 x 4 block over
// device points x - 1 .. x + 2, y - 1 .. y + 2; from 401 to 600 dpi a 2 x 2 block over x .. x + 1,
// y .. y + 1; blocks are clamped into the page. Up to 400 dpi a dot is its own cell.
struct Dot_Block {
    int size, column, row; ///< first column and page row
};
/// The cells of a span: page rows row .. row + rows - 1, columns [from, to).
struct Span_Cells {
    int from, to, row, rows;
};
class Cell_Layout {
public:
    explicit Cell_Layout(const RASTER_Driver& d)
        : m_max_x(d.m_page_max_x), m_max_y(d.m_page_max_y), m_dpi(d.m_job.m_dpi) {}

    /// The block of a dot above 400 dpi.
    Dot_Block block(int x, int y) const {
        if (m_dpi > 600)
            return {4,
                    x > m_max_x - 3 ? m_max_x - 3
                    : x > 0         ? x - 1
                                    : x,
                    std::min(std::max(m_max_y - y - 2, 0), m_max_y - 3)};
        return {2, std::min(x, m_max_x - 1), std::min(std::max(m_max_y - y - 1, 0), m_max_y - 1)};
    }

    /// The cells the dots of a span x0..x1 (x0 <= x1) of device row y write: above 400 dpi the
    /// blocks of neighbouring points overlap into one rectangle.
    Span_Cells span(int x0, int x1, int y) const {
        if (m_dpi <= 400) {
            if (y < 0 || y > m_max_y)
                return {0, 0, 0, 0};
            return {std::max(x0, 0), std::min(x1, m_max_x) + 1, m_max_y - y, 1};
        }
        Dot_Block first = block(x0, y), last = block(x1, y);
        // Cells left of the page (a block of x <= 0 above 600 dpi) have no effect.
        return {std::max(first.column, 0), last.column + last.size, first.row, first.size};
    }

private:
    int m_max_x, m_max_y, m_dpi;
};

void raster_plotter_draw_over400dpi_dci_dot(VX_Renderer_Data* owner, const VX_Rendition& r,
                                            const VX_DCI_Point& p, const std::uint32_t* color) {
    RASTER_Driver& d = device_of(owner);
    if (!prologue(d))
        return;
    const std::uint32_t value =
        dot_value(d, color ? *color : r.color, "raster_plotter_draw_over400dpi_dci_dot");
    Dot_Block block = Cell_Layout(d).block(p.x, p.y);
    for (int j = 0; j < block.size; ++j)
        for (int i = 0; i < block.size; ++i)
            put_cell(d, r, block.column + i, block.row + j, p.z, value);
}

// Writes the cells the dot action would write for each point of a span of device row y (without
// a clip region, which the host leaves to the dots).
void write_span(RASTER_Driver& d, std::uint32_t value, std::int32_t x0, std::int32_t x1,
                std::int32_t y) {
    if (x0 > x1)
        return;
    Span_Cells cells = Cell_Layout(d).span(x0, x1, y);
    for (int j = 0; j < cells.rows; ++j)
        d.m_raster.fill_run(cells.from, cells.row + j, cells.to - cells.from, value);
}

// The name errors of the span path carry: the dot routine of the resolution.
const char* span_routine(const RASTER_Driver& d) {
    return d.m_job.m_dpi <= 400 ? "raster_plotter_draw_dci_dot"
                                : "raster_plotter_draw_over400dpi_dci_dot";
}

// The span path of the host's fills: the same cells the dot action would write.
void raster_plotter_draw_span(VX_Renderer_Data* owner, const VX_Rendition& r, std::int32_t x0,
                              std::int32_t x1, std::int32_t y) {
    RASTER_Driver& d = device_of(owner);
    if (!prologue(d) || x0 > x1)
        return;
    write_span(d, dot_value(d, r.color, span_routine(d)), x0, x1, y);
}

// The cells that the deferred fills of a band cover, row by row: the cells the span action would
// write for each device row's span (above 400 dpi a block of several page rows per span). The
// runs of consecutive fills of one value are joined per page row, so each page row is written
// once for them (the two triangles of a stroke, the blocks of neighbouring device rows); runs
// that do not touch are written apart, and every run is written before a fill of another value.
class Band_Painter {
public:
    Band_Painter(RASTER_Driver& d, int first, int last)
        : m_d(d), m_layout(d), m_first(first), m_max_y(d.m_page_max_y),
          m_runs(std::size_t(last - first + 1), none) {}
    ~Band_Painter() { flush_all(); }

    void paint(const Raster_Buffer::Deferred_Fill& fill,
               std::span<const Raster_Buffer::Fill_Corner> corners) {
        if (fill.value != m_value) {
            flush_all();
            m_value = fill.value;
        }
        m_points.clear();
        for (const auto& c : corners)
            m_points.push_back({c.x, c.y, 0});
        // The device rows whose cells can reach the band: a dot block reaches 3 rows beyond its
        // row, and at the edges of the page blocks are clamped in from any distance.
        const int last = m_first + int(m_runs.size()) - 1;
        const std::int64_t low = last >= m_max_y ? std::numeric_limits<std::int64_t>::min()
                                                 : std::int64_t(m_max_y) - last - 3;
        const std::int64_t high = m_first <= 0 ? std::numeric_limits<std::int64_t>::max()
                                               : std::int64_t(m_max_y) - m_first + 3;
        VD_Scan_2DI_Polygon(
            std::int32_t(m_points.size()), m_points.data(), low, high,
            [](void* context, std::int32_t x0, std::int32_t x1, std::int32_t y) {
                static_cast<Band_Painter*>(context)->add(x0, x1, y);
            },
            this);
    }

private:
    static constexpr std::pair<int, int> none{1, 0};

    // The cells the span action writes for device row y's span x0..x1.
    void add(std::int32_t x0, std::int32_t x1, std::int32_t y) {
        const Span_Cells cells = m_layout.span(x0, x1, y);
        if (cells.from >= cells.to)
            return;
        // The span's page rows within the band.
        const std::int64_t band_rows = std::int64_t(m_runs.size());
        const std::int64_t first = std::max<std::int64_t>(std::int64_t(cells.row) - m_first, 0);
        const std::int64_t end =
            std::min<std::int64_t>(std::int64_t(cells.row) + cells.rows - m_first, band_rows);
        for (std::int64_t i = first; i < end; ++i) {
            auto& run = m_runs[std::size_t(i)];
            if (run.first <= run.second && cells.from <= run.second && cells.to >= run.first) {
                run = {std::min(run.first, cells.from), std::max(run.second, cells.to)};
                continue;
            }
            flush(std::size_t(i));
            run = {cells.from, cells.to};
        }
    }
    void flush(std::size_t i) {
        auto& run = m_runs[i];
        if (run.first < run.second)
            m_d.m_raster.fill_run(run.first, m_first + int(i), run.second - run.first, m_value);
        run = none;
    }
    void flush_all() {
        for (std::size_t i = 0; i < m_runs.size(); ++i)
            flush(i);
    }

    RASTER_Driver& m_d;
    const Cell_Layout m_layout;
    const int m_first, m_max_y;
    std::uint32_t m_value = 0;
    std::vector<std::pair<int, int>> m_runs; ///< per page row: columns [first, second)
    std::vector<VX_DCI_Point> m_points;      ///< the fill being scanned
};

// The polygon that a strip of `count` points zig-zagging across it covers: the even points
// forward, then the odd points back. When that polygon is strictly convex, the strip's
// triangles tile it exactly (the strip's inner edges are its diagonals), so they cover exactly
// its points. False when it is not.
bool zigzag_polygon(const VX_DCI_Point* strip, std::int32_t count,
                    std::vector<Raster_Buffer::Fill_Corner>& corners) {
    corners.clear();
    for (std::int32_t i = 0; i < count; i += 2)
        corners.push_back({strip[i].x, strip[i].y});
    for (std::int32_t i = count % 2 == 0 ? count - 1 : count - 2; i > 0; i -= 2)
        corners.push_back({strip[i].x, strip[i].y});
    // Strictly convex: every turn the same way, and the edges turning through one round only
    // (their directions change sign at most twice across and twice along).
    int sign = 0, x_changes = 0, y_changes = 0;
    std::int64_t last_dx = 0, last_dy = 0;
    const std::size_t n = corners.size();
    for (std::size_t i = 0; i < n + 1; ++i) {
        const auto &p0 = corners[i % n], &p1 = corners[(i + 1) % n], &p2 = corners[(i + 2) % n];
        const std::int64_t dx = std::int64_t(p1.x) - p0.x, dy = std::int64_t(p1.y) - p0.y;
        const std::int64_t cross =
            dx * (std::int64_t(p2.y) - p1.y) - dy * (std::int64_t(p2.x) - p1.x);
        const int turn = cross > 0 ? 1 : cross < 0 ? -1 : 0;
        if (turn == 0 || (sign != 0 && turn != sign))
            return false;
        sign = turn;
        if (dx != 0) {
            x_changes += last_dx != 0 && (dx > 0) != (last_dx > 0);
            last_dx = dx;
        }
        if (dy != 0) {
            y_changes += last_dy != 0 && (dy > 0) != (last_dy > 0);
            last_dy = dy;
        }
    }
    return x_changes <= 2 && y_changes <= 2;
}

void raster_plotter_draw_triangles(VX_Renderer_Data* owner, const VX_Rendition& r,
                                   std::int32_t count, const VX_DCI_Point* points) {
    RASTER_Driver& d = device_of(owner);
    if (!prologue(d))
        return;
    if (r.clip_region || r.fill_code == 64) {
        VD_Standard_Draw_DCI_Polytriangle(owner, r, count, points);
        return;
    }
    // With the span path, a page that defers its fills keeps each triangle as a record; the
    // host's fill would write the same cells through the span action when its rows are read.
    VX_Action span = d.actions().get(vx_action_span);
    if (d.m_raster.deferring() && span.enabled && span.routine) {
        const std::uint32_t value = count >= 3 ? dot_value(d, r.color, span_routine(d)) : 0;
        // A strip that covers a convex polygon (a stroke, a round cap, a slice of an area) is
        // kept, and scanned, as that polygon; else its triangles are, two at a time where they
        // make a convex quadrilateral.
        std::vector<Raster_Buffer::Fill_Corner> corners;
        const auto defer = [&] {
            std::int32_t low = INT32_MAX, high = INT32_MIN;
            for (const auto& c : corners) {
                low = std::min(low, c.y);
                high = std::max(high, c.y);
            }
            d.m_raster.defer(corners, value,
                             int(std::clamp<std::int64_t>(std::int64_t(d.m_page_max_y) - high - 3,
                                                          INT32_MIN, INT32_MAX)),
                             int(std::clamp<std::int64_t>(std::int64_t(d.m_page_max_y) - low + 3,
                                                          INT32_MIN, INT32_MAX)));
        };
        if (count >= 4 && zigzag_polygon(points, count, corners)) {
            defer();
            return;
        }
        for (std::int32_t t = 0; t + 2 < count;) {
            const VX_DCI_Point* p = points + t;
            const bool quad = t + 3 < count && zigzag_polygon(p, 4, corners);
            if (!quad)
                corners = {{p[0].x, p[0].y}, {p[1].x, p[1].y}, {p[2].x, p[2].y}};
            defer();
            t += quad ? 2 : 1;
        }
        return;
    }
    for (std::int32_t t = 0; t + 2 < count; ++t) {
        Triangle_Fill fill = triangle_fill(points + t, r.weight, d.m_job.m_dpi);
        VD_Fill_2DI_Polygon(owner, r, 3, points + t, 1, fill.width, fill.horizontal, false);
    }
}

// The image rectangle: false when the first corner lies outside the page.
struct Image_Rect {
    int x0, r0, width, height;
};
bool image_rect(const RASTER_Driver& d, const VX_DCI_Point& first, const VX_DCI_Point& second,
                Image_Rect& rect) {
    if (first.x < 0 || first.x > d.m_page_max_x || first.y < 0 || first.y > d.m_page_max_y)
        return false;
    int x0 = std::min(first.x, second.x), x1 = std::max(first.x, second.x);
    int ra = d.m_page_max_y - first.y, rb = d.m_page_max_y - second.y;
    int r0 = std::min(ra, rb), r1 = std::max(ra, rb);
    rect = {x0, r0, x1 - x0 + 1, r1 - r0 + 1};
    return true;
}

// The prologue and the image rectangle: false when the plot was cancelled or the first corner
// lies outside the page.
bool image_prologue(RASTER_Driver& d, const VX_DCI_Point& first, const VX_DCI_Point& second,
                    Image_Rect& rect) {
    return prologue(d) && image_rect(d, first, second, rect);
}

// A row buffer of n elements; "INTERNAL ERROR - Memory allocation" when it cannot be had.
// NOTE: 2^30 elements or more count as a failed allocation.
template <class T>
std::vector<T> row_buffer(std::size_t n, const char* routine) {
    try {
        if (n >= 0x40000000u)
            throw std::bad_alloc();
        return std::vector<T>(n);
    } catch (const std::bad_alloc&) {
        fail(routine, raster_msg_memory);
    }
}

void raster_plotter_draw_bitonal_image(VX_Renderer_Data* owner, const VX_Rendition& r,
                                       const VX_DCI_Point& first, const VX_DCI_Point& second,
                                       std::int32_t stride, const std::uint8_t* data,
                                       const std::int32_t* format) {
    RASTER_Driver& d = device_of(owner);
    if (!prologue(d))
        return;
    if (!format || *format != d.device_options().bitonal_format) {
        VD_Standard_Draw_DCI_Bitonal_Image(owner, r, first, second, stride, data, format);
        return;
    }
    Image_Rect rect;
    if (!image_rect(d, first, second, rect))
        return;
    for (int i = 0; i < rect.height; ++i)
        d.m_raster.put_row(rect.r0 + i, rect.x0, rect.width, data + std::size_t(i) * stride);
}

void raster_plotter_draw_index8_image(VX_Renderer_Data* owner, const VX_Rendition&,
                                      const VX_DCI_Point& first, const VX_DCI_Point& second,
                                      std::int32_t stride, const std::uint8_t* data) {
    RASTER_Driver& d = device_of(owner);
    Image_Rect rect;
    if (!image_prologue(d, first, second, rect))
        return;
    std::vector<std::uint8_t> row;
    if (d.m_conversion.m_change_color)
        row = row_buffer<std::uint8_t>(std::size_t(rect.width), "raster_plotter_draw_index8_image");
    for (int i = 0; i < rect.height; ++i) {
        const std::uint8_t* source = data + std::size_t(i) * stride;
        if (d.m_conversion.m_change_color) {
            std::transform(source, source + rect.width, row.begin(),
                           [&](std::uint8_t p) { return d.m_conversion.convert_index8(p); });
            source = row.data();
        }
        d.m_raster.put_index_run(rect.x0, rect.r0 + i, rect.width, source);
    }
}

void raster_plotter_draw_rgb32_image(VX_Renderer_Data* owner, const VX_Rendition&,
                                     const VX_DCI_Point& first, const VX_DCI_Point& second,
                                     std::int32_t stride, const std::uint8_t* data) {
    RASTER_Driver& d = device_of(owner);
    Image_Rect rect;
    if (!image_prologue(d, first, second, rect))
        return;
    const std::size_t n = stride >= 1 ? std::size_t(stride) / 4 : std::size_t(rect.width);
    std::vector<std::uint32_t> row =
        row_buffer<std::uint32_t>(n, "raster_plotter_draw_rgb32_image");
    for (int i = 0; i < rect.height; ++i) {
        const std::uint8_t* source = data + std::size_t(i) * n * 4;
        for (std::size_t k = 0; k < n; ++k, source += 4) {
            std::uint8_t pixel[4] = {source[2], source[1], source[0], source[3]};
            if (pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0)
                pixel[0] = pixel[1] = pixel[2] = 255;
            else if (pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255)
                pixel[0] = pixel[1] = pixel[2] = 0;
            d.m_conversion.convert_rgb32(pixel);
            row[k] = std::uint32_t(pixel[0]) | std::uint32_t(pixel[1]) << 8 |
                     std::uint32_t(pixel[2]) << 16 | std::uint32_t(pixel[3]) << 24;
        }
        d.m_raster.put_colour_run(rect.x0, rect.r0 + i, int(n), row.data());
    }
}

// Actions 91 and 89: a shared image with its top-left corner at the point. An image source is
// drawn here, placed by its bottom-left corner; other kinds go to the host's standard routine.
void raster_plotter_draw_shared_image(VX_Renderer_Data* owner, const VX_Rendition& r,
                                      const VX_DCI_Point& p, const VX_Shared_Image& image) {
    RASTER_Driver& d = device_of(owner);
    if (!prologue(d))
        return;
    if (image.kind != vx_image_source || !image.source) {
        VD_Standard_Draw_DCI_Image(owner, r, p, image);
        return;
    }
    raster_draw_image_source(d, r, {p.x, p.y - image.rows + 1, p.z}, *image.source);
}

void raster_plotter_draw_shared_image_real(VX_Renderer_Data* owner, const VX_Rendition& r,
                                           const VX_DCF_Point& p, const VX_Shared_Image& image) {
    raster_plotter_draw_shared_image(
        owner, r, {std::int32_t(p.x), std::int32_t(p.y), std::int32_t(p.z)}, image);
}

// Action 114: every pixel back to blank paper; nothing without a page image.
void raster_plotter_clear_drawing_buffer(VX_Renderer_Data* owner) {
    RASTER_Driver& d = device_of(owner);
    d.set_output_driver(&d);
    if (d.m_color_system < 0 || d.m_color_system > 2)
        fail("raster_plotter_clear_drawing_buffer", raster_msg_color_system);
    d.m_raster.clear();
}

template <class Routine>
void (*generic(Routine routine))() {
    return reinterpret_cast<void (*)()>(routine);
}

// The renderer calls each routine through the action's own signature.
static_assert(std::is_same_v<decltype(&raster_plotter_draw_dci_dot), VX_Dot_Action>);
static_assert(std::is_same_v<decltype(&raster_plotter_draw_rgb32_image), VX_Image_Action>);
static_assert(std::is_same_v<decltype(&raster_plotter_draw_bitonal_image), VX_Bitonal_Action>);
static_assert(std::is_same_v<decltype(&raster_plotter_clear_drawing_buffer), VX_Clear_Action>);
static_assert(std::is_same_v<decltype(&raster_plotter_draw_triangles), VX_Polytriangle_Action>);
static_assert(std::is_same_v<decltype(&raster_plotter_draw_span), VX_Span_Action>);
static_assert(std::is_same_v<decltype(&raster_plotter_draw_shared_image), VX_Shared_Image_Action>);
static_assert(
    std::is_same_v<decltype(&raster_plotter_draw_shared_image_real), VX_Shared_Image_Real_Action>);

} // namespace

void raster_defer_page_fills(RASTER_Driver& d) {
    d.m_raster.defer_fills([&d](const Raster_Buffer::Deferred_Fills& fills,
                                std::span<const std::uint32_t> band, int first, int last) {
        Band_Painter painter(d, first, last);
        for (std::uint32_t index : band) {
            const auto& fill = fills.fills[index];
            painter.paint(fill, fills.corners_of(fill));
        }
    });
}

Triangle_Fill triangle_fill(const VX_DCI_Point* t, float weight, std::int32_t dpi) {
    std::int32_t w = std::max({t[0].x, t[1].x, t[2].x}) - std::min({t[0].x, t[1].x, t[2].x});
    std::int32_t h = std::max({t[0].y, t[1].y, t[2].y}) - std::min({t[0].y, t[1].y, t[2].y});
    double f = weight > 0 ? double(weight) : 1.0;
    auto width = std::int32_t(double(dpi) * double(0.1f) * f);
    return {width < 1 ? 1 : width, w > h};
}

const Raster_Drawing_Routines raster_drawing_routines = {
    generic(&raster_plotter_draw_dci_dot),         generic(&raster_plotter_draw_over400dpi_dci_dot),
    generic(&raster_plotter_draw_triangles),       generic(&raster_plotter_draw_shared_image_real),
    generic(&raster_plotter_draw_shared_image),    generic(&raster_plotter_draw_rgb32_image),
    generic(&raster_plotter_draw_index8_image),    generic(&raster_plotter_draw_bitonal_image),
    generic(&raster_plotter_clear_drawing_buffer), generic(&raster_plotter_draw_span),
};
