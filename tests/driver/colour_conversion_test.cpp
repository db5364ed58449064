#include "driver/colour_conversion.h"
#include "driver/driver_palette.h"

#include <gtest/gtest.h>

namespace {

// A definition whose configuration holds the given conversion items.
struct Conversion_Fixture : ::testing::Test {
    VX_Smart_Pointer<VX_Std_Plotter_Definition> definition =
        vx_make<VX_Std_Plotter_Definition>(nullptr);
    VX_Smart_Pointer<VX_Custom_Configurations> items = vx_make<VX_Custom_Configurations>();
    VX_Palette palette;

    Conversion_Fixture() {
        auto configuration = vx_make<VX_Std_Plotter_Configuration>();
        configuration->set_custom_configuration(items);
        definition->set_plotter_configuration(configuration);
        fill_driver_palette(palette, 0xFFFFFF, true);
    }
    void item(const std::wstring& key, std::int32_t value) {
        items->add(vx_make<VX_Custom_Config_Item>(key, vx_make<VX_Std_Long_Custom_Data>(value)));
    }
    void slot(int k, bool on, std::uint32_t compare, std::uint32_t swap) {
        item(L"RASTER_ConvertColor" + std::to_wstring(k), on);
        item(L"RASTER_RGB_Compare" + std::to_wstring(k) + L"_IndexColor", std::int32_t(compare));
        item(L"RASTER_RGB_Swap" + std::to_wstring(k) + L"_IndexColor", std::int32_t(swap));
    }
    Colour_Conversion read() {
        Colour_Conversion conversion;
        conversion.read_settings(*definition);
        return conversion;
    }
};

std::array<std::uint8_t, 4> rgb32(const Colour_Conversion& c, std::array<std::uint8_t, 4> pixel) {
    c.convert_rgb32(pixel.data());
    return pixel;
}

TEST(DriverPalette, BackgroundCubeAndGreyRamp) {
    VX_Palette palette;
    ASSERT_TRUE(fill_driver_palette(palette, 0x00332211, true));
    auto entry = [&](int i) {
        VX_Palette::Entry e = palette.get_entry(i);
        return std::vector<int>{e.red, e.green, e.blue, e.alpha};
    };
    EXPECT_EQ(entry(0), (std::vector<int>{0x11, 0x22, 0x33, 255}));
    EXPECT_EQ(entry(1), (std::vector<int>{0, 0, 0, 255}));
    EXPECT_EQ(entry(216), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(entry(217), (std::vector<int>{0, 0, 0, 255}));
    EXPECT_EQ(entry(253), (std::vector<int>{252, 252, 252, 255}));
    EXPECT_EQ(entry(254), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(entry(255), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(palette_image_colours(palette)[0], 0xFF332211u);
}

TEST_F(Conversion_Fixture, NothingToDoLeavesConversionOff) {
    item(L"RASTER_ChangeColor", 1);
    EXPECT_EQ(read().m_change_color, 0) << "no slot items";
    slot(1, false, 0x0000FF, 0x00FF00);
    item(L"RASTER_ConvertColor2", 1); // compare and swap items missing: slot 2 stays off
    EXPECT_EQ(read().m_change_color, 0);
    item(L"RASTER_ChangeColor", 256); // the low byte counts
    slot(1, true, 0x0000FF, 0x00FF00);
    EXPECT_EQ(read().m_change_color, 0);
    item(L"RASTER_ChangeColor", 1);
    Colour_Conversion on = read();
    EXPECT_EQ(on.m_change_color, 1);
    EXPECT_EQ(on.m_convert_color, (std::array<std::int32_t, 3>{1, 0, 0}));
}

TEST_F(Conversion_Fixture, ConvertToBlack) {
    item(L"RASTER_ChangeColor", 1);
    item(L"RASTER_Draw2Black", 1);
    slot(1, true, 0x0000FF, 0x00FF00);
    Colour_Conversion c = read();
    EXPECT_EQ(c.m_convert_color, (std::array<std::int32_t, 3>{0, 0, 0}));
    Index_Colour_Table table{};
    c.prepare_index_table(table, palette, false);
    c.compute_indices(table, palette);
    EXPECT_EQ(c.m_black_index, 1) << "the cube's first colour is black";
    EXPECT_EQ(c.convert_index8(0), 0) << "the background stays";
    EXPECT_EQ(c.convert_index8(200), 1);
    EXPECT_EQ(rgb32(c, {0, 0, 0, 9}), (std::array<std::uint8_t, 4>{255, 255, 255, 9}));
    EXPECT_EQ(rgb32(c, {10, 20, 30, 0}), (std::array<std::uint8_t, 4>{255, 255, 255, 0}));

    for (auto& entry : table)
        entry = {1, 2, 3};
    c.compute_indices(table, palette);
    EXPECT_EQ(c.m_black_index, 1) << "no black entry at all";
}

TEST_F(Conversion_Fixture, SubstitutionsInTheIndexTable) {
    item(L"RASTER_ChangeColor", 1);
    slot(1, true, 0x0000FF, 0x00FF00); // red -> green: green is in the cube
    slot(2, true, 0xFF0000, 0x123456); // blue -> a colour the table lacks
    slot(3, true, 0x010203, 0x000000); // not in the palette: no effect in 8 bits
    Colour_Conversion c = read();
    const int red = 1 + 5 * 36, green = 1 + 5 * 6, blue = 1 + 5;
    Index_Colour_Table table{};
    table[std::size_t(red)] = {7, 7, 7}; // what an earlier picture left there
    c.prepare_index_table(table, palette, false);
    c.compute_indices(table, palette);
    EXPECT_EQ(c.m_compare_index, (std::array<std::int32_t, 3>{red, blue, -1}));
    EXPECT_EQ(c.m_swap_index[0], green) << "the highest entry holding green";
    EXPECT_EQ(c.m_swap_index[1], blue) << "written into the compare entry";
    EXPECT_EQ(table[std::size_t(blue)], (std::array<std::int32_t, 3>{0x56, 0x34, 0x12}));
    EXPECT_EQ(table[std::size_t(red)], (std::array<std::int32_t, 3>{7, 7, 7}))
        << "red's entry was skipped: dots of red print the earlier colour";
    EXPECT_EQ(c.convert_index8(std::uint8_t(red)), green);
    EXPECT_EQ(c.convert_index8(std::uint8_t(blue)), blue);
    EXPECT_EQ(c.convert_index8(3), 3);
    // In 32 bits the third slot still compares: code 0x010203 is red 3, green 2, blue 1, and it
    // prints black.
    EXPECT_EQ(rgb32(c, {3, 2, 1, 0}), (std::array<std::uint8_t, 4>{255, 255, 255, 0}));
}

TEST_F(Conversion_Fixture, ThirtyTwoBitPixelsAfterTheBlackWhiteExchange) {
    item(L"RASTER_ChangeColor", 1);
    slot(1, true, 0x000000, 0xFFFFFF); // black stays black
    slot(2, true, 0xFFFFFF, 0x0000FF); // white paper turns red
    slot(3, true, 0xFFFFFF, 0x00FF00); // same compare colour: slot 2 wins
    Colour_Conversion c = read();
    using Pixel = std::array<std::uint8_t, 4>;
    EXPECT_EQ(rgb32(c, {255, 255, 255, 0}), (Pixel{255, 255, 255, 0})) << "black";
    EXPECT_EQ(rgb32(c, {0, 0, 0, 0}), (Pixel{255, 0, 0, 0})) << "white";
    EXPECT_EQ(rgb32(c, {9, 9, 9, 0}), (Pixel{9, 9, 9, 0}));
}

TEST(IndexTable, GreyDepthsPrintGrey) {
    VX_Palette palette;
    fill_driver_palette(palette, 0xFFFFFF, true);
    Colour_Conversion off;
    Index_Colour_Table table{};
    off.prepare_index_table(table, palette, true);
    const int red = 1 + 5 * 36;
    EXPECT_EQ(table[std::size_t(red)], (std::array<std::int32_t, 3>{76, 76, 76}));
    EXPECT_EQ(table[253], (std::array<std::int32_t, 3>{252, 252, 252}));
    off.prepare_index_table(table, palette, false);
    EXPECT_EQ(table[std::size_t(red)], (std::array<std::int32_t, 3>{255, 0, 0}));
}

} // namespace
