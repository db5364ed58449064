// A drawing as vxplot reads it: one sheet of lines, polylines, arcs, circles, filled polygons,
// dots and raster images, in paper millimetres from the lower-left corner of the printable area
// with y upward (docs/drawing-format.md gives the JSON form).
//
// Reading turns arcs and circles into polylines and polygons, so the rest of the program sees
// three shapes only: strokes, areas and images (plus dots).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace drawing {

struct Point {
    double x = 0, y = 0;
};

/// 0x00RRGGBB.
using Colour = std::uint32_t;

/// A line, polyline, arc or circle outline. Width 0 is a hairline (the thinnest line the printer
/// makes).
struct Stroke {
    std::vector<Point> points;
    double width = 0;
    bool closed = false;
    Colour colour = 0;
};

/// A filled polygon: the first ring is the outline, the others are holes (even-odd rule).
struct Area {
    std::vector<std::vector<Point>> rings;
    Colour colour = 0;
};

struct Dot {
    Point at;
    Colour colour = 0;
};

/// A PNG image stretched over a rectangle whose lower-left corner is `at`.
struct Image {
    std::filesystem::path file;
    Point at;
    double width = 0, height = 0;
};

using Element = std::variant<Stroke, Area, Dot, Image>;

struct Drawing {
    std::string title;
    /// Clip rectangle x0, y0, x1, y1; nothing outside it is drawn.
    std::optional<std::array<double, 4>> clip;
    std::vector<Element> elements;
};

/// A drawing that cannot be read: the message names the element (by its index from 0 and its
/// type) and what is wrong with it.
class Drawing_Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Reads a drawing; image file names are taken relative to `base`. Every image file must exist.
Drawing parse_drawing(const nlohmann::json& document, const std::filesystem::path& base);

/// Reads a drawing file (JSON).
Drawing read_drawing(const std::filesystem::path& file);

/// Segments for an arc of `radius` mm over `sweep` radians, so that no chord strays more than
/// 0.01 mm from the arc (at least 2 per quarter turn, at most 1,440 for a whole turn).
int arc_segments(double radius, double sweep);

} // namespace drawing
