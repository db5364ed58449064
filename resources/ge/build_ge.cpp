// The German build.
#include "../build.h"

const Raster_Build g_raster_build = {
    L"ge",
    L"drv_zelto_qr7m_ge.chm",
    L"Zelto_qr7m_ge13_32_11Res.dll",
};

// The module's version block (read from the file by the platform's version queries).
__attribute__((section(".vxversion"), used)) static const char version_block[] =
    "VXVERSION 1\n"
    "CompanyName=Zelto\n"
    "FileDescription=Zelto qr7m raster driver\n"
    "FileVersion=11.0.53.0.100\n"
    "ProductVersion=11.0.53.0.100\n"
    "InternalName=zelto_qr7m_ge13_32_11\n"
    "OriginalFilename=zelto_qr7m_ge13_32_11.so\n"
    "LegalCopyright=Zelto\n"
    "Translation=0407:04B0\n";
