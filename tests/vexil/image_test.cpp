#include "host/vx_image.h"
#include "support/png_file.h"
#include "support/thrown_by.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

struct Png_Fixture : ::testing::Test {
    fs::path dir =
        fs::temp_directory_path() /
        ("vx_image_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    Png_Fixture() { fs::create_directories(dir); }
    ~Png_Fixture() override { fs::remove_all(dir); }

    // 3 x 2: top row black, red, transparent; bottom row white, grey (100), half-transparent blue.
    fs::path sample() {
        fs::path file = dir / "sample.png";
        write_png(file, 3, 2, {0,   0,   0,   255, 255, 0,   0,   255, 9, 9, 9,   0, //
                               255, 255, 255, 255, 100, 100, 100, 255, 0, 0, 255, 128});
        return file;
    }
    static VX_Strip_Request request(int bpp, int low, int high) {
        VX_Strip_Request q;
        q.x1 = 2;
        q.y0 = low;
        q.y1 = high;
        q.bits_per_pixel = std::uint16_t(bpp);
        return q;
    }
    static std::vector<std::uint8_t> strip_bytes(VX_Png_Image& png, VX_Strip_Request q, int rows) {
        VX_Image_Source& s = png.source();
        VX_Image_Strip* strip = s.fetch(&q, s.user, &s.cookie);
        EXPECT_NE(strip, nullptr);
        if (!strip)
            return {};
        EXPECT_EQ(png.strips_out(), 1);
        std::vector<std::uint8_t> bytes;
        if (strip->status[0] == 0)
            bytes.assign(strip->data, strip->data + std::size_t(strip->stride) * rows);
        else
            bytes = {0xEE};
        s.release(strip, s.user, s.cookie);
        EXPECT_EQ(png.strips_out(), 0);
        return bytes;
    }
};

TEST_F(Png_Fixture, StripsComeAtTheRequestedDepthTopRowFirst) {
    VX_Png_Image png(sample().string());
    ASSERT_EQ(png.width(), 3);
    ASSERT_EQ(png.height(), 2);
    EXPECT_EQ(png.source().height(), 2);

    VX_Strip_Request true_colour = request(32, 0, 1);
    true_colour.background[0] = true_colour.background[1] = true_colour.background[2] = 255;
    std::uint8_t colours[256 * 3] = {};
    colours[3 * 1 + 0] = 250;                                           // index 1: near red
    colours[3 * 2 + 0] = colours[3 * 2 + 1] = colours[3 * 2 + 2] = 255; // index 2: white
    VX_Strip_Request palette = request(8, 0, 1);
    palette.colours = colours;
    VX_Strip_Request two_bit = request(2, 1, 1); // the top row only
    two_bit.background[0] = 2;
    two_bit.foreground[0] = 1;

    struct Case {
        const char* what;
        VX_Strip_Request q;
        int rows;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"32 bits", true_colour, 2, {0,   0,   0,   255, 255, 0,   0,   255, 255, 255, 255, 0, //
                                     255, 255, 255, 255, 100, 100, 100, 255, 127, 127, 255, 255}},
        {"8 bits", palette, 2, {0, 1, 0, 2, 0, 2}},
        {"2 bits", two_bit, 1, {1, 1, 0}},
        {"1 bit", request(1, 0, 1), 2, {0xC0, 0x40}},
        {"rows outside the image", request(32, 1, 2), 1, {0xEE}},
        {"a depth not offered", request(16, 0, 1), 1, {0xEE}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(strip_bytes(png, c.q, c.rows), c.bytes) << c.what;
}

TEST_F(Png_Fixture, OneStripAtATime) {
    VX_Png_Image png(sample().string());
    VX_Image_Source& s = png.source();
    VX_Strip_Request q = request(32, 0, 0);
    VX_Image_Strip* first = s.fetch(&q, s.user, &s.cookie);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(s.fetch(&q, s.user, &s.cookie), nullptr) << "the first strip is still out";
    s.release(first, s.user, s.cookie);
    EXPECT_NE(s.fetch(&q, s.user, &s.cookie), nullptr);
}

TEST_F(Png_Fixture, UnreadableFilesNameTheFileAndTheFault) {
    const fs::path text = dir / "text.png", cut = dir / "cut.png";
    std::ofstream(text) << "not an image";
    const std::string whole = [&] {
        std::ifstream in(sample(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    std::ofstream(cut, std::ios::binary) << whole.substr(0, whole.size() / 2);
    struct Case {
        fs::path file;
        const char* fault;
    };
    for (const Case& c : {Case{dir / "missing.png", "No such file"}, Case{text, "not a PNG"},
                          Case{cut, "damaged"}}) {
        VX_Exception e = thrown_by([&] { VX_Png_Image png(c.file.string()); });
        EXPECT_EQ(e.message_id(), vx_msg_image_unreadable);
        EXPECT_NE(e.detail().find(c.file.string()), std::string::npos) << e.detail();
        EXPECT_NE(e.detail().find(c.fault), std::string::npos) << e.detail();
    }
}

// A device whose image actions record what they were given.
struct Recorded {
    int action = 0;
    VX_DCI_Point first, second;
    std::int32_t stride = 0, format = 0;
    std::vector<std::uint8_t> data;
};
Recorded recorded;

template <int Action>
void record_image(VX_Renderer_Data*, const VX_Rendition&, const VX_DCI_Point& first,
                  const VX_DCI_Point& second, std::int32_t stride, const std::uint8_t* data) {
    int rows = first.y - second.y + 1;
    recorded = {Action, first, second, stride, 0, {data, data + std::size_t(stride) * rows}};
}
void record_bits(VX_Renderer_Data* device, const VX_Rendition& r, const VX_DCI_Point& first,
                 const VX_DCI_Point& second, std::int32_t stride, const std::uint8_t* data,
                 const std::int32_t* format) {
    record_image<vx_action_bitonal_image>(device, r, first, second, stride, data);
    recorded.format = *format;
}

TEST(Standard_Image, ConvertsToTheImageActionOfTheColourSystem) {
    VX_Smart_Pointer<VX_Renderer_Data> device(new VX_Renderer_Data);
    auto palette = vx_make<VX_Palette>();
    palette->set_entry(0, {255, 255, 255, 255});
    palette->set_entry(1, {0, 0, 0, 255});
    palette->set_entry(2, {200, 0, 0, 255});
    device->renderer_options().palette = palette;
    auto* raw = device.get();
    raw->actions().set(
        vx_action_rgb32_image,
        {raw, reinterpret_cast<void (*)()>(&record_image<vx_action_rgb32_image>), 0, true});
    raw->actions().set(
        vx_action_index8_image,
        {raw, reinterpret_cast<void (*)()>(&record_image<vx_action_index8_image>), 0, true});
    raw->actions().set(vx_action_bitonal_image,
                       {raw, reinterpret_cast<void (*)()>(&record_bits), 0, true});

    // Two pixels, 0xAARRGGBB: red and white.
    const std::uint32_t argb[] = {0xFFF00000, 0xFFFFFFFF};
    VX_Shared_Image rgb;
    rgb.columns = 2;
    rgb.rows = 1;
    rgb.stride = 8;
    rgb.pixels = reinterpret_cast<const std::uint8_t*>(argb);
    const std::uint8_t indices[] = {1, 2};
    VX_Shared_Image index8 = rgb;
    index8.kind = vx_image_index8;
    index8.stride = 2;
    index8.pixels = indices;

    struct Case {
        const char* what;
        int system, format;
        const VX_Shared_Image& image;
        int action;
        std::vector<std::uint8_t> data;
    };
    const Case cases[] = {
        {"true colour as it is",
         1,
         0,
         rgb,
         vx_action_rgb32_image,
         {0x00, 0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"palette image to true colour",
         1,
         0,
         index8,
         vx_action_rgb32_image,
         {0, 0, 0, 0xFF, 0, 0, 200, 0xFF}},
        {"nearest palette colour", 0, 0, rgb, vx_action_index8_image, {2, 0}},
        {"palette indices as they are", 0, 0, index8, vx_action_index8_image, {1, 2}},
        {"dark pixels set with format 3", 2, 3, rgb, vx_action_bitonal_image, {0x80}},
        {"light pixels set with format 1", 2, 1, rgb, vx_action_bitonal_image, {0x40}},
    };
    for (const auto& c : cases) {
        raw->device_options().color_system = c.system;
        raw->device_options().bitonal_format = c.format;
        recorded = {};
        VD_Standard_Draw_DCI_Image(raw, {}, {10, 20, 0}, c.image);
        EXPECT_EQ(recorded.action, c.action) << c.what;
        EXPECT_EQ(recorded.data, c.data) << c.what;
        EXPECT_EQ(recorded.first.x, 10);
        EXPECT_EQ(recorded.second.x, 11);
        EXPECT_EQ(recorded.second.y, 20) << "one row: both corners on the same row";
        if (c.system == 2) {
            EXPECT_EQ(recorded.format, c.format);
        }
    }
}

} // namespace
