// A device of the driver bound to a plotter definition whose capabilities came from the staged
// model data: roll paper A4 portrait, the first resolution/colour/memory setting.
#pragma once

#include "support/driver_fixture.h"

// The device of the loaded driver, released when the test ends.
struct Device {
    VX_Plotter_Device_Data* device = nullptr;
    ~Device() {
        if (device)
            device->release_reference();
    }
    VX_Plotter_Device_Data* operator->() const { return device; }
};

struct Device_Fixture : Driver_Fixture {
    VX_Smart_Pointer<VX_Plotter_Definition> definition;
    Device device;

    Device_Fixture() {
        load();
        definition = make_definition();
        EXPECT_TRUE(
            factory->VD_Create_Caps_Loader(handler)->Load(definition, VX_Caps_Loader::Replace));
        select(L"P0", L"A4_Roll_Paper_Portrait", {0, 0, 200, 100}, 0);
        device.device = module->make_device();
    }
    ~Device_Fixture() override {
        if (device.device)
            device.device->release_reference();
        device.device = nullptr;
        definition.reset();
    }
    VX_Plotter_Configuration& configuration() { return *definition->get_plotter_configuration(); }
    void select(const wchar_t* source, const wchar_t* size, VX_Area area, std::int32_t setting) {
        auto media = configuration().get_media_configuration();
        media->select(source, size);
        media->set_printable_area(area);
        configuration().get_res_color_mem_configuration()->set_selected_index(setting);
    }
    void bind() {
        device->set_error_handler(handler);
        device->set_plotter_definition(definition);
    }
    // Adds a resolution/colour/memory setting and returns its index.
    std::int32_t add_setting(double dpi, std::int32_t depth, std::int32_t system) {
        auto settings = definition->get_plotter_capabilities()->get_res_color_mem_capabilities();
        auto entries = settings->entries();
        entries.push_back(vx_make<VX_ResColorMem>(dpi, dpi, depth, system));
        settings->set_entries(entries);
        return std::int32_t(entries.size() - 1);
    }
};
