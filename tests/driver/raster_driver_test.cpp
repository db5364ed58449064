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

} // namespace
