// The dialog library: controls made from templates, data exchange, message dispatch, and the
// headless back end's modal runs driven by queued user actions.
#include "dialog_p.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <deque>
#include <mutex>
#include <sstream>
#include <stdexcept>

namespace {

struct Exchange_Failed {};

struct Queues {
    std::mutex mutex;
    std::deque<Dialog_Action> actions;
    std::deque<std::optional<std::filesystem::path>> file_answers;
    std::vector<File_Dialog_Request> file_requests;
};
Queues& queues() {
    static Queues* q = new Queues;
    return *q;
}

Dialog_Backend g_backend = Dialog_Backend::automatic;

bool display_available() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* value = std::getenv(name); value && *value)
            return true;
    return false;
}

std::optional<Dialog_Action> next_action() {
    std::lock_guard lock(queues().mutex);
    if (queues().actions.empty())
        return std::nullopt;
    Dialog_Action action = queues().actions.front();
    queues().actions.pop_front();
    return action;
}

[[noreturn]] void script_error(const CDialog& dialog, const std::string& what) {
    throw std::runtime_error("dialog " + std::to_string(dialog.template_id()) + ": " + what);
}

} // namespace

// --- views -----------------------------------------------------------------------------------

CWnd::~CWnd() = default;

Control_State& CWnd::state() const {
    if (!m_state)
        throw std::logic_error("a control view used before it was bound to a control");
    return *m_state;
}
int CWnd::GetDlgCtrlID() const {
    return state().id;
}
const std::string& CWnd::kind() const {
    return state().kind;
}
Dialog_Rect CWnd::rect() const {
    return state().rect;
}
void CWnd::EnableWindow(bool enable) {
    state().enabled = enable;
}
bool CWnd::IsWindowEnabled() const {
    return state().enabled;
}
void CWnd::SetWindowText(const std::wstring& text) {
    Control_State& s = state();
    s.text = text;
    // An edit box reports a text set by the program like a typed one; a handler that corrects
    // the text in place is called again for the corrected text (nesting is bounded).
    if (is_edit(s) && s.dialog && s.dialog->running() && s.notifying < 8) {
        ++s.notifying;
        s.dialog->notify(s.id, EN_UPDATE);
        s.dialog->notify(s.id, EN_CHANGE);
        --s.notifying;
    }
}
std::wstring CWnd::GetWindowText() const {
    const Control_State& s = state();
    if (is_list(s))
        return s.selection >= 0 ? s.items[std::size_t(s.selection)].text : std::wstring();
    return s.text;
}

void CButton::SetCheck(int check) {
    state().check = check;
}
int CButton::GetCheck() const {
    return state().check;
}

void CComboBox::ResetContent() {
    state().items.clear();
    state().selection = -1;
}
int CComboBox::AddString(const std::wstring& text) {
    state().items.push_back({text, 0});
    return int(state().items.size()) - 1;
}
int CComboBox::InsertString(int index, const std::wstring& text) {
    auto& items = state().items;
    if (index == -1)
        index = int(items.size());
    if (index < 0 || index > int(items.size()))
        return CB_ERR;
    items.insert(items.begin() + index, {text, 0});
    if (state().selection >= index)
        ++state().selection;
    return index;
}
int CComboBox::GetCount() const {
    return int(state().items.size());
}
int CComboBox::SetCurSel(int index) {
    if (index < 0 || index >= GetCount()) {
        state().selection = -1;
        return CB_ERR;
    }
    state().selection = index;
    return index;
}
int CComboBox::GetCurSel() const {
    return state().selection;
}
std::wstring CComboBox::GetLBText(int index) const {
    return index >= 0 && index < GetCount() ? state().items[std::size_t(index)].text
                                            : std::wstring();
}
int CComboBox::SetItemData(int index, std::uintptr_t data) {
    if (index < 0 || index >= GetCount())
        return CB_ERR;
    state().items[std::size_t(index)].data = data;
    return 0;
}
std::uintptr_t CComboBox::GetItemData(int index) const {
    return index >= 0 && index < GetCount() ? state().items[std::size_t(index)].data
                                            : std::uintptr_t(-1);
}
void CComboBox::DrawItem(Draw_Item&) {}

