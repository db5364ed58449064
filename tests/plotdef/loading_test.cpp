#include "platform/dialogs/dialog.h"
#include "support/driver_fixture.h"

#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <elf.h>
#include <fstream>
#include <set>
#include <sstream>

namespace {

// The four language builds: what differs between them, and the resource library lookup, which
// every build does the same way under its own names.
struct Build {
    const char* code;
    const char* by;           ///< the plotter description: string 2 of its resource library
    const wchar_t* help;      ///< its help file
    const char* a4_roll;      ///< the name of the A4 roll paper size in its model data
    const char* language;     ///< a host language it is installed for
    const wchar_t* incorrect; ///< the message about an incorrect definitions file
    const wchar_t* caption;   ///< the caption of the settings dialogs' errors
    const wchar_t* no_engine; ///< the message when the print engine is missing
};
const Build builds[] = {
    {"en", " - by Zelto", L"drv_zelto_qr7m_en.chm", "A4_Roll_Paper_Portrait", "en-US",
     L"The contents of the definition file are incorrect.\nDefaults will be used.",
     L"Custom Properties Error", L"Z_PENG12.DLL has not been installed."},
    {"sp", " - por Zelto", L"drv_zelto_qr7m_sp.chm", "A4_Papel_en_rollo_Vertical", "es-ES",
     L"El contenido del archivo de definiciones no es correcto.\nSe usarán los valores "
     L"predeterminados.",
     L"Error de propiedades personalizadas", L"Z_PENG12.DLL no está instalado."},
    {"ge", " - von Zelto", L"drv_zelto_qr7m_ge.chm", "A4_Rollenpapier_Hochformat", "de-DE",
     L"Der Inhalt der Definitionsdatei ist fehlerhaft.\nEs werden die Standardwerte verwendet.",
     L"Fehler der benutzerdefinierten Eigenschaften", L"Z_PENG12.DLL ist nicht installiert."},
    {"it", " - di Zelto", L"drv_zelto_qr7m_it.chm", "A4_Carta_in_rotolo_Verticale", "it-IT",
     L"Il contenuto del file di definizioni non è corretto.\nVerranno usati i valori "
     L"predefiniti.",
     L"Errore delle proprietà personalizzate", L"Z_PENG12.DLL non è installato."},
};

void PrintTo(const Build& build, std::ostream* out) {
    *out << build.code;
}

struct Language_Build : Driver_Fixture, ::testing::WithParamInterface<Build> {
    const Build& build = GetParam();
    const std::string resources = layout.base() + "Res.dll";
    const std::wstring missing_message =
        L"DLL not found: Zelto_qr7m_" + vxp::from_utf8(build.code) + L"13_32_11Res.dll";

