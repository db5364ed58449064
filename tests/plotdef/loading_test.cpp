#include "support/driver_fixture.h"

#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <elf.h>
#include <fstream>
#include <set>
#include <sstream>

namespace {

const std::string resources = "zelto_qr7m_en13_32_11Res.dll";
const std::wstring missing_message = L"DLL not found: Zelto_qr7m_en13_32_11Res.dll";

std::string description_of(Driver_Fixture& fixture) {
    auto definition = fixture.make_definition();
    return definition ? vxp::to_utf8(definition->get_meta_capabilities()->description) : "";
}

TEST_F(Driver_Fixture, ResourceLibraryInTheLanguageFolderWins) {
    layout.copy_staged("en-US/zelto_qr7m_en13_32_11.DRC", "fr-FR/zelto_qr7m_en13_32_11.DRC");
    std::filesystem::copy_file(MARKED_RESOURCES, layout.drv() / "fr-FR" / resources);
    VX_Set_Language(L"fr-FR");
    load();
    EXPECT_EQ(description_of(*this), " - by Zelto (marked)");
}

TEST_F(Driver_Fixture, ResourceLibraryBesideTheDriverServesAnyLanguage) {
    std::filesystem::create_directories(layout.drv() / "fr-FR");
    std::filesystem::copy_file(MARKED_RESOURCES, layout.drv() / "fr-FR" / resources);
    load(); // the host language is en-US, whose folder holds no resource library
    EXPECT_EQ(description_of(*this), " - by Zelto");
    EXPECT_TRUE(vxp::shown_message_boxes().empty());
}

TEST_F(Driver_Fixture, MissingResourceLibraryRefusesTheLoadWithOneMessage) {
    layout.remove(resources);
    VX_Exception e = thrown_by([&] { load(); });
    EXPECT_EQ(e.message_id(), vx_msg_plugin_unusable);
    EXPECT_NE(e.detail().find("resource library is missing"), std::string::npos) << e.detail();
    auto shown = vxp::shown_message_boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, missing_message);
    EXPECT_EQ(shown[0].flags, vxp::mb_ok);
    EXPECT_EQ(shown[0].owner, nullptr);
}

TEST_F(Driver_Fixture, RenamedDriverLooksForItsOwnResourceLibrary) {
    layout.copy_staged("zelto_qr7m_en13_32_11.so", "plotter.so");
    layout.copy_staged("en-US/zelto_qr7m_en13_32_11.DRC", "en-US/plotter.DRC");
    // Only the library of the original name is there: the renamed driver does not find it, and
    // the message still names the build's own library.
    EXPECT_THROW(load("plotter.so"), VX_Exception);
    auto shown = vxp::shown_message_boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, missing_message);

    layout.copy_staged(resources, "plotterRes.dll");
    load("plotter.so");
    EXPECT_EQ(description_of(*this), " - by Zelto");
}

// Exported (defined, global or weak) symbols of an ELF shared object, demangled.
std::vector<std::string> exported_symbols(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto at = [&](std::size_t offset, std::size_t size) {
        if (offset > image.size() || size > image.size() - offset)
            throw std::runtime_error("truncated ELF file");
        return image.data() + offset;
    };
    Elf64_Ehdr header;
    std::memcpy(&header, at(0, sizeof header), sizeof header);
    std::vector<std::string> names;
    for (unsigned i = 0; i < header.e_shnum; ++i) {
        Elf64_Shdr section;
        std::memcpy(&section, at(header.e_shoff + i * sizeof section, sizeof section),
                    sizeof section);
        if (section.sh_type != SHT_DYNSYM)
            continue;
        Elf64_Shdr strings;
        std::memcpy(&strings, at(header.e_shoff + section.sh_link * sizeof strings, sizeof strings),
                    sizeof strings);
        for (std::size_t s = 0; s < section.sh_size / sizeof(Elf64_Sym); ++s) {
            Elf64_Sym symbol;
            std::memcpy(&symbol, at(section.sh_offset + s * sizeof symbol, sizeof symbol),
                        sizeof symbol);
            int binding = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK))
                continue;
            const char* mangled = at(strings.sh_offset + symbol.st_name, 1);
            int status = 0;
            char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
            names.emplace_back(status == 0 ? demangled : mangled);
            std::free(demangled);
        }
    }
    return names;
}

TEST(DriverExports, OnlyTheEntryPointsAreExported) {
    auto symbols = exported_symbols(std::filesystem::path(VX_STAGE_DIR) / "bin" / "drv" /
                                    "zelto_qr7m_en13_32_11.so");
    std::set<std::string> names;
    for (const auto& symbol : symbols)
        names.insert(symbol.substr(0, symbol.find('(')));
    const std::set<std::string> expected = {
        "VD_Create_Plotter_Device",
        "VX_RASTER_Plotter_Class_Factory::VX_RASTER_Plotter_Class_Factory",
        "VX_RASTER_Plotter_Class_Factory::~VX_RASTER_Plotter_Class_Factory",
        "VX_RASTER_Plotter_Class_Factory::VD_Create_Caps_Loader",
        "VX_RASTER_Plotter_Class_Factory::VD_Create_Plotter_Capabilities",
        "VX_RASTER_Plotter_Class_Factory::VD_Create_Plotter_Configuration",
        "VX_RASTER_Plotter_Class_Factory::VD_Create_Plotter_Definition",
        "RASTER_DRC_Caps_Loader::RASTER_DRC_Caps_Loader",
        "RASTER_DRC_Caps_Loader::Load",
        "VX_RASTER_Plotter_Definition::Custom_Config_UI_Available",
        "VX_RASTER_Plotter_Definition::CustomConfigure",
        "VX_RASTER_Plotter_Definition::get_driver_hints_helpfile",
        "VX_RASTER_Plotter_Definition::get_true_device_colors",
    };
    EXPECT_EQ(names, expected);
    // Both constructors of the loader.
    std::set<std::string> all(symbols.begin(), symbols.end());
    EXPECT_TRUE(all.count("RASTER_DRC_Caps_Loader::RASTER_DRC_Caps_Loader()"));
    EXPECT_TRUE(all.count(
        "RASTER_DRC_Caps_Loader::RASTER_DRC_Caps_Loader(VX_Smart_Pointer<VX_Error_Handler>)"));
}

} // namespace