void CEdit::SetLimitText(int limit) {
    state().limit = std::max(limit, 0);
}
int CEdit::GetLimitText() const {
    return state().limit;
}
void CEdit::SetSel(int start, int end) {
    state().sel_start = start;
    state().sel_end = end;
}
std::pair<int, int> CEdit::GetSel() const {
    return {state().sel_start, state().sel_end};
}

void CSliderCtrl::SetRange(int low, int high, bool) {
    state().low = low;
    state().high = high;
    state().position = std::clamp(state().position, low, std::max(low, high));
}
int CSliderCtrl::GetRangeMin() const {
    return state().low;
}
int CSliderCtrl::GetRangeMax() const {
    return state().high;
}
void CSliderCtrl::SetTicFreq(int frequency) {
    state().tic_frequency = frequency;
}
void CSliderCtrl::SetPageSize(int size) {
    state().page_size = size;
}
void CSliderCtrl::SetPos(int position) {
    state().position = std::clamp(position, state().low, std::max(state().low, state().high));
}
int CSliderCtrl::GetPos() const {
    return state().position;
}

// --- data exchange ---------------------------------------------------------------------------

void CDataExchange::Fail() {
    throw Exchange_Failed{};
}

namespace {

Control_State& exchanged(CDataExchange* dx, int id) {
    Control_State* s = dx->dialog().control(id);
    if (!s)
        throw std::logic_error("dialog " + std::to_string(dx->dialog().template_id()) +
                               " has no control " + std::to_string(id));
    dx->m_last_control = id;
    return *s;
}

bool starts_with_ignoring_case(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](wchar_t a, wchar_t b) {
               return std::towlower(wint_t(a)) == std::towlower(wint_t(b));
           });
}

} // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    Control_State& s = exchanged(dx, id);
    control.attach(&s);
    s.bound = &control;
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    Control_State& s = exchanged(dx, id);
    if (dx->m_bSaveAndValidate)
        value = s.check;
    else
        s.check = value;
}

void DDX_CBString(CDataExchange* dx, int id, std::wstring& value) {
    Control_State& s = exchanged(dx, id);
    if (dx->m_bSaveAndValidate) {
        value = s.selection >= 0 ? s.items[std::size_t(s.selection)].text : std::wstring();
        return;
    }
    // As the platform's lists select by text: the first entry that starts with it; an empty
    // text, or one no entry starts with, leaves the selection as it is.
    if (value.empty())
        return;
    for (std::size_t i = 0; i < s.items.size(); ++i)
        if (starts_with_ignoring_case(s.items[i].text, value)) {
            s.selection = int(i);
            return;
        }
}

void DDX_Text(CDataExchange* dx, int id, std::wstring& value) {
    Control_State& s = exchanged(dx, id);
    if (dx->m_bSaveAndValidate)
        value = s.text;
    else
        s.text = value;
}

void DDV_MaxChars(CDataExchange* dx, const std::wstring& value, int count) {
    Control_State* s = dx->dialog().control(dx->m_last_control);
    if (dx->m_bSaveAndValidate) {
        if (int(value.size()) > count)
            dx->Fail();
    } else if (s && is_edit(*s)) {
        s->limit = count;
    }
}

// --- dialogs ---------------------------------------------------------------------------------

CDialog::CDialog(unsigned template_id, vxp::Module_Handle resources, CDialog* parent)
    : m_template_id(template_id), m_resources(resources), m_parent(parent) {}

CDialog::CDialog(const vxp::Dialog_Resource* resource, CDialog* parent)
    : m_template_id(resource ? resource->id : 0), m_resources(nullptr), m_parent(parent),
      m_template(resource) {}

CDialog::~CDialog() = default;

