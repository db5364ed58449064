// The Custom Properties dialog, the colour lists and picker, import and export, driven through
// scripted user actions on a plotter definition of the staged driver.
#include "definitions/definitions.h"
#include "resources/resource_library.h"
#include "settings/custom_settings.h"
#include "support/driver_fixture.h"
#include "ui/custom_properties.h"
#include "ui/ui_state.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

struct Custom_Properties_Fixture : Driver_Fixture {
    VX_Smart_Pointer<VX_Plotter_Definition> definition;
    fs::path file = layout.drv() / definitions_file_name;
    std::unique_ptr<CDlgCustomSettings> dialog;

    Custom_Properties_Fixture() {
        load();
        definition = make_definition();
        factory->VD_Create_Caps_Loader(handler)->Load(definition, VX_Caps_Loader::Replace);
        add_default_custom_items(*definition);
        setting(1); // 360 dpi, true colour
        // The dialog code of this program stands for the driver in the layout's drv folder.
        vxp::set_program_file_name(layout.driver().wstring());
        EXPECT_TRUE(LoadResourceLibrary());
        layout.copy_staged("color.dll", "color.dll");
        set_dialog_backend(Dialog_Backend::headless);
        clear_dialog_actions();
        clear_shown_file_dialogs();
        clear_help_requests();
        TheCustomPropertiesState() = {};
    }
    ~Custom_Properties_Fixture() override {
        set_dialog_backend(Dialog_Backend::headless);
        dialog.reset();
        clear_dialog_actions();
        FreeResourceLibrary();
        vxp::set_program_file_name(L"");
    }

    void setting(std::int32_t index) {
        definition->get_plotter_configuration()
            ->get_res_color_mem_configuration()
            ->set_selected_index(index);
    }
    std::int32_t item(const std::wstring& key) const {
        auto i = settings::find_item(*definition, key.c_str());
        return i ? settings::read_long(*i) : -999;
    }
    void set_item(const std::wstring& key, std::int32_t value) {
        auto i = settings::find_item(*definition, key.c_str());
        ASSERT_TRUE(i) << vxp::to_utf8(key);
        if (i->get_data()->kind() == VX_Custom_Kind::Boolean)
            settings::write_boolean(*i, value != 0);
        else
            settings::write_long(*i, value);
    }
    int run(const std::string& script) {
        dialog = std::make_unique<CDlgCustomSettings>(definition, nullptr);
        queue_dialog_actions(parse_dialog_script(script));
        return dialog->DoModal();
    }
    bool enabled(int id) const { return dialog->GetDlgItem(id)->IsWindowEnabled(); }
    std::wstring text(int id) const { return dialog->GetDlgItemText(id); }
    std::vector<std::wstring> messages() const {
        std::vector<std::wstring> texts;
        for (const auto& box : vxp::shown_message_boxes())
            texts.push_back(box.text);
        return texts;
    }
};

TEST_F(Custom_Properties_Fixture, OpeningWritesOrRepairsTheDefinitionsFile) {
    ASSERT_EQ(run("cancel"), IDCANCEL);
    EXPECT_TRUE(messages().empty()) << "a missing file is written without a message";
    EXPECT_EQ(ValidateDefinitions(read_file(file)), 1);
    EXPECT_EQ(dialog->caption(), L"ZELTO Custom Properties");

    std::string broken = read_file(file);
    broken.erase(broken.find("<vacuum>"), 8);
    std::ofstream(file, std::ios::binary) << broken;
    ASSERT_EQ(run("cancel"), IDCANCEL);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0],
              L"The contents of the definition file are incorrect.\nDefaults will be used.");
    EXPECT_EQ(vxp::shown_message_boxes()[0].caption, L"Custom Properties Error");
    EXPECT_EQ(ValidateDefinitions(read_file(file)), 1) << "the defaults replace it";
}

