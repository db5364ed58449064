// Loading a plotter driver: the host opens the driver's shared object by file name and reaches it
// only through its exported entry points.
#pragma once

#include "vx_class_factory.h"

/// A loaded plotter driver module. Unloads the module when destroyed; objects made through it must
/// be released first.
class VX_API VX_Driver_Module {
public:
    /// Loads the driver at `path`. Throws VX_Error (host message 1004, the loader's reason in the
    /// detail) when it cannot be loaded, refuses to start, or lacks the class factory entry point.
    explicit VX_Driver_Module(const std::string& path);
    ~VX_Driver_Module();
    VX_Driver_Module(const VX_Driver_Module&) = delete;
    VX_Driver_Module& operator=(const VX_Driver_Module&) = delete;

    /// A new instance of the driver's class factory (its exported constructor), or null when the
    /// allocation fails.
    VX_Smart_Pointer<VX_Std_Plotter_Class_Factory> make_class_factory() const;
    /// A new device of the driver (VD_Create_Plotter_Device) holding one reference, the caller's
    /// (release it with release_reference); null when the driver cannot allocate one.
    VX_Plotter_Device_Data* make_device() const;
    vxp::Module_Handle handle() const { return m_module; }

private:
    vxp::Module_Handle m_module = nullptr;
    void (*m_factory_constructor)(void*) = nullptr;
    VX_Plotter_Device_Data* (*m_device_creator)() = nullptr;
};
