#include "drawing.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <numbers>

namespace drawing {

namespace {

using nlohmann::json;

// Reads one element; `fail` throws with the element named.
class Element_Reader {
public:
    Element_Reader(const json& element, std::size_t index, const std::filesystem::path& base)
        : m_element(element), m_index(index), m_base(base) {}

    /// Appends the element's shapes (a filled circle with a width is an area and a stroke).
    void read(std::vector<Element>& out);

private:
    Element shape(std::vector<Element>& out);
    [[noreturn]] void fail(const std::string& what) const {
        throw Drawing_Error("element " + std::to_string(m_index) + " (" + m_type + "): " + what);
    }
    const json& field(const char* name) const {
        auto found = m_element.find(name);
        if (found == m_element.end())
            fail(std::string("\"") + name + "\" is missing");
        return *found;
    }
    double number(const json& value, const std::string& name) const {
        if (!value.is_number())
            fail("\"" + name + "\" must be a number, not " + value.dump());
        double v = value.get<double>();
        if (!std::isfinite(v) || std::fabs(v) > 100000)
            fail("\"" + name + "\" is out of range (" + value.dump() + ", at most 100000 mm)");
        return v;
    }
    double number(const char* name) const { return number(field(name), name); }
    double positive(const char* name, bool zero_allowed) const {
        double v = number(name);
        if (v < 0 || (v == 0 && !zero_allowed))
            fail(std::string("\"") + name + "\" must be " +
                 (zero_allowed ? "0 or more" : "above 0") + ", not " + field(name).dump());
        return v;
    }
    Point point(const json& value, const std::string& name) const {
        if (!value.is_array() || value.size() != 2)
            fail("\"" + name + "\" must be a point [x, y], not " + value.dump());
        return {number(value[0], name + " x"), number(value[1], name + " y")};
    }
    std::vector<Point> points(const json& value, const std::string& name, std::size_t least) const {
        if (!value.is_array())
            fail("\"" + name + "\" must be a list of points");
        if (value.size() < least)
            fail("\"" + name + "\" has " + std::to_string(value.size()) + " points, at least " +
                 std::to_string(least) + " are needed");
        std::vector<Point> out;
        for (std::size_t i = 0; i < value.size(); ++i)
            out.push_back(point(value[i], name + "[" + std::to_string(i) + "]"));
        return out;
    }
    Colour colour() const {
        auto found = m_element.find("color");
        if (found == m_element.end())
            return 0; // black
        const json& c = *found;
        if (!c.is_array() || c.size() != 3)
            fail("\"color\" must be [red, green, blue] from 0 to 255, not " + c.dump());
        Colour out = 0;
        for (const json& part : c) {
            if (!part.is_number_integer() || part.get<int>() < 0 || part.get<int>() > 255)
                fail("\"color\" must be [red, green, blue] from 0 to 255, not " + c.dump());
            out = out << 8 | Colour(part.get<int>());
        }
        return out;
    }
    double width() const { return m_element.contains("width") ? positive("width", true) : 0.0; }
    bool flag(const char* name) const {
        auto found = m_element.find(name);
        if (found == m_element.end())
            return false;
        if (!found->is_boolean())
            fail(std::string("\"") + name + "\" must be true or false");
        return found->get<bool>();
    }
    // Points of an arc from `start` to `end` degrees, counter-clockwise.
    std::vector<Point> arc(Point centre, double radius, double start, double end) const {
        double sweep = std::fmod(end - start, 360.0);
        if (sweep <= 0)
            sweep += 360;
        sweep *= std::numbers::pi / 180;
        const double first = start * std::numbers::pi / 180;
        const int n = arc_segments(radius, sweep);
        std::vector<Point> out;
        for (int i = 0; i <= n; ++i) {
            double a = first + sweep * i / n;
            out.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
        }
        return out;
    }

