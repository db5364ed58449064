// The Spanish build.
#include "../build.h"

const Raster_Build g_raster_build = {
    L"sp",
    L"drv_zelto_qr7m_sp.chm",
    L"Zelto_qr7m_sp13_32_11Res.dll",
};

// The module's version block (read from the file by the platform's version queries).
__attribute__((section(".vxversion"), used)) static const char version_block[] =
    "VXVERSION 1\n"
    "CompanyName=Zelto\n"
    "FileDescription=Zelto qr7m raster driver\n"
    "FileVersion=11.0.53.0.100\n"
    "ProductVersion=11.0.53.0.100\n"
    "InternalName=zelto_qr7m_sp13_32_11\n"
    "OriginalFilename=zelto_qr7m_sp13_32_11.so\n"
    "LegalCopyright=Zelto\n"
    "Translation=0C0A:04B0\n";
