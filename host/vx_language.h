// The host's user-interface language and help.
#pragma once

#include "vx_object.h"

/// The host's current language, a name such as "en-US" (the default); drivers use it as a folder
/// name.
VX_API VX_String GetLanguage();
/// Sets what GetLanguage answers; the host program calls it before it loads a driver.
VX_API void VX_Set_Language(const VX_String& language);
