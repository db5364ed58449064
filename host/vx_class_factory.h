// The standard class factory: the host creates every object of a plotter description through a
// class factory, and a driver derives its own factory to substitute its classes. Each creator
// returns a new object held by a smart pointer, or null when the allocation fails (or a failure is
// injected through VX_Creation_Faults under the creator's name); it never throws for lack of
// memory. Exceptions thrown by the created object's constructor pass through unchanged.
#pragma once

#include "vx_device.h"

class VX_API VX_Std_Plotter_Class_Factory : public VX_Object {
public:
    VX_Std_Plotter_Class_Factory();
    ~VX_Std_Plotter_Class_Factory() override;

    /// A capabilities loader reporting to `handler`: the host's model-data loader.
    virtual VX_Smart_Pointer<VX_Caps_Loader>
    VD_Create_Caps_Loader(VX_Smart_Pointer<VX_Error_Handler> handler) const;

#define VX_CREATOR(Result, Created, Name) virtual VX_Smart_Pointer<Result> Name() const;
#define VX_CREATOR_TEXTS(Result, Created, Name)                                                    \
    virtual VX_Smart_Pointer<Result> Name(const wchar_t* name, const wchar_t* model,               \
                                          const wchar_t* family) const;
#define VX_CREATOR_HANDLER(Result, Created, Name)                                                  \
    virtual VX_Smart_Pointer<Result> Name(VX_Smart_Pointer<VX_Error_Handler> handler) const;
#include "vx_creators.def"
#undef VX_CREATOR
#undef VX_CREATOR_TEXTS
#undef VX_CREATOR_HANDLER
};
