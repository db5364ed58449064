// What the driver's settings dialogs share while the plug-in stays loaded: the settings-committed
// flag that Export waits for, the current values of the paper being edited, and the defaults row
// "Reset To Defaults" uses.
#pragma once

#include "definitions/definitions.h"

struct Custom_Properties_State {
    /// Set by OK in the Custom Properties dialog; cleared by Cancel and by changes that make the
    /// definitions file differ from the dialog (Export refuses to run while it is clear).
    bool settings_committed = false;
    /// The per-paper values of the selected media type at the current resolution.
    PaperSettings current{};
    /// The defaults row of the Paper Config dialog: paper number - 1, plus 32 at 720 dpi.
    int reset_slot = 0;
    /// Whether the shared display palette exists (only on a display with a 256-entry system
    /// palette; the headless and Qt back ends draw in true colour).
    bool display_palette = false;
};

Custom_Properties_State& TheCustomPropertiesState();
