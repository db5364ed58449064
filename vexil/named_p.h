// Lists of named host objects: looked up and replaced by name.
#pragma once

#include "host/vx_object.h"

#include <vector>

/// The first item named `name`, or null.
template <class Item>
VX_Smart_Pointer<Item> find_named(const std::vector<VX_Smart_Pointer<Item>>& items,
                                  const VX_String& name) {
    for (const auto& item : items)
        if (item && item->name() == name)
            return item;
    return nullptr;
}

/// Replaces the item of the same name, or appends `item`.
template <class Item>
void put_named(std::vector<VX_Smart_Pointer<Item>>& items, VX_Smart_Pointer<Item> item) {
    if (!item)
        return;
    for (auto& existing : items)
        if (existing && existing->name() == item->name()) {
            existing = std::move(item);
            return;
        }
    items.push_back(std::move(item));
}
