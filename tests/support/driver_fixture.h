// Loads the driver from a temporary host installation as a host does.
#pragma once

#include "host/vx_driver_module.h"
#include "host/vx_language.h"
#include "support/host_layout.h"
#include "support/thrown_by.h"

#include <gtest/gtest.h>
#include <memory>

/// The host's plot configuration as a new one is: every custom item at its capability's default.
inline void add_default_custom_items(VX_Plotter_Definition& definition) {
    auto items = definition.get_plotter_configuration()->get_custom_configuration();
    for (const auto& c : definition.get_plotter_capabilities()->get_custom_capabilities()->all())
        items->add(vx_make<VX_Custom_Config_Item>(
            c->name(), c->kind() == VX_Custom_Kind::Boolean
                           ? VX_Smart_Pointer<VX_Custom_Data>(
                                 vx_make<VX_Std_Boolean_Custom_Data>(c->default_value()))
                           : vx_make<VX_Std_Long_Custom_Data>(c->default_value())));
}

struct Driver_Fixture : ::testing::Test {
    Host_Layout layout;
    std::unique_ptr<VX_Driver_Module> module;
    VX_Smart_Pointer<VX_Std_Plotter_Class_Factory> factory;
    VX_Smart_Pointer<VX_Error_Handler> handler = vx_make<VX_Error_Handler>();

    /// The English build unless another installation is given.
    explicit Driver_Fixture(Host_Layout installation = Host_Layout::complete())
        : layout(std::move(installation)) {
        vxp::set_message_box_echo(false);
        vxp::clear_shown_message_boxes();
        VX_Creation_Faults::clear();
    }
    ~Driver_Fixture() override {
        factory.reset();
        module.reset();
        VX_Set_Language(L"en-US");
        VX_Creation_Faults::clear();
    }

    /// Loads `driver` (default: the driver of the layout) and makes its class factory.
    void load(std::string driver = {}) {
        module = std::make_unique<VX_Driver_Module>(
            driver.empty() ? layout.driver().string() : (layout.drv() / driver).string());
        factory = module->make_class_factory();
        ASSERT_TRUE(factory);
    }
    VX_Smart_Pointer<VX_Plotter_Definition> make_definition() {
        return factory->VD_Create_Plotter_Definition(handler);
    }
};
