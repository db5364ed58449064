#include "support/driver_fixture.h"

#include <algorithm>

namespace {

const std::string malformed = std::string(VX_TEST_DATA_DIR) + "/malformed/";
const std::string model_data = "en-US/zelto_qr7m_en13_32_11.DRC";
const char* const definition_revision = "$Workfile: rasterpldef $ $Revision: 24 $";

TEST_F(Driver_Fixture, DefinitionCarriesTheDriverIdentity) {
    load();
    auto definition = make_definition();
    ASSERT_TRUE(definition);
    auto meta = definition->get_meta_capabilities();
    ASSERT_TRUE(meta);
    EXPECT_EQ(meta->version, L"1.00");
    EXPECT_EQ(meta->flags(), std::vector<std::int32_t>{0});
    EXPECT_EQ(meta->description, L" - by Zelto");
    EXPECT_EQ(vxp::to_utf8(meta->driver_path_name), std::filesystem::canonical(layout.driver()));
    ASSERT_TRUE(meta->family && meta->model);
    EXPECT_EQ(meta->family->name, L"Zelto");
    EXPECT_EQ(meta->family->description, L"Zelto large-format ink-jet printers");
    EXPECT_EQ(meta->family->flags(), std::vector<std::int32_t>{0});
    EXPECT_EQ(meta->model->name, L"qr7m");
    EXPECT_EQ(meta->model->driver_locale, L"4B00409");
    EXPECT_EQ(meta->model->flags(), (std::vector<std::int32_t>{0, 0, 1, 0}));
    EXPECT_EQ(meta->model->texts(), std::vector<VX_String>(6));
    EXPECT_EQ(meta->model->pairs(),
              (std::vector<std::pair<std::int32_t, std::int32_t>>{{5, 3}, {5, 4}, {5, 7}, {5, 8}}));
    vxp::Os_Version os = vxp::os_version();
    EXPECT_EQ(meta->model->os_text, std::to_wstring(os.platform_id) + L"," +
                                        std::to_wstring(os.major) + L"," +
                                        std::to_wstring(os.minor));

    EXPECT_TRUE(definition->Custom_Config_UI_Available());
    VX_String file, topic;
    EXPECT_TRUE(definition->get_driver_hints_helpfile(file, topic));
    EXPECT_EQ(file, L"drv_zelto_qr7m_en.chm");
    EXPECT_EQ(topic, L"html/menu01");
    ASSERT_TRUE(definition->get_shoebox() && definition->get_shoebox()->application);
    EXPECT_EQ(definition->get_shoebox()->application->folder, L"/");
    EXPECT_EQ(definition->get_error_handler(), handler);
}

TEST_F(Driver_Fixture, CapabilitiesAndConfigurationStartEmptyWithEveryArea) {
    load();
    auto definition = make_definition();
    auto caps = definition->get_plotter_capabilities();
    ASSERT_TRUE(caps);
    EXPECT_TRUE(caps->get_media_capabilities() && caps->get_io_capabilities() &&
                caps->get_phys_pen_capabilities() && caps->get_raster_capabilities() &&
                caps->get_linetype_capabilities() && caps->get_res_color_mem_capabilities() &&
                caps->get_init_term_capabilities() && caps->get_custom_capabilities());
    EXPECT_TRUE(caps->get_media_capabilities()->sources().empty());
    auto config = definition->get_plotter_configuration();
    ASSERT_TRUE(config);
    EXPECT_TRUE(config->get_media_configuration() && config->get_io_configuration() &&
                config->get_res_color_mem_configuration() &&
                config->get_init_term_configuration() && config->get_phys_pen_configuration() &&
                config->get_custom_configuration());
}

TEST_F(Driver_Fixture, PlotterObjectsIgnoreTheirThreeTexts) {
    load();
    for (const wchar_t* text : {static_cast<const wchar_t*>(nullptr), L"", L"qr7m"}) {
        VX_Creation_Faults::clear();
        auto caps = factory->VD_Create_Plotter_Capabilities(text, text, text);
        ASSERT_TRUE(caps);
        EXPECT_TRUE(caps->get_custom_capabilities());
        auto config = factory->VD_Create_Plotter_Configuration(text, nullptr, text);
        ASSERT_TRUE(config);
        EXPECT_TRUE(config->get_custom_configuration());
    }
    auto calls = VX_Creation_Faults::calls();
    auto configuration_start =
        std::find(calls.begin(), calls.end(), std::string("VD_Create_Plotter_Configuration"));
    ASSERT_NE(configuration_start, calls.end());
    for (const char* never : {"VD_Create_Raster_Capabilities", "VD_Create_Linetype_Capabilities"})
        EXPECT_EQ(std::find(configuration_start, calls.end(), never), calls.end())
            << "the configuration created " << never;
}

struct Model_Data_Fault {
    std::string file; // under tests/data/malformed, or "" for no model data file
    int message;
    std::string routine, detail;
};

TEST_F(Driver_Fixture, ModelDataFaultsStopTheDefinition) {
    const Model_Data_Fault cases[] = {
        {"", 103, "VX_RASTER_Plotter_Definition::initMetaCaps", "DRC File"},
        {"no_printer_node.DRC", 103, "VX_RASTER_Plotter_Definition::initMetaCaps", "node_name"},
        {"printer_node_is_a_property.DRC", 103, "VX_RASTER_Plotter_Definition::initMetaCaps",
         "node_name"},
        {"descriptor_without_parts.DRC", 103, "VX_RASTER_Plotter_Definition::initMetaCaps",
         "descriptor"},
        {"info_missing.DRC", 103, "VX_RASTER_Plotter_Definition::initMetaCaps", "descriptor"},
    };
    load();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.empty() ? "no model data file" : c.file);
        layout.remove(model_data);
        if (!c.file.empty())
            std::filesystem::copy_file(malformed + c.file, layout.drv() / model_data);
        long live = VX_Object::live_objects();
        VX_Exception e = thrown_by([&] { make_definition(); });
        EXPECT_EQ(e.message_id(), c.message);
        EXPECT_EQ(e.message_text(), "INTERNAL ERROR - Driver initialization failure");
        EXPECT_EQ(e.routine(), c.routine);
        EXPECT_EQ(e.detail(), c.detail);
        EXPECT_EQ(e.revision(), definition_revision);
        EXPECT_EQ(e.level(), 2);
        EXPECT_EQ(VX_Object::live_objects(), live) << "nothing of the half-built definition stays";
    }
}

