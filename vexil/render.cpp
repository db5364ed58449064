#include "host/vx_renderer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

VX_Contour_Set_Data::~VX_Contour_Set_Data() = default;

bool point_inside(const VX_Contour_Set_Data& region, float x, float y, float) {
    bool inside = false;
    for (const auto& contour : region.contours) {
        std::size_t n = contour.size();
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const VX_DCF_Point& a = contour[i];
            const VX_DCF_Point& b = contour[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
        }
    }
    return inside;
}

void VD_Standard_Draw_DCI_Bitonal_Image(VX_Renderer_Data* device, const VX_Rendition& rendition,
                                        const VX_DCI_Point& first, const VX_DCI_Point& second,
                                        std::int32_t stride, const std::uint8_t* data,
                                        const std::int32_t* format) {
    VX_Action action = device->actions().get(vx_action_bitonal_image);
    std::int32_t wanted = device->device_options().bitonal_format;
    if (!action.enabled || !action.routine || !data || stride <= 0)
        return;
    std::int32_t rows = (first.y > second.y ? first.y - second.y : second.y - first.y) + 1;
    std::vector<std::uint8_t> converted(data, data + std::size_t(stride) * std::size_t(rows));
    if (!format || *format != wanted)
        for (auto& byte : converted)
            byte = std::uint8_t(~byte);
    reinterpret_cast<VX_Bitonal_Action>(action.routine)(device, rendition, first, second, stride,
                                                        converted.data(), &wanted);
}

namespace {

// floor(a / b) and ceil(a / b) for b > 0.
std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
std::int64_t ceil_div(std::int64_t a, std::int64_t b) {
    return -floor_div(-a, b);
}

// The points of scan line `s` inside the convex polygon (s is y for rows, x for columns), as
// [first, last]; first > last when none. Exact integer arithmetic, edges included.
std::pair<std::int64_t, std::int64_t> scan_span(const VX_DCI_Point* points, std::int32_t count,
                                                bool rows, std::int64_t s) {
    std::int64_t first = std::numeric_limits<std::int64_t>::max();
    std::int64_t last = std::numeric_limits<std::int64_t>::min();
    for (std::int32_t i = 0; i < count; ++i) {
        const VX_DCI_Point& a = points[i];
        const VX_DCI_Point& b = points[(i + 1) % count];
        std::int64_t as = rows ? a.y : a.x, bs = rows ? b.y : b.x; // along the scan direction
        std::int64_t at = rows ? a.x : a.y, bt = rows ? b.x : b.y; // across it
        if (s < std::min(as, bs) || s > std::max(as, bs))
            continue;
        if (as == bs) {
            first = std::min({first, at, bt});
            last = std::max({last, at, bt});
            continue;
        }
        // t = at + (s - as) * (bt - at) / (bs - as), bracketed by its floor and ceiling.
        std::int64_t num = (s - as) * (bt - at), den = bs - as;
        if (den < 0) {
            num = -num;
            den = -den;
        }
        first = std::min(first, at + ceil_div(num, den));
        last = std::max(last, at + floor_div(num, den));
    }
    return {first, last};
}

} // namespace

namespace {

// An edge of a polygon stepped one scan line at a time: the exact floor and ceiling of where it
// crosses line s, kept as a quotient and remainder so that no line needs a division. The same
// points as scan_span, which divides on every line.
struct Edge_Stepper {
    std::int64_t from = 0, to = -1; ///< the lines it spans, from <= to
    std::int64_t at = 0;            ///< across position at `from`
    std::int64_t low = 0, high = 0; ///< a flat edge's extent
    std::int64_t q = 0, r = 0, dq = 0, dr = 0, den = 0;

    Edge_Stepper() = default;
    Edge_Stepper(const VX_DCI_Point& a, const VX_DCI_Point& b, std::int64_t start) {
        const VX_DCI_Point& p = a.y <= b.y ? a : b;
        const VX_DCI_Point& e = a.y <= b.y ? b : a;
        from = p.y;
        to = e.y;
        at = p.x;
        low = std::min(p.x, e.x);
        high = std::max(p.x, e.x);
        den = to - from;
        q = r = dq = dr = 0;
        if (den == 0)
            return;
        const std::int64_t dt = std::int64_t(e.x) - p.x;
        dq = floor_div(dt, den);
        dr = dt - dq * den;
        const std::int64_t num = (std::max(start, from) - from) * dt;
        q = floor_div(num, den);
        r = num - q * den;
    }
    /// Widens [first, last] by the edge's points on line s (from <= s <= to).
    void add(std::int64_t& first, std::int64_t& last) const {
        if (den == 0) {
            first = std::min(first, low);
            last = std::max(last, high);
            return;
        }
        first = std::min(first, at + q + (r != 0));
        last = std::max(last, at + q);
    }
    /// Moves on to the next line.
    void step() {
        q += dq;
        r += dr;
        if (r >= den) {
            r -= den;
            ++q;
        }
    }
};

} // namespace

