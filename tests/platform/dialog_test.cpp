// The dialog library with its headless back end: a small dialog of every kind of control, driven
// by scripted user actions.
#include "platform/dialogs/dialog.h"

#include <gtest/gtest.h>

namespace {

const vxp::Control_Resource controls[] = {
    {1001, "check", L"Apply", 5, 5, 40, 10},
    {1002, "combo", L"", 5, 20, 80, 60},
    {1003, "edit", L"", 5, 40, 30, 12},
    {1004, "slider_both", L"", 5, 60, 100, 15},
    {1005, "radio_group", L"One", 5, 80, 40, 10},
    {1006, "radio", L"Two", 50, 80, 40, 10},
    {1007, "radio_group", L"Other group", 95, 80, 40, 10},
    {-1, "static", L"a label", 5, 95, 40, 8},
    {1, "default_button", L"OK", 5, 110, 50, 14},
    {2, "button", L"Cancel", 60, 110, 50, 14},
};
const vxp::Dialog_Resource resource = {
    900, L"Test", 200, 130, L"MS Sans Serif", 9, controls, std::size(controls)};

// Records what it was told, corrects its edit box in place (digits only, at most 40).
class Test_Dialog : public CDialog {
public:
    Test_Dialog() : CDialog(&resource) {}

    int apply = 0;
    std::wstring choice, number = L"7";
    std::vector<std::string> events;
    bool fail_exchange = false;

protected:
    const Message_Map& GetMessageMap() const override {
        static const Message_Map map = {
            on<&Test_Dialog::OnApply>(1001, BN_CLICKED),
            on<&Test_Dialog::OnChoice>(1002, CBN_SELCHANGE),
            on<&Test_Dialog::OnClosed>(1002, CBN_CLOSEUP),
            on<&Test_Dialog::OnNumber>(1003, EN_UPDATE),
            on<&Test_Dialog::OnDraw>(1004, NM_CUSTOMDRAW),
            on<&Test_Dialog::OnReleased>(1004, NM_RELEASEDCAPTURE),
            on<&Test_Dialog::OnHelpKey>(0, NOTIFY_HELP),
        };
        return map;
    }
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Check(dx, 1001, apply);
        DDX_CBString(dx, 1002, choice);
        DDX_Text(dx, 1003, number);
        DDV_MaxChars(dx, number, 2);
        if (fail_exchange && dx->m_bSaveAndValidate)
            dx->Fail();
    }
    bool OnInitDialog() override {
        auto* list = static_cast<CComboBox*>(GetDlgItem(1002));
        for (const wchar_t* entry : {L"Standard", L"Thin Paper", L"Thick Paper"})
            list->AddString(entry);
        choice = L"Thin";
        static_cast<CSliderCtrl*>(GetDlgItem(1004))->SetRange(-50, 50);
        CheckDlgButton(1005, 1);
        CheckDlgButton(1007, 1);
        return CDialog::OnInitDialog();
    }

private:
    void OnApply() { events.push_back("apply " + std::to_string(IsDlgButtonChecked(1001))); }
    void OnChoice() {
        events.push_back("choice " +
                         std::to_string(static_cast<CComboBox*>(GetDlgItem(1002))->GetCurSel()));
    }
    void OnClosed() { events.push_back("closed"); }
    void OnNumber() {
        std::wstring text = GetDlgItemText(1003);
        events.push_back("update " + vxp::to_utf8(text));
        auto bad = std::find_if(text.begin(), text.end(), [](wchar_t c) { return !iswdigit(c); });
        if (bad != text.end())
            SetDlgItemText(1003, std::wstring(text.begin(), bad));
        else if (!text.empty() && std::stoi(text) > 40)
            SetDlgItemText(1003, L"40");
    }
    void OnDraw(Notify_Info& info) {
        events.push_back("draw " +
                         std::to_string(static_cast<CSliderCtrl*>(GetDlgItem(1004))->GetPos()));
        info.result = 0;
    }
    void OnReleased() { events.push_back("released"); }
    void OnHelpKey() { events.push_back("help"); }
};

struct Dialog_Fixture : ::testing::Test {
    Dialog_Fixture() {
        set_dialog_backend(Dialog_Backend::headless);
        clear_dialog_actions();
    }
    ~Dialog_Fixture() override { clear_dialog_actions(); }
    int run(Test_Dialog& dialog, const std::string& script) {
        queue_dialog_actions(parse_dialog_script(script));
        return dialog.DoModal();
    }
};

