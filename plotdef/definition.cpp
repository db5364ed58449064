// The plotter definition: the printer's identity read from its model data file, its empty
// capabilities and configuration, and its shoebox.
#include "host/vx_language.h"
#include "raster_plotdef.h"
#include "resources/build.h"
#include "resources/resource_library.h"
#include "ui/custom_properties.h"

#include <cstdio>
#include <fstream>

namespace {

const char* const revision = "$Workfile: rasterpldef $ $Revision: 24 $";
const char* const module_routine = "rasterpldef";
const char* const meta_routine = "VX_RASTER_Plotter_Definition::initMetaCaps";

[[noreturn]] void fail(Raster_Message message, const char* routine, const char* detail) {
    raster_throw(message, routine, detail, revision);
}

// " - by %s" with the maker's name. Only the first "%s" is filled: the text comes from a resource
// library and is not trusted as a format.
VX_String format_description(const VX_String& format, const VX_String& maker) {
    VX_String text = format;
    if (auto at = text.find(L"%s"); at != VX_String::npos)
        text.replace(at, 2, maker);
    return text;
}

VX_String format_os_text() {
    vxp::Os_Version os = vxp::os_version();
    char text[48];
    std::snprintf(text, sizeof text, "%d,%d,%d", os.platform_id, os.major, os.minor);
    return vxp::from_utf8(text);
}

// The translation list as "%X" then ",%X" for each further entry: "4B00409" for English/Unicode.
VX_String format_driver_locale(const VX_String& driver_path_name) {
    auto block = vxp::read_version_block(vxp::native_path(driver_path_name));
    if (!block || block->translations().empty())
        fail(raster_msg_driver_init, meta_routine, "driverlocale");
    VX_String locale;
    for (std::uint32_t entry : block->translations()) {
        char hex[16];
        std::snprintf(hex, sizeof hex, locale.empty() ? "%X" : ",%X", entry);
        locale += vxp::from_utf8(hex);
    }
    return locale;
}

// Reads a compound property of the model data file and splits it into its two parts.
std::vector<std::string> read_compound(const PM_Object& model_data, const VX_String& path) {
    long size = model_data.getPropertySize(path, -1);
    // A property that is not there reads as nothing, and its parts cannot be split.
    if (size <= 0)
        fail(raster_msg_driver_init, meta_routine, "descriptor");
    std::string text(static_cast<std::size_t>(size), '\0');
    long read = model_data.GetProperty(path, text.data(), size, -1);
    text.resize(static_cast<std::size_t>(std::min(read, size - 1)));
    std::vector<std::string> parts;
    if (!extract_compound_str_ex(text, 2, parts))
        fail(raster_msg_driver_init, meta_routine, "descriptor");
    return parts;
}

} // namespace

VX_RASTER_Plotter_Definition::VX_RASTER_Plotter_Definition(
    VX_Smart_Pointer<VX_Error_Handler> handler)
    : VX_Std_Plotter_Definition(std::move(handler)) {
    m_cf = vx_create<VX_RASTER_Plotter_Class_Factory>("VX_RASTER_Plotter_Class_Factory");
    if (!m_cf)
        fail(raster_msg_memory, module_routine, "m_cf");
    initMetaCaps();
    // A capabilities object that cannot be allocated is handed over as null.
    set_plotter_capabilities(
        vx_create<VX_RASTER_Plotter_Capabilities>("VX_RASTER_Plotter_Capabilities"));
    auto configuration = m_cf->VD_Create_Plotter_Configuration(L"", L"", L"");
    if (!configuration)
        fail(raster_msg_memory, module_routine, "plotter_config");
    set_plotter_configuration(configuration);

    auto application = m_cf->VD_Create_Kadrion_Shoebox();
    auto shoebox = m_cf->VD_Create_Shoebox();
    if (!application || !shoebox)
        fail(raster_msg_memory, module_routine, "shoebox");
    application->folder = L"/";
    shoebox->application = application;
    set_shoebox(*shoebox);
}

VX_RASTER_Plotter_Definition::~VX_RASTER_Plotter_Definition() = default;

