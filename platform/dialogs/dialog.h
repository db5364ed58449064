// The dialog class library the driver's dialogs derive from, in the shape of the platform's own:
// a dialog made from a template (CDialog), its controls (CWnd and the kinds below), data exchange
// between controls and members in both directions (DDX_... and DDV_...), message maps from
// (control id, notification) to handlers, modal runs ended by EndDialog.
//
// A dialog's controls live in the dialog; CWnd objects are views of them. GetDlgItem answers the
// dialog's own view of a control, of the class of its kind; DDX_Control binds a member object
// (which may be a derived class, such as an owner-drawn list) to the control, so that the dialog
// asks that object to draw the control's entries.
//
// Back ends (set_dialog_backend):
// - headless: a modal run executes the user actions queued with queue_dialog_actions() (click,
//   select, type, drag, ...; see Dialog_Action) against the dialog until it ends; a dialog whose
//   actions run out is cancelled, as if its window had been closed. What a dialog shows stays
//   readable from its controls after the run. Nested dialogs (a dialog opened from a handler)
//   take the next actions of the same queue.
// - Qt 6 Widgets: a real window for the template, at its geometry (dialog units of its font),
//   with real controls and owner-drawn lists. The user's input reaches the dialog as the same
//   notifications; queued actions are played on the window first (a "shot FILE" action saves a
//   picture of it), so scripts drive both back ends alike.
#pragma once

#include "platform/vxplatform.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDialog;

/// Notification codes, as the controls send them.
enum Notification : int {
    BN_CLICKED = 0,
    CBN_SELCHANGE = 1,
    CBN_EDITCHANGE = 5,
    CBN_EDITUPDATE = 6,
    CBN_CLOSEUP = 8,
    EN_CHANGE = 0x300,
    EN_UPDATE = 0x400,
    NM_CUSTOMDRAW = -12,
    NM_RELEASEDCAPTURE = -16,
    /// The help key (F1) pressed on the dialog; sent with control id 0.
    NOTIFY_HELP = 0x53,
};

/// Results of a modal run.
enum : int { IDOK = 1, IDCANCEL = 2 };

/// A rectangle in dialog units.
struct Dialog_Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct Control_State;

/// A view of one control of a dialog.
class VXP_API CWnd {
public:
    virtual ~CWnd();
    bool bound() const { return m_state != nullptr; }
    int GetDlgCtrlID() const;
    /// The kind of the control's template entry ("button", "check", "combo", ...).
    const std::string& kind() const;
    Dialog_Rect rect() const;
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    void SetWindowText(const std::wstring& text);
    std::wstring GetWindowText() const;

    /// Makes this object a view of `state` (DDX_Control and the dialog's own views).
    void attach(Control_State* state) { m_state = state; }

protected:
    Control_State& state() const;
    Control_State* m_state = nullptr;
};

class VXP_API CButton : public CWnd {
public:
    /// 0 unchecked, 1 checked.
    void SetCheck(int check);
    int GetCheck() const;
};

/// What owner drawing draws on: the device context of one list entry. Colours are 0x00BBGGRR.
class VXP_API Device_Context {
public:
    virtual ~Device_Context();
    /// Height of a line of text in the context's font.
    virtual int text_height() const = 0;
    /// Selects the shared display palette (true) or the previous one back (false); colours are
    /// then taken as the nearest colour of the selected palette.
    virtual void select_palette(bool shared) = 0;
    virtual void set_colours(std::uint32_t text, std::uint32_t background) = 0;
    /// Writes text at (x, y), opaque (the clip rectangle is filled with the background colour
    /// first) and clipped to `clip`.
    virtual void text_out(int x, int y, const Dialog_Rect& clip, const std::wstring& text) = 0;
    /// Fills the rectangle with a solid brush of `colour`.
    virtual void fill(const Dialog_Rect& rect, std::uint32_t colour) = 0;
    /// A one-pixel frame of `colour` around the rectangle.
    virtual void frame(const Dialog_Rect& rect, std::uint32_t colour) = 0;
    virtual void focus_rect(const Dialog_Rect& rect) = 0;
};

/// System colours for drawing controls.
enum System_Colour : std::uint32_t {
    colour_window = 0xFFFFFF,
    colour_window_text = 0x000000,
    colour_gray_text = 0x808080,
    colour_button_face = 0xF0F0F0,
};

/// The owner-drawing request for one entry of an owner-drawn list: the back end that shows the
/// list hands it to the bound object's DrawItem.
struct Draw_Item {
    int item = -1; ///< the entry, -1 for an empty list
    bool selected = false;
    bool focused = false;
    bool disabled = false;
    Dialog_Rect rect;
    Device_Context* dc = nullptr;
};

/// Draws every entry of an owner-drawn list as the headless back end shows it (entries 20 units
/// high, the selected one with the focus) and answers what was drawn, one line per operation:
/// "palette on|off", "colours TEXT BACKGROUND", "text X Y TEXT", "fill X Y W H COLOUR",
/// "frame X Y W H COLOUR", "focus X Y W H" (colours as six hexadecimal digits, blue first).
VXP_API std::vector<std::string> draw_list(const CDialog& dialog, int id);