Control_State* CDialog::control(int id) const {
    for (const auto& c : m_controls)
        if (c->id == id)
            return c.get();
    return nullptr;
}

std::wstring CDialog::caption() const {
    return m_template && m_template->caption ? m_template->caption : L"";
}

CWnd* CDialog::GetDlgItem(int id) const {
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        if (m_controls[i]->id == id)
            return m_views[i].get();
    return nullptr;
}

void CDialog::SetDlgItemText(int id, const std::wstring& text) {
    if (CWnd* c = GetDlgItem(id))
        c->SetWindowText(text);
}
std::wstring CDialog::GetDlgItemText(int id) const {
    CWnd* c = GetDlgItem(id);
    return c ? c->GetWindowText() : std::wstring();
}
void CDialog::CheckDlgButton(int id, int check) {
    if (Control_State* s = control(id))
        s->check = check;
}
int CDialog::IsDlgButtonChecked(int id) const {
    Control_State* s = control(id);
    return s ? s->check : 0;
}

void CDialog::create_controls() {
    m_controls.clear();
    m_views.clear();
    for (std::size_t i = 0; i < m_template->control_count; ++i) {
        const vxp::Control_Resource& r = m_template->controls[i];
        auto state = std::make_unique<Control_State>();
        state->id = r.id;
        state->kind = r.kind ? r.kind : "static";
        state->rect = {r.x, r.y, r.width, r.height};
        state->text = r.text ? r.text : L"";
        state->dialog = this;
        std::unique_ptr<CWnd> view;
        if (is_list(*state))
            view = std::make_unique<CComboBox>();
        else if (is_edit(*state))
            view = std::make_unique<CEdit>();
        else if (is_slider(*state))
            view = std::make_unique<CSliderCtrl>();
        else if (state->kind.find("button") != std::string::npos || is_check(*state) ||
                 is_radio(*state))
            view = std::make_unique<CButton>();
        else
            view = std::make_unique<CWnd>();
        view->attach(state.get());
        m_controls.push_back(std::move(state));
        m_views.push_back(std::move(view));
    }
}

bool CDialog::UpdateData(bool save) {
    CDataExchange dx(*this, save);
    try {
        DoDataExchange(&dx);
    } catch (const Exchange_Failed&) {
        return false;
    }
    return true;
}

const Message_Map& CDialog::GetMessageMap() const {
    static const Message_Map none;
    return none;
}
void CDialog::DoDataExchange(CDataExchange*) {}
bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}
void CDialog::OnOK() {
    if (UpdateData(true))
        EndDialog(IDOK);
}
void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result) {
    m_result = result;
}

void CDialog::notify(int id, int code, Notify_Info* info) {
    Notify_Info local;
    Notify_Info& n = info ? *info : local;
    for (const Message_Entry& e : GetMessageMap())
        if (e.id == id && e.code == code) {
            e.handler(*this, n);
            return;
        }
    if (code == BN_CLICKED && id == IDOK)
        OnOK();
    else if (code == BN_CLICKED && id == IDCANCEL)
        OnCancel();
}

int CDialog::DoModal() {
    if (m_resources)
        m_template = vxp::find_dialog(m_resources, m_template_id);
    if (!m_template)
        return -1;
    create_controls();
    m_result.reset();
    m_running = true;
    struct Stop {
        bool& running;
        ~Stop() { running = false; }
    } stop{m_running};
    OnInitDialog();
    if (use_qt())
        return run_qt_dialog(*this);
    run_actions();
    return *m_result;
}

// The headless modal loop: the queued actions, until the dialog ends; without actions left it is
// closed, which cancels it.
void CDialog::run_actions() {
    while (!m_result) {
        std::optional<Dialog_Action> action = next_action();
        if (!action) {
            close_window();
            return;
        }
        perform(*action);
    }
}

void CDialog::close_window() {
    OnCancel();
    if (!m_result)
        EndDialog(IDCANCEL);
}

