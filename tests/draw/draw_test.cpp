#include "draw/raster_draw.h"
#include "draw_fixture.h"
#include "host/vx_render.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <random>

namespace {

using Cells = std::vector<std::pair<int, int>>;

TEST_F(Draw_Fixture, DotsLandOnTheFlippedRowOrAreDropped) {
    struct Case {
        int x, y;
        Cells cells;
    };
    const Case cases[] = {
        {0, 0, {{0, 9}}}, {19, 9, {{19, 0}}}, {5, 3, {{5, 6}}},
        {20, 0, {}},      {-1, 0, {}},        {0, 10, {}},
    };
    for (const auto& c : cases) {
        page(0, 360, 19, 9);
        dot(c.x, c.y, 7);
        EXPECT_EQ(drawn(), c.cells) << c.x << ", " << c.y;
    }
}

TEST_F(Draw_Fixture, DotBlocksAbove400Dpi) {
    auto block = [](int x0, int r0, int size) {
        Cells cells;
        for (int r = r0; r < r0 + size; ++r)
            for (int x = x0; x < x0 + size; ++x)
                cells.emplace_back(x, r);
        return cells;
    };
    struct Case {
        int dpi, x, y;
        Cells cells;
    };
    const Case cases[] = {
        {720, 0, 0, block(0, 6, 4)},   // the last four rows, columns 0 to 3
        {720, 5, 5, block(4, 2, 4)},   // device points 4..7 both ways
        {720, 19, 9, block(16, 0, 4)}, // clamped into the page
        {720, 30, -5, block(16, 6, 4)}, {500, 0, 0, block(0, 8, 2)},
        {500, 19, 9, block(18, 0, 2)},  {400, 5, 5, {{5, 4}}}, // 400 dpi keeps the single-pixel dot
    };
    for (const auto& c : cases) {
        page(0, c.dpi, 19, 9);
        dot(c.x, c.y, 7);
        EXPECT_EQ(drawn(), c.cells) << c.dpi << " dpi at " << c.x << ", " << c.y;
    }
}

TEST_F(Draw_Fixture, DotColoursByColourSystem) {
    struct Case {
        int system;
        std::uint32_t background, color, stored;
    };
    const Case cases[] = {
        {1, 0xFFFFFFFF, 0x00FFFFFF, 0x00000000u}, // white is stored as black
        {1, 0xFFFFFFFF, 0x7F000000, 0x7FFFFFFFu}, // black as white, the fourth byte kept
        {1, 0xFFFFFFFF, 0x00102030, 0x00302010u}, // bytes 30 20 10 00 stored as 10 20 30 00
        {0, 0xFFFFFFFF, 0x12345678, 0x78u},       // the palette index
        {2, 0xFFFFFFFF, 0x00000000, 1u},          // white background: only black prints
        {2, 0xFFFFFFFF, 0x00FF0000, 0u},
        {2, 0xFF000000, 0x00FF0000, 1u}, // black background: every other colour
        {2, 0xFF000000, 0x00000000, 0u},
    };
    for (const auto& c : cases) {
        page(c.system, 360, 3, 3, c.background);
        dot(1, 1, c.color);
        EXPECT_EQ(at(1, 2), c.stored) << "system " << c.system << " colour " << std::hex << c.color;
    }
}

TEST_F(Draw_Fixture, ClipRegionsLeaveCellsOut) {
    VX_Rendition clipped;
    clipped.clip_region = vx_make<VX_Contour_Set_Data>();
    clipped.clip_region->contours = {{{-0.5f, -0.5f, 0},
                                      {5.5f, -0.5f, 0},
                                      {5.5f, 1.5f, 0},
                                      {-0.5f, 1.5f, 0}}}; // device x 0..5, y 0..1
    page(0, 360, 19, 9);
    dot(3, 1, 7, clipped);
    dot(3, 2, 7, clipped);
    EXPECT_EQ(drawn(), (Cells{{3, 8}}));
    page(0, 720, 19, 9);
    dot(0, 0, 7, clipped);
    EXPECT_EQ(drawn(), (Cells{{0, 8}, {1, 8}, {2, 8}, {3, 8}, {0, 9}, {1, 9}, {2, 9}, {3, 9}}))
        << "only the block's rows inside the region (device y 0 and 1)";
}

TEST_F(Draw_Fixture, ImagesStartAtTheFirstCorner) {
    page(0, 360, 9, 9);
    const std::uint8_t data[] = {1, 2, 3, 4, 5, 6};
    auto image = reinterpret_cast<VX_Image_Action>(raster_drawing_routines.index8_image);
    image(d, {}, {8, 9, 0}, {10, 8, 0}, 3, data); // the second corner lies outside
    EXPECT_EQ(drawn(), (Cells{{8, 0}, {9, 0}, {8, 1}, {9, 1}}));
    EXPECT_EQ(at(8, 0), 1u) << "the first source row is the top row";
    EXPECT_EQ(at(9, 1), 5u);
    page(0, 360, 9, 9);
    image(d, {}, {10, 9, 0}, {8, 8, 0}, 3, data);
    EXPECT_TRUE(drawn().empty()) << "a first corner outside the page drops the image";
}

TEST_F(Draw_Fixture, EightBitImagesConvertToBlack) {
    page(0, 360, 3, 0);
    d->m_conversion.m_change_color = 1;
    d->m_conversion.m_draw_to_black = 1;
    d->m_conversion.m_black_index = 9;
    const std::uint8_t data[] = {0, 5, 200, 0};
    reinterpret_cast<VX_Image_Action>(raster_drawing_routines.index8_image)(d, {}, {0, 0, 0},
                                                                            {3, 0, 0}, 4, data);
    EXPECT_EQ(std::vector<std::uint32_t>({at(0, 0), at(1, 0), at(2, 0), at(3, 0)}),
              std::vector<std::uint32_t>({0, 9, 9, 0}));
}

TEST_F(Draw_Fixture, ThirtyTwoBitImagesSwapRedAndBlue) {
    page(1, 360, 3, 1);
    const std::uint8_t data[] = {0x10, 0x20, 0x30, 0x40, 255, 255, 255, 0,  0,  0, 0,
                                 0,    9,    9,    9,    9,   1,   2,   3,  4,  5, 6,
                                 7,    8,    9,    10,   11,  12,  13,  14, 15, 16};
    reinterpret_cast<VX_Image_Action>(raster_drawing_routines.rgb32_image)(d, {}, {0, 1, 0},
                                                                           {3, 0, 0}, 16, data);
    EXPECT_EQ(at(0, 0), 0x40102030u) << "bytes 30 20 10 40";
    EXPECT_EQ(at(1, 0), 0u) << "white";
    EXPECT_EQ(at(2, 0), 0x00FFFFFFu) << "black";
    EXPECT_EQ(at(0, 1), 0x04010203u);
}

TEST_F(Draw_Fixture, BitonalImagesOfTheOtherFormatAreInverted) {
    page(2, 360, 7, 1); // white background: format 3
    const std::uint8_t data[] = {0xF0, 0x0F};
    auto bitonal = reinterpret_cast<VX_Bitonal_Action>(raster_drawing_routines.bitonal_image);
    std::int32_t same = 3, other = 1;
    bitonal(d, {}, {0, 1, 0}, {7, 0, 0}, 1, data, &same);
    EXPECT_EQ(at(0, 0), 1u);
    EXPECT_EQ(at(4, 0), 0u);
    EXPECT_EQ(at(4, 1), 1u);
    d->actions().set(vx_action_bitonal_image, {d, raster_drawing_routines.bitonal_image, 0, true});
    bitonal(d, {}, {0, 1, 0}, {7, 0, 0}, 1, data, &other);
    EXPECT_EQ(at(0, 0), 0u) << "drawn again through the standard routine, inverted";
    EXPECT_EQ(at(4, 0), 1u);
}

TEST_F(Draw_Fixture, CancelledPlotsAndClearing) {
    page(1, 360, 3, 3);
    auto clear = reinterpret_cast<VX_Clear_Action>(raster_drawing_routines.clear_page);
    dot(1, 1, 0x123456);
    clear(d);
    EXPECT_TRUE(drawn().empty());
    d->m_plot_monitor = vx_make<VX_Plot_Monitor>();
    d->m_plot_monitor->cancel();
    dot(1, 1, 0x123456);
    EXPECT_EQ(d->m_raster.image(), nullptr) << "a cancelled plot releases the page image";
    clear(d); // no page image: nothing happens
    d->m_color_system = 5;
    EXPECT_THROW(clear(d), VX_Severe_Error);
    d->m_plot_monitor.reset();
    page(1, 360, 3, 3);
    d->m_color_system = 5;
    try {
        dot(1, 1, 0);
        ADD_FAILURE() << "no error for colour system 5";
    } catch (const VX_Exception& e) {
        EXPECT_EQ(e.message_id(), 102);
        EXPECT_EQ(e.routine(), "raster_plotter_draw_dci_dot");
    }
}

} // namespace

