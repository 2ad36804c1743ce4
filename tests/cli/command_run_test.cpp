#include "cli/command_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "core/build/search_build.h"
#include "tests/support/fault_env.h"
#include "tests/support/site_fixture.h"

namespace tolvane {
namespace {

using testing::FixtureSite;
using testing::FixtureSitePages;
using testing::GetFile;
using testing::PutFile;
using testing::TempFolder;

struct RunResult {
    int status;
    std::string output;
    std::string errors;
};

// A program folder with small templates and two styles, and a list file beside it.
class CommandRunTest : public ::testing::Test {
  protected:
    CommandRunTest() : program_(dir_ / "program/") {
        for (const char* folder : {"system", "Styles"}) {
            std::filesystem::create_directories(program_ + folder);
        }
        PutFile(program_ + "system/heading.txt", "var Keyword = new Array();\n");
        PutFile(program_ + "system/engine.txt",
                "function dolt() {}\nfor(var i=1; i<=Keyword[0]; i++) {}\n");
        PutFile(program_ + "Styles/Deadhunt.css", "deadhunt\n");
        PutFile(program_ + "Styles/Pink Angel.css", "pink\n");
        PutFile(list_, "index.shtml=First record\r\nabout.html=About us\r\n");
    }

    RunResult Run(const std::vector<std::string>& arguments, const std::string& input = "") {
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCommandLine(arguments, program_, in, out, err);
        return {status, out.str(), err.str()};
    }

    TempFolder dir_;
    std::string program_;
    std::string list_ = dir_ / "site.til";
    std::string out_ = dir_ / "out/";
};

TEST_F(CommandRunTest, BuildsWithTheWindowsDefaults) {
    const RunResult result = Run({"-o", out_, list_});
    EXPECT_EQ(result.status, kExitBuilt);
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(GetFile(out_ + "index.html"), IndexPageText("Site Search", "Search"));
    EXPECT_EQ(GetFile(out_ + "style.css"), "deadhunt\r\n");
    const std::string script = GetFile(out_ + "engine.js");
    EXPECT_NE(script.find("Keyword [0] = 2\r\n"), std::string::npos);
    EXPECT_NE(script.find("About us"), std::string::npos);
    EXPECT_NE(script.find(kDefaultTagLine), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out_ + "Tolvane Project"));
}

TEST_F(CommandRunTest, OptionsReachThePage) {
    PutFile(dir_ / "tags.txt", "<b>one</b>\n<i>two</i>");
    PutFile(dir_ / "own.css", "own\n");
    RunResult result = Run({"-t", "Find it", "-b", "Go", "--tags", dir_ / "tags.txt", "-s",
                            "Pink Angel", "-o", out_, list_});
    EXPECT_EQ(result.status, kExitBuilt) << result.errors;
    EXPECT_EQ(GetFile(out_ + "index.html"), IndexPageText("Find it", "Go"));
    EXPECT_EQ(GetFile(out_ + "style.css"), "pink\r\n");
    const std::string script = GetFile(out_ + "engine.js");
    EXPECT_NE(script.find("<b>one</b>"), std::string::npos);
    EXPECT_NE(script.find("<i>two</i>"), std::string::npos);
    EXPECT_EQ(script.find(kDefaultTagLine), std::string::npos);

    result = Run({"--style", dir_ / "own.css", "-o", out_, list_});
    EXPECT_EQ(result.status, kExitBuilt) << result.errors;
    EXPECT_EQ(GetFile(out_ + "style.css"), "own\r\n");
}

TEST_F(CommandRunTest, ReadsTheListFromStandardInputAndWritesIntoNestedNewFolders) {
    const std::string nested = dir_ / "a/b/c";  // no trailing separator
    const RunResult result = Run({"--output", nested, "-"}, "x.html=From stdin\n");
    EXPECT_EQ(result.status, kExitBuilt) << result.errors;
    EXPECT_NE(GetFile(nested + "/engine.js").find("From stdin"), std::string::npos);
}

TEST_F(CommandRunTest, DataFolderOptionReplacesTheProgramFolder) {
    const std::string other = dir_ / "other data";
    std::filesystem::copy(program_, other, std::filesystem::copy_options::recursive);
    PutFile(other + "/Styles/Deadhunt.css", "other\n");
    std::filesystem::remove_all(program_);
    const RunResult result = Run({"--data", other, "-o", out_, list_});
    EXPECT_EQ(result.status, kExitBuilt) << result.errors;
    EXPECT_EQ(GetFile(out_ + "style.css"), "other\r\n");
}

// Installed under a prefix: the program in bin/, its templates and styles in share/tolvane/.
// --data still names another folder.
TEST_F(CommandRunTest, AnInstalledProgramFindsItsDataInShareTolvane) {
    const std::string prefix = dir_ / "usr/";
    std::filesystem::create_directories(prefix + "bin");
    std::filesystem::create_directories(prefix + "share");
    std::filesystem::rename(program_, prefix + "share/tolvane");
    program_ = prefix + "bin/";
    RunResult result = Run({"-o", out_, list_});
    EXPECT_EQ(result.status, kExitBuilt) << result.errors;
    EXPECT_EQ(GetFile(out_ + "style.css"), "deadhunt\r\n");

    const std::string other = dir_ / "other/";
    std::filesystem::create_directories(other + "Styles");
    PutFile(other + "Styles/Deadhunt.css", "other\n");
    result = Run({"--data", other, "-o", out_, list_});
    EXPECT_EQ(result.status, kExitFailed);
    EXPECT_EQ(result.errors, "tolvane-build: Cannot open file \"" + other +
                                 "system/heading.txt\". No such file or directory.\n");
}

TEST_F(CommandRunTest, ErrorsAreReportedInTheWindowsWords) {
    PutFile(dir_ / "a file", "");
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        std::string errors;
    } cases[] = {
        {"missing list",
         {"-o", out_, dir_ / "nothing.til"},
         "tolvane-build: Cannot open file \"" + dir_.path() +
             "nothing.til\". No such file or directory.\n"},
        {"missing tags file",
         {"--tags", dir_ / "t", "-o", out_, list_},
         "tolvane-build: Cannot open file \"" + dir_.path() + "t\". No such file or directory.\n"},
        {"output is a file", {"-o", dir_ / "a file", list_}, "tolvane-build: I/O error 183.\n"},
        {"missing template",
         {"--data", dir_.path(), "-o", out_, list_},
         "tolvane-build: Cannot open file \"" + dir_.path() +
             "system/heading.txt\". No such file or "
             "directory.\n"},
    };
    for (const auto& c : cases) {
        const RunResult result = Run(c.arguments);
        EXPECT_EQ(result.status, kExitFailed) << c.name;
        EXPECT_EQ(result.errors, c.errors) << c.name;
        EXPECT_FALSE(std::filesystem::exists(out_ + "engine.js")) << c.name;
    }
}