// One user action on the dialog's controls, as the user's input reaches them.
void CDialog::perform(const Dialog_Action& action) {
    const Dialog_Action& a = action;
    Control_State* s = nullptr;
    if (a.kind == Dialog_Action::pick)
        script_error(*this, "a colour was picked with no picker open");
    if (a.kind != Dialog_Action::help && a.kind != Dialog_Action::ok &&
        a.kind != Dialog_Action::cancel && a.kind != Dialog_Action::shot) {
        s = control(a.id);
        if (!s)
            script_error(*this, "has no control " + std::to_string(a.id));
        if (!s->enabled)
            script_error(*this, "control " + std::to_string(a.id) + " is disabled");
    }
    switch (a.kind) {
    case Dialog_Action::click:
        if (is_check(*s)) {
            s->check = s->check ? 0 : 1;
        } else if (is_radio(*s)) {
            // The buttons of a group: from the one that starts it to the next non-radio.
            auto self = std::find_if(m_controls.begin(), m_controls.end(),
                                     [&](const auto& c) { return c.get() == s; });
            auto first = self;
            while (first != m_controls.begin() && (*first)->kind != "radio_group" &&
                   is_radio(**std::prev(first)))
                --first;
            for (auto c = first; c != m_controls.end() && is_radio(**c); ++c) {
                if (c != first && (*c)->kind == "radio_group")
                    break;
                (*c)->check = c == self ? 1 : 0;
            }
        }
        notify(a.id, BN_CLICKED);
        break;
    case Dialog_Action::select:
        if (!is_list(*s) || a.value < 0 || a.value >= int(s->items.size()))
            script_error(*this, "control " + std::to_string(a.id) + " has no entry " +
                                    std::to_string(a.value));
        s->selection = a.value;
        notify(a.id, CBN_SELCHANGE);
        notify(a.id, CBN_CLOSEUP);
        break;
    case Dialog_Action::close:
        notify(a.id, CBN_CLOSEUP);
        break;
    case Dialog_Action::type: {
        if (!is_edit(*s))
            script_error(*this, "control " + std::to_string(a.id) + " is not an edit box");
        CWnd* view = GetDlgItem(a.id);
        view->SetWindowText(L"");
        for (wchar_t c : a.text) {
            if (s->limit > 0 && int(s->text.size()) >= s->limit)
                break; // the box takes no more characters
            std::wstring typed = s->text + c;
            s->sel_start = s->sel_end = int(typed.size());
            view->SetWindowText(typed);
        }
        break;
    }
    case Dialog_Action::drag:
    case Dialog_Action::key: {
        if (!is_slider(*s))
            script_error(*this, "control " + std::to_string(a.id) + " is not a slider");
        s->position = std::clamp(a.value, s->low, std::max(s->low, s->high));
        Notify_Info info;
        notify(a.id, NM_CUSTOMDRAW, &info);
        if (a.kind == Dialog_Action::drag)
            notify(a.id, NM_RELEASEDCAPTURE, &info);
        break;
    }
    case Dialog_Action::help:
        notify(0, NOTIFY_HELP);
        break;
    case Dialog_Action::ok:
        notify(IDOK, BN_CLICKED);
        break;
    case Dialog_Action::cancel:
        notify(IDCANCEL, BN_CLICKED);
        break;
    case Dialog_Action::pick:
    case Dialog_Action::shot:
        break;
    }
}

// --- scripts ---------------------------------------------------------------------------------

