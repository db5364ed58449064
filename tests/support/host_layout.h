// A host installation made for one test in a fresh temporary folder: the staged driver, its
// resource library and model data copied in, ready to be changed to show a fault.
#pragma once

#include <filesystem>
#include <string>

class Host_Layout {
public:
    static constexpr const char* driver_base = "zelto_qr7m_en13_32_11";

    /// An empty installation: just the drv folder.
    Host_Layout();
    ~Host_Layout();
    Host_Layout(const Host_Layout&) = delete;
    Host_Layout& operator=(const Host_Layout&) = delete;

    /// The staged driver of a build ("en", "sp", "ge", "it"), its resource library beside it,
    /// and its model data in the folder of `language`.
    static Host_Layout complete(const std::string& language = "en-US",
                                const std::string& build = "en");

    std::filesystem::path root() const { return m_root; }
    std::filesystem::path drv() const { return m_root / "drv"; }
    /// The driver's base name, "zelto_qr7m_en13_32_11" for the English build.
    const std::string& base() const { return m_base; }
    std::filesystem::path driver() const { return drv() / (m_base + ".so"); }

    /// Copies a staged file (a path relative to stage/bin/drv) to `to` (relative to drv).
    void copy_staged(const std::string& from, const std::string& to) const;
    /// Writes `text` to `to` (relative to drv).
    void write(const std::string& to, const std::string& text) const;
    /// Removes a file (relative to drv).
    void remove(const std::string& file) const;

    Host_Layout(Host_Layout&& other) noexcept;

private:
    std::filesystem::path m_root;
    std::string m_base = driver_base;
};

/// Contents of a staged file (relative to stage/bin/drv).
std::string read_staged(const std::string& file);
/// Contents of a file; empty when it cannot be read.
std::string read_file(const std::filesystem::path& file);
