// A device with a small page image, driven through its drawing routines.
#pragma once

#include "driver/drawing_routines.h"
#include "driver/raster_driver.h"
#include "host/vx_render.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

// A device with a page image of (max_x + 1) x (max_y + 1) pixels, driven through its routines.
struct Draw_Page {
    RASTER_Driver* d = new RASTER_Driver;
    Draw_Page() = default;
    Draw_Page(const Draw_Page&) = delete;
    Draw_Page& operator=(const Draw_Page&) = delete;
    ~Draw_Page() { d->release_reference(); }

    void page(int system, int dpi, int max_x, int max_y, std::uint32_t background = 0xFFFFFFFF) {
        d->m_color_system = system;
        d->m_job.m_dpi = dpi;
        d->m_page_max_x = max_x;
        d->m_page_max_y = max_y;
        d->m_background_color = background;
        d->device_options().bitonal_format = (background & 0xFFFFFF) ? 3 : 1;
        if (system == 0)
            d->m_raster.create_palette_image(max_x + 1, max_y + 1, {});
        else
            d->m_raster.create(max_x + 1, max_y + 1, system == 1 ? 3 : 0, 3);
        // The dot routine of the resolution, as establishing the configuration installs it.
        d->actions().set(
            vx_action_dot,
            {d, dpi <= 400 ? raster_drawing_routines.dot : raster_drawing_routines.dot_block, 0,
             true});
    }
    void dot(int x, int y, std::uint32_t color, const VX_Rendition& r = {}) {
        auto routine =
            d->m_job.m_dpi <= 400 ? raster_drawing_routines.dot : raster_drawing_routines.dot_block;
        reinterpret_cast<VX_Dot_Action>(routine)(d, r, {x, y, 0}, &color);
    }
    std::uint32_t at(int x, int row) const { return d->m_raster.image()->get(x, row); }
    // The page cells that are not zero, as (column, row).
    std::vector<std::pair<int, int>> drawn() const {
        std::vector<std::pair<int, int>> cells;
        for (int row = 0; row <= d->m_page_max_y; ++row)
            for (int x = 0; x <= d->m_page_max_x; ++x)
                if (at(x, row))
                    cells.emplace_back(x, row);
        return cells;
    }
};

struct Draw_Fixture : ::testing::Test, Draw_Page {};
