#include "host/vx_language.h"
#include "host/vx_model_data.h"
#include "support/host_layout.h"
#include "support/thrown_by.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

const std::string malformed = std::string(VX_TEST_DATA_DIR) + "/malformed/";

TEST(ModelData, ReadsNodesAndPropertiesByPath) {
    Host_Layout layout;
    layout.write("m.DRC", R"({"DPIA_directory": {"qr7m": {"descriptor": "Zelto|qr7m", "n": 5},
                              "note": "text", "list": [1, 2]}})");
    PM_Object data(nullptr);
    data.load(vxp::from_utf8((layout.drv() / "m.DRC").string()), pm_file_type_drc, L'\\');

    auto members = data.newIterator(L"\\DPIA_directory", 1);
    ASSERT_TRUE(members);
    std::vector<std::pair<VX_String, int>> seen;
    VX_String name;
    int type = 0;
    while (members->nextNode(name, type))
        seen.emplace_back(name, type);
    EXPECT_EQ(seen, (std::vector<std::pair<VX_String, int>>{{L"qr7m", pm_node_directory},
                                                            {L"note", pm_node_text},
                                                            {L"list", pm_node_value}}));
    EXPECT_FALSE(data.newIterator(L"\\DPIA_directory\\note", 1)) << "a property has no members";
    EXPECT_FALSE(data.newIterator(L"\\nothing", 1));

    const VX_String descriptor = L"\\DPIA_directory\\qr7m\\descriptor";
    ASSERT_EQ(data.getPropertySize(descriptor, -1), 11);
    char buffer[11] = {};
    EXPECT_EQ(data.GetProperty(descriptor, buffer, 11, -1), 10);
    EXPECT_STREQ(buffer, "Zelto|qr7m");
    char small[4];
    EXPECT_EQ(data.GetProperty(descriptor, small, 4, -1), 4) << "never beyond the buffer";
    EXPECT_EQ(data.getPropertySize(L"\\DPIA_directory\\qr7m\\n", -1), 2);
    EXPECT_EQ(data.getPropertySize(L"\\DPIA_directory\\qr7m", -1), 0) << "a node is no property";
    EXPECT_EQ(data.getPropertySize(L"\\DPIA_directory\\qr7m\\missing", -1), 0);
}

