#include "resource_library.h"

#include "build.h"
#include "host/vx_language.h"

#include <new>
#include <vector>

namespace {

vxp::Module_Handle g_resource_library = nullptr;

} // namespace

void FreeResourceLibrary() {
    vxp::free_library(g_resource_library);
    g_resource_library = nullptr;
}

vxp::Module_Handle ResourceLibraryHandle() {
    return g_resource_library;
}

const vxp::Dialog_Resource* ModuleDialog(unsigned id) {
    const vxp::Resource_Table& table = g_module_resources;
    for (std::size_t i = 0; i < table.dialog_count; ++i)
        if (table.dialogs[i].id == id)
            return &table.dialogs[i];
    return nullptr;
}

std::optional<std::wstring> ModuleString(unsigned id) {
    const vxp::Resource_Table& table = g_module_resources;
    for (std::size_t i = 0; i < table.string_count; ++i)
        if (table.strings[i].id == id)
            return table.strings[i].text;
    return std::nullopt;
}

vxp::Module_Handle RasterModuleHandle() {
    return vxp::module_of_address(reinterpret_cast<const void*>(&RasterModuleHandle));
}

VX_String RasterModuleFileName() {
    vxp::Module_Handle module = RasterModuleHandle();
    // NOTE: start with 32 characters and double until the name fits, as file names have no limit.
    for (std::size_t size = 32;; size *= 2) {
        std::vector<wchar_t> buffer(size);
        std::size_t length = vxp::get_module_file_name(module, buffer.data(), size);
        if (length < size)
            return VX_String(buffer.data(), length);
    }
}

bool LoadResourceLibrary() {
    vxp::Split_Path driver = vxp::split_path(RasterModuleFileName());
    VX_String library = driver.base_name + L"Res";
    VX_String in_language_folder =
        vxp::make_path(driver.drive, driver.directory + GetLanguage(), library, L"dll");
    g_resource_library = vxp::load_library(vxp::native_path(in_language_folder));
    if (!g_resource_library) {
        VX_String beside_driver = vxp::make_path(driver.drive, driver.directory, library, L"dll");
        g_resource_library = vxp::load_library(vxp::native_path(beside_driver));
    }
    if (g_resource_library)
        return true;
    vxp::message_box(nullptr, VX_String(L"DLL not found: ") + g_raster_build.resource_library, L"",
                     vxp::mb_ok);
    return false;
}

void raster_throw(Raster_Message message, const char* routine, const char* detail,
                  const char* revision) {
    throw VX_Error(g_resource_library, message, routine, detail, revision);
}

void raster_throw_severe(Raster_Message message, const char* routine, const std::string& detail,
                         const char* revision) {
    throw VX_Severe_Error(g_resource_library, message, routine, detail, revision);
}

std::string raster_message_text(Raster_Message message) {
    // NOTE: the text is cut to 4,096 characters, the size of the buffer messages are loaded into.
    std::wstring text = vxp::load_string(g_resource_library, unsigned(message)).value_or(L"");
    return vxp::to_utf8(text.substr(0, 4095));
}
