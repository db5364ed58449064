#include "settings/custom_settings.h"
#include "settings/texts.h"

#include <gtest/gtest.h>

namespace {

using namespace settings;

TEST(SettingsKeys, PerResolutionMembers) {
    EXPECT_EQ(per_resolution_key(0, Resolution::dpi360), L"GammaMode_360");
    EXPECT_EQ(per_resolution_key(7, Resolution::dpi720), L"PaperThick_720");
    EXPECT_EQ(per_resolution_key(9, Resolution::dpi720), L"EjectRollerMode_720");
    for (std::size_t i = 0; i < per_resolution.size(); ++i)
        EXPECT_EQ(per_resolution[i].dialog_default,
                  std::wstring(per_resolution[i].name) == L"PaperThick" ? 1 : 0)
            << "only the paper thickness defaults to 1";
}

TEST(SettingsKeys, ResolutionRuleComparesInSinglePrecision) {
    struct Case {
        double dpi;
        Resolution expected;
    };
    for (auto [dpi, expected] :
         {Case{360.0, Resolution::dpi360}, Case{720.0, Resolution::dpi720},
          Case{360.000001, Resolution::dpi360}, Case{360.01, Resolution::dpi720},
          Case{300.0, Resolution::dpi720}, Case{0.0, Resolution::dpi720}})
        EXPECT_EQ(resolution_of(dpi), expected) << dpi;
}

TEST(SettingsTexts, ListsEndAtTheFirstEmptyName) {
    EXPECT_EQ(list_length(g_texts.high_speed_media), 7u);
    EXPECT_EQ(list_length(g_texts.photo_quality_media), 11u);
    EXPECT_EQ(list_length(g_texts.color_modes), color_mode_values.size());
    EXPECT_EQ(list_length(g_texts.gamma_modes), gamma_values.size());
    EXPECT_EQ(list_length(g_texts.cut_methods), cut_method_values.size());
    EXPECT_EQ(list_length(g_texts.platen_gaps), platen_gap_values.size());
    EXPECT_EQ(list_length(g_texts.eject_rollers), eject_roller_values.size());
    EXPECT_EQ(media_count(0), 7);
    EXPECT_EQ(media_count(5), 11) << "any non-zero ink set is Photo Quality";
}

// A host definition with custom items and capabilities, as a plot configuration brings them.
struct Store_Fixture : ::testing::Test {
    VX_Smart_Pointer<VX_Std_Plotter_Definition> definition =
        vx_make<VX_Std_Plotter_Definition>(nullptr);
    VX_Smart_Pointer<VX_Custom_Configurations> items = vx_make<VX_Custom_Configurations>();
    VX_Smart_Pointer<VX_Custom_Capabilities> capabilities = vx_make<VX_Custom_Capabilities>();
    VX_Smart_Pointer<VX_ResColorMem_Configuration> chosen = vx_make<VX_ResColorMem_Configuration>();

    Store_Fixture() {
        auto configuration = vx_make<VX_Std_Plotter_Configuration>();
        configuration->set_custom_configuration(items);
        configuration->set_res_color_mem_configuration(chosen);
        definition->set_plotter_configuration(configuration);
        auto caps = vx_make<VX_Std_Plotter_Capabilities>();
        caps->set_custom_capabilities(capabilities);
        auto settings = vx_make<VX_ResColorMem_Capabilities>();
        settings->set_entries(
            {vx_make<VX_ResColorMem>(360, 360, 4, 1), vx_make<VX_ResColorMem>(720, 720, 4, 1)});
        caps->set_res_color_mem_capabilities(settings);
        definition->set_plotter_capabilities(caps);
    }
    void item(const wchar_t* key, std::int32_t stored) {
        items->add(vx_make<VX_Custom_Config_Item>(key, vx_make<VX_Std_Long_Custom_Data>(stored)));
    }
    void capability(const wchar_t* key) {
        capabilities->add(vx_make<VX_Custom_Capability>(key, VX_Custom_Kind::Long, 0));
    }
};

TEST_F(Store_Fixture, BooleansAreReadByTheirLowByte) {
    struct Case {
        std::int32_t stored;
        std::int32_t read;
    };
    for (auto [stored, read] :
         {Case{0, 0}, Case{1, 1}, Case{256, 0}, Case{0x101, 1}, Case{-1, 1}}) {
        item(change_color.name, stored);
        EXPECT_EQ(read_conversion_setting(*definition, change_color).value, read) << stored;
    }
    EXPECT_EQ(read_conversion_setting(*definition, draw_to_black).value, 0) << "missing: false";
    EXPECT_FALSE(read_conversion_setting(*definition, draw_to_black).item);
}

TEST_F(Store_Fixture, PrinterSettingsNeedTheirCapability) {
    const std::wstring thick = per_resolution_key(7, Resolution::dpi720);
    item(thick.c_str(), 5);
    item(device_id.name, 42);
    item(cartridge_option.name, 5);
    capability(cartridge_option.name);

    auto read_thick = read_printer_setting(*definition, thick.c_str(), 1);
    EXPECT_EQ(read_thick.value, 1) << "no capability: the dialog default";
    EXPECT_TRUE(read_thick.item) << "the item is kept for the write on OK";
    EXPECT_EQ(read_printer_setting(*definition, device_id.name, 0).value, 0);
    EXPECT_EQ(read_printer_setting(*definition, cartridge_option.name, 0).value, 5);
    capability(thick.c_str());
    EXPECT_EQ(read_printer_setting(*definition, thick.c_str(), 1).value, 5);
    EXPECT_EQ(read_printer_setting(*definition, L"GammaMode_360", 0).value, 0);

    EXPECT_EQ(read_if_present(*definition, device_id.name), 42) << "the driver needs no capability";
    EXPECT_FALSE(read_if_present(*definition, L"GammaMode_360"));
}

TEST_F(Store_Fixture, WritesGoThroughDataOfTheItemsKind) {
    item(change_color.name, 256);
    item(L"InkDensity_360", 0);
    auto flag = find_item(*definition, change_color.name);
    write_boolean(*flag, true);
    EXPECT_EQ(flag->get_data()->kind(), VX_Custom_Kind::Boolean);
    EXPECT_EQ(flag->get_data()->get_long(), 1);
    auto density = find_item(*definition, L"InkDensity_360");
    write_long(*density, -50);
    EXPECT_EQ(read_long(*find_item(*definition, L"InkDensity_360")), -50);
}

TEST_F(Store_Fixture, ConfiguredResolution) {
    chosen->set_selected_index(1);
    EXPECT_EQ(configured_horizontal_dpi(*definition), 720.0);
    chosen->set_selected_index(0);
    EXPECT_EQ(configured_horizontal_dpi(*definition), 360.0);
    chosen->set_selected_index(2);
    EXPECT_FALSE(configured_horizontal_dpi(*definition));
    EXPECT_FALSE(configured_horizontal_dpi(VX_Std_Plotter_Definition(nullptr)));
}

} // namespace
