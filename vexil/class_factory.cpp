#include "host/vx_class_factory.h"
#include "host/vx_model_data.h"

VX_Std_Plotter_Class_Factory::VX_Std_Plotter_Class_Factory() = default;
VX_Std_Plotter_Class_Factory::~VX_Std_Plotter_Class_Factory() = default;

VX_Smart_Pointer<VX_Caps_Loader> VX_Std_Plotter_Class_Factory::VD_Create_Caps_Loader(
    VX_Smart_Pointer<VX_Error_Handler> handler) const {
    return vx_create<PM_DRC_Caps_Loader>("VD_Create_Caps_Loader", std::move(handler));
}

#define VX_CREATOR(Result, Created, Name)                                                          \
    VX_Smart_Pointer<Result> VX_Std_Plotter_Class_Factory::Name() const {                          \
        return vx_create<Created>(#Name);                                                          \
    }
#define VX_CREATOR_TEXTS(Result, Created, Name)                                                    \
    VX_Smart_Pointer<Result> VX_Std_Plotter_Class_Factory::Name(const wchar_t*, const wchar_t*,    \
                                                                const wchar_t*) const {            \
        return vx_create<Created>(#Name);                                                          \
    }
#define VX_CREATOR_HANDLER(Result, Created, Name)                                                  \
    VX_Smart_Pointer<Result> VX_Std_Plotter_Class_Factory::Name(                                   \
        VX_Smart_Pointer<VX_Error_Handler> handler) const {                                        \
        return vx_create<Created>(#Name, std::move(handler));                                      \
    }
#include "host/vx_creators.def"