TEST_F(Driver_Fixture, MalformedModelDataPassesTheReaderErrorOnWithTheRoutine) {
    layout.remove(model_data);
    std::filesystem::copy_file(malformed + "truncated.DRC", layout.drv() / model_data);
    load();
    VX_Exception e = thrown_by([&] { make_definition(); });
    EXPECT_EQ(e.message_id(), vx_msg_model_data_malformed);
    EXPECT_EQ(e.routine(), "PM_Object::load");
    EXPECT_NE(e.detail().find("line 5"), std::string::npos) << e.detail();
    EXPECT_EQ(e.catchers(), std::vector<std::string>{"VX_RASTER_Plotter_Definition::initMetaCaps"});
}

TEST_F(Driver_Fixture, ModelDataIsReadFromTheHostLanguageFolder) {
    load();
    VX_Set_Language(L"de-DE");
    EXPECT_EQ(thrown_by([&] { make_definition(); }).detail(), "DRC File");
    layout.copy_staged(model_data, "de-DE/zelto_qr7m_en13_32_11.DRC");
    EXPECT_TRUE(make_definition());
}

// Creator failures: each names what could not be created, and nothing is left behind.
enum class Made { capabilities, configuration, definition };

struct Creator_Fault {
    Made made;
    std::string creator;
    int skip; // calls of the creator to let through first
    std::string routine, detail, revision;
};

const char* const caps_routine = "VX_RASTER_Plotter_Capabilities::VX_RASTER_Plotter_Capabilities";
const char* const caps_revision = "$Workfile: rasterplcaps $ $Revision: 5 $";
const char* const cfg_routine = "VX_RASTER_Plotter_Configuration::VX_RASTER_Plotter_Configuration";
const char* const cfg_revision = "$Workfile: rasterplcfg $ $Revision: 5 $";
const char* const meta_routine = "VX_RASTER_Plotter_Definition::initMetaCaps";

