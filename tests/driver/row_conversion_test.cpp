#include "driver/colour_conversion.h"
#include "driver/pipeline_p.h"

#include <gtest/gtest.h>

namespace {

using Pixel = std::array<int, 4>;

std::vector<Pixel> convert(const std::vector<std::uint8_t>& row, int bits, bool grey, int width) {
    std::vector<std::uint8_t> out(std::size_t(width) * 4, 0xEE);
    convert_engine_row(row.data(), bits, grey, width, out.data(), index_engine_pixels());
    std::vector<Pixel> pixels;
    for (int x = 0; x < width; ++x)
        pixels.push_back({out[4 * x], out[4 * x + 1], out[4 * x + 2], out[4 * x + 3]});
    return pixels;
}

TEST(RowConversion, TrueColourUndoesTheBlackWhiteExchange) {
    std::vector<std::uint8_t> row = {255, 255, 255, 7, 0, 0, 0, 7, 254, 254, 254, 7, 255, 0, 0, 7};
    EXPECT_EQ(
        convert(row, 24, false, 4),
        (std::vector<Pixel>{{0, 0, 0, 0}, {255, 255, 255, 0}, {254, 254, 254, 0}, {255, 0, 0, 0}}));
    EXPECT_EQ(convert(row, 24, true, 4)[3], (Pixel{76, 76, 76, 0})) << "grey printing";
    EXPECT_EQ(convert(row, 24, true, 4)[2], (Pixel{254, 254, 254, 0}));
}

TEST(RowConversion, BitonalRowsReadTheHighestBitFirst) {
    std::vector<std::uint8_t> row = {128, 0, 0, 1};
    auto pixels = convert(row, 1, false, 32);
    EXPECT_EQ(pixels[0], (Pixel{0, 0, 0, 0}));
    for (int x = 1; x < 31; ++x)
        EXPECT_EQ(pixels[std::size_t(x)], (Pixel{255, 255, 255, 0})) << x;
    EXPECT_EQ(pixels[31], (Pixel{0, 0, 0, 0}));
    auto tail = convert({128, 64}, 1, false, 10); // a width that ends inside a byte
    EXPECT_EQ(tail[0], (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(tail[8], (Pixel{255, 255, 255, 0}));
    EXPECT_EQ(tail[9], (Pixel{0, 0, 0, 0}));
}

TEST(RowConversion, IndexedRowsGoThroughTheColourTable) {
    raster_index_colour_table()[9] = {1, 2, 3};
    raster_index_colour_table()[0] = {255, 255, 255};
    EXPECT_EQ(convert({9, 0}, 8, false, 2), (std::vector<Pixel>{{1, 2, 3, 0}, {255, 255, 255, 0}}));
}

} // namespace
