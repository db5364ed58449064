#include "draw/raster_draw.h"
#include "draw_fixture.h"
#include "host/vx_image.h"
#include "support/thrown_by.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>

namespace {

// An image source whose pixels come from a function of (column, source row, bits per pixel). It
// records every request and checks the busy flag and the hand-back protocol.
struct Fake_Source {
    VX_Image_Source record;
    std::function<std::uint32_t(int x, int y, int bpp)> pixel;
    std::vector<VX_Strip_Request> requests;
    std::vector<std::int32_t> clip_points; ///< of the last request
    std::vector<int> busy_at_fetch;
    int released = 0;
    int fail_at = 0; ///< strip number answered with a failure status (0: none)
    VX_Image_Strip strip;
    std::vector<std::uint8_t> data;

    Fake_Source(int w, int h) {
        record.x1 = w - 1;
        record.y1 = h - 1;
        record.cookie = 77;
        record.user = reinterpret_cast<std::intptr_t>(this);
        record.fetch = [](VX_Strip_Request* q, std::intptr_t user, std::int32_t* cookie) {
            auto* self = reinterpret_cast<Fake_Source*>(user);
            EXPECT_EQ(cookie, &self->record.cookie);
            return self->serve(*q);
        };
        record.release = [](VX_Image_Strip* s, std::intptr_t user, std::int32_t cookie) {
            auto* self = reinterpret_cast<Fake_Source*>(user);
            EXPECT_EQ(s, &self->strip);
            EXPECT_EQ(cookie, 77);
            EXPECT_EQ(self->record.busy, 0) << "busy is cleared before the strip is handed back";
            ++self->released;
        };
    }
    VX_Image_Strip* serve(const VX_Strip_Request& q) {
        requests.push_back(q);
        if (q.clip_points)
            clip_points.assign(q.clip_points, q.clip_points + 2 * q.clip_count);
        busy_at_fetch.push_back(record.busy);
        const int w = q.x1 - q.x0 + 1, n = q.y1 - q.y0 + 1;
        const int bytes = q.bits_per_pixel == 32 ? 4 : 1;
        data.assign(std::size_t(w) * n * bytes, 0);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < w; ++j) {
                std::uint32_t v = pixel(q.x0 + j, q.y1 - i, q.bits_per_pixel);
                std::memcpy(&data[(std::size_t(i) * w + j) * bytes], &v, std::size_t(bytes));
            }
        strip = VX_Image_Strip{data.data(), w * bytes, 0, {0, 0}};
        if (q.strip_number == fail_at)
            strip.status[1] = 3;
        return &strip;
    }
};

struct Image_Source_Fixture : Draw_Fixture {
    // Draws through the shared-image action: the point is the image's top-left corner.
    void draw(Fake_Source& source, int x, int top, const VX_Rendition& r = {}) {
        VX_Shared_Image image;
        image.kind = vx_image_source;
        image.rows = source.record.height();
        image.columns = source.record.width();
        image.source = &source.record;
        reinterpret_cast<VX_Shared_Image_Action>(raster_drawing_routines.shared_image_integer)(
            d, r, {x, top, 0}, image);
    }
};

TEST_F(Image_Source_Fixture, StripsComeTopDownWithinHalfAMegabyte) {
    struct Case {
        int system, width, height;
        bool direct;
        std::vector<std::pair<int, int>> rows; // each request's first and last source row
        int bits;
    };
    const Case cases[] = {
        // 1024 x 4 bytes: 128 rows per strip.
        {1, 1024, 300, false, {{172, 299}, {44, 171}, {0, 43}}, 32},
        {1, 1024, 100, false, {{0, 99}}, 32},
        {1, 1024, 129, true, {{1, 128}, {0, 0}}, 32},
        // 8 bits: 4096 bytes per row, 128 rows.
        {0, 4096, 200, false, {{72, 199}, {0, 71}}, 8},
        // Bitonal on white paper without a clip region: the direct path, one byte per pixel.
        {2, 4096, 130, false, {{2, 129}, {0, 1}}, 2},
    };
    for (const auto& c : cases) {
        page(c.system, 360, 99, 99);
        Fake_Source source(c.width, c.height);
        source.record.direct_write = c.direct;
        source.pixel = [](int, int, int) { return 0u; };
        draw(source, 0, 99);
        ASSERT_EQ(source.requests.size(), c.rows.size()) << c.width << " x " << c.height;
        for (std::size_t k = 0; k < c.rows.size(); ++k) {
            const VX_Strip_Request& q = source.requests[k];
            EXPECT_EQ(std::make_pair(q.y0, q.y1), c.rows[k]) << "strip " << k + 1;
            EXPECT_EQ(std::make_pair(q.area[1], q.area[3]), c.rows[k]);
            EXPECT_EQ(q.x1, c.width - 1);
            EXPECT_EQ(q.strip_number, k + 1);
            EXPECT_EQ(q.strip_count, c.rows.size());
            EXPECT_EQ(q.bits_per_pixel, c.bits);
            EXPECT_EQ(q.key[2], 87);
            EXPECT_EQ(source.busy_at_fetch[k], 1);
        }
        EXPECT_EQ(source.released, int(c.rows.size()));
        EXPECT_EQ(source.record.busy, 0);
    }
}