void VD_Scan_2DI_Polygon(std::int32_t count, const VX_DCI_Point* points, std::int64_t low,
                         std::int64_t high,
                         void (*span)(void*, std::int32_t, std::int32_t, std::int32_t),
                         void* context) {
    if (!points || count < 1)
        return;
    std::int64_t top = std::numeric_limits<std::int64_t>::min();
    std::int64_t bottom = std::numeric_limits<std::int64_t>::max();
    for (std::int32_t i = 0; i < count; ++i) {
        bottom = std::min<std::int64_t>(bottom, points[i].y);
        top = std::max<std::int64_t>(top, points[i].y);
    }
    const std::int64_t start = std::max(low, bottom), end = std::min(high, top);
    if (start > end)
        return;
    // NOTE: polygons of up to 64 corners (round caps among them) keep their edges on the stack;
    // the fills call this for every band of every polygon.
    std::array<Edge_Stepper, 64> few;
    std::vector<Edge_Stepper> many(count > std::int32_t(few.size()) ? std::size_t(count) : 0);
    Edge_Stepper* edges = many.empty() ? few.data() : many.data();
    for (std::int32_t i = 0; i < count; ++i)
        edges[i] = Edge_Stepper(points[i], points[i + 1 == count ? 0 : i + 1], start);
    for (std::int64_t y = start; y <= end; ++y) {
        std::int64_t first = std::numeric_limits<std::int64_t>::max();
        std::int64_t last = std::numeric_limits<std::int64_t>::min();
        for (std::int32_t i = 0; i < count; ++i) {
            Edge_Stepper& edge = edges[i];
            if (y < edge.from || y > edge.to)
                continue;
            edge.add(first, last);
            edge.step();
        }
        if (first <= last)
            span(context, std::int32_t(first), std::int32_t(last), std::int32_t(y));
    }
}

void VD_Fill_2DI_Polygon(VX_Renderer_Data* device, const VX_Rendition& rendition,
                         std::int32_t count, const VX_DCI_Point* points, std::int32_t,
                         std::int32_t width, bool horizontal, bool) {
    if (!device || !points || count < 1)
        return;
    VX_Action span = device->actions().get(vx_action_span);
    VX_Action dot = device->actions().get(vx_action_dot);
    // The span path fills the same points row by row, whatever the stroke direction.
    if (span.enabled && span.routine && !rendition.clip_region) {
        struct Target {
            VX_Renderer_Data* device;
            const VX_Rendition& rendition;
            VX_Span_Action routine;
        } target{device, rendition, reinterpret_cast<VX_Span_Action>(span.routine)};
        VD_Scan_2DI_Polygon(
            count, points, std::numeric_limits<std::int64_t>::min(),
            std::numeric_limits<std::int64_t>::max(),
            [](void* context, std::int32_t x0, std::int32_t x1, std::int32_t y) {
                auto* t = static_cast<Target*>(context);
                t->routine(t->device, t->rendition, x0, x1, y);
            },
            &target);
        return;
    }
    if (!(dot.enabled && dot.routine))
        return;
    std::int64_t low = std::numeric_limits<std::int64_t>::max(),
                 high = std::numeric_limits<std::int64_t>::min();
    for (std::int32_t i = 0; i < count; ++i) {
        std::int64_t s = horizontal ? points[i].y : points[i].x;
        low = std::min(low, s);
        high = std::max(high, s);
    }
    const std::int32_t z = points[0].z;
    const std::int64_t stroke = std::max(width, 1);
    for (std::int64_t band = low; band <= high; band += stroke)
        for (std::int64_t s = band; s < band + stroke && s <= high; ++s) {
            auto [first, last] = scan_span(points, count, horizontal, s);
            for (std::int64_t t = first; t <= last; ++t) {
                VX_DCI_Point p{std::int32_t(horizontal ? t : s), std::int32_t(horizontal ? s : t),
                               z};
                reinterpret_cast<VX_Dot_Action>(dot.routine)(device, rendition, p, nullptr);
            }
        }
}

void VD_Standard_Draw_DCI_Polytriangle(VX_Renderer_Data* device, const VX_Rendition& rendition,
                                       std::int32_t count, const VX_DCI_Point* points) {
    for (std::int32_t t = 0; t + 2 < count; ++t) {
        const VX_DCI_Point* triangle = points + t;
        std::int32_t w = std::max({triangle[0].x, triangle[1].x, triangle[2].x}) -
                         std::min({triangle[0].x, triangle[1].x, triangle[2].x});
        std::int32_t h = std::max({triangle[0].y, triangle[1].y, triangle[2].y}) -
                         std::min({triangle[0].y, triangle[1].y, triangle[2].y});
        VD_Fill_2DI_Polygon(device, rendition, 3, triangle, 1, 1, w > h, false);
    }
}

void (*VX_Renderer::routine(int action) const)() {
    VX_Action entry = m_device.actions().get(action);
    return entry.enabled ? entry.routine : nullptr;
}

void VX_Renderer::dot(const VX_Rendition& rendition, const VX_DCI_Point& point,
                      const std::uint32_t* color) const {
    if (auto r = routine(vx_action_dot))
        reinterpret_cast<VX_Dot_Action>(r)(&m_device, rendition, point, color);
}

void VX_Renderer::triangles(const VX_Rendition& rendition, const VX_DCI_Point* points,
                            std::int32_t count) const {
    if (auto r = routine(vx_action_polytriangle))
        reinterpret_cast<VX_Polytriangle_Action>(r)(&m_device, rendition, count, points);
    else if (m_device.actions().standard_actions)
        VD_Standard_Draw_DCI_Polytriangle(&m_device, rendition, count, points);
}

void VX_Renderer::image(const VX_Rendition& rendition, const VX_DCI_Point& top_left,
                        const VX_Shared_Image& image) const {
    if (auto r = routine(vx_action_shared_image_integer))
        reinterpret_cast<VX_Shared_Image_Action>(r)(&m_device, rendition, top_left, image);
    else if (m_device.actions().standard_actions)
        VD_Standard_Draw_DCI_Image(&m_device, rendition, top_left, image);
}

void VX_Renderer::clear() const {
    if (auto r = routine(vx_action_clear_drawing_buffer))
        reinterpret_cast<VX_Clear_Action>(r)(&m_device);
}
