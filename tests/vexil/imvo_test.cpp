#include "host/imvo.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>

namespace {

// The plain twin of a tiled image: every pixel in a dense vector.
struct Dense {
    int width, height;
    std::uint32_t fill;
    std::vector<std::uint32_t> pixels;
    Dense(int w, int h, std::uint32_t f)
        : width(w), height(h), fill(f), pixels(std::size_t(w) * h, f) {}
    void put(int x, int y, std::uint32_t v) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[std::size_t(y) * width + x] = v;
    }
    std::uint32_t get(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// A row source made from a dense image.
struct Dense_Source : Imvo::RowSource {
    const Dense& dense;
    int bpp;
    Dense_Source(const Dense& d, int b) : dense(d), bpp(b) {}
    int width() const override { return dense.width; }
    int height() const override { return dense.height; }
    int bits_per_pixel() const override { return bpp; }
    void read_row(int y, std::uint8_t* out) const override {
        std::fill(out, out + Imvo::row_bytes(dense.width, bpp), 0);
        for (int x = 0; x < dense.width; ++x) {
            std::uint32_t v = dense.get(x, y);
            if (bpp == 1)
                out[x >> 3] |= std::uint8_t((v & 1) << (7 - (x & 7)));
            else if (bpp == 8)
                out[x] = std::uint8_t(v);
            else
                std::memcpy(out + 4 * x, &v, 4);
        }
    }
};

std::uint32_t mask_for(int bpp) {
    return bpp == 32 ? 0xFFFFFFFFu : (1u << bpp) - 1;
}

int bits_code(int bpp) {
    return bpp == 1 ? 0 : bpp == 8 ? 1 : 3;
}

// Random writes through every operation, compared pixel by pixel and row by row with the dense
// twin. Sizes are not multiples of the tile size, and writes go past the edges.
TEST(TiledImage, MatchesADenseImageUnderRandomWrites) {
    const unsigned seed = 4711;
    std::mt19937 random(seed);
    for (int bpp : {1, 8, 32}) {
        SCOPED_TRACE("bits per pixel " + std::to_string(bpp) + ", seed " + std::to_string(seed));
        const int width = 203, height = 150;
        const std::uint32_t fill = bpp == 1 ? 0 : 0x11223344u & mask_for(bpp);
        Imvo::Image image(width, height, Imvo::DataModel(3, bits_code(bpp), bpp), {fill}, 5);
        ASSERT_TRUE(image.valid());
        Imvo::ImageContext context(image, 1, 4);
        Dense dense(width, height, fill);
        auto coordinate = [&](int limit) { return int(random() % unsigned(limit + 20)) - 10; };
        for (int step = 0; step < 3000; ++step) {
            int op = int(random() % 12);
            int x = coordinate(width), y = coordinate(height);
            std::uint32_t value = random() & mask_for(bpp);
            if (op < 6) {
                if (bpp == 1)
                    context.put1(x, y, value);
                else if (bpp == 8)
                    context.put8(x, y, std::uint8_t(value));
                else
                    context.put32(x, y, value);
                dense.put(x, y, value);
            } else if (op < 9) {
                int count = int(random() % 150);
                Dense row(count, 1, 0);
                for (int i = 0; i < count; ++i)
                    row.put(i, 0, random() & mask_for(bpp));
                std::vector<std::uint8_t> bytes(Imvo::row_bytes(count, bpp) + 1);
                Dense_Source(row, bpp).read_row(0, bytes.data());
                context.putRow(y, x, count, bytes.data());
                for (int i = 0; i < count; ++i)
                    dense.put(x + i, y, row.get(i, 0));
            } else if (op == 11) {
                int count = int(random() % 150);
                context.fillRow(y, x, count, {value});
                for (int i = 0; i < count; ++i)
                    dense.put(x + i, y, value);
            } else if (op == 10) {
                // Released tiles read as the fill again, and come back filled when reused.
                image.release_tile_row(y);
                if (y >= 0 && y < height)
                    for (int r = y - y % image.tile_size();
                         r < std::min(height, y - y % image.tile_size() + image.tile_size()); ++r)
                        for (int c = 0; c < width; ++c)
                            dense.put(c, r, fill);
            } else {
                Dense patch(int(random() % 70) + 1, int(random() % 70) + 1, 0);
                for (auto& p : patch.pixels)
                    p = random() % 3 ? random() & mask_for(bpp) : 0;
                bool transparent = random() % 2;
                image.paste(Dense_Source(patch, bpp), x, y, transparent);
                for (int py = 0; py < patch.height; ++py)
                    for (int px = 0; px < patch.width; ++px)
                        if (!transparent || patch.get(px, py))
                            dense.put(x + px, y + py, patch.get(px, py));
            }
        }
        std::vector<std::uint8_t> row(Imvo::row_bytes(width, bpp)), expected(row.size());
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(image.get(x, y), dense.get(x, y)) << x << ", " << y;
            image.read_row(y, row.data());
            Dense line(width, 1, 0);
            std::copy_n(dense.pixels.begin() + std::ptrdiff_t(y) * width, width,
                        line.pixels.begin());
            Dense_Source(line, bpp).read_row(0, expected.data());
            if (bpp == 1 && width % 8) // bits past the last pixel are not part of the row
                row.back() &= std::uint8_t(0xFF << (8 - width % 8));
            ASSERT_EQ(row, expected) << "row " << y;
        }
    }
}

TEST(TiledImage, UntouchedTilesCostNothing) {
    // An A0 page at 720 dpi in true colour.
    Imvo::Image page(23400, 33100, Imvo::DataModel(3, 3, 32), {0}, 5);
    ASSERT_TRUE(page.valid());
    EXPECT_EQ(page.allocated_bytes(), 0u);
    Imvo::ImageContext context(page, 1, 4);
    context.put32(23399, 33099, 0xFFFFFFFF);
    EXPECT_EQ(page.allocated_bytes(), 64u * 64u * 4u);
    EXPECT_EQ(page.get(0, 0), 0u);
    EXPECT_EQ(page.get(23399, 33099), 0xFFFFFFFFu);
    page.fill();
    EXPECT_EQ(page.allocated_bytes(), 0u);
    EXPECT_EQ(page.get(23399, 33099), 0u);
}

TEST(TiledImage, RefusesWhatItCannotHold) {
    struct Case {
        int width, height, data_type, bits_code, bpp;
    };
    for (auto c : {Case{0, 10, 3, 3, 32}, Case{10, -1, 3, 3, 32}, Case{10, 10, 2, 3, 32},
                   Case{10, 10, 3, 2, 16}, Case{10, 10, 3, 3, 8}}) {
        Imvo::Image image(c.width, c.height, Imvo::DataModel(c.data_type, c.bits_code, c.bpp), {0},
                          5);
        EXPECT_FALSE(image.valid());
        Imvo::ImageContext context(image, 1, 4);
        context.put32(0, 0, 1); // ignored, no crash
        EXPECT_EQ(image.get(0, 0), 0u);
    }
}

} // namespace
