#include "support/device_fixture.h"
#include "support/thrown_by.h"

namespace {

TEST_F(Device_Fixture, ConstructionSetsTheRendererUp) {
    ASSERT_TRUE(device.device);
    VX_Renderer_Options& options = device->renderer_options();
    EXPECT_EQ(options.buffer_depth, 8);
    EXPECT_EQ(options.pixel_aspect, 1.0);
    EXPECT_EQ(options.window_width, 32767);
    EXPECT_EQ(options.window_height, 32767);
    EXPECT_FALSE(device->actions().standard_actions);
    VX_Action clear = device->actions().get(vx_action_clear_drawing_buffer);
    EXPECT_EQ(clear.owner, device.device);
    EXPECT_TRUE(clear.enabled && clear.routine);
    EXPECT_EQ(clear.user, 0);
}

TEST_F(Driver_Fixture, DeviceCreationFailureAnswersNull) {
    load();
    VX_Creation_Faults::fail("VD_Create_Plotter_Device");
    EXPECT_EQ(module->make_device(), nullptr);
}

TEST_F(Device_Fixture, ErrorHandlerFailures) {
    struct Case {
        const char* creator;
        const char* detail;
    };
    for (auto c : {Case{"VX_Std_Plotter_Class_Factory", "pCF"},
                   Case{"VD_Create_Plotter_IO", "m_plotter_io"}}) {
        VX_Creation_Faults::fail(c.creator);
        VX_Exception e = thrown_by([&] { device->set_error_handler(handler); });
        EXPECT_EQ(e.message_id(), 100);
        EXPECT_EQ(e.routine(), "raster");
        EXPECT_EQ(e.detail(), c.detail);
        EXPECT_EQ(e.revision(), "$Workfile: raster $ $Revision: 37 $");
    }
    device->set_error_handler(handler);
    device->set_error_handler(handler); // the first channel is released, nothing leaks
}

TEST_F(Device_Fixture, ADefinitionWithoutConfigurationIsRefused) {
    auto bare = vx_make<VX_Std_Plotter_Definition>(handler);
    bare->set_meta_capabilities(definition->get_meta_capabilities());
    bare->set_plotter_capabilities(definition->get_plotter_capabilities());
    device->set_error_handler(handler);
    VX_Exception e = thrown_by([&] { device->set_plotter_definition(bare); });
    EXPECT_EQ(e.message_id(), 101);
    EXPECT_EQ(e.routine(), "RASTER_Driver::set_error_handler");
    EXPECT_EQ(e.level(), 2);
}

TEST_F(Device_Fixture, PageGeometryFromThePrintableArea) {
    struct Case {
        std::string name;
        double dpi;
        std::uint8_t units;
        VX_Area area;
        std::int32_t page_max_x, page_max_y;
        double pattern_scale;
    };
    const Case cases[] = {
        // 200 mm at 360 dpi: X2 = 2835 (2834.65), width index 2834, 2845 columns.
        {"360 dpi", 360, 1, {0, 0, 200, 100}, 2844, 1417, 180},
        {"720 dpi", 720, 1, {0, 0, 200, 100}, 5678, 2835, 360},
        // At 25.4 dpi a millimetre is a pixel: -0.5 rounds to -1 and 140.5 to 141.
        {"halves away from zero", 25.4, 1, {-0.5, 0, 140.5, 10.5}, 151, 11, 12.5},
        {"other units: 100 dpi, unscaled", 360, 2, {0, 0, 200, 100}, 210, 101, 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto media = definition->get_plotter_capabilities()->get_media_capabilities();
        auto source = media->find_source(L"P0");
        source->sizes.push_back(
            vx_make<VX_Media_Size>(L"Test", 300.0, 300.0, VX_Area{0, 0, 300, 300}, c.units));
        select(L"P0", L"Test", c.area, add_setting(c.dpi, 4, 1));
        bind();
        EXPECT_EQ(device->establish_configuration(), 0);
        VX_Renderer_Options& options = device->device_options();
        EXPECT_EQ(options.window_width, c.page_max_x);
        EXPECT_EQ(options.window_height, c.page_max_y);
        EXPECT_EQ(options.pattern_scale, c.pattern_scale);
        EXPECT_EQ(options.color_system, 1);
        EXPECT_FALSE(device->plotter_options().fat_dots_as_squares);
        source->sizes.pop_back();
    }
}

TEST_F(Device_Fixture, TheDotRoutineFollowsTheResolution) {
    auto dot_routine_at = [&](double dpi) {
        select(L"P0", L"A4_Roll_Paper_Portrait", {0, 0, 200, 100}, add_setting(dpi, 4, 1));
        bind();
        device->establish_configuration();
        VX_Action dot = device->actions().get(vx_action_dot);
        EXPECT_TRUE(dot.enabled);
        EXPECT_EQ(dot.owner, device.device);
        return dot.routine;
    };
    auto single = dot_routine_at(360);
    EXPECT_EQ(dot_routine_at(400), single);
    auto block = dot_routine_at(401);
    EXPECT_NE(block, single);
    EXPECT_EQ(dot_routine_at(720), block);
}

TEST_F(Device_Fixture, ConfigurationNeedsTheSizeAndTheSetting) {
    bind();
    select(L"P0", L"Tabloid", {0, 0, 200, 100}, 0);
    EXPECT_EQ(thrown_by([&] { device->establish_configuration(); }).routine(),
              "RASTER_Driver::establish_configuration");
    select(L"P9", L"A4_Roll_Paper_Portrait", {0, 0, 200, 100}, 0);
    EXPECT_EQ(thrown_by([&] { device->establish_configuration(); }).message_id(), 101);
}

TEST_F(Device_Fixture, PaletteAndBitonalFormatByColourSystem) {
    struct Case {
        std::string name;
        std::int32_t system;
        std::int32_t background; // -1: no item
        bool palette;
        std::int32_t bitonal_format;
        std::int32_t image_action;
    };
    const Case cases[] = {
        {"palette, white background", 0, 0xFFFFFF, true, 0, vx_action_index8_image},
        {"true colour", 1, 0xFFFFFF, false, 0, vx_action_rgb32_image},
        {"bitonal, white background", 2, 0xFFFFFF, true, 3, vx_action_bitonal_image},
        {"bitonal, black background", 2, 0, true, 1, vx_action_bitonal_image},
        {"bitonal, no background item", 2, -1, true, 1, vx_action_bitonal_image},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Device fresh{module->make_device()};
        auto items = vx_make<VX_Custom_Configurations>();
        if (c.background >= 0)
            items->add(vx_make<VX_Custom_Config_Item>(
                L"RASTER_RGB_Back_Color", vx_make<VX_Std_Long_Custom_Data>(c.background)));
        configuration().set_custom_configuration(items);
        select(L"P0", L"A4_Roll_Paper_Portrait", {0, 0, 200, 100}, add_setting(360, 4, c.system));
        fresh->set_error_handler(handler);
        fresh->set_plotter_definition(definition);
        fresh->establish_configuration();
        auto palette = fresh->renderer_options().palette;
        EXPECT_EQ(bool(palette), c.palette);
        if (palette) {
            VX_Palette::Entry background = palette->get_entry(0);
            std::int32_t colour = c.background < 0 ? 0 : c.background;
            EXPECT_EQ(background.red, colour & 0xFF);
            EXPECT_EQ(palette->get_entry(253).green, 252);
            EXPECT_EQ(palette->get_entry(255).blue, 255);
        }
        if (c.system == 2) {
            EXPECT_EQ(fresh->device_options().bitonal_format, c.bitonal_format);
        }
        EXPECT_EQ(fresh->device_options().color_system, c.system);
    }
}

TEST_F(Device_Fixture, AnUnknownColourSystemIsASevereError) {
    device->set_error_handler(handler);
    select(L"P0", L"A4_Roll_Paper_Portrait", {0, 0, 200, 100}, add_setting(360, 4, 7));
    VX_Exception e = thrown_by([&] { device->set_plotter_definition(definition); });
    EXPECT_EQ(e.level(), 4);
    EXPECT_EQ(e.message_id(), 102);
    EXPECT_EQ(e.routine(), "raster_plotter_draw_dci_dot");
    EXPECT_EQ(e.detail(), "Invalid color system or palette depth");
}

TEST_F(Device_Fixture, GetPlotterDefinitionGivesANewDefinition) {
    bind();
    VX_Smart_Pointer<VX_Plotter_Definition> own(device->get_plotter_definition());
    ASSERT_TRUE(own);
    EXPECT_NE(own.get(), definition.get());
    EXPECT_EQ(own->get_meta_capabilities()->version, L"1.00");
    VX_SPMP::release(own.get()); // the reference get_plotter_definition handed over
}

} // namespace
