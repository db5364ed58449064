#include "host/vx_language.h"

#include <mutex>

namespace {

std::mutex g_language_mutex;
VX_String g_language = L"en-US";

} // namespace

VX_String GetLanguage() {
    std::lock_guard lock(g_language_mutex);
    return g_language;
}

void VX_Set_Language(const VX_String& language) {
    std::lock_guard lock(g_language_mutex);
    g_language = language;
}
