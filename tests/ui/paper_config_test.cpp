// The Paper Config dialog, driven by scripted user actions through the headless dialog back end.
#include "ui/paper_config.h"
#include "ui/ui_state.h"

#include <gtest/gtest.h>

namespace {

struct Paper_Config_Fixture : ::testing::Test {
    const PaperSettings start{2, 0, 10, 5, -20, 3, 2, 4, 1, 2};
    Paper_Config_Fixture() {
        set_dialog_backend(Dialog_Backend::headless);
        clear_dialog_actions();
        TheCustomPropertiesState().current = start;
        TheCustomPropertiesState().reset_slot = 0;
    }
    ~Paper_Config_Fixture() override { clear_dialog_actions(); }

    // Runs the dialog on `script`; the dialog stays for a look at its controls.
    int run(CDlgDetailSetting& dialog, const std::string& script) {
        queue_dialog_actions(parse_dialog_script(script));
        return dialog.DoModal();
    }
    static int slider(const CDialog& dialog, int id) {
        return static_cast<CSliderCtrl*>(dialog.GetDlgItem(id))->GetPos();
    }
    static std::wstring list(const CDialog& dialog, int id) { return dialog.GetDlgItemText(id); }
    const PaperSettings& current() const { return TheCustomPropertiesState().current; }
};

TEST_F(Paper_Config_Fixture, OpensOnTheCurrentValues) {
    CDlgDetailSetting dialog;
    ASSERT_EQ(run(dialog, "cancel\n"), IDCANCEL);
    EXPECT_EQ(dialog.caption(), L"Paper Config");
    EXPECT_EQ(dialog.GetDlgItemText(1036), L"10");
    EXPECT_EQ(slider(dialog, 1034), 10);
    EXPECT_EQ(dialog.GetDlgItemText(1037), L"5");
    EXPECT_EQ(dialog.GetDlgItemText(1035), L"-20");
    EXPECT_EQ(slider(dialog, 1039), -20);
    EXPECT_EQ(slider(dialog, 1040), 3);
    EXPECT_EQ(dialog.GetDlgItemText(1033), L"4");
    EXPECT_EQ(list(dialog, 1032), L"Thick Paper, Fast");
    EXPECT_EQ(list(dialog, 1041), L"Wider");
    EXPECT_EQ(list(dialog, 1042), L"Starwheel-Roll Curled");
    auto* density = static_cast<CSliderCtrl*>(dialog.GetDlgItem(1034));
    EXPECT_EQ(density->GetRangeMin(), -50);
    EXPECT_EQ(density->GetRangeMax(), 50);
    EXPECT_EQ(static_cast<CEdit*>(dialog.GetDlgItem(1035))->GetLimitText(), 3);
    EXPECT_EQ(static_cast<CEdit*>(dialog.GetDlgItem(1037))->GetLimitText(), 2);
    EXPECT_EQ(current(), start) << "Cancel changes nothing";
}

TEST_F(Paper_Config_Fixture, NumberBoxesAreCorrectedAsTheUserTypes) {
    struct Case {
        int edit;
        const char* typed;
        const wchar_t* shown;
        std::int32_t PaperSettings::*field; ///< its value after OK
        std::int32_t value;
        int slider; ///< the slider that follows it, 0 for none
    };
    const Case cases[] = {
        {1036, "-", L"-", &PaperSettings::inkdensity, 10, 1034}, // still being typed
        {1036, "-80", L"-50", &PaperSettings::inkdensity, -50, 1034},
        {1036, "+7", L"+7", &PaperSettings::inkdensity, 7, 1034},
        {1036, "x", L"", &PaperSettings::inkdensity, 10, 1034},  // emptied: value kept
        {1036, "x5", L"5", &PaperSettings::inkdensity, 5, 1034}, // then typed afresh
        {1035, "7a", L"7", &PaperSettings::feedoffset, 7, 1039},
        {1035, "99", L"70", &PaperSettings::feedoffset, 70, 1039},
        {1037, "+", L"", &PaperSettings::delaytime, 5, 1038}, // no sign here
        {1037, "99", L"50", &PaperSettings::delaytime, 50, 1038},
        {1033, "0", L"1", &PaperSettings::paperthick, 1, 0},
        {1033, "17", L"16", &PaperSettings::paperthick, 16, 0},
        {1033, "99", L"16", &PaperSettings::paperthick, 16, 0},
        {1033, "9", L"9", &PaperSettings::paperthick, 9, 0},
        {1033, "", L"", &PaperSettings::paperthick, 4, 0}, // cleared: value kept
    };
    for (const auto& c : cases) {
        TheCustomPropertiesState().current = start;
        CDlgDetailSetting dialog;
        ASSERT_EQ(run(dialog, "type " + std::to_string(c.edit) + " " + c.typed + "\nok\n"), IDOK)
            << c.typed;
        EXPECT_EQ(dialog.GetDlgItemText(c.edit), c.shown) << c.edit << " " << c.typed;
        EXPECT_EQ(current().*c.field, c.value) << c.edit << " " << c.typed;
        if (c.slider) {
            EXPECT_EQ(slider(dialog, c.slider), c.value) << c.edit << " " << c.typed;
        }
    }
}

TEST_F(Paper_Config_Fixture, SlidersAndLists) {
    CDlgDetailSetting dialog;
    ASSERT_EQ(run(dialog, "drag 1038 20\n"
                          "drag 1034 -30\n"
                          "key 1040 1\n"
                          "select 1032 3\n"
                          "select 1041 4\n"
                          "ok\n"),
              IDOK);
    EXPECT_EQ(dialog.GetDlgItemText(1037), L"20") << "the box follows the slider";
    EXPECT_EQ(dialog.GetDlgItemText(1036), L"-30");
    EXPECT_EQ(current().delaytime, 20);
    EXPECT_EQ(current().inkdensity, -30);
    EXPECT_EQ(current().vacuum, 3) << "the suction slider moved by keys only is not taken";
    EXPECT_EQ(current().adjustmode, 3);
    EXPECT_EQ(current().gap, 4);
    EXPECT_EQ(current().roller, 2);
    EXPECT_EQ(current().gamma, start.gamma) << "gamma is not this dialog's";

    CDlgDetailSetting dragged;
    ASSERT_EQ(run(dragged, "drag 1040 1\nok\n"), IDOK);
    EXPECT_EQ(current().vacuum, 1);
}

TEST_F(Paper_Config_Fixture, ResetShowsThePapersDefaults) {
    struct Case {
        int slot;
        const wchar_t* cut;
        const wchar_t* thickness;
    };
    // Paper 10 and paper 16 at 720 dpi (slots 9 + 32 and 15 + 32), paper 1 at 360 dpi.
    for (const Case& c :
         {Case{41, L"Thin Paper", L"1"}, Case{47, L"Standard", L"3"}, Case{0, L"Standard", L"1"}}) {
        TheCustomPropertiesState().current = start;
        TheCustomPropertiesState().reset_slot = c.slot;
        CDlgDetailSetting cancelled;
        ASSERT_EQ(run(cancelled, "click 1031\ncancel\n"), IDCANCEL);
        EXPECT_EQ(list(cancelled, 1032), c.cut) << c.slot;
        EXPECT_EQ(cancelled.GetDlgItemText(1033), c.thickness) << c.slot;
        EXPECT_EQ(cancelled.GetDlgItemText(1036), L"0");
        EXPECT_EQ(slider(cancelled, 1040), 0);
        EXPECT_EQ(current(), start) << "Cancel after a reset leaves the current values";

        CDlgDetailSetting confirmed;
        ASSERT_EQ(run(confirmed, "click 1031\nok\n"), IDOK);
        PaperSettings expected = DefaultPaperSettings[c.slot >= 32][std::size_t(c.slot % 32)];
        expected.gamma = start.gamma;
        expected.bothway = start.bothway;
        EXPECT_EQ(current(), expected) << "OK after a reset writes the defaults";
    }
}

TEST_F(Paper_Config_Fixture, AnIndexOutsideAListSelectsNothingAndIsKept) {
    TheCustomPropertiesState().current.gap = 9;
    CDlgDetailSetting dialog;
    ASSERT_EQ(run(dialog, "ok\n"), IDOK);
    EXPECT_EQ(static_cast<CComboBox*>(dialog.GetDlgItem(1041))->GetCurSel(), -1);
    EXPECT_EQ(current().gap, 9);
}

} // namespace
