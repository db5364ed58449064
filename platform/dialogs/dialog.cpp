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

CDialog::CDialog(const vxp::Dialog_Resource& resource, CDialog* parent)
    : m_template_id(resource.id), m_resources(nullptr), m_parent(parent), m_template(&resource) {}

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
    std::lock_guard lock(queues().mutex);
    queues().file_requests.push_back(request);
    if (queues().file_answers.empty())
        return std::nullopt; // nobody to answer: cancelled
    auto answer = queues().file_answers.front();
    queues().file_answers.pop_front();
    return answer;
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
