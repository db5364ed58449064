#include "vxplatform.h"

namespace vxp {

Split_Path split_path(std::wstring_view path) {
    Split_Path parts;
    std::size_t slash = path.rfind(L'/');
    std::size_t name_start = slash == std::wstring_view::npos ? 0 : slash + 1;
    parts.directory = path.substr(0, name_start);
    std::wstring_view name = path.substr(name_start);
    std::size_t dot = name.rfind(L'.');
    if (dot == std::wstring_view::npos) {
        parts.base_name = name;
    } else {
        parts.base_name = name.substr(0, dot);
        parts.extension = name.substr(dot);
    }
    return parts;
}

std::wstring make_path(std::wstring_view drive, std::wstring_view directory,
                       std::wstring_view base_name, std::wstring_view extension) {
    std::wstring path(drive);
    path += directory;
    if (!directory.empty() && directory.back() != L'/')
        path += L'/';
    path += base_name;
    if (!extension.empty()) {
        if (extension.front() != L'.')
            path += L'.';
        path += extension;
    }
    return path;
}

} // namespace vxp
