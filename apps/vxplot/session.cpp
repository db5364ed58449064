#include "session.h"

#include "host/vx_language.h"

#include <cstdio>
#include <unistd.h>

std::filesystem::path program_folder() {
    std::error_code error;
    auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : self.parent_path();
}

void print_error(const VX_Exception& error) {
    std::fprintf(stderr, "vxplot: %s\n", error.message_text().c_str());
    if (!error.routine().empty())
        std::fprintf(stderr, "  routine: %s\n", error.routine().c_str());
    for (const auto& catcher : error.catchers())
        std::fprintf(stderr, "  passed through: %s\n", catcher.c_str());
    if (!error.detail().empty())
        std::fprintf(stderr, "  detail: %s\n", error.detail().c_str());
}

std::filesystem::path Host_Options::driver_file() const {
    const std::filesystem::path folder =
        driver_folder.empty() ? program_folder() / "drv" : driver_folder;
    if (!driver.empty())
        return folder / driver;
    const std::string prefix = language.substr(0, 2);
    const char* code = prefix == "es" ? "sp" : prefix == "de" ? "ge" : prefix == "it" ? "it" : "en";
    return folder / ("zelto_qr7m_" + std::string(code) + "13_32_11.so");
}

Host_Session::Host_Session(const Host_Options& options) {
    if (!options.language.empty())
        VX_Set_Language(vxp::from_utf8(options.language));
    m_driver_path = options.driver_file();
    m_module = std::make_unique<VX_Driver_Module>(m_driver_path.string());
    m_factory = m_module->make_class_factory();
    m_handler = vx_make<Host_Error_Handler>();
    if (m_factory)
        m_definition = m_factory->VD_Create_Plotter_Definition(m_handler);
    if (!m_definition)
        throw VX_Error(nullptr, vx_msg_plugin_unusable, "Host_Session",
                       "the driver could not create its plotter definition", "");
    auto loader = m_factory->VD_Create_Caps_Loader(m_handler);
    if (!loader || !loader->Load(m_definition, VX_Caps_Loader::Replace)) {
        std::string detail = "the printer's capabilities could not be loaded";
        for (const auto& reported : m_handler->reported())
            detail += "\n    " + reported;
        throw VX_Error(nullptr, vx_msg_capabilities_invalid, "Host_Session", detail, "");
    }
}

Host_Session::~Host_Session() = default;
