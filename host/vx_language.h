// The host's user-interface language and help.
#pragma once

#include "vx_object.h"

#include <vector>

/// The host's current language, a name such as "en-US" (the default); drivers use it as a folder
/// name.
VX_API VX_String GetLanguage();
/// Sets what GetLanguage answers; the host program calls it before it loads a driver.
VX_API void VX_Set_Language(const VX_String& language);

/// The host's HTML help: opens `topic` of the help file `file` (a bare file name, looked up in
/// the host's help folder). The headless host records the request.
VX_API void _DoHtmlHelp(const VX_String& file, const VX_String& topic, int command);
/// The help requests made since the last clear, as "file topic".
VX_API std::vector<VX_String> help_requests();
VX_API void clear_help_requests();
