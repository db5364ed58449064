// The driver's localized resource library: loaded at module start-up, released at module exit.
// It holds the string table of error messages and the plotter description (ids 2 and 100 to 116)
// and the spool status window templates.
//
// Lookup: beside the driver module, in the folder named by the host's language, the driver's base
// name followed by "Res" with the extension "dll"; failing that, the same name beside the driver.
// When neither loads, a message box names the build's library and the module refuses to load.
#pragma once

#include "host/vx_exception.h"

#include <optional>
#include <string>

/// The resource library; null when it is not loaded.
vxp::Module_Handle ResourceLibraryHandle();

/// Loads the resource library as described above; true on success.
bool LoadResourceLibrary();
/// Releases the resource library (module exit).
void FreeResourceLibrary();

/// A dialog template of the module's own resources (the settings dialogs), or null.
const vxp::Dialog_Resource* ModuleDialog(unsigned id);
/// A string of the module's own resources (1 to 11: the title and the colour names), or nothing.
std::optional<std::wstring> ModuleString(unsigned id);

/// This driver module.
vxp::Module_Handle RasterModuleHandle();

/// Full file name of this driver module; empty when it cannot be determined.
VX_String RasterModuleFileName();

/// Message numbers of the resource library's string table.
enum Raster_Message : int {
    raster_msg_description = 2,       ///< " - by %s"
    raster_msg_memory = 100,          ///< "INTERNAL ERROR - Memory allocation"
    raster_msg_null_pointer = 101,    ///< "INTERNAL ERROR - Unexpected NULL pointer"
    raster_msg_device_init = 102,     ///< "INTERNAL ERROR - Device initialization failure"
    raster_msg_driver_init = 103,     ///< "INTERNAL ERROR - Driver initialization failure"
    raster_msg_engine_load = 104,     ///< "Image Engine File Writer DLL load failure"
    raster_msg_image_create = 107,    ///< "Image Engine main image creation failure"
    raster_msg_image_invalid = 108,   ///< "Image Engine: Image is invalid"
    raster_msg_write_context = 109,   ///< "Image Engine make write context failure"
    raster_msg_palette_install = 115, ///< "Vexil palette install failure"
    raster_msg_color_system = 116,    ///< "Invalid color system or palette depth"
};

/// Throws a VX_Error with the resource library, message, routine, detail and the revision tag of
/// the throwing source module.
[[noreturn]] void raster_throw(Raster_Message message, const char* routine, const char* detail,
                               const char* revision);
/// The same as a VX_Severe_Error.
[[noreturn]] void raster_throw_severe(Raster_Message message, const char* routine,
                                      const std::string& detail, const char* revision);
/// The text of a message of the resource library's string table, as a detail text; empty when it
/// cannot be loaded.
std::string raster_message_text(Raster_Message message);