class VXP_API CComboBox : public CWnd {
public:
    static constexpr int CB_ERR = -1;
    void ResetContent();
    /// Adds an entry at the end; its index.
    int AddString(const std::wstring& text);
    /// Inserts an entry at `index` (at the end for -1); its index, CB_ERR past the end.
    int InsertString(int index, const std::wstring& text);
    int GetCount() const;
    /// Selects entry `index`; an index outside the list selects nothing and answers CB_ERR.
    int SetCurSel(int index);
    int GetCurSel() const;
    std::wstring GetLBText(int index) const;
    int SetItemData(int index, std::uintptr_t data);
    std::uintptr_t GetItemData(int index) const;
    /// Owner drawing of one entry; the base draws nothing.
    virtual void DrawItem(Draw_Item& item);
};

class VXP_API CEdit : public CWnd {
public:
    void SetLimitText(int limit);
    int GetLimitText() const;
    /// Selects characters start to end (the caret sits at end).
    void SetSel(int start, int end);
    std::pair<int, int> GetSel() const;
};

class VXP_API CSliderCtrl : public CWnd {
public:
    void SetRange(int low, int high, bool redraw = false);
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetTicFreq(int frequency);
    void SetPageSize(int size);
    void SetPos(int position);
    int GetPos() const;
};

/// Extra data of a notification (sliders); `result` is the handler's answer.
struct Notify_Info {
    long result = 0;
};

/// One entry of a message map: the handler of a notification from a control.
struct Message_Entry {
    int id;
    int code;
    void (*handler)(CDialog& dialog, Notify_Info& info);
};
using Message_Map = std::vector<Message_Entry>;

template <auto Method, class C>
void call_member(CDialog& dialog, Notify_Info&, void (C::*)()) {
    (static_cast<C&>(dialog).*Method)();
}
template <auto Method, class C>
void call_member(CDialog& dialog, Notify_Info& info, void (C::*)(Notify_Info&)) {
    (static_cast<C&>(dialog).*Method)(info);
}

/// A message map entry calling a member function of the dialog class: `void Method()` or
/// `void Method(Notify_Info&)`.
template <auto Method>
Message_Entry on(int id, int code) {
    return {id, code,
            [](CDialog& dialog, Notify_Info& info) { call_member<Method>(dialog, info, Method); }};
}

/// The direction and context of one data exchange.
class VXP_API CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool save) : m_dialog(dialog), m_bSaveAndValidate(save) {}
    CDialog& dialog() const { return m_dialog; }
    /// Aborts the exchange: the dialog's UpdateData answers false.
    [[noreturn]] void Fail();

private:
    CDialog& m_dialog;

public:
    const bool m_bSaveAndValidate; ///< true: controls to members
    int m_last_control = 0;        ///< the control the last DDX_ call exchanged
};

/// Binds a member object to the control (the object then views it; owner drawing goes to it).
VXP_API void DDX_Control(CDataExchange* dx, int id, CWnd& control);
VXP_API void DDX_Check(CDataExchange* dx, int id, int& value);
/// The text of a list's selected entry (empty without a selection); loading selects the first
/// entry that starts with the text, and leaves the selection as it is for an empty text or one
/// no entry starts with.
VXP_API void DDX_CBString(CDataExchange* dx, int id, std::wstring& value);
VXP_API void DDX_Text(CDataExchange* dx, int id, std::wstring& value);
/// After DDX_Text: saving fails when the text is longer than `count`; loading makes `count` the
/// edit box's input limit.
VXP_API void DDV_MaxChars(CDataExchange* dx, const std::wstring& value, int count);

/// A user action, as scripts give them.
struct Dialog_Action {
    enum Kind {
        click,  ///< a button: check boxes toggle, radio buttons check themselves
        select, ///< pick entry `value` of a list: selection changed, then closed
        close,  ///< open and close a list without picking
        type,   ///< replace an edit box's text by `text`, one character at a time
        drag,   ///< drag a slider to `value` with the mouse
        key,    ///< move a slider to `value` with the arrow keys
        help,   ///< the help key
        ok,     ///< the OK button
        cancel, ///< the Cancel button (or closing the window)
        pick,   ///< the colour picker's answer: colour index `value` (see take_picker_answer)
        shot,   ///< a window back end saves a picture of the dialog to the file `text`
    };
    Dialog_Action(Kind kind, int id = 0, int value = 0, std::wstring text = {})
        : kind(kind), id(id), value(value), text(std::move(text)) {}
    Kind kind;
    int id;
    int value;
    std::wstring text;
};