std::vector<Dialog_Action> parse_dialog_script(const std::string& script) {
    static const std::pair<const char*, Dialog_Action::Kind> kinds[] = {
        {"click", Dialog_Action::click},   {"select", Dialog_Action::select},
        {"close", Dialog_Action::close},   {"type", Dialog_Action::type},
        {"drag", Dialog_Action::drag},     {"key", Dialog_Action::key},
        {"help", Dialog_Action::help},     {"ok", Dialog_Action::ok},
        {"cancel", Dialog_Action::cancel}, {"pick", Dialog_Action::pick},
        {"shot", Dialog_Action::shot},
    };
    std::vector<Dialog_Action> actions;
    std::istringstream lines(script);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word[0] == '#')
            continue;
        auto bad = [&](const std::string& why) {
            throw std::invalid_argument("line " + std::to_string(number) + " (\"" + line +
                                        "\"): " + why);
        };
        auto kind = std::find_if(std::begin(kinds), std::end(kinds),
                                 [&](const auto& k) { return word == k.first; });
        if (kind == std::end(kinds))
            bad("unknown action; the actions are click, select, close, type, drag, key, help, "
                "ok, cancel, pick and shot");
        Dialog_Action a{kind->second};
        const bool needs_id = a.kind != Dialog_Action::help && a.kind != Dialog_Action::ok &&
                              a.kind != Dialog_Action::cancel && a.kind != Dialog_Action::pick &&
                              a.kind != Dialog_Action::shot;
        if (needs_id && !(words >> a.id))
            bad("a control id is needed");
        if (a.kind == Dialog_Action::select || a.kind == Dialog_Action::drag ||
            a.kind == Dialog_Action::key || a.kind == Dialog_Action::pick) {
            if (!(words >> a.value))
                bad("a number is needed");
        }
        if (a.kind == Dialog_Action::type || a.kind == Dialog_Action::shot) {
            std::string rest;
            std::getline(words >> std::ws, rest);
            a.text = vxp::from_utf8(rest);
        }
        std::string extra;
        if (a.kind == Dialog_Action::shot && a.text.empty())
            bad("a file name is needed");
        if (a.kind != Dialog_Action::type && a.kind != Dialog_Action::shot && words >> extra)
            bad("unexpected \"" + extra + "\"");
        actions.push_back(std::move(a));
    }
    return actions;
}

void set_dialog_backend(Dialog_Backend backend) {
    g_backend = backend;
}

bool use_qt() {
    if (g_backend != Dialog_Backend::automatic)
        return g_backend == Dialog_Backend::qt;
    return display_available() && queued_dialog_actions() == 0;
}

std::optional<Dialog_Action> next_dialog_action() {
    return next_action();
}

void queue_dialog_actions(const std::vector<Dialog_Action>& actions) {
    std::lock_guard lock(queues().mutex);
    queues().actions.insert(queues().actions.end(), actions.begin(), actions.end());
}
std::size_t queued_dialog_actions() {
    std::lock_guard lock(queues().mutex);
    return queues().actions.size();
}
void clear_dialog_actions() {
    std::lock_guard lock(queues().mutex);
    queues().actions.clear();
}

std::optional<int> take_picker_answer() {
    std::lock_guard lock(queues().mutex);
    auto& actions = queues().actions;
    if (actions.empty() || actions.front().kind != Dialog_Action::pick)
        return std::nullopt;
    int index = actions.front().value;
    actions.pop_front();
    return index;
}

