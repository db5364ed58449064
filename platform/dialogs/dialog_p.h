// What the dialog library's back ends share: the state of a control, whatever its kind, which
// the views (CWnd and its kinds) read and write and a window back end shows.
#pragma once

#include "dialog.h"

/// What a control holds, whatever its kind.
struct Control_State {
    int id = 0;
    std::string kind;
    Dialog_Rect rect;
    std::wstring text;
    bool enabled = true;
    int check = 0;
    struct Item {
        std::wstring text;
        std::uintptr_t data = 0;
    };
    std::vector<Item> items;
    int selection = -1;
    int limit = 0; ///< edit boxes: the input limit, 0 for none
    int sel_start = 0, sel_end = 0;
    int low = 0, high = 100, position = 0, tic_frequency = 1, page_size = 1;
    CWnd* bound = nullptr; ///< the member object DDX_Control bound to it
    CDialog* dialog = nullptr;
    int notifying = 0; ///< nesting of text-change notifications
};

inline bool is_edit(const Control_State& s) {
    return s.kind == "edit";
}
inline bool is_check(const Control_State& s) {
    return s.kind == "check";
}
inline bool is_radio(const Control_State& s) {
    return s.kind == "radio" || s.kind == "radio_group";
}
inline bool is_list(const Control_State& s) {
    return s.kind == "combo" || s.kind == "owner_combo";
}
inline bool is_slider(const Control_State& s) {
    return s.kind == "slider" || s.kind == "slider_both";
}

/// Whether the next modal run uses the Qt back end.
bool use_qt();
/// The next queued action, taken off the queue.
std::optional<Dialog_Action> next_dialog_action();
/// The Qt back end's modal run of a dialog whose controls are made and initialised.
int run_qt_dialog(CDialog& dialog);
/// The Qt back end's colour picker: the chosen index, or nothing when closed.
std::optional<int> run_qt_picker(int index);
/// The Qt back end's common file dialogs: the chosen path, or nothing when cancelled.
std::optional<std::filesystem::path> run_qt_file_dialog(const File_Dialog_Request& request);
