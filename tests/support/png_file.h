// Writing small PNG files for tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

/// Writes an 8-bit red, green, blue, alpha PNG of width x height pixels (rows top first).
void write_png(const std::filesystem::path& file, int width, int height,
               const std::vector<std::uint8_t>& rgba);