const std::array<std::int32_t, 256>& colour_index_palette() {
    static const std::array<std::int32_t, 256> palette = {

        0xFFFFFF, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0x000000, 0xFEFEFE,
        0xFDFDFD, 0x0101FF, 0x7F7FFF, 0x0000A5, 0x5252A5, 0x00007F, 0x3F3F7F, 0x00004C, 0x26264C,
        0x000026, 0x131326, 0x003FFF, 0x7F9FFF, 0x0029A5, 0x5267A5, 0x001F7F, 0x3F4F7F, 0x00134C,
        0x262F4C, 0x000926, 0x131726, 0x007FFF, 0x7FBFFF, 0x0052A5, 0x527CA5, 0x003F7F, 0x3F5F7F,
        0x00264C, 0x26394C, 0x001326, 0x131C26, 0x00BFFF, 0x7FDFFF, 0x007CA5, 0x5291A5, 0x005F7F,
        0x3F6F7F, 0x00394C, 0x26424C, 0x001C26, 0x132126, 0x01FFFF, 0x7FFFFF, 0x00A5A5, 0x52A5A5,
        0x007F7F, 0x3F7F7F, 0x004C4C, 0x264C4C, 0x002626, 0x132626, 0x00FFBF, 0x7FFFDF, 0x00A57C,
        0x52A591, 0x007F5F, 0x3F7F6F, 0x004C39, 0x264C42, 0x00261C, 0x132621, 0x00FF7F, 0x7FFFBF,
        0x00A552, 0x52A57C, 0x007F3F, 0x3F7F5F, 0x004C26, 0x264C39, 0x002613, 0x13261C, 0x00FF3F,
        0x7FFF9F, 0x00A529, 0x52A567, 0x007F1F, 0x3F7F4F, 0x004C13, 0x264C2F, 0x002609, 0x132617,
        0x01FF01, 0x7FFF7F, 0x00A500, 0x52A552, 0x007F00, 0x3F7F3F, 0x004C00, 0x264C26, 0x002600,
        0x132613, 0x3FFF00, 0x9FFF7F, 0x29A500, 0x67A552, 0x1F7F00, 0x4F7F3F, 0x134C00, 0x2F4C26,
        0x092600, 0x172613, 0x7FFF00, 0xBFFF7F, 0x52A500, 0x7CA552, 0x3F7F00, 0x5F7F3F, 0x264C00,
        0x394C26, 0x132600, 0x1C2613, 0xBFFF00, 0xDFFF7F, 0x7CA500, 0x91A552, 0x5F7F00, 0x6F7F3F,
        0x394C00, 0x424C26, 0x1C2600, 0x212613, 0xFFFF01, 0xFFFF7F, 0xA5A500, 0xA5A552, 0x7F7F00,
        0x7F7F3F, 0x4C4C00, 0x4C4C26, 0x262600, 0x262613, 0xFFBF00, 0xFFDF7F, 0xA57C00, 0xA59152,
        0x7F5F00, 0x7F6F3F, 0x4C3900, 0x4C4226, 0x261C00, 0x262113, 0xFF7F00, 0xFFBF7F, 0xA55200,
        0xA57C52, 0x7F3F00, 0x7F5F3F, 0x4C2600, 0x4C3926, 0x261300, 0x261C13, 0xFF3F00, 0xFF9F7F,
        0xA52900, 0xA56752, 0x7F1F00, 0x7F4F3F, 0x4C1300, 0x4C2F26, 0x260900, 0x261713, 0xFF0101,
        0xFF7F7F, 0xA50000, 0xA55252, 0x7F0000, 0x7F3F3F, 0x4C0000, 0x4C2626, 0x260000, 0x261313,
        0xFF003F, 0xFF7F9F, 0xA50029, 0xA55267, 0x7F001F, 0x7F3F4F, 0x4C0013, 0x4C262F, 0x260009,
        0x261317, 0xFF007F, 0xFF7FBF, 0xA50052, 0xA5527C, 0x7F003F, 0x7F3F5F, 0x4C0026, 0x4C2639,
        0x260013, 0x26131C, 0xFF00BF, 0xFF7FDF, 0xA5007C, 0xA55291, 0x7F005F, 0x7F3F6F, 0x4C0039,
        0x4C2642, 0x26001C, 0x261321, 0xFF01FF, 0xFF7FFF, 0xA500A5, 0xA552A5, 0x7F007F, 0x7F3F7F,
        0x4C004C, 0x4C264C, 0x260026, 0x261326, 0xBF00FF, 0xDF7FFF, 0x7C00A5, 0x9152A5, 0x5F007F,
        0x6F3F7F, 0x39004C, 0x42264C, 0x1C0026, 0x211326, 0x7F00FF, 0xBF7FFF, 0x5200A5, 0x7C52A5,
        0x3F007F, 0x5F3F7F, 0x26004C, 0x39264C, 0x130026, 0x1C1326, 0x3F00FF, 0x9F7FFF, 0x2900A5,
        0x6752A5, 0x1F007F, 0x4F3F7F, 0x13004C, 0x2F264C, 0x090026, 0x171326, 0x545454, 0x767676,
        0x989898, 0xBABABA, 0xDCDCDC, 0xFCFCFC,
    };
    return palette;
}

