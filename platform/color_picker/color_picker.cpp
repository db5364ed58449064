// "color.dll": the host application's colour picker, which the driver loads by name. It offers
// the 256 colours of the colour index palette and answers the index chosen (pick_colour_index:
// a window of swatches, or headless the next "pick N" of the queued dialog actions). A closed
// picker answers the index it was given.
#include "platform/dialogs/dialog.h"

extern "C" {

/// Prepares the picker; called once after each load. Answers 1.
VXP_API int InitColorDLL() {
    return 1;
}

/// Shows the picker on `dc` starting at colour index `index` (of `count` colours); answers the
/// index chosen, or `index` when the user closed it.
VXP_API int DoColorDialog(void* dc, int index, int count, int, int) {
    (void)dc;
    std::optional<int> picked = pick_colour_index(index);
    return picked && *picked >= 0 && *picked < count ? *picked : index;
}
}
