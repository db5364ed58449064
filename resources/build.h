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

/// Defines a build's g_raster_build and the module's version block (read from the file by the
/// platform's version queries). CODE is the build's code as a string literal ("en"),
/// TRANSLATION the version block's language and code page ("0409:04B0").
#define VX_RASTER_BUILD(CODE, TRANSLATION)                                                         \
    const Raster_Build g_raster_build = {                                                          \
        L"" CODE,                                                                                  \
        L"drv_zelto_qr7m_" CODE ".chm",                                                            \
        L"Zelto_qr7m_" CODE "13_32_11Res.dll",                                                     \
    };                                                                                             \
    __attribute__((section(".vxversion"), used)) static const char version_block[] =               \
        "VXVERSION 1\n"                                                                            \
        "CompanyName=Zelto\n"                                                                      \
        "FileDescription=Zelto qr7m raster driver\n"                                               \
        "FileVersion=11.0.53.0.100\n"                                                              \
        "ProductVersion=11.0.53.0.100\n"                                                           \
        "InternalName=zelto_qr7m_" CODE "13_32_11\n"                                               \
        "OriginalFilename=zelto_qr7m_" CODE "13_32_11.so\n"                                        \
        "LegalCopyright=Zelto\n"                                                                   \
        "Translation=" TRANSLATION "\n"

/// The module's own resources: the settings dialogs 101 and 133 and the strings 1 to 11.
extern const vxp::Resource_Table g_module_resources;
