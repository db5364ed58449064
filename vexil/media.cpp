#include "host/vx_media.h"
#include "named_p.h"

VX_Media_Size::~VX_Media_Size() = default;
VX_Media_Size_List::~VX_Media_Size_List() = default;
VX_Media_Source::~VX_Media_Source() = default;
VX_Media_Source_List::~VX_Media_Source_List() = default;
VX_Media_Description::~VX_Media_Description() = default;
VX_Media_Description_List::~VX_Media_Description_List() = default;
VX_Media_Capabilities::~VX_Media_Capabilities() = default;
VX_Media_Configuration::~VX_Media_Configuration() = default;

VX_Smart_Pointer<VX_Media_Size> VX_Media_Source::find_size(const VX_String& name) const {
    return find_named(sizes, name);
}

VX_Smart_Pointer<VX_Media_Source> VX_Media_Capabilities::find_source(const VX_String& name) const {
    return find_named(m_sources, name);
}