TEST_F(Dialog_Fixture, ScriptedActionsReachTheHandlersAndTheMembers) {
    Test_Dialog dialog;
    int result = run(dialog, "click 1001\n"
                             "select 1002 2\n"
                             "close 1002\n"
                             "drag 1004 30\n"
                             "key 1004 -80\n"
                             "help\n"
                             "ok\n");
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.apply, 1);
    EXPECT_EQ(dialog.choice, L"Thick Paper");
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"apply 1", "choice 2", "closed", "closed",
                                                       "draw 30", "released", "draw -50", "help"}))
        << "a slider keyed past its range stops at its end; keys release no capture";
    EXPECT_EQ(queued_dialog_actions(), 0u);
}

TEST_F(Dialog_Fixture, DataExchangeLoadsSavesAndLimits) {
    Test_Dialog dialog;
    run(dialog, "");
    // Loading selected the first entry starting with the member's text and set the edit limit.
    auto* list = static_cast<CComboBox*>(dialog.GetDlgItem(1002));
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(static_cast<CEdit*>(dialog.GetDlgItem(1003))->GetLimitText(), 2);
    EXPECT_EQ(dialog.GetDlgItemText(1003), L"7");

    // Typing goes through the handler for every character; corrections are checked again.
    Test_Dialog typed;
    EXPECT_EQ(run(typed, "type 1003 9x\nok\n"), IDOK);
    EXPECT_EQ(typed.number, L"9");
    Test_Dialog capped;
    EXPECT_EQ(run(capped, "type 1003 999\nok\n"), IDOK);
    EXPECT_EQ(capped.number, L"40") << "the limit of 2 stops the third 9; 99 is corrected";
    EXPECT_EQ(capped.events,
              (std::vector<std::string>{"update ", "update 9", "update 99", "update 40"}));

    // A failed exchange keeps the dialog open: OK does nothing, the script runs out: cancelled.
    Test_Dialog failing;
    failing.fail_exchange = true;
    EXPECT_EQ(run(failing, "click 1001\nok\nclick 1001\n"), IDCANCEL);
    EXPECT_EQ(failing.events, (std::vector<std::string>{"apply 1", "apply 0"}))
        << "the dialog took the click after the failed OK";
}

TEST_F(Dialog_Fixture, RadioGroupsAndDisabledControls) {
    Test_Dialog dialog;
    run(dialog, "click 1006\nok\n");
    EXPECT_EQ(dialog.IsDlgButtonChecked(1005), 0);
    EXPECT_EQ(dialog.IsDlgButtonChecked(1006), 1);
    EXPECT_EQ(dialog.IsDlgButtonChecked(1007), 1) << "another group is left alone";

    class Disabling : public Test_Dialog {
        bool OnInitDialog() override {
            bool focus = Test_Dialog::OnInitDialog();
            GetDlgItem(1001)->EnableWindow(false);
            return focus;
        }
    } disabled;
    queue_dialog_actions(parse_dialog_script("click 1001\n"));
    try {
        disabled.DoModal();
        ADD_FAILURE() << "clicking a disabled control is a script error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "dialog 900: control 1001 is disabled");
    }
}

TEST_F(Dialog_Fixture, ScriptsAreCheckedLineByLine) {
    struct Case {
        const char* script;
        const char* message;
    };
    const Case cases[] = {
        {"click", "line 1 (\"click\"): a control id is needed"},
        {"\n# note\nselect 1002", "line 3 (\"select 1002\"): a number is needed"},
        {"press 1", "line 1 (\"press 1\"): unknown action"},
        {"ok now", "line 1 (\"ok now\"): unexpected \"now\""},
    };
    for (const auto& c : cases) {
        try {
            parse_dialog_script(c.script);
            ADD_FAILURE() << c.script;
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
    }
    auto typed = parse_dialog_script("type 1003 two words\n");
    ASSERT_EQ(typed.size(), 1u);
    EXPECT_EQ(typed[0].text, L"two words");
}

TEST_F(Dialog_Fixture, FileDialogsAnswerFromTheQueue) {
    clear_shown_file_dialogs();
    queue_file_dialog_answer(std::filesystem::path("/tmp/a.px_"));
    queue_file_dialog_answer(std::nullopt);
    EXPECT_EQ(file_dialog(nullptr, {true, L"Import", L"*.px_", L""}),
              std::filesystem::path("/tmp/a.px_"));
    EXPECT_EQ(file_dialog(nullptr, {false, L"Export", L"*.px_", L"zelto7m.px_"}), std::nullopt);
    EXPECT_EQ(file_dialog(nullptr, {true, L"Again", L"", L""}), std::nullopt)
        << "nobody answers: cancelled";
    auto shown = shown_file_dialogs();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_FALSE(shown[1].open);
    EXPECT_EQ(shown[1].file_name, L"zelto7m.px_");
}

} // namespace
