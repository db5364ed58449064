// Writes the A0 benchmark sheet into a folder, twice: as a vxplot drawing (sheet.json, with its
// image image.png) and as the equivalent PostScript vector page (sheet.ps) for Ghostscript, so
// that bench/compare can time both on the same drawing.
#include "cad_sheet.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <png.h>

namespace {

using nlohmann::json;

constexpr double width = 826, height = 1167; // the printable area of the sheet, mm

json colour(drawing::Colour c) {
    return {int(c >> 16), int((c >> 8) & 0xFF), int(c & 0xFF)};
}

json points(const std::vector<drawing::Point>& ps) {
    json out = json::array();
    for (const auto& p : ps)
        out.push_back({p.x, p.y});
    return out;
}

struct To_Json {
    json operator()(const drawing::Stroke& s) const {
        return {{"type", "polyline"},
                {"points", points(s.points)},
                {"closed", s.closed},
                {"width", s.width},
                {"color", colour(s.colour)}};
    }
    json operator()(const drawing::Area& a) const {
        json holes = json::array();
        for (std::size_t i = 1; i < a.rings.size(); ++i)
            holes.push_back(points(a.rings[i]));
        return {{"type", "polygon"},
                {"outline", points(a.rings[0])},
                {"holes", holes},
                {"color", colour(a.colour)}};
    }
    json operator()(const drawing::Dot& d) const {
        return {{"type", "dot"}, {"at", {d.at.x, d.at.y}}, {"color", colour(d.colour)}};
    }
    json operator()(const drawing::Image& i) const {
        return {{"type", "image"},
                {"file", i.file.filename().string()},
                {"at", {i.at.x, i.at.y}},
                {"width", i.width},
                {"height", i.height}};
    }
};

void set_colour(std::ostream& ps, drawing::Colour c) {
    ps << (c >> 16) / 255.0 << ' ' << ((c >> 8) & 0xFF) / 255.0 << ' ' << (c & 0xFF) / 255.0
       << " setrgbcolor\n";
}

void path(std::ostream& ps, const std::vector<drawing::Point>& ring, bool closed) {
    for (std::size_t i = 0; i < ring.size(); ++i)
        ps << ring[i].x << ' ' << ring[i].y << (i == 0 ? " moveto\n" : " lineto\n");
    if (closed)
        ps << "closepath\n";
}

// The PNG's pixels as hexadecimal red, green, blue, for colorimage.
bool write_image(std::ostream& ps, const drawing::Image& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, image.file.c_str()))
        return false;
    png.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr))
        return false;
    ps << "gsave " << image.at.x << ' ' << image.at.y << " translate " << image.width << ' '
       << image.height << " scale\n"
       << png.width << ' ' << png.height << " 8 [" << png.width << " 0 0 -" << png.height << " 0 "
       << png.height << "] currentfile /ASCIIHexDecode filter false 3 colorimage\n";
    static const char digits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        ps << digits[pixels[i] >> 4] << digits[pixels[i] & 15];
        if (i % 39 == 38)
            ps << '\n';
    }
    ps << ">\ngrestore\n";
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_cad_sheet FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const drawing::Drawing sheet = cad_sheet(width, height, folder / "image.png");

    json elements = json::array();
    for (const auto& e : sheet.elements)
        elements.push_back(std::visit(To_Json{}, e));
    std::ofstream(folder / "sheet.json") << json{{"title", sheet.title}, {"elements", elements}};

    std::ofstream ps(folder / "sheet.ps");
    ps << "%!PS-Adobe-3.0\n<< /PageSize [" << width * 72 / 25.4 << ' ' << height * 72 / 25.4
       << "] >> setpagedevice\n72 25.4 div dup scale 1 setlinecap 1 setlinejoin\n";
    for (const auto& e : sheet.elements) {
        if (const auto* s = std::get_if<drawing::Stroke>(&e)) {
            set_colour(ps, s->colour);
            ps << s->width << " setlinewidth newpath\n";
            path(ps, s->points, s->closed);
            ps << "stroke\n";
        } else if (const auto* a = std::get_if<drawing::Area>(&e)) {
            set_colour(ps, a->colour);
            ps << "newpath\n";
            for (const auto& ring : a->rings)
                path(ps, ring, true);
            ps << "eofill\n";
        } else if (const auto* d = std::get_if<drawing::Dot>(&e)) {
            set_colour(ps, d->colour);
            ps << d->at.x << ' ' << d->at.y << " 0.0353 0.0353 rectfill\n";
        } else if (const auto* i = std::get_if<drawing::Image>(&e)) {
            if (!write_image(ps, *i)) {
                std::cerr << "make_cad_sheet: cannot read " << i->file << "\n";
                return 1;
            }
        }
    }
    ps << "showpage\n";
    return ps ? 0 : 1;
}
