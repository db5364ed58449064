#include "driver/raster_buffer.h"

#include <gtest/gtest.h>

namespace {

TEST(RasterBuffer, ANewImageIsBlankPaperInEverySystem) {
    struct Case {
        const char* name;
        int pixel_type; // -1: palette image
        std::size_t row_bytes;
    };
    std::array<std::uint32_t, 256> colours{};
    colours[0] = 0xFF0000FF;
    for (auto c : {Case{"bitonal", 0, 13}, Case{"palette", -1, 100}, Case{"true colour", 3, 400}}) {
        SCOPED_TRACE(c.name);
        Raster_Buffer buffer;
        if (c.pixel_type < 0)
            buffer.create_palette_image(100, 30, colours);
        else
            buffer.create(100, 30, c.pixel_type, 3);
        ASSERT_TRUE(buffer.image() && buffer.image()->valid() && buffer.context());
        EXPECT_EQ(buffer.width(), 100);
        EXPECT_EQ(buffer.height(), 30);
        std::vector<std::uint8_t> row(c.row_bytes, 0xAA);
        buffer.image()->read_row(29, row.data());
        EXPECT_EQ(row, std::vector<std::uint8_t>(c.row_bytes, 0));
    }
}

TEST(RasterBuffer, RunsWriteTheirPixelsAndClearingBlanksThePage) {
    Raster_Buffer buffer;
    buffer.create(70, 5, 3, 3);
    const std::uint32_t colours[] = {0x010203, 0x040506, 0x070809};
    buffer.put_colour_run(62, 4, 3, colours); // crosses a tile edge
    EXPECT_EQ(buffer.image()->get(63, 4), 0x040506u);
    EXPECT_EQ(buffer.image()->get(64, 4), 0x070809u);
    buffer.clear();
    EXPECT_EQ(buffer.image()->get(64, 4), 0u);
    EXPECT_EQ(buffer.image()->allocated_bytes(), 0u);

    std::array<std::uint32_t, 256> palette{};
    buffer.create_palette_image(10, 2, palette);
    const std::uint8_t indices[] = {7, 8, 9};
    buffer.put_index_run(8, 1, 3, indices); // the last one falls off the page
    EXPECT_EQ(buffer.image()->get(8, 1), 7u);
    EXPECT_EQ(buffer.image()->get(9, 1), 8u);
    buffer.put_bit(0, 0, 1); // wrong format for this image: ignored
    EXPECT_EQ(buffer.image()->get(0, 0), 0u);
}

TEST(RasterBuffer, ReleaseAndRecreate) {
    Raster_Buffer buffer;
    buffer.release();           // empty: nothing happens
    buffer.put_colour(0, 0, 1); // no image: ignored
    buffer.create(10, 10, 0, 3);
    buffer.put_bit(3, 3, 1);
    Imvo::Image* first = buffer.image();
    buffer.create(20, 20, 0, 3);
    EXPECT_NE(buffer.image(), nullptr);
    EXPECT_EQ(buffer.image()->get(3, 3), 0u) << "a new image, not the old one";
    EXPECT_EQ(buffer.width(), 20);
    (void)first;
    buffer.release();
    EXPECT_EQ(buffer.image(), nullptr);
    EXPECT_EQ(buffer.context(), nullptr);
}

} // namespace
