// The Qt back end's modeless windows: a real window that mirrors what a Modeless_Window record
// shows (caption, item texts, progress bars), used when the dialog library's back end is Qt.
#pragma once

#include "platform/vxplatform.h"

namespace vxp {

/// Whether modeless windows open as Qt windows now.
bool qt_windows();
/// Opens the window of a record, laid out from its template (or empty without one).
void qt_open_window(int record, const Dialog_Resource* dialog);
/// Shows the record's current state and lets the window repaint.
void qt_update_window(int record, const Shown_Window& shown);
/// Closes the window; first saves its picture when a picture folder is set.
void qt_close_window(int record);

/// Whether a message box or file dialog shows as a Qt window now: the Qt back end with nobody
/// scripting the user (no queued actions).
bool qt_interactive();
/// A Qt message box; the button pressed as a Message_Box_Result.
int qt_message_box(const std::wstring& text, const std::wstring& caption, unsigned flags);

} // namespace vxp