TEST_F(Image_Source_Fixture, EachDrawingTakesANewSerialPalettesTwo) {
    struct Case {
        int system;
        int step;
    };
    for (const Case c : {Case{1, 1}, Case{0, 2}, Case{2, 2}}) {
        page(c.system, 360, 9, 9);
        d->m_request_serial = -1; // the next serial skips 0
        Fake_Source source(2, 2);
        source.pixel = [](int, int, int) { return 0u; };
        draw(source, 0, 9);
        draw(source, 0, 9);
        ASSERT_EQ(source.requests.size(), 2u);
        EXPECT_EQ(source.requests[0].serial, c.step == 1 ? 1 : 2) << c.system;
        EXPECT_EQ(source.requests[1].serial - source.requests[0].serial, c.step) << c.system;
    }
}

TEST_F(Image_Source_Fixture, ImagesArePlacedByTheirTopLeftCorner) {
    // A 3 x 2 source: the top row (source row 1) is red, the bottom row blue.
    for (bool direct : {false, true}) {
        page(1, 360, 9, 9);
        Fake_Source source(3, 2);
        source.record.direct_write = direct;
        source.pixel = [](int, int y, int) { return y == 1 ? 0xFF0000FFu : 0xFFFF0000u; };
        draw(source, 4, 7); // top-left at device (4, 7): page row 2
        EXPECT_EQ(at(4, 2), 0xFF0000FFu) << direct;
        EXPECT_EQ(at(6, 3), 0xFFFF0000u) << direct;
        EXPECT_EQ(drawn().size(), 6u) << direct;
    }
}

TEST_F(Image_Source_Fixture, DirectTrueColourLeavesKeyAndTransparentPixels) {
    page(1, 360, 9, 9);
    d->m_raster.put_colour(0, 9, 0x11223344);
    d->m_raster.put_colour(1, 9, 0x11223344);
    Fake_Source source(4, 1);
    source.record.direct_write = 1;
    const std::uint32_t pixels[] = {0xFF574E2A, 0x00123456, 0xFF000000, 0x80FFFFFF};
    source.pixel = [&](int x, int, int) { return pixels[x]; };
    draw(source, 0, 0);
    EXPECT_EQ(at(0, 9), 0x11223344u) << "the key colour leaves the page pixel";
    EXPECT_EQ(at(1, 9), 0x11223344u) << "a zero top byte leaves the page pixel";
    EXPECT_EQ(at(2, 9), 0xFFFFFFFFu) << "black is stored as white";
    EXPECT_EQ(at(3, 9), 0x80000000u) << "white is stored as black";
    const VX_Strip_Request& q = source.requests.at(0);
    EXPECT_EQ(q.key[0], 0x2A);
    EXPECT_EQ(q.key[1], 0x4E);
    EXPECT_EQ(q.key[2], 0x57);
    EXPECT_EQ(q.pixel_type, 3);
}

TEST_F(Image_Source_Fixture, PaletteStripsArePastedTransparently) {
    page(0, 360, 9, 9);
    d->m_raster.put_index(0, 9, 5);
    Fake_Source source(3, 1);
    source.pixel = [](int x, int, int) { return std::uint32_t(x == 0 ? 0 : 10 + x); };
    VX_Rendition r;
    r.color = 0xFF00002A;
    draw(source, 0, 0, r);
    EXPECT_EQ(at(0, 9), 5u) << "index 0 leaves the page";
    EXPECT_EQ(at(1, 9), 11u);
    EXPECT_EQ(at(2, 9), 12u);
    const VX_Strip_Request& q = source.requests.at(0);
    EXPECT_EQ(q.bits_per_pixel, 8);
    EXPECT_EQ(q.foreground[0], 0x2A) << "the rendition's palette index";
    EXPECT_EQ(q.key[0] | q.key[1] << 8, 254);
    EXPECT_NE(q.colours, nullptr);
}

