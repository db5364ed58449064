// The driver's description of the printer: its class factory, capabilities loader, capabilities,
// configuration and plotter definition. The host reaches them through the exported members marked
// RASTER_EXPORT; everything else of the module is private to it.
#pragma once

#include "host/vx_class_factory.h"
#include "host/vx_model_data.h"

#define RASTER_EXPORT __attribute__((visibility("default")))

/// The driver's class factory: the standard one, with the driver's own capabilities loader,
/// capabilities, configuration and plotter definition. Each creator answers null when the
/// allocation fails; exceptions of the created object's constructor pass through.
class VX_RASTER_Plotter_Class_Factory : public VX_Std_Plotter_Class_Factory {
public:
    RASTER_EXPORT VX_RASTER_Plotter_Class_Factory();
    RASTER_EXPORT ~VX_RASTER_Plotter_Class_Factory() override;
    /// A new RASTER_DRC_Caps_Loader reporting to `handler`.
    RASTER_EXPORT VX_Smart_Pointer<VX_Caps_Loader>
    VD_Create_Caps_Loader(VX_Smart_Pointer<VX_Error_Handler> handler) const override;
    /// A new VX_RASTER_Plotter_Capabilities; the three texts are not used.
    RASTER_EXPORT VX_Smart_Pointer<VX_Plotter_Capabilities>
    VD_Create_Plotter_Capabilities(const wchar_t*, const wchar_t*, const wchar_t*) const override;
    /// A new VX_RASTER_Plotter_Configuration; the three texts are not used.
    RASTER_EXPORT VX_Smart_Pointer<VX_Plotter_Configuration>
    VD_Create_Plotter_Configuration(const wchar_t*, const wchar_t*, const wchar_t*) const override;
    /// A new VX_RASTER_Plotter_Definition built with `handler`.
    RASTER_EXPORT VX_Smart_Pointer<VX_Plotter_Definition>
    VD_Create_Plotter_Definition(VX_Smart_Pointer<VX_Error_Handler> handler) const override;
};

/// The host's model-data capabilities loader, which also gives the I/O capabilities the option
/// pair (5, 4) once the printer's capabilities are loaded.
class RASTER_DRC_Caps_Loader : public PM_DRC_Caps_Loader {
public:
    RASTER_EXPORT RASTER_DRC_Caps_Loader();
    RASTER_EXPORT explicit RASTER_DRC_Caps_Loader(VX_Smart_Pointer<VX_Error_Handler> handler);
    ~RASTER_DRC_Caps_Loader() override;
    /// The base loader's result; on success the pair (5, 4) is added to the I/O capabilities.
    RASTER_EXPORT bool Load(VX_Smart_Pointer<VX_Plotter_Definition> definition,
                            Load_Policy policy) override;
};

/// Capabilities with their eight empty areas, created through the driver's class factory. Throws
/// VX_Error 100 naming the area whose creation failed; nothing is installed then.
class VX_RASTER_Plotter_Capabilities : public VX_Std_Plotter_Capabilities {
public:
    VX_RASTER_Plotter_Capabilities();
    ~VX_RASTER_Plotter_Capabilities() override;
};

/// Configuration with its six empty areas (no raster or line type area), created through the
/// driver's class factory. Throws VX_Error 100 naming the area whose creation failed.
class VX_RASTER_Plotter_Configuration : public VX_Std_Plotter_Configuration {
public:
    VX_RASTER_Plotter_Configuration();
    ~VX_RASTER_Plotter_Configuration() override;
};

/// The qr7m as the host sees it. Construction reads the model data file (beside the module, in the
/// host language's folder, "<module base name>.DRC") into the meta capabilities, creates empty
/// capabilities and configuration and a shoebox; every failure throws VX_Error and nothing partial
/// is returned.
class VX_RASTER_Plotter_Definition : public VX_Std_Plotter_Definition {
public:
    explicit VX_RASTER_Plotter_Definition(VX_Smart_Pointer<VX_Error_Handler> handler);
    ~VX_RASTER_Plotter_Definition() override;
    /// Always true: the driver has its Custom Properties dialog.
    RASTER_EXPORT bool Custom_Config_UI_Available() override;
    /// Runs the Custom Properties dialog modally over the host's window; true exactly when the
    /// user closed it with OK.
    RASTER_EXPORT bool CustomConfigure(vxp::Window_Handle parent) override;
    /// The build's help file and the topic "html/menu01"; always true.
    RASTER_EXPORT bool get_driver_hints_helpfile(VX_String& file, VX_String& topic) override;
    /// With the selected resolution/colour/memory setting bitonal (colour system 2): palette entry
    /// 0 becomes opaque black and the answer is true. Otherwise, or with a null palette or a
    /// selection the capabilities do not hold, false and the palette is untouched.
    RASTER_EXPORT bool get_true_device_colors(VX_Smart_Pointer<VX_Palette> palette) const override;

private:
    void initMetaCaps();

    VX_Smart_Pointer<VX_RASTER_Plotter_Class_Factory> m_cf;
};
