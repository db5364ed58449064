#include "cad_sheet.h"

#include "support/png_file.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace {

using drawing::Area;
using drawing::Colour;
using drawing::Point;
using drawing::Stroke;

constexpr Colour colours[] = {0x000000, 0xD01010, 0x1040C0, 0x108030, 0xC08000};

} // namespace

drawing::Drawing cad_sheet(double width, double height, const std::filesystem::path& image_file) {
    drawing::Drawing sheet;
    sheet.title = "A0 benchmark sheet";
    auto& out = sheet.elements;
    std::mt19937 random(20261211);
    auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const double margin = 10;
    auto rectangle = [](double x0, double y0, double x1, double y1) {
        return std::vector<Point>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    };

    // Border and title block.
    out.push_back(Stroke{rectangle(margin, margin, width - margin, height - margin), 0.7, true, 0});
    const double tx = width - margin - 180, ty = margin;
    out.push_back(Stroke{rectangle(tx, ty, width - margin, ty + 60), 0.5, true, 0});
    for (double y = ty + 10; y < ty + 60; y += 10)
        out.push_back(Stroke{{{tx, y}, {width - margin, y}}, 0.25, false, 0});
    out.push_back(Stroke{{{tx + 60, ty}, {tx + 60, ty + 60}}, 0.25, false, 0});

    const double x0 = margin + 5, y0 = ty + 65, x1 = width - margin - 5, y1 = height - margin - 5;
    // Line segments: mostly walls along the axes, some diagonals, as plans have them.
    for (int i = 0; i < 20000; ++i) {
        Point a{uniform(x0, x1), uniform(y0, y1)};
        double length = uniform(2, 40);
        double angle =
            pick(4) == 0 ? uniform(0, 2 * std::numbers::pi) : pick(4) * std::numbers::pi / 2;
        Point b{std::clamp(a.x + length * std::cos(angle), x0, x1),
                std::clamp(a.y + length * std::sin(angle), y0, y1)};
        const double widths[] = {0.25, 0.35, 0.5, 0.7};
        out.push_back(Stroke{{a, b}, widths[pick(4)], false, colours[pick(5)]});
    }
    // Solid polygons: small irregular pentagons.
    for (int i = 0; i < 1500; ++i) {
        Point c{uniform(x0 + 10, x1 - 10), uniform(y0 + 10, y1 - 10)};
        double r = uniform(2, 8);
        std::vector<Point> ring;
        for (int k = 0; k < 5; ++k) {
            double a = 2 * std::numbers::pi * k / 5, rr = r * uniform(0.6, 1.0);
            ring.push_back({c.x + rr * std::cos(a), c.y + rr * std::sin(a)});
        }
        out.push_back(Area{{ring}, colours[pick(5)]});
    }
    // Hatched rectangles: an outline and 45-degree hatch lines 1.5 mm apart.
    for (int i = 0; i < 500; ++i) {
        double w = uniform(8, 30), h = uniform(8, 30);
        double ax = uniform(x0, x1 - w), ay = uniform(y0, y1 - h);
        Colour colour = colours[pick(5)];
        out.push_back(Stroke{rectangle(ax, ay, ax + w, ay + h), 0.35, true, colour});
        for (double s = 1.5; s < w + h; s += 1.5) {
            // The line x - ax + y - ay = s, clipped to the rectangle.
            Point p{ax + std::min(s, w), ay + s - std::min(s, w)};
            Point q{ax + s - std::min(s, h), ay + std::min(s, h)};
            out.push_back(Stroke{{p, q}, 0.18, false, colour});
        }
    }
    // Circles.
    for (int i = 0; i < 300; ++i) {
        Point c{uniform(x0 + 20, x1 - 20), uniform(y0 + 20, y1 - 20)};
        double r = uniform(2, 20);
        int n = drawing::arc_segments(r, 2 * std::numbers::pi);
        std::vector<Point> ring;
        for (int k = 0; k < n; ++k) {
            double a = 2 * std::numbers::pi * k / n;
            ring.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
        }
        out.push_back(Stroke{ring, 0.35, true, colours[pick(5)]});
    }
    // The image: a colour ramp with a grid.
    const int side = 1000;
    std::vector<std::uint8_t> rgba(std::size_t(side) * side * 4);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            std::uint8_t* p = &rgba[(std::size_t(y) * side + x) * 4];
            bool grid = x % 100 == 0 || y % 100 == 0;
            p[0] = grid ? 0 : std::uint8_t(x * 255 / side);
            p[1] = grid ? 0 : std::uint8_t(y * 255 / side);
            p[2] = grid ? 0 : std::uint8_t(255 - x * 255 / side);
            p[3] = 255;
        }
    write_png(image_file, side, side, rgba);
    const double image_mm = side * 25.4 / 720;
    out.push_back(drawing::Image{image_file, {tx + 70, ty + 70}, image_mm, image_mm});
    return sheet;
}