std::optional<int> pick_colour_index(int index) {
    if (std::optional<int> picked = take_picker_answer())
        return picked;
    if (use_qt())
        return run_qt_picker(index);
    return std::nullopt;
}

// --- owner drawing ---------------------------------------------------------------------------

Device_Context::~Device_Context() = default;

namespace {

std::string hex_colour(std::uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", colour & 0xFFFFFF);
    return text;
}

std::string rect_text(const Dialog_Rect& r) {
    return std::to_string(r.x) + " " + std::to_string(r.y) + " " + std::to_string(r.width) + " " +
           std::to_string(r.height);
}

// A device context that writes down what is drawn on it.
class Recording_Context : public Device_Context {
public:
    explicit Recording_Context(std::vector<std::string>& out) : m_out(out) {}
    int text_height() const override { return 8; }
    void select_palette(bool shared) override {
        m_out.push_back(shared ? "palette on" : "palette off");
    }
    void set_colours(std::uint32_t text, std::uint32_t background) override {
        m_out.push_back("colours " + hex_colour(text) + " " + hex_colour(background));
    }
    void text_out(int x, int y, const Dialog_Rect&, const std::wstring& text) override {
        m_out.push_back("text " + std::to_string(x) + " " + std::to_string(y) + " " +
                        vxp::to_utf8(text));
    }
    void fill(const Dialog_Rect& rect, std::uint32_t colour) override {
        m_out.push_back("fill " + rect_text(rect) + " " + hex_colour(colour));
    }
    void frame(const Dialog_Rect& rect, std::uint32_t colour) override {
        m_out.push_back("frame " + rect_text(rect) + " " + hex_colour(colour));
    }
    void focus_rect(const Dialog_Rect& rect) override {
        m_out.push_back("focus " + rect_text(rect));
    }

private:
    std::vector<std::string>& m_out;
};

} // namespace

std::vector<std::string> draw_list(const CDialog& dialog, int id) {
    std::vector<std::string> drawn;
    Control_State* s = dialog.control(id);
    if (!s || !is_list(*s))
        return drawn;
    CComboBox* drawer = s->bound ? dynamic_cast<CComboBox*>(s->bound) : nullptr;
    if (!drawer)
        drawer = static_cast<CComboBox*>(dialog.GetDlgItem(id));
    Recording_Context dc(drawn);
    const int count = int(s->items.size());
    for (int i = count == 0 ? -1 : 0; i < count; ++i) {
        Draw_Item item{i,
                       i == s->selection,
                       i == s->selection,
                       !s->enabled,
                       Dialog_Rect{0, 20 * std::max(i, 0), s->rect.width, 20},
                       &dc};
        drawer->DrawItem(item);
    }
    return drawn;
}

std::optional<std::filesystem::path> file_dialog(vxp::Window_Handle,
                                                 const File_Dialog_Request& request) {
    {
        std::lock_guard lock(queues().mutex);
        queues().file_requests.push_back(request);
        if (!queues().file_answers.empty()) {
            auto answer = queues().file_answers.front();
            queues().file_answers.pop_front();
            return answer;
        }
    }
    // Nobody scripted the answer: the user at a window, or nobody (cancelled).
    if (use_qt() && queued_dialog_actions() == 0)
        return run_qt_file_dialog(request);
    return std::nullopt;
}
void queue_file_dialog_answer(std::optional<std::filesystem::path> answer) {
    std::lock_guard lock(queues().mutex);
    queues().file_answers.push_back(std::move(answer));
}
std::vector<File_Dialog_Request> shown_file_dialogs() {
    std::lock_guard lock(queues().mutex);
    return queues().file_requests;
}
void clear_shown_file_dialogs() {
    std::lock_guard lock(queues().mutex);
    queues().file_requests.clear();
    queues().file_answers.clear();
}