void VX_RASTER_Plotter_Definition::initMetaCaps() {
    auto meta = m_cf->VD_Create_Meta_Capabilities();
    auto model = m_cf->VD_Create_Model();
    auto family = m_cf->VD_Create_Family();
    if (!meta || !model || !family)
        fail(raster_msg_memory, meta_routine, "pmeta_pmodel_pfamily");
    meta->version = L"1.00";
    meta->add_flag(0);

    if (!RasterModuleHandle())
        fail(raster_msg_memory, module_routine, "procmodule");
    VX_String driver_path_name;
    try {
        driver_path_name = RasterModuleFileName();
    } catch (const std::bad_alloc&) {
        fail(raster_msg_memory, module_routine, "buffer");
    }
    if (driver_path_name.empty())
        fail(raster_msg_driver_init, meta_routine, "driverPathName");
    meta->driver_path_name = driver_path_name;

    auto description = vxp::load_string(ResourceLibraryHandle(), raster_msg_description);
    meta->description = format_description(description.value_or(L""), L"Zelto");

    family->add_flag(0);
    model->add_flag(0);
    model->add_flag(0);
    for (int i = 0; i < 6; ++i)
        model->add_text(L"");
    model->os_text = format_os_text();
    model->driver_locale = format_driver_locale(driver_path_name);
    model->add_flag(1);
    model->add_flag(0);
    for (int kind : {3, 4, 7, 8})
        model->add_pair(5, kind);

    VX_String model_data_file = PM_Model_Data_File_Name(driver_path_name, GetLanguage());
    if (!std::ifstream(vxp::native_path(model_data_file)))
        fail(raster_msg_driver_init, meta_routine, "DRC File");
    PM_Object model_data(get_error_handler());
    try {
        model_data.load(model_data_file, pm_file_type_drc, L'\\');
    } catch (VX_Exception& e) {
        e.add_catcher(meta_routine);
        throw;
    }

    auto nodes = model_data.newIterator(L"\\DPIA_directory", 1);
    if (!nodes)
        fail(raster_msg_memory, module_routine, "pIter");
    VX_String node_name;
    int node_type = 0;
    // Only a node can hold the descriptor and info properties.
    if (!nodes->nextNode(node_name, node_type) || node_type != pm_node_directory)
        fail(raster_msg_driver_init, meta_routine, "node_name");
    auto descriptor =
        read_compound(model_data, L"\\DPIA_directory\\" + node_name + L"\\descriptor");
    auto info = read_compound(model_data, L"\\DPIA_directory\\" + node_name + L"\\info");
    family->name = vxp::from_utf8(descriptor[0]);
    family->description = vxp::from_utf8(info[0]);
    model->name = vxp::from_utf8(descriptor[1]);
    model->description = vxp::from_utf8(info[1]);

    meta->family = family;
    meta->model = model;
    set_meta_capabilities(meta);
}

bool VX_RASTER_Plotter_Definition::Custom_Config_UI_Available() {
    return true;
}

bool VX_RASTER_Plotter_Definition::CustomConfigure(vxp::Window_Handle parent) {
    // The definition stays alive while its dialog is open; the host's window is only borrowed.
    VX_Smart_Pointer<VX_Plotter_Definition> self(this);
    CDlgCustomSettings dialog(self, parent);
    return dialog.DoModal() == IDOK;
}

bool VX_RASTER_Plotter_Definition::get_driver_hints_helpfile(VX_String& file, VX_String& topic) {
    file = g_raster_build.help_file;
    topic = L"html/menu01";
    return true;
}

bool VX_RASTER_Plotter_Definition::get_true_device_colors(
    VX_Smart_Pointer<VX_Palette> palette) const {
    if (!palette)
        return false;
    auto capabilities = get_plotter_capabilities();
    auto settings = capabilities ? capabilities->get_res_color_mem_capabilities() : nullptr;
    if (!settings)
        return false;
    auto configuration = get_plotter_configuration();
    auto chosen = configuration ? configuration->get_res_color_mem_configuration() : nullptr;
    auto entry = chosen ? settings->get_entry(chosen->get_selected_index()) : nullptr;
    if (!entry || entry->color_system() != 2)
        return false;
    palette->set_entry(0, {0, 0, 0, 255});
    return true;
}
