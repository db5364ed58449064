#include "sheet_render.h"

#include "host/vx_renderer.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_map>

namespace {

using drawing::Point;

struct Device_Point {
    double x, y;
};

VX_DCI_Point lattice(Device_Point p) {
    return {std::int32_t(std::lround(p.x)), std::int32_t(std::lround(p.y)), 0};
}

class Sheet_Renderer {
public:
    Sheet_Renderer(VX_Renderer_Data& device, int dpi, const Render_Options& options)
        : m_device(device), m_renderer(device), m_scale(dpi / 25.4), m_options(options) {}

    void clip(const std::array<double, 4>& c) {
        auto region = vx_make<VX_Contour_Set_Data>();
        const float x0 = float(c[0] * m_scale), y0 = float(c[1] * m_scale);
        const float x1 = float(c[2] * m_scale), y1 = float(c[3] * m_scale);
        region->contours = {{{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}}};
        m_rendition.clip_region = region;
    }
    void operator()(const drawing::Stroke& stroke);
    void operator()(const drawing::Area& area);
    void operator()(const drawing::Dot& dot) {
        set_colour(dot.colour);
        m_renderer.dot(m_rendition, lattice(device(dot.at)));
    }
    void operator()(const drawing::Image& image);

private:
    Device_Point device(Point p) const { return {p.x * m_scale, p.y * m_scale}; }
    void set_colour(drawing::Colour colour);
    void hairline(VX_DCI_Point a, VX_DCI_Point b);
    void disc(Device_Point centre, double radius);
    void strip(std::initializer_list<Device_Point> points) {
        m_points.clear();
        for (Device_Point p : points)
            m_points.push_back(lattice(p));
        m_renderer.triangles(m_rendition, m_points.data(), std::int32_t(m_points.size()));
    }

    VX_Renderer_Data& m_device;
    VX_Renderer m_renderer;
    double m_scale;
    Render_Options m_options;
    VX_Rendition m_rendition;
    std::vector<VX_DCI_Point> m_points;
    std::unordered_map<drawing::Colour, std::uint8_t> m_palette_index;
};

// The rendition's colour: 0xFFRRGGBB, or in the palette system the nearest palette entry's
// index.
void Sheet_Renderer::set_colour(drawing::Colour colour) {
    const std::int32_t system = m_device.device_options().color_system;
    if (system == 2) {
        // Monochrome plots, as CAD hosts make them: everything that is not paper white prints
        // in black (the device inks only pure black on white paper).
        m_rendition.color = 0xFF000000u | (colour == 0xFFFFFF ? 0xFFFFFFu : 0u);
        return;
    }
    if (system == 1) {
        m_rendition.color = 0xFF000000u | colour;
        return;
    }
    auto found = m_palette_index.find(colour);
    if (found == m_palette_index.end()) {
        const VX_Palette* palette = m_device.renderer_options().palette.get();
        std::vector<std::uint8_t> triples;
        if (palette)
            triples = vx_palette_triples(*palette);
        int best =
            vx_nearest_colour(triples.data(), int(triples.size() / 3), std::uint8_t(colour >> 16),
                              std::uint8_t(colour >> 8), std::uint8_t(colour));
        found = m_palette_index.emplace(colour, std::uint8_t(best)).first;
    }
    m_rendition.color = 0xFF000000u | found->second;
}

// The device points of a hairline, one dot each (Bresenham).
void Sheet_Renderer::hairline(VX_DCI_Point a, VX_DCI_Point b) {
    std::int64_t dx = std::abs(std::int64_t(b.x) - a.x), dy = -std::abs(std::int64_t(b.y) - a.y);
    const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    std::int64_t error = dx + dy;
    VX_DCI_Point p = a;
    for (;;) {
        m_renderer.dot(m_rendition, p);
        if (p.x == b.x && p.y == b.y)
            return;
        std::int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            p.x += sx;
        }
        if (twice <= dx) {
            error += dx;
            p.y += sy;
        }
    }
}

// A round join or cap: a regular polygon, sent as a strip that zig-zags across it.
void Sheet_Renderer::disc(Device_Point centre, double radius) {
    const int n = std::clamp(int(std::ceil(radius * 1.5)), 8, 48);
    m_points.clear();
    for (int k = 0; k < n; ++k) {
        int i = k % 2 == 0 ? k / 2 : n - 1 - k / 2;
        double a = 2 * std::numbers::pi * i / n;
        m_points.push_back(
            lattice({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)}));
    }
    m_renderer.triangles(m_rendition, m_points.data(), std::int32_t(m_points.size()));
}