namespace {

// Is lattice point (x, y) inside or on the triangle? Exact integer orientation tests.
bool in_triangle(const VX_DCI_Point* t, std::int64_t x, std::int64_t y) {
    auto cross = [](const VX_DCI_Point& a, const VX_DCI_Point& b, std::int64_t px,
                    std::int64_t py) {
        return (std::int64_t(b.x) - a.x) * (py - a.y) - (std::int64_t(b.y) - a.y) * (px - a.x);
    };
    std::int64_t c0 = cross(t[0], t[1], x, y), c1 = cross(t[1], t[2], x, y),
                 c2 = cross(t[2], t[0], x, y);
    bool has_negative = c0 < 0 || c1 < 0 || c2<0, has_positive = c0> 0 || c1 > 0 || c2 > 0;
    if (has_negative && has_positive)
        return false;
    if (has_negative || has_positive)
        return true;
    // A degenerate triangle (a segment or a point): on one of its segments.
    for (int i = 0; i < 3; ++i) {
        const VX_DCI_Point& a = t[i];
        const VX_DCI_Point& b = t[(i + 1) % 3];
        if (x >= std::min(a.x, b.x) && x <= std::max(a.x, b.x) && y >= std::min(a.y, b.y) &&
            y <= std::max(a.y, b.y))
            return true;
    }
    return false;
}

TEST(TriangleFill, WidthAndOrientation) {
    struct Case {
        std::vector<VX_DCI_Point> t;
        float weight;
        std::int32_t dpi, width;
        bool horizontal;
    };
    const Case cases[] = {
        {{{0, 0, 0}, {10, 0, 0}, {0, 5, 0}}, 0.0f, 720, 72, true},
        {{{0, 0, 0}, {4, 0, 0}, {0, 5, 0}}, 0.5f, 360, 18, false},
        {{{0, 0, 0}, {5, 0, 0}, {0, 5, 0}}, 0.001f, 360, 1, false},
        {{{0, 0, 0}, {6, 0, 0}, {0, 5, 0}}, std::nanf(""), 360, 36, true},
        {{{0, 0, 0}, {6, 0, 0}, {0, 5, 0}}, -2.0f, 360, 36, true},
    };
    for (const auto& c : cases) {
        Triangle_Fill fill = triangle_fill(c.t.data(), c.weight, c.dpi);
        EXPECT_EQ(fill.width, c.width) << c.weight << " at " << c.dpi;
        EXPECT_EQ(fill.horizontal, c.horizontal) << c.weight << " at " << c.dpi;
    }
}

// The host's fill writes exactly the lattice points of the triangle, whatever the stroke width
// and direction, and its span path writes the same cells as the dot path (also above 400 dpi).
TEST_F(Draw_Fixture, FillsMatchThePointsOfTheTriangleAndBothPaths) {
    const unsigned seed = 2026;
    std::mt19937 random(seed);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round) + ", seed " + std::to_string(seed));
        VX_DCI_Point t[3];
        for (auto& p : t)
            p = {int(random() % 50) - 5, int(random() % 40) - 5, 0};
        int dpi = round % 3 == 0 ? 720 : round % 3 == 1 ? 500 : 360;
        std::int32_t width = std::int32_t(1 + random() % 20);
        bool horizontal = random() % 2;
        VX_Rendition rendition;
        rendition.color = 7;

        page(0, dpi, 39, 29);
        VD_Fill_2DI_Polygon(d, rendition, 3, t, 1, width, horizontal, false);
        auto by_span = drawn();
        page(0, dpi, 39, 29);
        d->actions().set(vx_action_span, {});
        VD_Fill_2DI_Polygon(d, rendition, 3, t, 1, width, horizontal, false);
        d->actions().set(vx_action_span, {d, raster_drawing_routines.span, 0, true});
        EXPECT_EQ(by_span, drawn()) << "span path and dot path";
        if (dpi == 360) {
            Cells expected;
            for (int row = 0; row <= 29; ++row)
                for (int x = 0; x <= 39; ++x)
                    if (in_triangle(t, x, 29 - row))
                        expected.emplace_back(x, row);
            EXPECT_EQ(by_span, expected);
        }
    }
}