TEST_F(CommandRunTest, StyleFailureIsReportedAfterTheOtherFiles) {
    std::filesystem::create_directories(out_);
    PutFile(out_ + "style.css", "former");
    for (const char* style : {"Inferno", "missing.css"}) {
        const RunResult result = Run({"-s", style, "-o", out_, list_});
        EXPECT_EQ(result.status, kExitFailed) << style;
        EXPECT_EQ(result.errors, "tolvane-build: Can't load CSS file!\n") << style;
        EXPECT_EQ(GetFile(out_ + "index.html"), IndexPageText("Site Search", "Search"));
        EXPECT_NE(GetFile(out_ + "engine.js").find("About us"), std::string::npos);
        EXPECT_EQ(GetFile(out_ + "style.css"), "former");
    }
}

// The item lines of a built engine.js for these pages, in their order.
std::string ScriptItemLines(const std::vector<SitePage>& pages) {
    std::string lines = "Keyword [0] = " + std::to_string(pages.size()) + "\r\n";
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string index = std::to_string(i + 1);
        lines += "Keyword [" + index + "] = \"" + pages[i].caption + "\"\r\n";
        lines += "Address [" + index + "] = \"" + pages[i].link + "\"\r\n";
    }
    return lines;
}

TEST_F(CommandRunTest, ScansASiteIntoItsExportFolderInOneLine) {
    const FixtureSite fixture;
    const std::string export_folder = fixture.Site() + "/Tolvane Project/";
    for (int run = 0; run < 2; ++run) {  // the second run scans past the first one's export
        const RunResult result = Run({"--scan", fixture.Site(), "-o", export_folder});
        EXPECT_EQ(result.status, kExitBuilt) << result.errors;
        EXPECT_EQ(result.errors, "");
        EXPECT_NE(GetFile(export_folder + "engine.js").find(ScriptItemLines(FixtureSitePages())),
                  std::string::npos)
            << GetFile(export_folder + "engine.js");
    }
}

