#include "host/vx_class_factory.h"

#include <gtest/gtest.h>

namespace {

struct Tracked : VX_Object {
    explicit Tracked(bool* deleted) : m_deleted(deleted) {}
    ~Tracked() override { *m_deleted = true; }
    bool* m_deleted;
};

struct Mixin {
    virtual ~Mixin() = default;
    int extra = 0;
};
// A second base moves the VX_Object part away from the start of the object.
struct Derived : Mixin, Tracked {
    using Tracked::Tracked;
};

TEST(SmartPointer, CopiesShareOneCountAndTheLastReleaseDeletes) {
    bool deleted = false;
    long before = VX_Object::live_objects();
    auto* raw = new Tracked(&deleted);
    VX_Smart_Pointer<Tracked> first(raw);
    {
        VX_Smart_Pointer<Tracked> second(raw); // made from the raw pointer again
        VX_Smart_Pointer<VX_Object> as_base = first;
        EXPECT_EQ(VX_SPMP::count(raw), 3);
    }
    EXPECT_FALSE(deleted);
    EXPECT_EQ(VX_SPMP::count(raw), 1);
    first.reset();
    EXPECT_TRUE(deleted);
    EXPECT_EQ(VX_Object::live_objects(), before);
}

TEST(SmartPointer, BasesOfOneObjectShareItsCount) {
    bool deleted = false;
    VX_Smart_Pointer<Derived> derived(new Derived(&deleted));
    VX_Smart_Pointer<Tracked> base = derived;
    ASSERT_NE(static_cast<void*>(base.get()), static_cast<void*>(derived.get()));
    derived.reset();
    EXPECT_FALSE(deleted);
    base.reset();
    EXPECT_TRUE(deleted);
}

TEST(SmartPointer, MovesAndDetachKeepTheCount) {
    bool deleted = false;
    VX_Smart_Pointer<Tracked> first(new Tracked(&deleted));
    VX_Smart_Pointer<Tracked> moved = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(VX_SPMP::count(moved.get()), 1);
    Tracked* raw = moved.detach();
    EXPECT_FALSE(deleted);
    VX_Smart_Pointer<Tracked> adopted;
    adopted = VX_Smart_Pointer<Tracked>(raw); // a detached reference is still counted
    EXPECT_EQ(VX_SPMP::count(raw), 2);
    adopted.reset();
    EXPECT_FALSE(deleted);
    EXPECT_TRUE(VX_SPMP::release(raw));
    delete raw;
    EXPECT_TRUE(deleted);
}

TEST(Counted, TheLastReleaseDeletes) {
    long before = VX_Object::live_objects();
    auto* counted = new VX_Counted;
    EXPECT_EQ(counted->reference_count(), 1);
    EXPECT_EQ(counted->add_reference(), 2);
    EXPECT_EQ(counted->release_reference(), 1);
    EXPECT_EQ(counted->release_reference(), 0);
    EXPECT_EQ(VX_Object::live_objects(), before);
}

TEST(Exceptions, CarryTheirPartsAndAtMost32Catchers) {
    VX_Error error(nullptr, vx_msg_model_data_malformed, "PM_Object::load", "x.DRC: line 3",
                   "$Workfile: test $");
    EXPECT_EQ(error.level(), 2);
    EXPECT_EQ(error.message_text(), "Model data file is malformed");
    EXPECT_STREQ(error.what(), "Model data file is malformed (PM_Object::load: x.DRC: line 3)");
    EXPECT_EQ(error.revision(), "$Workfile: test $");
    for (int i = 0; i < 40; ++i)
        error.add_catcher("catcher " + std::to_string(i));
    ASSERT_EQ(error.catchers().size(), VX_Exception::max_catchers);
    EXPECT_EQ(error.catchers().back(), "catcher 31");

    VX_Severe_Error severe(nullptr, 4711, "", "", "");
    EXPECT_EQ(severe.level(), 4);
    EXPECT_EQ(severe.message_text(), "message 4711");
}

TEST(CustomData, BooleansAreTheLowByteOfTheStoredInteger) {
    struct Case {
        std::int32_t stored;
        bool expected;
    };
    for (auto [stored, expected] : {Case{0, false}, Case{1, true}, Case{256, false},
                                    Case{257, true}, Case{-256, false}, Case{-1, true}}) {
        VX_Std_Boolean_Custom_Data data(stored);
        EXPECT_EQ(data.get_boolean(), expected) << stored;
        EXPECT_EQ(data.get_long(), stored) << "the integer read keeps every bit";
    }
    VX_Std_Boolean_Custom_Data written;
    written.set_boolean(true);
    EXPECT_EQ(written.get_long(), 1);
}

TEST(CustomData, ItemsCopyTheValueTheyAreGiven) {
    VX_Custom_Configurations items;
    items.add(
        vx_make<VX_Custom_Config_Item>(L"GammaMode_360", vx_make<VX_Std_Long_Custom_Data>(2)));
    auto item = items.find(L"GammaMode_360");
    ASSERT_TRUE(item);
    EXPECT_FALSE(items.find(L"GammaMode_720"));
    VX_Std_Long_Custom_Data value(-33);
    item->set_data(value);
    value.set_long(7);
    EXPECT_EQ(items.find(L"GammaMode_360")->get_data()->get_long(), -33);
}

TEST(CreationFaults, TheArmedCallFailsOnceAndEveryCallIsTraced) {
    VX_Creation_Faults::clear();
    VX_Std_Plotter_Class_Factory factory;
    VX_Creation_Faults::fail("VD_Create_Media_Size", 1);
    EXPECT_TRUE(factory.VD_Create_Media_Size());
    EXPECT_FALSE(factory.VD_Create_Media_Size());
    EXPECT_TRUE(factory.VD_Create_Media_Size());
    EXPECT_TRUE(factory.VD_Create_Plotter_Capabilities(nullptr, nullptr, nullptr));
    EXPECT_EQ(VX_Creation_Faults::calls(),
              (std::vector<std::string>{"VD_Create_Media_Size", "VD_Create_Media_Size",
                                        "VD_Create_Media_Size", "VD_Create_Plotter_Capabilities"}));
    VX_Creation_Faults::clear();
}

TEST(Shoebox, CloneIsDeep) {
    VX_Shoebox shoebox;
    shoebox.application = vx_make<VX_Kadrion_Shoebox>();
    shoebox.application->folder = L"/";
    auto copy = shoebox.clone();
    shoebox.application->folder = L"/elsewhere";
    EXPECT_EQ(copy->application->folder, L"/");
}

} // namespace