TEST_F(Draw_Fixture, TriangleStripsAndClippedTriangles) {
    page(0, 360, 39, 29);
    const VX_DCI_Point strip[] = {{0, 0, 0}, {10, 20, 0}, {20, 0, 0}, {30, 20, 0}, {39, 0, 0}};
    VX_Rendition rendition;
    rendition.color = 7;
    auto triangles = reinterpret_cast<VX_Polytriangle_Action>(raster_drawing_routines.triangles);
    triangles(d, rendition, 5, strip);
    Cells expected;
    for (int row = 0; row <= 29; ++row)
        for (int x = 0; x <= 39; ++x)
            if (in_triangle(strip, x, 29 - row) || in_triangle(strip + 1, x, 29 - row) ||
                in_triangle(strip + 2, x, 29 - row))
                expected.emplace_back(x, row);
    EXPECT_EQ(drawn(), expected) << "five points fill three triangles";

    page(0, 360, 39, 29);
    rendition.clip_region = vx_make<VX_Contour_Set_Data>();
    rendition.clip_region->contours = {
        {{-0.5f, -0.5f, 0}, {9.5f, -0.5f, 0}, {9.5f, 40, 0}, {-0.5f, 40, 0}}}; // device x 0..9
    triangles(d, rendition, 3, strip);
    for (const auto& [x, row] : drawn())
        EXPECT_LE(x, 9) << "clipped through the standard routine";
    EXPECT_FALSE(drawn().empty());
    triangles(d, rendition, 2, strip); // fewer than three points draw nothing
}

} // namespace

