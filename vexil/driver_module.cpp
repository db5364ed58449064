#include "host/vx_driver_module.h"

namespace {

const char* const routine = "VX_Driver_Module";
// The exported constructor of the driver's class factory (Itanium C++ ABI, complete object).
const char* const factory_constructor = "_ZN31VX_RASTER_Plotter_Class_FactoryC1Ev";

} // namespace

VX_Driver_Module::VX_Driver_Module(const std::string& path) {
    m_module = vxp::load_library(path);
    if (!m_module)
        throw VX_Error(nullptr, vx_msg_plugin_unusable, routine, vxp::last_load_error(), "");
    m_factory_constructor =
        reinterpret_cast<void (*)(void*)>(vxp::get_proc_address(m_module, factory_constructor));
    m_device_creator = reinterpret_cast<VX_Plotter_Device_Data* (*)()>(
        vxp::get_proc_address(m_module, "VD_Create_Plotter_Device"));
    if (!m_factory_constructor || !m_device_creator) {
        vxp::free_library(m_module);
        throw VX_Error(nullptr, vx_msg_plugin_unusable, routine,
                       path + " does not export the plotter class factory and device", "");
    }
}

VX_Driver_Module::~VX_Driver_Module() {
    vxp::free_library(m_module);
}

VX_Smart_Pointer<VX_Std_Plotter_Class_Factory> VX_Driver_Module::make_class_factory() const {
    // The driver's factory adds no members to the standard one, so it has the standard size.
    void* block = VX_Object::operator new(sizeof(VX_Std_Plotter_Class_Factory), std::nothrow);
    if (!block)
        return nullptr;
    m_factory_constructor(block);
    return VX_Smart_Pointer<VX_Std_Plotter_Class_Factory>(
        static_cast<VX_Std_Plotter_Class_Factory*>(block));
}

VX_Plotter_Device_Data* VX_Driver_Module::make_device() const {
    return m_device_creator();
}
