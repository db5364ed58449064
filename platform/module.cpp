// Loading shared objects, and the start-up refusal that lets a module decline to be loaded the way
// a platform DLL does when its initialisation fails.
#include "vxplatform.h"

#include <climits>
#include <cstdlib>
#include <cwchar>
#include <dlfcn.h>
#include <link.h>
#include <mutex>
#include <unistd.h>
#include <utility>

namespace vxp {
namespace {

thread_local std::string t_last_load_error;
// Set by a module's start-up while load_library is inside dlopen on this thread.
thread_local std::optional<std::string> t_refusal;
// dlopen runs start-up code that may load further modules; one load at a time per process keeps
// the refusal attributed to the module being loaded.
std::recursive_mutex g_load_mutex;

} // namespace

Module_Handle load_library(const std::string& path) {
    std::lock_guard lock(g_load_mutex);
    auto outer_refusal = std::exchange(t_refusal, std::nullopt);
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    auto refusal = std::exchange(t_refusal, outer_refusal);
    if (!handle) {
        const char* why = dlerror();
        t_last_load_error = why ? why : ("cannot load " + path);
        return nullptr;
    }
    if (refusal) {
        dlclose(handle);
        t_last_load_error = path + ": start-up refused the load: " + *refusal;
        return nullptr;
    }
    t_last_load_error.clear();
    return handle;
}

void free_library(Module_Handle module) {
    if (module)
        dlclose(module);
}

void* get_proc_address(Module_Handle module, const char* name) {
    if (!module || !name)
        return nullptr;
    return dlsym(module, name);
}

std::string last_load_error() {
    return t_last_load_error;
}

void refuse_module_load(const std::string& reason) {
    t_refusal = reason;
}

Module_Handle module_of_address(const void* address) {
    Dl_info info{};
    link_map* map = nullptr;
    if (!dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) || !map)
        return nullptr;
    // glibc's dlopen handles are the modules' link maps, so this is a handle dlsym accepts.
    return map;
}

std::wstring& program_file_override() {
    static std::wstring name;
    return name;
}

void set_program_file_name(const std::wstring& name) {
    program_file_override() = name;
}

std::wstring program_file_name() {
    if (!program_file_override().empty())
        return program_file_override();
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? from_utf8(std::string_view(path, std::size_t(length))) : std::wstring();
}

std::size_t get_module_file_name(Module_Handle module, wchar_t* buffer, std::size_t size) {
    if (!module || !buffer || size == 0)
        return 0;
    link_map* map = nullptr;
    if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name)
        return 0;
    std::wstring wide;
    if (!*map->l_name) {
        // The main program's link map carries no name: it is the program file.
        wide = program_file_name();
    } else {
        char resolved[PATH_MAX];
        wide = from_utf8(realpath(map->l_name, resolved) ? resolved : map->l_name);
    }
    if (wide.empty())
        return 0;
    std::size_t n = wide.size() < size ? wide.size() : size;
    wmemcpy(buffer, wide.data(), n);
    if (n < size)
        buffer[n] = L'\0';
    return n;
}

} // namespace vxp
