#include "host_layout.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::filesystem::path staged_drv() {
    return std::filesystem::path(VX_STAGE_DIR) / "bin" / "drv";
}

} // namespace

Host_Layout::Host_Layout() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qr7m-host-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    m_root = pattern;
    std::filesystem::create_directories(drv());
}

Host_Layout::Host_Layout(Host_Layout&& other) noexcept
    : m_root(std::move(other.m_root)), m_base(std::move(other.m_base)) {
    other.m_root.clear();
}

Host_Layout::~Host_Layout() {
    if (!m_root.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
}

Host_Layout Host_Layout::complete(const std::string& language, const std::string& build) {
    Host_Layout layout;
    const std::string base = "zelto_qr7m_" + build + "13_32_11";
    layout.m_base = base;
    layout.copy_staged(base + ".so", base + ".so");
    layout.copy_staged(base + "Res.dll", base + "Res.dll");
    layout.copy_staged("en-US/" + base + ".DRC", language + "/" + base + ".DRC");
    return layout;
}

void Host_Layout::copy_staged(const std::string& from, const std::string& to) const {
    std::filesystem::create_directories((drv() / to).parent_path());
    std::filesystem::copy_file(staged_drv() / from, drv() / to,
                               std::filesystem::copy_options::overwrite_existing);
}

void Host_Layout::write(const std::string& to, const std::string& text) const {
    std::filesystem::create_directories((drv() / to).parent_path());
    std::ofstream(drv() / to, std::ios::binary) << text;
}

void Host_Layout::remove(const std::string& file) const {
    std::filesystem::remove(drv() / file);
}

std::string read_staged(const std::string& file) {
    return read_file(staged_drv() / file);
}

std::string read_file(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