TEST(ModelData, MalformedFilesAreRefusedWithWhereAndWhy) {
    struct Case {
        std::string file;
        int message;
        std::string detail_part;
    };
    const Case cases[] = {
        {malformed + "truncated.DRC", vx_msg_model_data_malformed, "line 5"},
        {malformed + "top_level_list.DRC", vx_msg_model_data_malformed, "not an object"},
        {malformed + "missing.DRC", vx_msg_model_data_unreadable, "missing.DRC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        PM_Object data(nullptr);
        VX_Exception e =
            thrown_by([&] { data.load(vxp::from_utf8(c.file), pm_file_type_drc, L'\\'); });
        EXPECT_EQ(e.message_id(), c.message);
        EXPECT_EQ(e.routine(), "PM_Object::load");
        EXPECT_NE(e.detail().find(c.detail_part), std::string::npos) << e.detail();
        EXPECT_NE(e.detail().find(c.file), std::string::npos) << "names the file";
    }
    PM_Object data(nullptr);
    EXPECT_EQ(thrown_by([&] { data.load(L"x.DRC", 4, L'\\'); }).message_id(),
              vx_msg_model_data_type);
}

TEST(ModelData, CompoundTextsSplitAtBars) {
    struct Case {
        std::string text;
        int count;
        bool ok;
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        {"Zelto|qr7m", 2, true, {"Zelto", "qr7m"}},
        {"a|b|c", 2, true, {"a", "b|c"}},
        {"|", 2, true, {"", ""}},
        {"no bar", 2, false, {}},
        {"one", 1, true, {"one"}},
        {"x", 0, false, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> parts;
        EXPECT_EQ(extract_compound_str_ex(c.text, c.count, parts), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(parts, c.parts) << c.text;
        }
    }
}

TEST(ModelData, FileNameFollowsTheDriverAndTheLanguage) {
    EXPECT_EQ(PM_Model_Data_File_Name(L"/opt/cad/drv/zelto_qr7m_en13_32_11.so", L"de-DE"),
              L"/opt/cad/drv/de-DE/zelto_qr7m_en13_32_11.DRC");
}

// A definition of the host's own, pointing at a driver file in a temporary installation.
struct Loader_Fixture : ::testing::Test {
    Host_Layout layout;
    VX_Smart_Pointer<VX_Error_Handler> handler = vx_make<VX_Error_Handler>();
    VX_Smart_Pointer<VX_Std_Plotter_Definition> definition =
        vx_make<VX_Std_Plotter_Definition>(handler);
    VX_Smart_Pointer<VX_Std_Plotter_Capabilities> caps = vx_make<VX_Std_Plotter_Capabilities>();

    Loader_Fixture() {
        auto meta = vx_make<VX_Meta_Capabilities>();
        meta->driver_path_name = vxp::from_utf8((layout.drv() / "printer.so").string());
        definition->set_meta_capabilities(meta);
        caps->set_media_capabilities(vx_make<VX_Media_Capabilities>());
        caps->set_res_color_mem_capabilities(vx_make<VX_ResColorMem_Capabilities>());
        caps->set_custom_capabilities(vx_make<VX_Custom_Capabilities>());
        definition->set_plotter_capabilities(caps);
    }
    bool load(const std::string& model_data, VX_Caps_Loader::Load_Policy policy) {
        layout.write(vxp::to_utf8(GetLanguage()) + "/printer.DRC", model_data);
        PM_DRC_Caps_Loader loader(handler);
        return loader.Load(definition, policy);
    }
};

TEST_F(Loader_Fixture, FillsTheCapabilitiesFromTheDescription) {
    ASSERT_TRUE(load(read_staged("en-US/zelto_qr7m_en13_32_11.DRC"), VX_Caps_Loader::Replace))
        << (handler->reported().empty() ? "" : handler->reported()[0]);
    auto media = caps->get_media_capabilities();
    ASSERT_EQ(media->sources().size(), 4u);
    std::vector<std::size_t> counts;
    for (const auto& source : media->sources())
        counts.push_back(source->sizes.size());
    EXPECT_EQ(counts, (std::vector<std::size_t>{13, 11, 9, 9}));
    auto a4 = media->find_source(L"P0")->find_size(L"A4_Roll_Paper_Portrait");
    ASSERT_TRUE(a4);
    EXPECT_NEAR(a4->width(), 2976 * 25.4 / 360, 0.01);
    EXPECT_EQ(a4->units(), 1);
    ASSERT_EQ(caps->get_res_color_mem_capabilities()->entries().size(), 10u);
    auto mono = caps->get_res_color_mem_capabilities()->get_entry(9);
    EXPECT_EQ(mono->resolution(), std::make_pair(720.0, 720.0));
    EXPECT_EQ(mono->color_depth(), -2);
    EXPECT_EQ(mono->color_system(), 2);
    auto custom = caps->get_custom_capabilities();
    EXPECT_EQ(custom->all().size(), 37u);
    EXPECT_EQ(custom->find(L"PaperThick_720")->default_value(), 1);
    EXPECT_EQ(custom->find(L"RASTER_Draw2Black")->kind(), VX_Custom_Kind::Boolean);
}

TEST_F(Loader_Fixture, ReportsEveryFaultAndChangesNothing) {
    ASSERT_TRUE(load(read_staged("en-US/zelto_qr7m_en13_32_11.DRC"), VX_Caps_Loader::Replace));
    EXPECT_FALSE(
        load(read_file(malformed + "capabilities_with_faults.DRC"), VX_Caps_Loader::Replace));
    ASSERT_EQ(handler->reported().size(), 1u);
    const std::string& report = handler->reported()[0];
    for (const char* fault : {
             "sizes[1] repeats the name \"A4\"",
             "sizes[2] (Wide) has a printable area that is empty or outside",
             "sizes[3] lacks \"name\"",
             "Media\\P1\\sizes is not a list of sizes",
             "ResColorMem[1]\\system 7 is not 0",
             "ResColorMem[2]\\dpi is not [x, y] with positive resolutions",
             "Custom[1] (Flag)\\kind is not",
             "Custom[2] (Big)\\default is not a 32-bit integer",
         })
        EXPECT_NE(report.find(fault), std::string::npos) << fault << "\nin: " << report;
    EXPECT_EQ(caps->get_media_capabilities()->sources().size(), 4u) << "the old state stays";
    EXPECT_EQ(caps->get_custom_capabilities()->all().size(), 37u);
}

TEST_F(Loader_Fixture, RefusesAFileWithoutDescription) {
    EXPECT_FALSE(load(R"({"DPIA_directory": {}})", VX_Caps_Loader::Replace));
    ASSERT_EQ(handler->reported().size(), 1u);
    EXPECT_NE(handler->reported()[0].find("no \"Capabilities\" node"), std::string::npos);
    EXPECT_FALSE(load("{ broken", VX_Caps_Loader::Replace));
    EXPECT_NE(handler->reported()[1].find("Model data file is malformed"), std::string::npos);
}

TEST_F(Loader_Fixture, MergeAddsToWhatIsThere) {
    ASSERT_TRUE(load(R"({"Capabilities": {
        "Media": {"P9": {"sizes": [{"name": "S", "width": 10, "length": 10,
                                    "printable": [0, 0, 10, 10]}]}},
        "ResColorMem": [{"dpi": [100, 100], "depth": 4, "system": 1}],
        "Custom": [{"name": "Extra", "kind": "long", "default": 3}]}})",
                     VX_Caps_Loader::Replace));
    ASSERT_TRUE(load(read_staged("en-US/zelto_qr7m_en13_32_11.DRC"), VX_Caps_Loader::Merge));
    EXPECT_EQ(caps->get_media_capabilities()->sources().size(), 5u);
    EXPECT_EQ(caps->get_res_color_mem_capabilities()->entries().size(), 11u);
    EXPECT_TRUE(caps->get_custom_capabilities()->find(L"Extra"));
    EXPECT_TRUE(caps->get_custom_capabilities()->find(L"CartrigeOpt"));
}

} // namespace