TEST_F(Custom_Properties_Fixture, ResolutionAndColourDepthDecideWhatIsShown) {
    struct Case {
        std::int32_t setting;
        const wchar_t* quality;
        bool colour_modes;
        const wchar_t* gamma_key;
    };
    const Case cases[] = {
        {1, L"Quality Selection: Fast", true, L"GammaMode_360"},
        {6, L"Quality Selection: High", true, L"GammaMode_720"},
        {4, L"Quality Selection: Fast", false, L"GammaMode_360"}, // monochrome
        {7, L"Quality Selection: High", false, L"GammaMode_720"}, // 256 greys
    };
    for (const auto& c : cases) {
        setting(c.setting);
        set_item(L"GammaMode_360", 1);
        set_item(L"GammaMode_720", 2);
        set_item(L"ColorCorrectMode", 1);
        ASSERT_EQ(run("ok"), IDOK);
        EXPECT_EQ(text(1031), c.quality);
        EXPECT_EQ(enabled(1011), c.colour_modes);
        EXPECT_EQ(static_cast<CComboBox*>(dialog->GetDlgItem(1011))->GetCount(),
                  c.colour_modes ? 2 : 0);
        EXPECT_EQ(static_cast<CComboBox*>(dialog->GetDlgItem(1012))->GetCurSel(),
                  item(c.gamma_key));
        EXPECT_EQ(item(L"ColorCorrectMode"), 1) << "OK writes the colour mode back unchanged";
    }
}

TEST_F(Custom_Properties_Fixture, AMissingCapabilityGivesTheDefault) {
    set_item(L"PaperThick_360", 9);
    set_item(L"CartrigeOpt", 1);
    auto caps = definition->get_plotter_capabilities()->get_custom_capabilities();
    auto kept = caps->all();
    caps->clear();
    for (const auto& c : kept)
        if (c->name() != L"PaperThick_360")
            caps->add(c);
    ASSERT_EQ(run("ok"), IDOK);
    EXPECT_EQ(TheCustomPropertiesState().current.paperthick, 1) << "read with its default 1";
    EXPECT_EQ(dialog->IsDlgButtonChecked(1037), 1) << "Photo Quality";
    EXPECT_EQ(static_cast<CComboBox*>(dialog->GetDlgItem(1002))->GetCount(), 11);
}

TEST_F(Custom_Properties_Fixture, EnableRulesOfTheColourConversionGroup) {
    struct Step {
        const char* click;
        bool black_box, apply_boxes, pair1_lists, pair2_lists;
    };
    const Step steps[] = {
        {nullptr, false, false, false, false}, // conversion off
        {"1001", true, true, false, false},    // on: the Apply boxes decide the lists
        {"1021", true, true, true, false},
        {"1005", true, false, false, false}, // convert to black: no substitution
        {"1005", true, true, true, false},
        {"1001", false, false, false, false},
    };
    std::string script;
    for (const Step& s : steps) {
        if (s.click)
            script += std::string("click ") + s.click + "\n";
        queue_dialog_actions(parse_dialog_script(script));
        dialog = std::make_unique<CDlgCustomSettings>(definition, nullptr);
        clear_dialog_actions();
        queue_dialog_actions(parse_dialog_script(script + "cancel"));
        dialog->DoModal();
        SCOPED_TRACE(script);
        EXPECT_EQ(enabled(1005), s.black_box);
        EXPECT_EQ(enabled(1021), s.apply_boxes);
        EXPECT_EQ(enabled(1004), s.pair1_lists);
        EXPECT_EQ(enabled(1008), s.pair1_lists);
        EXPECT_EQ(enabled(1006), s.pair2_lists);
    }
    EXPECT_FALSE(TheCustomPropertiesState().settings_committed);
}

TEST_F(Custom_Properties_Fixture, InkSetsAndMediaKeepTheirPaperValues) {
    set_item(L"GammaMode_360", 2);
    set_item(L"BothSideProcess_360", 1);
    // High Speed (the default) to Photo Quality and back: the first paper's gamma and
    // bidirectional setting come back from the per-paper store.
    ASSERT_EQ(run("click 1037\nclick 1038\nok"), IDOK);
    EXPECT_EQ(item(L"GammaMode_360"), 2);
    EXPECT_EQ(item(L"BothSideProcess_360"), 1);
    EXPECT_EQ(dialog->IsDlgButtonChecked(1028), 1);

    // Another paper type shows that paper's values (the defaults: gamma 1, bidirectional).
    ASSERT_EQ(run("select 1012 0\nselect 1002 3\ncancel"), IDCANCEL);
    EXPECT_EQ(static_cast<CComboBox*>(dialog->GetDlgItem(1012))->GetCurSel(), 1);
}