TEST_F(CommandRunTest, ScannedPagesFollowTheListAndAreSavedAsAList) {
    const FixtureSite fixture;
    PutFile(list_, "https://example.com/about.html=About, from the list\r\n");
    const RunResult result = Run({"--scan", fixture.Site(), "--link-prefix=https://example.com/",
                                  "--save-list", dir_ / "all", "-o", out_, list_});
    EXPECT_EQ(result.status, kExitBuilt) << result.errors;
    EXPECT_EQ(result.errors,
              "tolvane-build: Added 10 pages; skipped 1 that was already in the list.\n");

    std::vector<SitePage> expected = {{"https://example.com/about.html", "About, from the list"}};
    std::string saved = expected[0].link + "=" + expected[0].caption + "\r\n";
    for (SitePage page : FixtureSitePages()) {
        page.link = "https://example.com/" + page.link.substr(3);
        if (page.link != expected[0].link) {
            saved += page.link + "=" + page.caption + "\r\n";
            expected.push_back(page);
        }
    }
    EXPECT_EQ(GetFile(dir_ / "all.til"), saved);
    EXPECT_NE(GetFile(out_ + "engine.js").find(ScriptItemLines(expected)), std::string::npos);
}

TEST_F(CommandRunTest, MissingSiteFolderIsAnError) {
    const RunResult result = Run({"--scan", dir_ / "no site", "-o", out_});
    EXPECT_EQ(result.status, kExitFailed);
    EXPECT_EQ(result.errors, "tolvane-build: Cannot open file \"" + dir_.path() +
                                 "no site\". No such file or directory.\n");
    EXPECT_FALSE(std::filesystem::exists(out_ + "engine.js"));
}

TEST_F(CommandRunTest, BadUsageGivesOneLineAndStatusTwo) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"--bogus", "l"}, {"l", "-o"}, {"a", "b"}}) {
        const RunResult result = Run(arguments);
        EXPECT_EQ(result.status, kExitBadUsage);
        EXPECT_EQ(result.output, "");
        ASSERT_FALSE(result.errors.empty());
        EXPECT_EQ(result.errors.find('\n'), result.errors.size() - 1) << result.errors;
        EXPECT_EQ(result.errors.rfind("tolvane-build: ", 0), 0u) << result.errors;
        EXPECT_NE(result.errors.find("--help"), std::string::npos) << result.errors;
    }
}

TEST_F(CommandRunTest, HelpAndVersionGoToStandardOutput) {
    RunResult result = Run({"--help"});
    EXPECT_EQ(result.status, kExitBuilt);
    EXPECT_EQ(result.output.rfind("Usage: tolvane-build [OPTIONS] LIST\n", 0), 0u);
    for (std::size_t index = 1; index < kStyleEntries.size(); ++index) {
        EXPECT_NE(result.output.find('"' + std::string(kStyleEntries[index]) + '"'),
                  std::string::npos);
    }
    result = Run({"--version"});
    EXPECT_EQ(result.status, kExitBuilt);
    EXPECT_EQ(result.output.rfind("tolvane-build ", 0), 0u);
    EXPECT_EQ(result.errors, "");
}

// The installed program, run as a script would run it: no display, the list on a pipe.
TEST(CommandProgramTest, RunsWithoutADisplay) {
    TempFolder dir;
    const std::string data = dir / "data/";
    std::filesystem::create_directories(data + "system");
    std::filesystem::create_directories(data + "Styles");
    PutFile(data + "system/heading.txt", "h\n");
    PutFile(data + "system/engine.txt", "for(var i=1; i<=Keyword[0]; i++)\n");
    PutFile(data + "Styles/Deadhunt.css", "d\n");
    const std::string command = "printf 'a=b\\r\\n' | env -u DISPLAY -u WAYLAND_DISPLAY '" +
                                std::string(TOLVANE_BUILD_PROGRAM) + "' --data '" + data +
                                "' -o '" + dir.path() + "out' - 2>'" + dir.path() + "err'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << GetFile(dir / "err");
    EXPECT_NE(GetFile(dir / "out/engine.js").find("Keyword [0] = 1"), std::string::npos);

    const int usage =
        std::system(("'" + std::string(TOLVANE_BUILD_PROGRAM) + "' 2>/dev/null").c_str());
    ASSERT_TRUE(WIFEXITED(usage));
    EXPECT_EQ(WEXITSTATUS(usage), 2);
}

// The page's own templates and styles, once they are in the source tree: every style builds.
TEST(CommandProgramTest, BuildsWithTheShippedDataFolder) {
    const std::string data = std::string(TOLVANE_SOURCE_DIR) + "/data/";
    if (!std::filesystem::exists(data + "system/engine.txt")) {
        GTEST_SKIP() << "data/system is not in the source tree yet";
    }
    TempFolder dir;
    PutFile(dir / "l.til", "index.shtml=First record\r\n");
    for (std::size_t index = 1; index < kStyleEntries.size(); ++index) {
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCommandLine(
            {"-s", std::string(kStyleEntries[index]), "-o", dir / "out", dir / "l.til"}, data, in,
            out, err);
        EXPECT_EQ(status, kExitBuilt) << kStyleEntries[index] << ": " << err.str();
    }
}

}  // namespace
}  // namespace tolvane