void Sheet_Renderer::operator()(const drawing::Stroke& stroke) {
    set_colour(stroke.colour);
    const double width = stroke.width * m_scale;
    const std::size_t n = stroke.points.size();
    const std::size_t segments = stroke.closed ? n : n - 1;
    // Lines thinner than two device points are drawn point by point: the device's dots are
    // as thick as the printer's thinnest line.
    if (width < 2) {
        for (std::size_t i = 0; i < segments; ++i)
            hairline(lattice(device(stroke.points[i])),
                     lattice(device(stroke.points[(i + 1) % n])));
        return;
    }
    const double half = width / 2;
    for (std::size_t i = 0; i < segments; ++i) {
        Device_Point a = device(stroke.points[i]), b = device(stroke.points[(i + 1) % n]);
        double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
        if (length == 0)
            continue;
        double nx = -dy / length * half, ny = dx / length * half;
        strip({{a.x + nx, a.y + ny},
               {a.x - nx, a.y - ny},
               {b.x + nx, b.y + ny},
               {b.x - nx, b.y - ny}});
    }
    // Joins and caps close the gaps between segments: round at the ends of an open line and
    // where the line turns sharply, a bevel (the wedge between the two segments' corners) where
    // it turns gently, as along an arc, where a round join would look the same.
    if (width < 3)
        return;
    for (std::size_t i = 0; i < n; ++i) {
        const bool end = !stroke.closed && (i == 0 || i == n - 1);
        const Device_Point v = device(stroke.points[i]);
        if (end) {
            disc(v, half);
            continue;
        }
        const Device_Point before = device(stroke.points[(i + n - 1) % n]);
        const Device_Point after = device(stroke.points[(i + 1) % n]);
        double ax = v.x - before.x, ay = v.y - before.y, bx = after.x - v.x, by = after.y - v.y;
        double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
        if (la == 0 || lb == 0)
            continue;
        ax /= la, ay /= la, bx /= lb, by /= lb;
        if (ax * bx + ay * by < std::cos(std::numbers::pi / 8)) {
            disc(v, half);
            continue;
        }
        // The outer side of the turn is left of the direction when it turns right.
        const double side = ax * by - ay * bx > 0 ? -1 : 1;
        strip({v,
               {v.x - side * ay * half, v.y + side * ax * half},
               {v.x - side * by * half, v.y + side * bx * half}});
    }
}

// Filled areas are cut into trapezoids between the heights of their vertices: within one such
// slab no edges cross (the rings are simple), so sorting the edges across the slab and pairing
// them by the even-odd rule gives the inside.
void Sheet_Renderer::operator()(const drawing::Area& area) {
    set_colour(area.colour);
    struct Edge {
        Device_Point low, high;
        double x_at(double y) const {
            return low.x + (high.x - low.x) * (y - low.y) / (high.y - low.y);
        }
    };
    std::vector<Edge> edges;
    std::vector<double> heights;
    for (const auto& ring : area.rings)
        for (std::size_t i = 0; i < ring.size(); ++i) {
            Device_Point a = device(ring[i]), b = device(ring[(i + 1) % ring.size()]);
            heights.push_back(a.y);
            if (a.y == b.y)
                continue;
            edges.push_back(a.y < b.y ? Edge{a, b} : Edge{b, a});
        }
    std::sort(heights.begin(), heights.end());
    heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
    std::sort(edges.begin(), edges.end(),
              [](const Edge& a, const Edge& b) { return a.low.y < b.low.y; });
    std::vector<const Edge*> active;
    std::vector<std::pair<double, const Edge*>> across;
    std::size_t next = 0;
    for (std::size_t s = 0; s + 1 < heights.size(); ++s) {
        const double y0 = heights[s], y1 = heights[s + 1], middle = (y0 + y1) / 2;
        std::erase_if(active, [&](const Edge* e) { return e->high.y <= y0; });
        while (next < edges.size() && edges[next].low.y <= y0)
            active.push_back(&edges[next++]);
        across.clear();
        for (const Edge* e : active)
            if (e->high.y >= y1)
                across.emplace_back(e->x_at(middle), e);
        std::sort(across.begin(), across.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t k = 0; k + 1 < across.size(); k += 2) {
            const Edge& l = *across[k].second;
            const Edge& r = *across[k + 1].second;
            strip({{l.x_at(y0), y0}, {r.x_at(y0), y0}, {l.x_at(y1), y1}, {r.x_at(y1), y1}});
        }
    }
}

void Sheet_Renderer::operator()(const drawing::Image& image) {
    VX_Png_Image png(image.file.string());
    const int w = std::max(1, int(std::lround(image.width * m_scale)));
    const int h = std::max(1, int(std::lround(image.height * m_scale)));
    png.resize(w, h);
    VX_DCI_Point top_left = lattice(device(image.at));
    top_left.y += h - 1;
    VX_Shared_Image shared;
    shared.columns = w;
    shared.rows = h;
    if (std::int64_t(w) * h > m_options.image_source_pixels) {
        shared.kind = vx_image_source;
        shared.source = &png.source();
        m_renderer.image(m_rendition, top_left, shared);
        return;
    }
    // Pixels as 0xAARRGGBB words, composed over white paper.
    std::vector<std::uint32_t> pixels(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* in = png.row(y);
        for (int x = 0; x < w; ++x, in += 4) {
            auto over_white = [&](int c) {
                return std::uint32_t((c * in[3] + 255 * (255 - in[3]) + 127) / 255);
            };
            pixels[std::size_t(y) * w + x] =
                0xFF000000u | over_white(in[0]) << 16 | over_white(in[1]) << 8 | over_white(in[2]);
        }
    }
    shared.kind = vx_image_rgb32;
    shared.stride = w * 4;
    shared.pixels = reinterpret_cast<const std::uint8_t*>(pixels.data());
    m_renderer.image(m_rendition, top_left, shared);
}

} // namespace

void render_drawing(VX_Renderer_Data& device, const drawing::Drawing& sheet, int dpi,
                    const Render_Options& options) {
    Sheet_Renderer renderer(device, dpi, options);
    if (sheet.clip)
        renderer.clip(*sheet.clip);
    for (const drawing::Element& element : sheet.elements)
        std::visit(renderer, element);
}
