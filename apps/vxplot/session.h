// A host session: the driver module loaded from the installation, its class factory, and the
// plotter definition built and filled as a CAD host does it.
#pragma once

#include "host/vx_driver_module.h"

#include <filesystem>
#include <memory>

/// Error handler of the host program: keeps what host objects report.
class Host_Error_Handler : public VX_Error_Handler {};

struct Host_Options {
    std::string driver;                  ///< file name in the drv folder; empty: by language
    std::filesystem::path driver_folder; ///< empty: "drv" beside the program
    std::string language;                ///< empty: the host's default (en-US)
    /// The driver file: `driver`, or the build of the host language as a host installs it
    /// (es: zelto_qr7m_sp13_32_11.so, de: ..._ge..., it: ..._it..., any other: ..._en...).
    std::filesystem::path driver_file() const;
};

class Host_Session {
public:
    /// Loads the driver, builds the plotter definition and loads its capabilities. Throws
    /// VX_Exception (the driver's or the host's) when any step fails.
    explicit Host_Session(const Host_Options& options);
    ~Host_Session();

    const std::filesystem::path& driver_path() const { return m_driver_path; }
    VX_Plotter_Definition& definition() const { return *m_definition; }
    VX_Smart_Pointer<VX_Plotter_Definition> definition_pointer() const { return m_definition; }
    Host_Error_Handler& handler() const { return *m_handler; }
    VX_Smart_Pointer<Host_Error_Handler> handler_pointer() const { return m_handler; }
    /// A new device of the driver (the caller releases it), or null.
    VX_Plotter_Device_Data* make_device() const { return m_module->make_device(); }

private:
    std::filesystem::path m_driver_path;
    // Declared before the driver's objects so that it is destroyed after them: they need its code.
    std::unique_ptr<VX_Driver_Module> m_module;
    VX_Smart_Pointer<Host_Error_Handler> m_handler;
    VX_Smart_Pointer<VX_Std_Plotter_Class_Factory> m_factory;
    VX_Smart_Pointer<VX_Plotter_Definition> m_definition;
};

/// Folder of the running program.
std::filesystem::path program_folder();

/// Prints a host error as "vxplot: text" with its routine and detail, to standard error.
void print_error(const VX_Exception& error);
