#include "host/vx_language.h"

#include <mutex>

namespace {

std::mutex g_language_mutex;
VX_String g_language = L"en-US";
std::vector<VX_String> g_help_requests;

} // namespace

VX_String GetLanguage() {
    std::lock_guard lock(g_language_mutex);
    return g_language;
}

void VX_Set_Language(const VX_String& language) {
    std::lock_guard lock(g_language_mutex);
    g_language = language;
}

void _DoHtmlHelp(const VX_String& file, const VX_String& topic, int) {
    std::lock_guard lock(g_language_mutex);
    g_help_requests.push_back(file + L" " + topic);
}

std::vector<VX_String> help_requests() {
    std::lock_guard lock(g_language_mutex);
    return g_help_requests;
}

void clear_help_requests() {
    std::lock_guard lock(g_language_mutex);
    g_help_requests.clear();
}