namespace {

// Deferred filling is an optimisation of the page image: the same drawing, on a page that defers
// its fills and on one that fills at once, must leave the same pixels, whatever else is drawn
// between the fills (dots, images, clearing) and wherever the triangles lie.
TEST(Deferred_Fills, PaintTheCellsOfImmediateFills) {
    const unsigned seed = 1211;
    std::mt19937 random(seed);
    for (int system : {0, 1, 2})
        for (int dpi : {360, 500, 720}) {
            SCOPED_TRACE("system " + std::to_string(system) + ", " + std::to_string(dpi) +
                         " dpi, seed " + std::to_string(seed));
            Draw_Page at_once, deferred;
            for (Draw_Page* f : {&at_once, &deferred})
                f->page(system, dpi, 149, 299);
            raster_defer_page_fills(*deferred.d);
            ASSERT_TRUE(deferred.d->m_raster.deferring());
            for (int step = 0; step < 300; ++step) {
                const unsigned what = random() % 20;
                VX_Rendition r;
                r.color = random() % 3 == 0 ? 0xFF000000u : 0xFF000000u | (random() & 0xFFFFFF);
                // Strips of two to four triangles from well outside the page to well inside it,
                // of every size; some of their quadrilaterals are convex, some not. Every other
                // strip zig-zags across a round cap instead, as hosts draw them.
                VX_DCI_Point t[16];
                std::int32_t corners = 4 + std::int32_t(random() % 3);
                for (auto& p : t)
                    p = {int(random() % 220) - 35, int(random() % 400) - 50, 0};
                if (what % 2 == 0) {
                    corners = 8 + std::int32_t(random() % 9);
                    const double radius = 2 + random() % 40;
                    const VX_DCI_Point centre = t[0];
                    for (int k = 0; k < corners; ++k) {
                        const int i = k % 2 == 0 ? k / 2 : corners - 1 - k / 2;
                        const double a = 2 * std::numbers::pi * i / corners;
                        t[k] = {centre.x + int(std::lround(radius * std::cos(a))),
                                centre.y + int(std::lround(radius * std::sin(a))), 0};
                    }
                }
                const int x = int(random() % 150), y = int(random() % 300);
                for (Draw_Page* f : {&at_once, &deferred}) {
                    if (what < 14) {
                        reinterpret_cast<VX_Polytriangle_Action>(raster_drawing_routines.triangles)(
                            f->d, r, corners, t);
                    } else if (what < 18) {
                        f->dot(x, y, r.color);
                    } else if (what < 19) {
                        const std::uint8_t row[8] = {0xFF, 0x0F, 3, 0xF0, 0x55, 7, 9, 1};
                        const std::uint32_t colours[2] = {0x11223344, 0x55667788};
                        if (system == 2)
                            f->d->m_raster.put_row(299 - y, x, 16, row);
                        else if (system == 0)
                            f->d->m_raster.put_index_run(x, 299 - y, 8, row);
                        else
                            f->d->m_raster.put_colour_run(x, 299 - y, 2, colours);
                    } else if (step % 7 == 0) {
                        reinterpret_cast<VX_Clear_Action>(raster_drawing_routines.clear_page)(f->d);
                    }
                }
            }
            for (int row = 0; row < 300; row += 64)
                deferred.d->m_raster.settle(row);
            EXPECT_EQ(at_once.drawn(), deferred.drawn());
            for (int row = 0; row < 300; ++row)
                for (int x = 0; x < 150; ++x)
                    ASSERT_EQ(at_once.at(x, row), deferred.at(x, row)) << x << ", " << row;
        }
}

} // namespace