TEST_F(Custom_Properties_Fixture, OkWritesBothResolutionsAndTheFileCancelNothing) {
    setting(6); // 720 dpi
    ASSERT_EQ(run("cancel"), IDCANCEL);
    const std::string file_before = read_file(file);
    ASSERT_EQ(run("select 1012 2\nclick 1028\ncancel"), IDCANCEL);
    EXPECT_EQ(item(L"GammaMode_720"), 0) << "Cancel writes no item";
    EXPECT_EQ(read_file(file), file_before) << "and not the file";

    ASSERT_EQ(run("select 1002 2\nselect 1012 2\nok"), IDOK);
    EXPECT_TRUE(TheCustomPropertiesState().settings_committed);
    EXPECT_EQ(item(L"PaperKindMode_4c"), 2);
    EXPECT_EQ(item(L"GammaMode_720"), 2);
    // The 360 dpi items hold paper 3's 360 dpi block of the store: its defaults, cut method 1.
    EXPECT_EQ(item(L"CutAdjustMode_360"), DefaultPaperSettings[0][2].adjustmode);
    EXPECT_EQ(item(L"GammaMode_360"), DefaultPaperSettings[0][2].gamma);
    // The file holds the dialog's values as paper 3's 720 dpi block.
    PaperBlockStore reread;
    ExtractAllPaperBlocks(read_file(file), reread);
    PaperSettings stored{};
    ASSERT_EQ(reread.LoadPaperSettings(2, 720.0f, 0, stored), 1);
    EXPECT_EQ(stored.gamma, 2);
}

TEST_F(Custom_Properties_Fixture, ExportWaitsForConfirmedSettings) {
    const fs::path elsewhere = layout.root() / "exported";
    fs::create_directories(elsewhere);
    const std::wstring refused =
        L"You cannot export until the Custom Properties settings have been set.\n\nPush the OK "
        L"button to close Custom Properties,\nthen re-open Custom Properties to export.";
    queue_file_dialog_answer(elsewhere / "any name.txt");
    ASSERT_EQ(run("click 1034\ncancel"), IDCANCEL);
    EXPECT_EQ(messages(), std::vector<std::wstring>{refused}) << "nothing confirmed yet";
    EXPECT_TRUE(shown_file_dialogs().empty());
    clear_shown_file_dialogs(); // and the answer nobody asked for

    vxp::clear_shown_message_boxes();
    ASSERT_EQ(run("ok"), IDOK);
    // Confirmed: a colour change keeps it so; exporting into the driver's folder is refused,
    // elsewhere the file is copied under its own name whatever name was typed.
    queue_file_dialog_answer(layout.drv() / "copy.px_");
    ASSERT_EQ(run("click 1001\nclick 1034\ncancel"), IDCANCEL);
    EXPECT_EQ(messages(),
              std::vector<std::wstring>{L"The selected folder cannot be used for export."});
    vxp::clear_shown_message_boxes();
    TheCustomPropertiesState().settings_committed = true;
    queue_file_dialog_answer(elsewhere / "any name.txt");
    ASSERT_EQ(run("click 1034\ncancel"), IDCANCEL);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(read_file(elsewhere / definitions_file_name), read_file(file));
    EXPECT_FALSE(TheCustomPropertiesState().settings_committed) << "Cancel clears it";

    // A change of the paper type clears it too.
    TheCustomPropertiesState().settings_committed = true;
    ASSERT_EQ(run("select 1002 1\nclick 1034\ncancel"), IDCANCEL);
    EXPECT_EQ(messages(), std::vector<std::wstring>{refused});
}

