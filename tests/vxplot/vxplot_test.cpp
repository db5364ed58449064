#include "support/host_layout.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/wait.h>

namespace {

struct Program_Run {
    int status;
    std::string out, err;
};

// Runs the staged vxplot with `arguments` (already quoted for the shell).
Program_Run vxplot(const std::string& arguments) {
    Host_Layout scratch;
    std::string err_file = (scratch.root() / "stderr").string();
    std::string command = std::string(VX_STAGE_DIR) + "/bin/vxplot " + arguments + " 2>" + err_file;
    Program_Run run{-1, {}, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        run.out.append(buffer, n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(err_file);
    std::ostringstream err;
    err << in.rdbuf();
    run.err = err.str();
    return run;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(VxplotDescribe, PrintsWhatTheDriverTellsTheHost) {
    Program_Run run = vxplot("describe");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    for (const char* line :
         {"Version:          1.00", "Description:      \" - by Zelto\"",
          "Driver locale:    4B00409", "Family:           Zelto - ",
          "Help:             drv_zelto_qr7m_en.chm (html/menu01)", "  P3  Paper Tray",
          "A4_Paper_Tray", "720 dpi, Monochrome", "PaperThick_720", "(5, 4)"})
        EXPECT_TRUE(contains(run.out, line)) << line;
}

TEST(VxplotDescribe, JsonCarriesTheWholeDescription) {
    Program_Run run = vxplot("describe --json");
    ASSERT_EQ(run.status, 0) << run.err;
    auto d = nlohmann::json::parse(run.out);
    EXPECT_EQ(d["version"], "1.00");
    EXPECT_EQ(d["description"], " - by Zelto");
    EXPECT_EQ(d["model"]["driver_locale"], "4B00409");
    EXPECT_EQ(d["model"]["name"], "qr7m");
    const auto& caps = d["capabilities"];
    ASSERT_EQ(caps["media_sources"].size(), 4u);
    EXPECT_EQ(caps["media_sources"][1]["name"], "P1");
    EXPECT_EQ(caps["media_sources"][1]["sizes"].size(), 11u);
    EXPECT_EQ(caps["res_color_mem"].size(), 10u);
    EXPECT_EQ(caps["custom_capabilities"].size(), 37u);
    EXPECT_EQ(caps["io_option_pairs"], nlohmann::json::parse("[[5, 4]]"));
}

TEST(VxplotDescribe, HostErrorsGoToStandardErrorWithRoutineAndDetail) {
    struct Case {
        std::string name;
        void (*prepare)(const Host_Layout&);
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"no model data file",
         [](const Host_Layout& layout) { layout.remove("en-US/zelto_qr7m_en13_32_11.DRC"); },
         {"vxplot: INTERNAL ERROR - Driver initialization failure",
          "routine: VX_RASTER_Plotter_Definition::initMetaCaps", "detail: DRC File"}},
        {"no resource library",
         [](const Host_Layout& layout) { layout.remove("zelto_qr7m_en13_32_11Res.dll"); },
         {"DLL not found: Zelto_qr7m_en13_32_11Res.dll", "vxplot: Plotter driver cannot be used"}},
        {"incorrect capabilities",
         [](const Host_Layout& layout) {
             layout.write("en-US/zelto_qr7m_en13_32_11.DRC",
                          R"({"DPIA_directory": {"q": {"descriptor": "a|b", "info": "c|d"}},
                              "Capabilities": {"Media": {}, "ResColorMem": [], "Custom": []}})");
         },
         {"vxplot: Printer capability description is incorrect",
          "Capabilities\\Media has no sources"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Host_Layout layout = Host_Layout::complete();
        c.prepare(layout);
        Program_Run run = vxplot("--driver-folder '" + layout.drv().string() + "' describe");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        for (const auto& part : c.expected)
            EXPECT_TRUE(contains(run.err, part)) << part << "\nin: " << run.err;
    }
}

TEST(VxplotDescribe, UsageErrorsAreRefused) {
    EXPECT_NE(vxplot("").status, 0);
    EXPECT_NE(vxplot("describe --no-such-option").status, 0);
    Program_Run help = vxplot("describe --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(contains(help.out, "--json"));
}

} // namespace

namespace {

TEST(VxplotDefinitions, InitCreatesTheFileBesideTheDriverOnce) {
    Host_Layout layout = Host_Layout::complete();
    std::string folder = "--driver-folder '" + layout.drv().string() + "' ";
    Program_Run first = vxplot(folder + "definitions init");
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out + first.err, "") << "quiet on success";
    std::string created = read_file(layout.drv() / "zelto7m.px_");
    EXPECT_EQ(created.size(), 8991u);

    Program_Run again = vxplot(folder + "definitions init --verbose");
    EXPECT_EQ(again.status, 0);
    EXPECT_TRUE(contains(again.out, "zelto7m.px_: valid"));

    layout.write("zelto7m.px_", "<zelto></zelto>");
    Program_Run repaired = vxplot(folder + "definitions init");
    EXPECT_EQ(repaired.status, 0);
    EXPECT_TRUE(contains(repaired.err, "The contents of the definition file are incorrect."));
    EXPECT_TRUE(contains(repaired.err, "the text lacks <dpi360> ... </dpi360>"));
    EXPECT_TRUE(contains(repaired.err, "kept as " + (layout.drv() / "zelto7m.px_.bak").string()));
    EXPECT_EQ(read_file(layout.drv() / "zelto7m.px_"), created);
    EXPECT_EQ(read_file(layout.drv() / "zelto7m.px_.bak"), "<zelto></zelto>");

    Program_Run nowhere =
        vxplot("--driver-folder '" + (layout.root() / "gone").string() + "' definitions init");
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_TRUE(contains(nowhere.err, "vxplot: cannot write"));
}

TEST(VxplotDefinitions, CheckSaysWhatIsMissingWhere) {
    Host_Layout layout = Host_Layout::complete();
    ASSERT_EQ(vxplot("--driver-folder '" + layout.drv().string() + "' definitions init").status, 0);
    std::string good = (layout.drv() / "zelto7m.px_").string();
    Program_Run valid = vxplot("definitions check '" + good + "'");
    EXPECT_EQ(valid.status, 0);
    EXPECT_EQ(valid.out + valid.err, "");

    std::string text = read_file(good);
    std::size_t paper12 = text.find("<paper12>", text.find("<dpi720>"));
    text.erase(text.find("<vacuum>", paper12), 18);
    text.erase(text.find("<gap>0</gap>", text.find("<paper03>")), 12);
    layout.write("broken.px_", text);
    Program_Run broken =
        vxplot("definitions check '" + (layout.drv() / "broken.px_").string() + "'");
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(contains(broken.err, "broken.px_: paper03 at 360 dpi lacks <gap> ... </gap>"))
        << broken.err;
    EXPECT_TRUE(contains(broken.err, "broken.px_: paper12 at 720 dpi lacks <vacuum> ... </vacuum>"))
        << broken.err;

    Program_Run missing =
        vxplot("definitions check '" + (layout.drv() / "none.px_").string() + "'");
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(contains(missing.err, "cannot read"));
}

TEST(VxplotDefinitions, ShowPrintsTheTable) {
    Host_Layout layout = Host_Layout::complete();
    std::string folder = "--driver-folder '" + layout.drv().string() + "' ";
    ASSERT_EQ(vxplot(folder + "definitions init").status, 0);
    Program_Run show = vxplot(folder + "definitions show");
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_TRUE(contains(show.out, "gamma  bothway  inkdensity"));
    EXPECT_TRUE(contains(show.out, "paper10  Photo Quality  Media C"));
    int lines = 0;
    for (char c : show.out)
        lines += c == '\n';
    EXPECT_EQ(lines, 1 + 36);
    EXPECT_EQ(vxplot("definitions show '" + (layout.drv() / "none.px_").string() + "'").status, 1);
}

} // namespace