/// A dialog made from template `template_id` of a resource library.
class VXP_API CDialog {
public:
    CDialog(unsigned template_id, vxp::Module_Handle resources, CDialog* parent = nullptr);
    /// A dialog of a template the program holds itself (null: none, DoModal answers -1).
    explicit CDialog(const vxp::Dialog_Resource* resource, CDialog* parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    /// Runs the dialog modally; IDOK, IDCANCEL or what EndDialog was given. -1 when the template
    /// does not exist.
    virtual int DoModal();
    /// Ends the modal run with `result` (after the current handler returns).
    void EndDialog(int result);

    /// Runs the data exchange; false when it failed (the dialog then stays as it is).
    bool UpdateData(bool save = true);
    /// The dialog's view of control `id`, of its kind's class; null when there is none.
    CWnd* GetDlgItem(int id) const;
    void SetDlgItemText(int id, const std::wstring& text);
    std::wstring GetDlgItemText(int id) const;
    void CheckDlgButton(int id, int check);
    int IsDlgButtonChecked(int id) const;

    unsigned template_id() const { return m_template_id; }
    std::wstring caption() const;
    CDialog* parent() const { return m_parent; }
    /// A window handle for message boxes owned by the dialog.
    vxp::Window_Handle handle() const {
        return reinterpret_cast<vxp::Window_Handle>(const_cast<CDialog*>(this));
    }
    /// Whether the dialog is running modally.
    bool running() const { return m_running; }

    /// Sends a notification from control `id`, as a user's action does: the message map's
    /// handler, or the default (OK and Cancel end the dialog).
    void notify(int id, int code, Notify_Info* info = nullptr);

protected:
    virtual const Message_Map& GetMessageMap() const;
    virtual void DoDataExchange(CDataExchange* dx);
    /// Loads the members into the controls; answers whether the back end sets the focus.
    virtual bool OnInitDialog();
    /// Saves the controls into the members and ends with IDOK; stays open when that fails.
    virtual void OnOK();
    virtual void OnCancel();

public:
    /// The state of control `id` (for the back end), or null.
    Control_State* control(int id) const;
    /// The states of all controls, in template order (for the back end).
    const std::vector<std::unique_ptr<Control_State>>& controls() const { return m_controls; }
    /// Plays one user action on the controls (for the back ends).
    void perform(const Dialog_Action& action);
    /// The window was closed: Cancel, which ends the dialog even when OnCancel does not.
    void close_window();
    bool ended() const { return m_result.has_value(); }

private:
    friend int run_qt_dialog(CDialog& dialog);
    void create_controls();
    void run_actions();

    unsigned m_template_id;
    vxp::Module_Handle m_resources;
    CDialog* m_parent;
    const vxp::Dialog_Resource* m_template = nullptr;
    std::vector<std::unique_ptr<Control_State>> m_controls;
    std::vector<std::unique_ptr<CWnd>> m_views;
    bool m_running = false;
    std::optional<int> m_result;
};

/// Parses a script of user actions, one per line: "click ID", "select ID N", "close ID",
/// "type ID TEXT", "drag ID N", "key ID N", "help", "ok", "cancel", "pick N", "shot FILE"; blank
/// lines and lines starting with "#" are skipped. Throws std::invalid_argument naming the line.
VXP_API std::vector<Dialog_Action> parse_dialog_script(const std::string& script);
enum class Dialog_Backend {
    automatic, ///< Qt when a display is available and no actions are queued, else headless
    headless,
    qt,
};
VXP_API void set_dialog_backend(Dialog_Backend backend);

/// Queues actions for the next modal runs.
VXP_API void queue_dialog_actions(const std::vector<Dialog_Action>& actions);
/// Actions queued and not yet taken.
VXP_API std::size_t queued_dialog_actions();
VXP_API void clear_dialog_actions();
/// For a colour picker run headless: takes the next queued action when it is a "pick", and
/// answers its colour index; nothing (the picker was closed) otherwise.
VXP_API std::optional<int> take_picker_answer();

/// The host's colour index palette: 256 colours 0x00BBGGRR (white, red, yellow, green, cyan,
/// blue, magenta, black; two near-whites; 24 hues of ten shades; six greys).
VXP_API const std::array<std::int32_t, 256>& colour_index_palette();

/// The host's colour picker, starting at colour index `index`: the queued "pick" when there is
/// one; in the Qt back end a window of the palette's 256 swatches; nothing when it is closed.
VXP_API std::optional<int> pick_colour_index(int index);

/// The common file dialogs. The headless back end answers with the next queued answer (a path,
/// or nothing for Cancel) and records what it was asked.
struct File_Dialog_Request {
    bool open; ///< true: an Open dialog, false: Save As
    std::wstring title;
    std::wstring filter;    ///< "Description|*.ext|..."
    std::wstring file_name; ///< the proposed name
};
VXP_API std::optional<std::filesystem::path> file_dialog(vxp::Window_Handle owner,
                                                         const File_Dialog_Request& request);
VXP_API void queue_file_dialog_answer(std::optional<std::filesystem::path> answer);
VXP_API std::vector<File_Dialog_Request> shown_file_dialogs();
VXP_API void clear_shown_file_dialogs();