TEST_F(Driver_Fixture, CreatorFailuresThrowWhatWasMissingAndLeaveNothingBehind) {
    using enum Made;
    const Creator_Fault cases[] = {
        {capabilities, "VX_RASTER_Plotter_Class_Factory", 0, caps_routine, "pCF", caps_revision},
        {capabilities, "VD_Create_Media_Capabilities", 0, caps_routine, "pMediaCaps",
         caps_revision},
        {capabilities, "VD_Create_Plotter_IO_Capabilities", 0, caps_routine, "pIOCaps",
         caps_revision},
        {capabilities, "VD_Create_Pen_Capabilities", 0, caps_routine, "pPhysPenCaps",
         caps_revision},
        {capabilities, "VD_Create_Raster_Capabilities", 0, caps_routine, "pRasterCaps",
         caps_revision},
        {capabilities, "VD_Create_Linetype_Capabilities", 0, caps_routine, "pLinetypeCaps",
         caps_revision},
        {capabilities, "VD_Create_ResColorMem_Capabilities", 0, caps_routine, "pRCMCaps",
         caps_revision},
        {capabilities, "VD_Create_InitTerm_Capabilities", 0, caps_routine, "pInitTermCaps",
         caps_revision},
        {capabilities, "VD_Create_Custom_Capabilities", 0, caps_routine, "pCustomCaps",
         caps_revision},
        {configuration, "VX_RASTER_Plotter_Class_Factory", 0, "rasterplcfg", "pCF", cfg_revision},
        {configuration, "VD_Create_Media_Configuration", 0, cfg_routine, "pMediaCfg", cfg_revision},
        {configuration, "VD_Create_Plotter_IO_Configuration", 0, cfg_routine, "pIOCfg",
         cfg_revision},
        {configuration, "VD_Create_Pen_Configuration", 0, cfg_routine, "pPhysPenCfg", cfg_revision},
        {configuration, "VD_Create_ResColorMem_Configuration", 0, cfg_routine, "pRCMCfg",
         cfg_revision},
        {configuration, "VD_Create_InitTerm_Configuration", 0, cfg_routine, "pInitTermCfg",
         cfg_revision},
        {configuration, "VD_Create_Custom_Configurations", 0, cfg_routine, "pCustomCfg",
         cfg_revision},
        // The definition's own factory is the first one made, the capabilities' the second and
        // the configuration's the third.
        {definition, "VX_RASTER_Plotter_Class_Factory", 0, "rasterpldef", "m_cf",
         definition_revision},
        {definition, "VD_Create_Meta_Capabilities", 0, meta_routine, "pmeta_pmodel_pfamily",
         definition_revision},
        {definition, "VD_Create_Model", 0, meta_routine, "pmeta_pmodel_pfamily",
         definition_revision},
        {definition, "VD_Create_Family", 0, meta_routine, "pmeta_pmodel_pfamily",
         definition_revision},
        {definition, "VD_Create_Plotter_Configuration", 0, "rasterpldef", "plotter_config",
         definition_revision},
        {definition, "VX_RASTER_Plotter_Class_Factory", 1, caps_routine, "pCF", caps_revision},
        {definition, "VX_RASTER_Plotter_Class_Factory", 2, "rasterplcfg", "pCF", cfg_revision},
    };
    load();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.creator + " after " + std::to_string(c.skip) + " calls");
        VX_Creation_Faults::clear();
        VX_Creation_Faults::fail(c.creator, c.skip);
        long live = VX_Object::live_objects();
        VX_Exception e = thrown_by([&] {
            if (c.made == capabilities)
                factory->VD_Create_Plotter_Capabilities(L"", L"", L"");
            else if (c.made == configuration)
                factory->VD_Create_Plotter_Configuration(L"", L"", L"");
            else
                make_definition();
        });
        EXPECT_EQ(e.message_id(), 100);
        EXPECT_EQ(e.message_text(), "INTERNAL ERROR - Memory allocation");
        EXPECT_EQ(e.routine(), c.routine);
        EXPECT_EQ(e.detail(), c.detail);
        EXPECT_EQ(e.revision(), c.revision);
        EXPECT_EQ(VX_Object::live_objects(), live);
        if (c.made != definition) {
            for (const auto& call : VX_Creation_Faults::calls())
                EXPECT_FALSE(call.starts_with("set_")) << call << " ran";
        }
    }
}