    const json& m_element;
    std::size_t m_index;
    const std::filesystem::path& m_base;
    std::string m_type = "?";
};

void Element_Reader::read(std::vector<Element>& out) {
    out.push_back(shape(out));
}

Element Element_Reader::shape(std::vector<Element>& out) {
    if (!m_element.is_object())
        fail("an element must be an object with a \"type\"");
    const json& type = field("type");
    if (!type.is_string())
        fail("\"type\" must be a text");
    m_type = type.get<std::string>();
    if (m_type == "line")
        return Stroke{points(field("points"), "points", 2), width(), false, colour()};
    if (m_type == "polyline") {
        bool closed = flag("closed");
        return Stroke{points(field("points"), "points", closed ? 3 : 2), width(), closed, colour()};
    }
    if (m_type == "polygon") {
        Area area{{points(field("outline"), "outline", 3)}, colour()};
        if (auto holes = m_element.find("holes"); holes != m_element.end()) {
            if (!holes->is_array())
                fail("\"holes\" must be a list of point lists");
            for (std::size_t i = 0; i < holes->size(); ++i)
                area.rings.push_back(points((*holes)[i], "holes[" + std::to_string(i) + "]", 3));
        }
        return area;
    }
    if (m_type == "circle" || m_type == "arc") {
        Point centre = point(field("center"), "center");
        double radius = positive("radius", false);
        bool whole = m_type == "circle";
        double start = whole ? 0 : number("start"), end = whole ? 360 : number("end");
        std::vector<Point> outline = arc(centre, radius, start, end);
        if (whole) {
            outline.pop_back(); // the last point is the first again
            if (flag("fill")) {
                if (!m_element.contains("width"))
                    return Area{{outline}, colour()};
                out.push_back(Area{{outline}, colour()});
            }
        }
        return Stroke{outline, width(), whole, colour()};
    }
    if (m_type == "dot")
        return Dot{point(field("at"), "at"), colour()};
    if (m_type == "image") {
        const json& file = field("file");
        if (!file.is_string() || file.get<std::string>().empty())
            fail("\"file\" must name a PNG file");
        Image image{m_base / file.get<std::string>(), point(field("at"), "at"),
                    positive("width", false), positive("height", false)};
        std::error_code error;
        if (!std::filesystem::is_regular_file(image.file, error))
            fail("image file " + image.file.string() + " does not exist");
        return image;
    }
    fail("unknown type; the types are line, polyline, polygon, circle, arc, dot and image");
}

} // namespace

int arc_segments(double radius, double sweep) {
    const double tolerance = 0.01;
    double step = radius > tolerance ? 2 * std::acos(1 - tolerance / radius) : std::numbers::pi;
    double quarter_turns = sweep / (std::numbers::pi / 2);
    int n = int(std::ceil(sweep / step));
    return std::clamp(n, std::max(2, int(std::ceil(2 * quarter_turns))),
                      std::max(2, int(std::ceil(360 * quarter_turns))));
}

Drawing parse_drawing(const nlohmann::json& document, const std::filesystem::path& base) {
    if (!document.is_object())
        throw Drawing_Error("a drawing must be a JSON object with \"elements\"");
    Drawing out;
    if (auto title = document.find("title"); title != document.end() && title->is_string())
        out.title = title->get<std::string>();
    if (auto clip = document.find("clip"); clip != document.end()) {
        if (!clip->is_array() || clip->size() != 4 ||
            !std::all_of(clip->begin(), clip->end(), [](const json& v) { return v.is_number(); }))
            throw Drawing_Error("\"clip\" must be [x0, y0, x1, y1] in millimetres, not " +
                                clip->dump());
        std::array<double, 4> c;
        for (int i = 0; i < 4; ++i)
            c[std::size_t(i)] = (*clip)[std::size_t(i)].get<double>();
        if (c[0] >= c[2] || c[1] >= c[3])
            throw Drawing_Error("\"clip\" must have x0 < x1 and y0 < y1, not " + clip->dump());
        out.clip = c;
    }
    auto elements = document.find("elements");
    if (elements == document.end() || !elements->is_array())
        throw Drawing_Error("a drawing needs \"elements\", a list");
    for (std::size_t i = 0; i < elements->size(); ++i)
        Element_Reader((*elements)[i], i, base).read(out.elements);
    return out;
}

Drawing read_drawing(const std::filesystem::path& file) {
    // NOTE: the file is read whole and parsed from memory: the parser reads a stream a
    // character at a time, which takes a third longer on a sheet of some megabytes.
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    std::string text(in ? std::size_t(in.tellg()) : 0, '\0');
    if (!in || !in.seekg(0).read(text.data(), std::streamsize(text.size())))
        throw Drawing_Error(file.string() + ": cannot be read");
    nlohmann::json document;
    try {
        document = nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& e) {
        throw Drawing_Error(file.string() + ": not JSON: " + e.what());
    }
    try {
        return parse_drawing(document, file.parent_path());
    } catch (const Drawing_Error& e) {
        throw Drawing_Error(file.string() + ": " + e.what());
    }
}

} // namespace drawing