    Language_Build() : Driver_Fixture(Host_Layout::complete("en-US", GetParam().code)) {}
    std::string description() {
        auto definition = make_definition();
        return definition ? vxp::to_utf8(definition->get_meta_capabilities()->description) : "";
    }
};

TEST_P(Language_Build, ItsOwnTextsHelpAndModelData) {
    load();
    EXPECT_EQ(description(), build.by);
    auto definition = make_definition();
    VX_String file, topic;
    ASSERT_TRUE(definition->get_driver_hints_helpfile(file, topic));
    EXPECT_EQ(file, build.help);
    EXPECT_EQ(topic, L"html/menu01");
    ASSERT_TRUE(factory->VD_Create_Caps_Loader(handler)->Load(definition, VX_Caps_Loader::Replace));
    auto roll =
        definition->get_plotter_capabilities()->get_media_capabilities()->find_source(L"P0");
    ASSERT_TRUE(roll);
    EXPECT_TRUE(roll->find_size(vxp::from_utf8(build.a4_roll))) << build.a4_roll;
    auto version = vxp::read_version_block(layout.driver().string());
    ASSERT_TRUE(version);
    EXPECT_EQ(version->value("InternalName"), layout.base());
    EXPECT_EQ(version->value("FileVersion"), "11.0.53.0.100");
}

TEST_P(Language_Build, ResourceLibraryInTheLanguageFolderWins) {
    layout.copy_staged("en-US/" + layout.base() + ".DRC", "fr-FR/" + layout.base() + ".DRC");
    std::filesystem::copy_file(MARKED_RESOURCES, layout.drv() / "fr-FR" / resources);
    VX_Set_Language(L"fr-FR");
    load();
    EXPECT_EQ(description(), " - by Zelto (marked)");
}

TEST_P(Language_Build, ResourceLibraryBesideTheDriverServesAnyLanguage) {
    std::filesystem::create_directories(layout.drv() / "fr-FR");
    std::filesystem::copy_file(MARKED_RESOURCES, layout.drv() / "fr-FR" / resources);
    layout.copy_staged("en-US/" + layout.base() + ".DRC",
                       std::string(build.language) + "/" + layout.base() + ".DRC");
    VX_Set_Language(vxp::from_utf8(build.language));
    load(); // the host language's folder holds no resource library
    EXPECT_EQ(description(), build.by);
    EXPECT_TRUE(vxp::shown_message_boxes().empty());
}

TEST_P(Language_Build, MissingResourceLibraryRefusesTheLoadWithOneMessage) {
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

TEST_P(Language_Build, RenamedDriverLooksForItsOwnResourceLibrary) {
    layout.copy_staged(layout.base() + ".so", "plotter.so");
    layout.copy_staged("en-US/" + layout.base() + ".DRC", "en-US/plotter.DRC");
    // Only the library of the original name is there: the renamed driver does not find it, and
    // the message still names the build's own library.
    EXPECT_THROW(load("plotter.so"), VX_Exception);
    auto shown = vxp::shown_message_boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, missing_message);

    layout.copy_staged(resources, "plotterRes.dll");
    load("plotter.so");
    EXPECT_EQ(description(), build.by);
}

TEST_P(Language_Build, ItsSettingsDialogSpeaksItsLanguage) {
    load();
    auto definition = make_definition();
    ASSERT_TRUE(factory->VD_Create_Caps_Loader(handler)->Load(definition, VX_Caps_Loader::Replace));
    add_default_custom_items(*definition);
    layout.write("zelto7m.px_", "<zelto></zelto>\n"); // an incorrect definitions file
    set_dialog_backend(Dialog_Backend::headless);
    queue_dialog_actions(parse_dialog_script("cancel\n"));
    EXPECT_FALSE(definition->CustomConfigure(nullptr));
    auto shown = vxp::shown_message_boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, build.incorrect);
    EXPECT_EQ(shown[0].caption, build.caption);
}

TEST_P(Language_Build, ItsDeviceSpeaksItsLanguage) {
    load();
    auto definition = make_definition();
    ASSERT_TRUE(factory->VD_Create_Caps_Loader(handler)->Load(definition, VX_Caps_Loader::Replace));
    auto media = definition->get_plotter_configuration()->get_media_configuration();
    media->select(L"P0", vxp::from_utf8(build.a4_roll));
    media->set_printable_area({0, 0, 200, 280});
    definition->get_shoebox()->plot_to_file_name = (layout.root() / "out.prn").wstring();
    VX_Plotter_Device_Data* device = module->make_device();
    ASSERT_TRUE(device);
    device->set_error_handler(handler);
    device->set_plotter_definition(definition);
    device->establish_configuration();
    // No print engine in this installation: the build says so in its language.
    EXPECT_THROW(device->begin_picture({}), VX_Exception);
    device->release_reference();
    auto shown = vxp::shown_message_boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, build.no_engine);
}

// Each build's settings dialogs in Qt windows (offscreen), pictured into the build tree for a
// person to check that no text is cut off.
TEST_P(Language_Build, ItsDialogsInQtWindows) {
    layout.copy_staged("color.dll", "color.dll");
    load();
    auto definition = make_definition();
    ASSERT_TRUE(factory->VD_Create_Caps_Loader(handler)->Load(definition, VX_Caps_Loader::Replace));
    add_default_custom_items(*definition);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    set_dialog_backend(Dialog_Backend::qt);
    const std::filesystem::path shots = VX_SCREENSHOT_DIR;
    std::filesystem::create_directories(shots);
    const std::string prefix = (shots / build.code).string();
    for (const char* name : {"_custom_properties.png", "_paper_config.png"})
        std::filesystem::remove(prefix + name);
    queue_dialog_actions(parse_dialog_script("click 1001\nclick 1021\nselect 1008 8\npick 30\n"
                                             "shot " +
                                             prefix +
                                             "_custom_properties.png\n"
                                             "click 1032\n"
                                             "shot " +
                                             prefix +
                                             "_paper_config.png\n"
                                             "cancel\ncancel\n"));
    EXPECT_FALSE(definition->CustomConfigure(nullptr));
    set_dialog_backend(Dialog_Backend::headless);
    clear_dialog_actions();
    for (const char* name : {"_custom_properties.png", "_paper_config.png"})
        EXPECT_GT(std::filesystem::file_size(prefix + name), 2000u) << prefix << name;
}

INSTANTIATE_TEST_SUITE_P(Builds, Language_Build, ::testing::ValuesIn(builds),
                         [](const auto& info) { return std::string(info.param.code); });

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
