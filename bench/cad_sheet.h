// A CAD-like A0 sheet for the benchmarks: border and title block, 20,000 line segments 0.25 to
// 0.7 mm wide in five colours, 1,500 solid and 500 hatched polygons, 300 circles and one
// 1000 x 1000 RGB image, laid out from a fixed seed so every run draws the same sheet.
#pragma once

#include "drawing.h"

#include <filesystem>

/// The sheet on a printable area of width x height mm; the image is written to `image_file`
/// (a PNG of 1000 x 1000 pixels placed at 1000 device points wide at 720 dpi).
drawing::Drawing cad_sheet(double width, double height, const std::filesystem::path& image_file);
