// The Spanish resource library: the Print Spool Status windows, the plotter description and
// the messages.
#include "../dialog_layouts.h"

namespace {

using namespace raster_resources;

constexpr auto strings = library_strings(L" - por %s");

constexpr Spool_Status_Texts spool_status_texts = {
    L"Estado de la cola de impresión", L"Número de copias", L"Página actual",
    0, // how much wider the label of the copies is than in English
};
constexpr Spool_Status_Controls spool_status = spool_status_controls(spool_status_texts);

constexpr auto dialogs = spool_status_dialogs(spool_status_texts, spool_status);

} // namespace

extern "C" VXP_API const vxp::Resource_Table vxp_resources = resource_table(3082, strings, dialogs);