TEST_F(Custom_Properties_Fixture, ImportChecksTheFileBeforeTakingIt) {
    ASSERT_EQ(run("cancel"), IDCANCEL);
    const fs::path other = layout.root() / "other";
    fs::create_directories(other);
    // A valid file of other values: gamma 2 for paper 1 at 360 dpi.
    PaperBlockStore values;
    ExtractAllPaperBlocks(read_file(file), values);
    PaperSettings paper1 = DefaultPaperSettings[0][0];
    paper1.gamma = 2;
    paper1.bothway = 0;
    values.StorePaperSettings(0, 360.0f, 0, paper1);
    Definitions_Text composed;
    ComposeDefinitionsText(composed, values);
    const std::string good(composed.view());
    std::string missing_tag = good;
    missing_tag.erase(missing_tag.find("<gap>"), 5);
    std::ofstream(other / "ZELTO7M.PX_", std::ios::binary) << good;
    std::ofstream(other / "zelto7m.px_", std::ios::binary) << missing_tag;
    std::ofstream(other / "table.px_", std::ios::binary) << good;

    struct Case {
        fs::path chosen;
        const wchar_t* message;
    };
    const Case refusals[] = {
        {file, L"You cannot import the selected file."},
        {other / "table.px_", L"You cannot import this kind of file."},
        {other / "zelto7m.px_", L"Contents of the selected file are incorrect."},
        {layout.root() / "gone" / "zelto7m.px_", L"The selected file cannot be read."},
    };
    const std::string before = read_file(file);
    for (const auto& c : refusals) {
        vxp::clear_shown_message_boxes();
        queue_file_dialog_answer(c.chosen);
        ASSERT_EQ(run("click 1033\ncancel"), IDCANCEL);
        EXPECT_EQ(messages(), std::vector<std::wstring>{c.message}) << c.chosen;
        EXPECT_EQ(read_file(file), before) << c.chosen;
    }

    // Capital letters are the same name: imported, shown, and the file replaced byte for byte.
    vxp::clear_shown_message_boxes();
    queue_file_dialog_answer(other / "ZELTO7M.PX_");
    ASSERT_EQ(run("click 1033\nok"), IDOK);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(static_cast<CComboBox*>(dialog->GetDlgItem(1012))->GetCurSel(), 2);
    EXPECT_EQ(dialog->IsDlgButtonChecked(1028), 0);
    EXPECT_EQ(item(L"GammaMode_360"), 2);
}

TEST_F(Custom_Properties_Fixture, ColourListsAndThePicker) {
    set_item(L"RASTER_ChangeColor", 1);
    set_item(L"RASTER_ConvertColor1", 1);
    struct Case {
        std::int32_t stored;
        std::wstring selected;
        std::string swatch; ///< of "Other Colors"
    };
    const Case cases[] = {
        {0x0000FF, L"Red", "FFFFFF"},
        {0x0101FF, L"Other Colors", "0101FF"}, // palette index 10
        {0x123456, L"Other Colors", "FFFFFF"}, // not a palette colour: white
    };
    for (const auto& c : cases) {
        set_item(L"RASTER_RGB_Swap1_IndexColor", c.stored);
        ASSERT_EQ(run("cancel"), IDCANCEL);
        EXPECT_EQ(text(1008), c.selected);
        auto drawn = draw_list(*dialog, 1008);
        auto other = std::find(drawn.begin(), drawn.end(), "text 21 166 Other Colors");
        ASSERT_NE(other, drawn.end());
        EXPECT_EQ(*std::next(other), "fill 2 162 16 16 " + c.swatch);
        EXPECT_EQ(*std::next(other, 2), "frame 2 162 16 16 000000");
        ASSERT_EQ(run("ok"), IDOK);
        EXPECT_EQ(item(L"RASTER_RGB_Swap1_IndexColor"), c.stored) << "OK writes it back";
    }

    struct Pick {
        const char* script;
        std::int32_t stored;
        std::wstring selected;
    };
    const Pick picks[] = {
        {"select 1008 8\npick 10\nok", 0x0101FF, L"Other Colors"},
        {"select 1008 8\npick 7\nok", 0x000000, L"White"}, // index 7 is black: "White"'s code
        {"select 1008 8\npick 1\nok", 0x0000FF, L"Red"},
        {"select 1008 8\nok", 0x000000, L"White"}, // picker closed: the colour stays White
        {"select 1008 7\nok", 0xFFFFFF, L"Black"},
        {"select 1004 3\nok", 0x00FF00, L"Green"}, // a screen colour never opens the picker
    };
    for (const auto& p : picks) {
        set_item(L"RASTER_RGB_Swap1_IndexColor", 0);
        set_item(L"RASTER_RGB_Compare1_IndexColor", 0);
        ASSERT_EQ(run(p.script), IDOK) << p.script;
        const bool screen = std::string(p.script).find("1004") != std::string::npos;
        EXPECT_EQ(item(screen ? L"RASTER_RGB_Compare1_IndexColor" : L"RASTER_RGB_Swap1_IndexColor"),
                  p.stored)
            << p.script;
        EXPECT_EQ(text(screen ? 1004 : 1008), p.selected) << p.script;
        EXPECT_EQ(queued_dialog_actions(), 0u) << p.script;
    }
}

