// What differs between the language builds of the driver, apart from their resources.
#pragma once

#include "platform/vxplatform.h"

#include <string>

struct Raster_Build {
    const wchar_t* language_code;    ///< "en", "sp", "ge" or "it"
    const wchar_t* help_file;        ///< the build's help file
    const wchar_t* resource_library; ///< file name named when the resource library is missing
};

/// The build this module was made as.
extern const Raster_Build g_raster_build;

/// The module's own resources: the settings dialogs 101 and 133 and the strings 1 to 11.
extern const vxp::Resource_Table g_module_resources;
