#include "driver/driver_palette.h"
#include "driver/module_state.h"
#include "driver/raster_driver.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

TEST(RasterDriver, RequestSerialSkipsZero) {
    RASTER_Driver driver;
    EXPECT_EQ(driver.m_request_serial, 1);
    struct Case {
        std::int32_t before, after;
    };
    for (auto [before, after] : {Case{1, 2}, Case{-1, 1}, Case{INT32_MAX, INT32_MIN}}) {
        driver.m_request_serial = before;
        driver.next_request_serial();
        EXPECT_EQ(driver.m_request_serial, after) << before;
    }
}

TEST(RasterDriver, ConstructionDefaultsAndTheLastReleaseDeletes) {
    long live = VX_Object::live_objects();
    auto* driver = new RASTER_Driver; // one reference, the host's
    EXPECT_EQ(driver->m_image_model, (std::array<std::int32_t, 3>{3, 3, 3}));
    EXPECT_EQ(driver->m_color_system, 0);
    EXPECT_EQ(driver->m_background_color, 0u);
    EXPECT_EQ(driver->m_job.m_dpi, 0);
    EXPECT_FALSE(driver->m_plotter_io);
    EXPECT_EQ(driver->m_raster.image(), nullptr);
    ASSERT_TRUE(driver->m_palette);
    EXPECT_EQ(driver->m_palette->used(), 0);
    EXPECT_EQ(driver->is_plot_cancelled(), 0);
    driver->m_plot_monitor = vx_make<VX_Plot_Monitor>();
    EXPECT_EQ(driver->is_plot_cancelled(), 0);
    driver->m_plot_monitor->cancel();
    EXPECT_EQ(driver->is_plot_cancelled(), 1);
    driver->m_raster.create(10, 10, 3, 3);
    EXPECT_EQ(driver->release_reference(), 0);
    EXPECT_EQ(VX_Object::live_objects(), live) << "palette, monitor and options went with it";
}

TEST(RasterDriver, PictureColoursBySystem) {
    struct Case {
        std::int32_t system, depth;
        std::array<std::int32_t, 3> image_model;
        bool grey_printing, grey_table;
    };
    const Case cases[] = {
        {1, 4, {3, 3, 3}, false, false},   {1, -4, {3, 3, 3}, true, false},
        {2, -2, {0, 0, 3}, false, false},  {0, 256, {1, 1, 3}, false, false},
        {0, -256, {1, 1, 3}, false, true},
    };
    auto* driver = new RASTER_Driver;
    fill_driver_palette(*driver->m_palette, 0xFFFFFF, true);
    const int red = 1 + 5 * 36;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.system) + " / " + std::to_string(c.depth));
        raster_module_state().grey_printing = raster_module_state().grey_table = true;
        driver->m_color_system = c.system;
        driver->prepare_picture_colours(c.depth);
        EXPECT_EQ(driver->m_image_model, c.image_model);
        EXPECT_EQ(raster_module_state().grey_printing, c.grey_printing);
        EXPECT_EQ(raster_module_state().grey_table, c.grey_table);
        if (c.system == 0) {
            std::int32_t level = c.depth < 0 ? 76 : 255;
            EXPECT_EQ(raster_index_colour_table()[red][0], level);
        }
    }
    driver->m_color_system = 3;
    try {
        driver->prepare_picture_colours(4);
        ADD_FAILURE() << "no error for colour system 3";
    } catch (const VX_Exception& e) {
        EXPECT_EQ(e.level(), 4);
        EXPECT_EQ(e.message_id(), 102);
        EXPECT_EQ(e.routine(), "raster_plotter_draw_dci_dot");
    }
    driver->release_reference();
}

} // namespace
