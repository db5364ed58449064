#include "png_file.h"

#include <cstdio>
#include <png.h>
#include <stdexcept>

void write_png(const std::filesystem::path& file, int width, int height,
               const std::vector<std::uint8_t>& rgba) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(out);
        throw std::runtime_error("cannot encode " + file.string());
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rgba.data() + std::size_t(y) * std::size_t(width) * 4);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
}