TEST_F(Image_Source_Fixture, BitonalDirectBytesAndScratchBits) {
    struct Case {
        std::uint32_t background;
        bool clip;
        int bits, light, dark;
    };
    const Case cases[] = {
        {0xFFFFFFFF, false, 2, 2, 1},
        {0xFF000000, false, 2, 1, 2},
        {0xFF000000, true, 2, 1, 2},
        {0xFFFFFFFF, true, 1, 0, 1},
    };
    for (const auto& c : cases) {
        page(2, 360, 15, 9, c.background);
        d->m_raster.put_bit(3, 9, 1);
        d->m_raster.put_bit(1, 9, 1);
        Fake_Source source(8, 1);
        // Direct path bytes: 1 inks, 2 and 3 clear, others leave the page. Scratch path: a
        // packed byte 0b10100000.
        const std::uint32_t bytes[] = {1, 2, 0, 3, 1, 7, 0, 0};
        source.pixel = [&](int x, int, int bpp) {
            return bpp == 1 ? (x == 0 ? 0xA0u : 0) : bytes[x];
        };
        VX_Rendition r;
        if (c.clip) {
            r.clip_region = vx_make<VX_Contour_Set_Data>();
            r.clip_region->contours = {{{-0.4f, 0.6f, 0}, {20, 0, 0}, {20, 20, 0}}};
        }
        draw(source, 0, 0, r);
        const VX_Strip_Request& q = source.requests.at(0);
        ASSERT_EQ(q.bits_per_pixel, c.bits);
        if (c.bits == 2) {
            EXPECT_EQ(q.background[0], c.light);
            EXPECT_EQ(q.foreground[0], c.dark);
            EXPECT_EQ((std::vector<std::uint32_t>{at(0, 9), at(1, 9), at(2, 9), at(3, 9), at(4, 9),
                                                  at(5, 9)}),
                      (std::vector<std::uint32_t>{1, 0, 0, 0, 1, 0}));
        } else {
            EXPECT_EQ(at(0, 9), 1u);
            EXPECT_EQ(at(2, 9), 1u);
            EXPECT_EQ(at(1, 9), 0u) << "the scratch image replaces the page bits";
        }
        if (c.clip) {
            ASSERT_EQ(q.clip_count, 3);
            EXPECT_EQ(source.clip_points, (std::vector<std::int32_t>{0, 1, 20, 0, 20, 20}))
                << "rounded";
        } else {
            EXPECT_EQ(q.clip_points, nullptr);
        }
    }
}

TEST_F(Image_Source_Fixture, EndsEarlyOnAFailedStripOrCancellation) {
    page(1, 360, 9, 9);
    Fake_Source failing(1024, 300);
    failing.fail_at = 2;
    failing.pixel = [](int, int, int) { return 0xFF0000FFu; };
    draw(failing, 0, 299);
    EXPECT_EQ(failing.requests.size(), 2u) << "nothing after the failed strip";
    EXPECT_EQ(failing.released, 2) << "the failed strip is handed back too";
    EXPECT_EQ(failing.record.busy, 0);

    page(1, 360, 9, 9);
    Fake_Source cancelling(1024, 300);
    cancelling.pixel = [&](int, int, int) {
        d->m_plot_monitor->cancel();
        return 0u;
    };
    d->m_plot_monitor = vx_make<VX_Plot_Monitor>();
    draw(cancelling, 0, 299);
    EXPECT_EQ(cancelling.requests.size(), 1u);
    EXPECT_EQ(cancelling.released, 1);
    EXPECT_EQ(d->m_raster.image(), nullptr) << "a cancelled plot releases the page image";
}

TEST_F(Image_Source_Fixture, InvalidColourSystemThrows) {
    page(1, 360, 9, 9);
    d->m_color_system = 5;
    Fake_Source source(2, 2);
    VX_Exception e = thrown_by([&] { draw(source, 0, 9); });
    EXPECT_EQ(e.level(), 4) << "a severe error";
    EXPECT_EQ(e.message_id(), 102);
    EXPECT_EQ(e.routine(), "raster_plotter_draw_dci_ism_image");
    EXPECT_TRUE(source.requests.empty());
}

} // namespace