TEST_F(Custom_Properties_Fixture, HelpButtonAndHelpKey) {
    ASSERT_EQ(run("help\nclick 1003\ncancel"), IDCANCEL);
    EXPECT_EQ(help_requests(), std::vector<VX_String>{L"drv_zelto_qr7m_en.chm html/menu02"});
}

TEST_F(Custom_Properties_Fixture, PaperConfigOkClearsTheCommittedFlag) {
    ASSERT_EQ(run("ok"), IDOK);
    ASSERT_TRUE(TheCustomPropertiesState().settings_committed);
    ASSERT_EQ(run("click 1032\ntype 1033 5\nok\nclick 1034\nok"), IDOK);
    EXPECT_EQ(item(L"PaperThick_360"), 5);
    EXPECT_EQ(messages().size(), 1u) << "Export was refused after Paper Config";
}

TEST_F(Custom_Properties_Fixture, CustomConfigureOfTheDriver) {
    // The driver's own dialog, in the module: cancelled, then confirmed.
    queue_dialog_actions(parse_dialog_script("cancel"));
    EXPECT_FALSE(definition->CustomConfigure(nullptr));
    queue_dialog_actions(parse_dialog_script("select 1012 2\nok"));
    EXPECT_TRUE(definition->CustomConfigure(nullptr));
    EXPECT_EQ(item(L"GammaMode_360"), 2);
}

// The same dialogs in real Qt windows (offscreen): a script clicks through them and takes a
// picture of each state into the build tree, for a person to look at.
TEST_F(Custom_Properties_Fixture, QtWindowsShowTheDialogs) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    set_dialog_backend(Dialog_Backend::qt);
    const fs::path shots = VX_SCREENSHOT_DIR;
    fs::create_directories(shots);
    const char* const pictures[] = {"custom_properties.png", "custom_properties_conversion.png",
                                    "colour_picker.png", "paper_config.png",
                                    "paper_config_edited.png"};
    for (const char* name : pictures)
        fs::remove(shots / name);
    set_item(L"RASTER_RGB_Swap2_IndexColor", 0x0101FF);
    const std::string s = shots.string() + "/";
    ASSERT_EQ(run("shot " + s +
                  "custom_properties.png\n"
                  "click 1001\nclick 1021\nclick 1022\nselect 1008 5\n"
                  "select 1009 8\nshot " +
                  s +
                  "colour_picker.png\npick 100\n"
                  "shot " +
                  s +
                  "custom_properties_conversion.png\n"
                  "click 1032\n"
                  "shot " +
                  s +
                  "paper_config.png\n"
                  "drag 1038 20\ntype 1036 -80\nselect 1032 2\n"
                  "shot " +
                  s +
                  "paper_config_edited.png\n"
                  "ok\nok\n"),
              IDOK);
    EXPECT_EQ(item(L"RASTER_ChangeColor"), 1);
    EXPECT_EQ(item(L"RASTER_RGB_Swap1_IndexColor"), 0xFF0000) << "Blue";
    EXPECT_EQ(item(L"RASTER_RGB_Swap2_IndexColor"), colour_index_palette()[100]);
    EXPECT_EQ(item(L"PathDelayTime_360"), 20);
    EXPECT_EQ(item(L"InkDensity_360"), -50);
    EXPECT_EQ(item(L"CutAdjustMode_360"), 2);
    for (const char* name : pictures)
        EXPECT_GT(fs::file_size(shots / name), 2000u) << name;
}

} // namespace
