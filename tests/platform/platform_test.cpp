#include "platform/vxplatform.h"
#include "support/host_layout.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

const std::string staged_driver = std::string(VX_STAGE_DIR) + "/bin/drv/zelto_qr7m_en13_32_11.so";
const std::string staged_resources =
    std::string(VX_STAGE_DIR) + "/bin/drv/zelto_qr7m_en13_32_11Res.dll";

TEST(Paths, SplitAndComposeAreInverse) {
    struct Case {
        std::wstring path, directory, base, extension;
    };
    const Case cases[] = {
        {L"/opt/cad/drv/zelto_qr7m_en13_32_11.so", L"/opt/cad/drv/", L"zelto_qr7m_en13_32_11",
         L".so"},
        {L"plain", L"", L"plain", L""},
        {L"/dir.with.dots/file", L"/dir.with.dots/", L"file", L""},
        {L"/a/b.tar.gz", L"/a/", L"b.tar", L".gz"},
        {L"/a/", L"/a/", L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(vxp::to_utf8(c.path));
        vxp::Split_Path parts = vxp::split_path(c.path);
        EXPECT_EQ(parts.drive, L"");
        EXPECT_EQ(parts.directory, c.directory);
        EXPECT_EQ(parts.base_name, c.base);
        EXPECT_EQ(parts.extension, c.extension);
        EXPECT_EQ(vxp::make_path(parts.drive, parts.directory, parts.base_name, parts.extension),
                  c.path);
    }
}

TEST(Paths, ComposerAddsSeparatorAndDot) {
    EXPECT_EQ(vxp::make_path(L"", L"/drv/en-US", L"libRes", L"dll"), L"/drv/en-US/libRes.dll");
    EXPECT_EQ(vxp::make_path(L"", L"/drv/", L"libRes", L".dll"), L"/drv/libRes.dll");
    EXPECT_EQ(vxp::make_path(L"", L"", L"name", L""), L"name");
}

TEST(Text, Utf8RoundTripAndMalformedInput) {
    const std::wstring text = L"Gr\u00fcn \u20ac \U0001F5A8";
    EXPECT_EQ(vxp::from_utf8(vxp::to_utf8(text)), text);
    struct Case {
        std::string bytes;
        std::wstring expected;
    };
    const Case cases[] = {
        {"abc", L"abc"},
        {"\xC3", L"\uFFFD"},                     // truncated sequence
        {"\xC0\xAF", L"\uFFFD\uFFFD"},           // overlong encoding
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"}, // surrogate
        {"a\xFF"
         "b",
         L"a\uFFFDb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vxp::from_utf8(c.bytes), c.expected) << "bytes of size " << c.bytes.size();
}

TEST(VersionBlock, ParsesValuesAndTranslations) {
    auto block = vxp::Version_Block::parse(
        "VXVERSION 1\nFileVersion=11.0.53.0.100\nTranslation=0409:04B0,0407:04E4\n");
    ASSERT_TRUE(block);
    EXPECT_EQ(block->value("FileVersion"), "11.0.53.0.100");
    EXPECT_FALSE(block->value("ProductName"));
    EXPECT_EQ(block->translations(), (std::vector<std::uint32_t>{0x04B00409, 0x04E40407}));
}

TEST(VersionBlock, RejectsTextThatIsNotOne) {
    const char* cases[] = {
        "",
        "VERSION 1\nFileVersion=1\n",
        "VXVERSION 1\nno equals sign\n",
        "VXVERSION 1\nTranslation=0409\n",
        "VXVERSION 1\nTranslation=0409:XYZ\n",
        "VXVERSION 1\nTranslation=10409:04B0\n",
    };
    for (const char* text : cases)
        EXPECT_FALSE(vxp::Version_Block::parse(text)) << text;
}

TEST(VersionBlock, IsReadFromTheDriverFileByName) {
    auto block = vxp::read_version_block(staged_driver);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->value("FileVersion"), "11.0.53.0.100");
    EXPECT_EQ(block->translations(), std::vector<std::uint32_t>{0x04B00409});
}

TEST(VersionBlock, FilesWithoutOneGiveNothing) {
    Host_Layout layout;
    std::string elf = read_staged("zelto_qr7m_en13_32_11.so");
    layout.write("truncated.so", elf.substr(0, 100));
    layout.write("text.so", "not an ELF file at all");
    EXPECT_FALSE(vxp::read_version_block((layout.drv() / "truncated.so").string()));
    EXPECT_FALSE(vxp::read_version_block((layout.drv() / "text.so").string()));
    EXPECT_FALSE(vxp::read_version_block((layout.drv() / "missing.so").string()));
    // The resource library is an ELF module without a version block.
    EXPECT_FALSE(vxp::read_version_block(staged_resources));
}

TEST(Modules, StringResourcesOfALoadedLibrary) {
    vxp::Module_Handle library = vxp::load_library(staged_resources);
    ASSERT_TRUE(library) << vxp::last_load_error();
    EXPECT_EQ(vxp::load_string(library, 2), L" - by %s");
    EXPECT_EQ(vxp::load_string(library, 116), L"Invalid color system or palette depth");
    EXPECT_FALSE(vxp::load_string(library, 105));
    EXPECT_FALSE(vxp::load_string(nullptr, 2));

    wchar_t name[8];
    EXPECT_EQ(vxp::get_module_file_name(library, name, 8), 8u) << "a cut name reports the size";
    std::wstring full(1024, L'\0');
    full.resize(vxp::get_module_file_name(library, full.data(), full.size()));
    EXPECT_TRUE(full.ends_with(L"/zelto_qr7m_en13_32_11Res.dll"));
    EXPECT_EQ(full.front(), L'/');
    vxp::free_library(library);
}

TEST(Modules, LoadFailuresSayWhy) {
    EXPECT_FALSE(vxp::load_library("/nonexistent/module.so"));
    EXPECT_NE(vxp::last_load_error().find("/nonexistent/module.so"), std::string::npos);

    EXPECT_FALSE(vxp::load_library(REFUSING_MODULE));
    EXPECT_NE(vxp::last_load_error().find("test module says no"), std::string::npos);
}

TEST(MessageBoxes, HeadlessBoxesAreRecordedAndAnswered) {
    vxp::set_message_box_echo(false);
    vxp::clear_shown_message_boxes();
    EXPECT_EQ(vxp::message_box(nullptr, L"Text", L"Caption", vxp::mb_ok | vxp::mb_icon_error),
              vxp::id_ok);
    EXPECT_EQ(vxp::message_box(nullptr, L"Sure?", L"", vxp::mb_yes_no), vxp::id_yes);
    vxp::queue_message_box_answer(vxp::id_no);
    EXPECT_EQ(vxp::message_box(nullptr, L"Sure?", L"", vxp::mb_yes_no), vxp::id_no);
    auto shown = vxp::shown_message_boxes();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, L"Text");
    EXPECT_EQ(shown[0].caption, L"Caption");
    EXPECT_EQ(shown[0].flags, vxp::mb_ok | vxp::mb_icon_error);
    vxp::clear_shown_message_boxes();
    EXPECT_TRUE(vxp::shown_message_boxes().empty());
}

} // namespace