TEST_F(Driver_Fixture, CapabilitiesThatCannotBeAllocatedAreHandedOverAsNull) {
    load();
    VX_Creation_Faults::fail("VX_RASTER_Plotter_Capabilities");
    auto definition = make_definition();
    ASSERT_TRUE(definition);
    EXPECT_FALSE(definition->get_plotter_capabilities());
    EXPECT_TRUE(definition->get_plotter_configuration());
}

TEST_F(Driver_Fixture, CreatorsAnswerNullWhenTheirAllocationFails) {
    load();
    for (const char* creator :
         {"VD_Create_Plotter_Definition", "VD_Create_Caps_Loader", "VD_Create_Plotter_Capabilities",
          "VD_Create_Plotter_Configuration"})
        VX_Creation_Faults::fail(creator);
    EXPECT_FALSE(make_definition());
    EXPECT_FALSE(factory->VD_Create_Caps_Loader(handler));
    EXPECT_FALSE(factory->VD_Create_Plotter_Capabilities(L"", L"", L""));
    EXPECT_FALSE(factory->VD_Create_Plotter_Configuration(L"", L"", L""));
}

TEST_F(Driver_Fixture, LoaderAddsTheIoPairOnlyAfterASuccessfulLoad) {
    load();
    auto definition = make_definition();
    auto loader = factory->VD_Create_Caps_Loader(handler);
    ASSERT_TRUE(loader);
    auto io = definition->get_plotter_capabilities()->get_io_capabilities();

    layout.write(model_data, R"({"DPIA_directory": {}, "Capabilities": {"Media": {}}})");
    EXPECT_FALSE(loader->Load(definition, VX_Caps_Loader::Replace));
    EXPECT_TRUE(io->option_pairs().empty());
    EXPECT_EQ(handler->reported().size(), 1u);

    layout.copy_staged(model_data, model_data);
    EXPECT_TRUE(loader->Load(definition, VX_Caps_Loader::Replace));
    EXPECT_EQ(io->option_pairs(), (std::vector<std::pair<std::int32_t, std::int32_t>>{{5, 4}}));
    EXPECT_EQ(definition->get_plotter_capabilities()->get_media_capabilities()->sources().size(),
              4u);
}

TEST_F(Driver_Fixture, TrueDeviceColoursOnlyForTheBitonalSetting) {
    load();
    auto definition = make_definition();
    ASSERT_TRUE(factory->VD_Create_Caps_Loader(handler)->Load(definition, VX_Caps_Loader::Replace));
    EXPECT_FALSE(definition->get_true_device_colors(nullptr));

    auto settings = definition->get_plotter_capabilities()->get_res_color_mem_capabilities();
    auto chosen = definition->get_plotter_configuration()->get_res_color_mem_configuration();
    for (std::int32_t index = -1; index <= 10; ++index) {
        SCOPED_TRACE(index);
        chosen->set_selected_index(index);
        auto palette = vx_make<VX_Palette>();
        auto entry = settings->get_entry(index);
        bool bitonal = entry && entry->color_system() == 2;
        EXPECT_EQ(definition->get_true_device_colors(palette), bitonal);
        EXPECT_EQ(palette->used(), bitonal ? 1 : 0);
        if (bitonal) {
            VX_Palette::Entry black = palette->get_entry(0);
            EXPECT_EQ(std::vector<int>({black.red, black.green, black.blue, black.alpha}),
                      std::vector<int>({0, 0, 0, 255}));
        }
    }
}

TEST_F(Driver_Fixture, TrueDeviceColoursNeedCapabilities) {
    load();
    VX_Creation_Faults::fail("VX_RASTER_Plotter_Capabilities");
    auto definition = make_definition();
    auto palette = vx_make<VX_Palette>();
    EXPECT_FALSE(definition->get_true_device_colors(palette));
    EXPECT_EQ(palette->used(), 0);
}

} // namespace
