#include "definitions/definitions.h"
#include "support/host_layout.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using settings::Resolution;

std::string canonical_defaults() {
    auto text = std::make_unique<Definitions_Text>();
    ComposeDefinitionsText(*text);
    return std::string(text->view());
}

std::string replace_first(std::string text, const std::string& from, const std::string& to) {
    std::size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The text on one line: every line feed and the indentation after it removed.
std::string one_line(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') {
            out += text[i];
            continue;
        }
        while (i + 1 < text.size() && text[i + 1] == ' ')
            ++i;
    }
    return out;
}

// The 720 dpi block of the text (where a fault is to be put into it).
std::size_t dpi720_start(const std::string& text) {
    return text.find("<dpi720>");
}

TEST(DefinitionsText, DefaultsComposeTheCanonicalForm) {
    std::string text = canonical_defaults();
    EXPECT_EQ(text.size(), 8991u);
    EXPECT_TRUE(text.starts_with("<zelto>\n  <dpi360>\n    <paper01>\n      <gamma>1</gamma>"));
    EXPECT_TRUE(text.ends_with("    </paper18>\n  </dpi720>\n</zelto>\n"));
    EXPECT_NE(text.find("\n    <paper09>\n      "), std::string::npos);
    EXPECT_NE(text.find("\n    <paper10>\n      "), std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(ValidateDefinitions(text), 1);
}

// Variants of the canonical text: layout does not matter, a missing or oversized part does.
struct Variant {
    std::string name;
    std::string (*make)(const std::string& canonical);
    std::string fault; // empty: valid
};

const Variant variants[] = {
    {"one line without indentation", [](const std::string& t) { return one_line(t); }, ""},
    {"papers in reverse order",
     [](const std::string& t) {
         std::string out = "<zelto>";
         for (const char* block : {"dpi360", "dpi720"}) {
             out += std::string("<") + block + ">";
             for (int paper = 18; paper >= 1; --paper) {
                 std::string name = paper_name(paper);
                 std::size_t at = t.find("<" + name + ">", t.find(std::string("<") + block + ">"));
                 std::size_t end = t.find("</" + name + ">", at) + name.size() + 3;
                 out += t.substr(at, end - at);
             }
             out += std::string("</") + block + ">";
         }
         return out + "</zelto>";
     },
     ""},
    {"resolution blocks after the root",
     [](const std::string& t) {
         std::size_t first = t.find("  <dpi360>"), last = t.find("</zelto>");
         return "<zelto>\n</zelto>\n" + t.substr(first, last - first);
     },
     ""},
    {"empty inkdensity",
     [](const std::string& t) {
         return replace_first(t, "<inkdensity>0</inkdensity>", "<inkdensity></inkdensity>");
     },
     ""},
    {"paper thickness 40",
     [](const std::string& t) {
         return replace_first(t, "<paperthick>1</paperthick>", "<paperthick>40</paperthick>");
     },
     ""},
    {"no final line feed", [](const std::string& t) { return t.substr(0, t.size() - 1); }, ""},
    {"extra text and tags",
     [](const std::string& t) {
         return "<?xml version=\"1.0\"?>\n<!-- edited -->\n" +
                replace_first(t, "<paper05>", "<paper05 note=\"x\"><paper05><comment/>");
     },
     ""},
    {"paper12 at 720 dpi without vacuum",
     [](const std::string& t) {
         std::string out = t;
         std::size_t paper = out.find("<paper12>", dpi720_start(out));
         out.erase(out.find("<vacuum>0</vacuum>", paper), 18);
         return out;
     },
     "paper12 at 720 dpi lacks <vacuum> ... </vacuum>"},
    {"no root", [](const std::string& t) { return replace_first(t, "</zelto>", ""); },
     "the text lacks its root <zelto> ... </zelto>"},
    {"no 720 dpi block", [](const std::string& t) { return replace_first(t, "</dpi720>", ""); },
     "the text lacks <dpi720> ... </dpi720>"},
    {"a resolution block beyond its buffer",
     [](const std::string& t) {
         return replace_first(t, "  </dpi360>", std::string(4000, ' ') + "</dpi360>");
     },
     "the text <dpi360> holds 8,465 bytes, more than 8,191"},
    {"a paper block beyond its buffer",
     [](const std::string& t) {
         return replace_first(t, "</paper04>", std::string(900, ' ') + "</paper04>");
     },
     "paper04 at 360 dpi <paper04> holds 1,124 bytes, more than 1,023"},
    {"a value beyond its buffer",
     [](const std::string& t) {
         return replace_first(t, "<gap>0</gap>", "<gap>" + std::string(100, '0') + "</gap>");
     },
     "paper01 at 360 dpi <gap> holds 100 bytes, more than 99"},
};

TEST(DefinitionsText, ValidationIgnoresLayoutAndReportsEveryFault) {
    const std::string canonical = canonical_defaults();
    for (const auto& v : variants) {
        SCOPED_TRACE(v.name);
        std::string text = v.make(canonical);
        auto faults = CheckDefinitions(text);
        EXPECT_EQ(ValidateDefinitions(text), v.fault.empty() ? 1 : 0);
        if (v.fault.empty()) {
            EXPECT_TRUE(faults.empty()) << faults.front();
            continue;
        }
        ASSERT_EQ(faults.size(), 1u) << faults.front();
        EXPECT_EQ(faults[0], v.fault);
    }
}

TEST(DefinitionsText, AFileWithoutPapersNamesEachOne) {
    auto faults = CheckDefinitions("<zelto><dpi360></dpi360><dpi720></dpi720></zelto>");
    ASSERT_EQ(faults.size(), 36u);
    EXPECT_EQ(faults[0], "paper01 at 360 dpi lacks <paper01> ... </paper01>");
    EXPECT_EQ(faults[35], "paper18 at 720 dpi lacks <paper18> ... </paper18>");
}

TEST(DefinitionsText, ReadingAnyLayoutAndComposingGivesTheCanonicalForm) {
    const std::string canonical = canonical_defaults();
    auto store = std::make_unique<PaperBlockStore>();
    for (const auto& v : variants) {
        std::string text = v.make(canonical);
        if (!ValidateDefinitions(text))
            continue;
        SCOPED_TRACE(v.name);
        ExtractAllPaperBlocks(text, *store);
        auto composed = std::make_unique<Definitions_Text>();
        ComposeDefinitionsText(*composed, *store);
        std::string expected = canonical;
        if (v.name == "paper thickness 40")
            expected = replace_first(canonical, "<paperthick>1</paperthick>",
                                     "<paperthick>40</paperthick>");
        EXPECT_EQ(composed->view(), expected);
    }
}

TEST(DefinitionsText, ExtractionTakesThePaperOfTheNamedResolution) {
    std::string text = replace_first(canonical_defaults(), "<gamma>1</gamma>", "<gamma>2</gamma>");
    text =
        replace_first(text.substr(0, dpi720_start(text)), "", "") +
        replace_first(text.substr(dpi720_start(text)), "<roller>0</roller>", "<roller>3</roller>");
    PaperBlockStore::Block block;
    ASSERT_TRUE(ExtractPaperBlock(text, "paper01", "dpi720", block));
    PaperSettings values{};
    ASSERT_EQ(ParsePaperSettings(block.view(), values), 1);
    EXPECT_EQ(values.gamma, 1);
    EXPECT_EQ(values.roller, 3);
    EXPECT_TRUE(block.view().starts_with("\n      <gamma>")) << "the layout comes along";
    EXPECT_FALSE(ExtractPaperBlock(text, "paper19", "dpi720", block));
}

// ---------------------------------------------------------------------------------------------
// The file on disk

struct File_Fixture : ::testing::Test {
    Host_Layout layout;
    std::filesystem::path file = layout.drv() / definitions_file_name;
    std::unique_ptr<PaperBlockStore> store = std::make_unique<PaperBlockStore>();
    std::unique_ptr<Definitions_Text> text = std::make_unique<Definitions_Text>();
    int messages = 0;

    Opening_Result open_dialog() {
        return ReadDefinitionsAtOpening(file, *store, *text, [this] { ++messages; });
    }
    PaperSettings stored(int paper, Resolution resolution) {
        PaperSettings values{};
        EXPECT_EQ(ParsePaperSettings(store->block(paper, resolution).view(), values), 1);
        return values;
    }
    bool store_holds_defaults() {
        for (int paper = 1; paper <= paper_count; ++paper)
            if (stored(paper, Resolution::dpi360) != DefaultPaperSettings[0][paper - 1] ||
                stored(paper, Resolution::dpi720) != DefaultPaperSettings[1][paper - 1])
                return false;
        return true;
    }
    std::vector<std::string> folder_entries() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(layout.drv()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(File_Fixture, AMissingFileIsCreatedSilentlyWithTheDefaults) {
    Opening_Result result = open_dialog();
    EXPECT_FALSE(result.file_valid);
    EXPECT_TRUE(result.defaults_written);
    EXPECT_EQ(messages, 0);
    EXPECT_EQ(read_file(file), canonical_defaults());
    EXPECT_TRUE(store_holds_defaults());
    EXPECT_EQ(folder_entries(), std::vector<std::string>{definitions_file_name});
}

TEST_F(File_Fixture, AValidFileFillsTheStoreAndStaysAsItIs) {
    std::string own = replace_first(canonical_defaults(), "<paperthick>2</paperthick>",
                                    "<paperthick>7</paperthick>");
    own = one_line(own);
    layout.write(definitions_file_name, own);
    Opening_Result result = open_dialog();
    EXPECT_TRUE(result.file_valid);
    EXPECT_FALSE(result.defaults_written);
    EXPECT_EQ(messages, 0);
    EXPECT_EQ(read_file(file), own);
    EXPECT_EQ(stored(5, Resolution::dpi360).paperthick, 7);
    EXPECT_EQ(stored(5, Resolution::dpi720).paperthick, 2);
}

TEST_F(File_Fixture, AnIncorrectFileIsKeptAsideAndReplacedByTheDefaults) {
    std::string damaged = canonical_defaults();
    damaged.erase(damaged.find("<vacuum>", damaged.find("<paper12>", dpi720_start(damaged))), 18);
    damaged = replace_first(damaged, "<inkdensity>0", "<inkdensity>33");
    layout.write(definitions_file_name, damaged);

    Opening_Result result = open_dialog();
    EXPECT_EQ(messages, 1);
    EXPECT_EQ(result.faults,
              std::vector<std::string>{"paper12 at 720 dpi lacks <vacuum> ... </vacuum>"});
    ASSERT_TRUE(result.backup);
    EXPECT_EQ(read_file(*result.backup), damaged) << "the user's table is not lost";
    EXPECT_EQ(read_file(file), canonical_defaults());
    EXPECT_TRUE(store_holds_defaults());

    layout.write(definitions_file_name, damaged);
    EXPECT_EQ(open_dialog().backup->filename().string(),
              std::string(definitions_file_name) + ".bak2");
    EXPECT_EQ(read_file(layout.drv() / (std::string(definitions_file_name) + ".bak")), damaged);
}

TEST_F(File_Fixture, AFileLargerThanTheBufferIsIncorrect) {
    layout.write(definitions_file_name, canonical_defaults() + std::string(30000, ' '));
    Opening_Result result = open_dialog();
    EXPECT_EQ(messages, 1);
    ASSERT_EQ(result.faults.size(), 1u);
    EXPECT_EQ(result.faults[0], "the file holds 38991 bytes, more than 34815");
    EXPECT_TRUE(result.backup);
    EXPECT_TRUE(store_holds_defaults());
}

TEST_F(File_Fixture, ConfirmationRewritesTheCanonicalFormAtomically) {
    open_dialog();
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    PaperSettings edited = DefaultPaperSettings[1][17];
    edited.feedoffset = -70;
    ASSERT_TRUE(store->StorePaperSettings(10, 720.0f, 1, edited));
    ASSERT_TRUE(RewriteDefinitionsAtConfirmation(file, *store, *text));
    std::string expected = canonical_defaults();
    std::size_t paper18 = expected.find("<paper18>", dpi720_start(expected));
    expected.replace(expected.find("<feedoffset>0", paper18), 13, "<feedoffset>-70");
    EXPECT_EQ(read_file(file), expected);
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(folder_entries(), std::vector<std::string>{definitions_file_name}) << "no leftovers";
}

TEST_F(File_Fixture, AVanishedFolderIsNoCrash) {
    file = layout.root() / "gone" / definitions_file_name;
    Opening_Result result = open_dialog();
    EXPECT_FALSE(result.defaults_written);
    EXPECT_TRUE(store_holds_defaults()) << "the dialog works with the defaults";
    EXPECT_FALSE(RewriteDefinitionsAtConfirmation(file, *store, *text));
    EXPECT_FALSE(std::filesystem::exists(file));
}

// Runs `body` in a child process that cannot write what the owner protected (it drops root's
// privileges when the tests run as root); returns the child's exit status.
template <class Body>
int in_restricted_child(Body&& body, rlim_t file_size_limit = RLIM_INFINITY) {
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{file_size_limit, file_size_limit};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(File_Fixture, AWriteProtectedFileIsLeftAsItIs) {
    std::string damaged = "<zelto>damaged</zelto>";
    layout.write(definitions_file_name, damaged);
    std::filesystem::permissions(layout.root(), std::filesystem::perms(0777));
    std::filesystem::permissions(layout.drv(), std::filesystem::perms(0777));
    std::filesystem::permissions(file, std::filesystem::perms(0444));
    int status = in_restricted_child([this] {
        Opening_Result result = open_dialog();
        if (messages != 1 || result.defaults_written || result.backup || !store_holds_defaults())
            return 1;
        return RewriteDefinitionsAtConfirmation(file, *store, *text) ? 2 : 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(read_file(file), damaged);
    EXPECT_EQ(folder_entries(), std::vector<std::string>{definitions_file_name});
}

TEST_F(File_Fixture, AFullDiskLeavesTheOldFileWhole) {
    open_dialog();
    PaperSettings edited = DefaultPaperSettings[0][0];
    edited.gamma = 2;
    store->StorePaperSettings(0, 360.0f, 0, edited);
    std::filesystem::permissions(layout.root(), std::filesystem::perms(0777));
    std::filesystem::permissions(layout.drv(), std::filesystem::perms(0777));
    std::filesystem::permissions(file, std::filesystem::perms(0666));
    // NOTE: a file size limit of 4 KiB makes the write of the 9 KB text fail half-way, as a full
    // disk does.
    int status = in_restricted_child(
        [this] { return RewriteDefinitionsAtConfirmation(file, *store, *text) ? 1 : 0; }, 4096);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(read_file(file), canonical_defaults());
    EXPECT_EQ(folder_entries(), std::vector<std::string>{definitions_file_name}) << "no leftovers";
}

TEST(DefinitionsPaths, TheFileLivesBesideTheDriver) {
    Definitions_Paths paths = DefinitionsPaths("/opt/cad/drv/zelto_qr7m_en13_32_11.so");
    EXPECT_EQ(paths.driver_directory, "/opt/cad/drv");
    EXPECT_EQ(paths.file, "/opt/cad/drv/zelto7m.px_");
}

} // namespace
