// The renderer's polygon scan against the points inside the polygon, counted one by one.
#include "host/vx_render.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

namespace {

struct Span {
    std::int32_t first, last, y;
    bool operator==(const Span&) const = default;
};

std::vector<Span> scanned(const std::vector<VX_DCI_Point>& polygon, std::int64_t low,
                          std::int64_t high) {
    std::vector<Span> spans;
    VD_Scan_2DI_Polygon(
        std::int32_t(polygon.size()), polygon.data(), low, high,
        [](void* context, std::int32_t first, std::int32_t last, std::int32_t y) {
            static_cast<std::vector<Span>*>(context)->push_back({first, last, y});
        },
        &spans);
    return spans;
}

// Is (x, y) inside the convex polygon or on an edge? Every edge sees it on the same side.
bool inside(const std::vector<VX_DCI_Point>& polygon, std::int64_t x, std::int64_t y) {
    bool negative = false, positive = false;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const VX_DCI_Point& a = polygon[i];
        const VX_DCI_Point& b = polygon[(i + 1) % polygon.size()];
        std::int64_t cross =
            (std::int64_t(b.x) - a.x) * (y - a.y) - (std::int64_t(b.y) - a.y) * (x - a.x);
        negative |= cross < 0;
        positive |= cross > 0;
    }
    return !(negative && positive);
}

// The convex hull of the points, corners in order (collinear points left out).
std::vector<VX_DCI_Point> convex_hull(std::vector<VX_DCI_Point> points) {
    std::sort(points.begin(), points.end(),
              [](const auto& a, const auto& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    auto turn = [](const VX_DCI_Point& o, const VX_DCI_Point& a, const VX_DCI_Point& b) {
        return (std::int64_t(a.x) - o.x) * (std::int64_t(b.y) - o.y) -
               (std::int64_t(a.y) - o.y) * (std::int64_t(b.x) - o.x);
    };
    std::vector<VX_DCI_Point> hull(2 * points.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < points.size(); ++i) { // lower chain
        while (k >= 2 && turn(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) { // upper chain
        while (k >= lower && turn(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    return hull;
}

// The spans of the rows low..high, found by testing every point of the bounding box.
std::vector<Span> counted(const std::vector<VX_DCI_Point>& polygon, std::int64_t low,
                          std::int64_t high) {
    std::int32_t left = polygon[0].x, right = left, bottom = polygon[0].y, top = bottom;
    for (const auto& p : polygon) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    }
    std::vector<Span> spans;
    for (std::int64_t y = std::max<std::int64_t>(bottom, low);
         y <= std::min<std::int64_t>(top, high); ++y) {
        std::int32_t first = right + 1, last = left - 1;
        for (std::int32_t x = left; x <= right; ++x)
            if (inside(polygon, x, y)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        if (first <= last)
            spans.push_back({first, last, std::int32_t(y)});
    }
    return spans;
}

// Random triangles, slivers and many-sided polygons far out on a large page, scanned whole and
// through windows of rows, as the deferred fills scan them band by band.
TEST(PolygonScan, FindsExactlyThePointsInside) {
    const unsigned seed = 1212;
    std::mt19937 random(seed);
    auto uniform = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    struct Shape {
        const char* what;
        int corners, width, height, rounds;
    };
    const Shape shapes[] = {
        {"triangle", 3, 150, 150, 40},
        {"sliver", 3, 12, 3000, 40},
        {"flat sliver", 3, 3000, 4, 40},
        {"twelve corners", 12, 200, 200, 40},
        {"more corners than the scan keeps at hand", 100, 500, 400, 4},
    };
    for (const Shape& shape : shapes)
        for (int round = 0; round < shape.rounds; ++round) {
            SCOPED_TRACE(std::string(shape.what) + ", round " + std::to_string(round) + ", seed " +
                         std::to_string(seed));
            const int x0 = uniform(-40000, 40000), y0 = uniform(-40000, 40000);
            std::vector<VX_DCI_Point> polygon;
            if (shape.corners == 3) {
                for (int k = 0; k < 3; ++k)
                    polygon.push_back(
                        {x0 + uniform(0, shape.width), y0 + uniform(0, shape.height), 0});
                if (std::int64_t(polygon[1].x - polygon[0].x) * (polygon[2].y - polygon[0].y) ==
                    std::int64_t(polygon[2].x - polygon[0].x) * (polygon[1].y - polygon[0].y))
                    continue; // no area: the draw tests cover segments and points
            } else {
                // Corners on an ellipse, in order: a convex polygon once the rounding is undone.
                for (int k = 0; k < shape.corners; ++k) {
                    double angle =
                        2 * std::numbers::pi * (k + 0.4 * uniform(0, 100) / 100.0) / shape.corners;
                    polygon.push_back({x0 + int(std::lround(shape.width / 2 * std::cos(angle))),
                                       y0 + int(std::lround(shape.height / 2 * std::sin(angle))),
                                       0});
                }
                polygon = convex_hull(polygon);
                ASSERT_GT(polygon.size(), std::size_t(shape.corners * 3 / 4));
            }
            const std::int64_t whole_low = std::numeric_limits<std::int64_t>::min(),
                               whole_high = std::numeric_limits<std::int64_t>::max();
            ASSERT_EQ(scanned(polygon, whole_low, whole_high),
                      counted(polygon, whole_low, whole_high));
            const std::int64_t low = y0 + uniform(-10, shape.height), high = low + uniform(0, 70);
            ASSERT_EQ(scanned(polygon, low, high), counted(polygon, low, high))
                << "rows " << low << " to " << high;
        }
}

} // namespace
