// tolvane-build against a hostile system: a full disk and folders or lists the user may not use
// (checked as an unprivileged user), standard streams that fail, and big or binary input on a
// pipe. Each fault ends with its exact message on standard error, status 1, and former output
// kept; nothing that failed is reported as built.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "cli/command_run.h"
#include "tests/support/fault_env.h"

namespace tolvane {
namespace {

using testing::GetFile;
using testing::PutFile;
using testing::RunUnprivileged;
using testing::SmallDisk;
using testing::TempFolder;

// A program folder with small templates and the default style, a list beside it.
class CommandFaultsTest : public ::testing::Test {
  protected:
    CommandFaultsTest() {
        std::filesystem::create_directories(program_ / "system");
        std::filesystem::create_directories(program_ / "Styles");
        PutFile(program_ / "system/heading.txt", "var Keyword = new Array();\n");
        PutFile(program_ / "system/engine.txt", "for(var i=1; i<=Keyword[0]; i++) {}\n");
        PutFile(program_ / "Styles/Deadhunt.css", "body {}\n");
        PutFile(list_, "index.shtml=First record\r\n");
    }

    // Status and standard error of one run in this process, as "status|errors".
    std::string Run(const std::vector<std::string>& arguments) {
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCommandLine(arguments, program_.path(), in, out, err);
        return std::to_string(status) + "|" + err.str();
    }

    // The same for the real program run by the shell, with `redirections` added to the command
    // and, when `piped` names a file, that file on a pipe as standard input.
    std::string RunProgram(const std::string& arguments, const std::string& redirections,
                           const std::string& piped = "") {
        const std::string errors = dir_ / "errors";
        const std::string pipe = piped.empty() ? "" : "cat '" + piped + "' | ";
        const std::string command = pipe + "'" + std::string(TOLVANE_BUILD_PROGRAM) + "' --data '" +
                                    program_.path() + "' " + arguments + " " + redirections +
                                    " 2>'" + errors + "'";
        const int status = std::system(command.c_str());
        if (!WIFEXITED(status)) {
            return "killed|" + GetFile(errors);
        }
        return std::to_string(WEXITSTATUS(status)) + "|" + GetFile(errors);
    }

    TempFolder program_;
    TempFolder dir_;
    std::string list_ = dir_ / "site.til";
};

TEST_F(CommandFaultsTest, AFullDiskKeepsTheFormerOutput) {
    if (!testing::IsRoot()) {
        GTEST_SKIP() << "mounting a small disk needs root";
    }
    SmallDisk disk(256 * 1024);
    ASSERT_TRUE(disk.mounted());
    PutFile(disk.path() + "engine.js", "former");
    std::string big_list;
    for (int i = 0; i < 20000; ++i) {
        big_list += "page" + std::to_string(i) + ".html=Caption number " + std::to_string(i) + "\n";
    }
    PutFile(list_, big_list);
    EXPECT_EQ(Run({"-o", disk.path(), list_}), "1|tolvane-build: Stream write error.\n");
    EXPECT_EQ(GetFile(disk.path() + "engine.js"), "former");
}

// Root may do anything, so these run as the user "nobody".
TEST_F(CommandFaultsTest, MissingRightsAsAnUnprivilegedUser) {
    const std::string locked = dir_ / "locked/";
    std::filesystem::create_directories(locked);
    PutFile(locked + "engine.js", "former");
    ::chmod(locked.c_str(), 0555);
    PutFile(dir_ / "secret.til", "a=b\r\n");
    ::chmod((dir_ / "secret.til").c_str(), 0);

    const struct {
        const char* fault;
        std::vector<std::string> arguments;
        std::string seen;
    } cases[] = {
        {"read-only output folder",
         {"-o", locked, list_},
         "1|tolvane-build: Cannot create file \"" + locked + "engine.js\". Permission denied.\n"},
        {"new output folder in a read-only folder",
         {"-o", locked + "new", list_},
         "1|tolvane-build: File access denied.\n"},
        {"unreadable list",
         {"-o", dir_ / "out", dir_ / "secret.til"},
         "1|tolvane-build: Cannot open file \"" + dir_.path() +
             "secret.til\". Permission denied.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        EXPECT_EQ(RunUnprivileged([&] { return Run(c.arguments); }), c.seen);
    }
    EXPECT_EQ(GetFile(locked + "engine.js"), "former");
    EXPECT_FALSE(std::filesystem::exists(locked + "new"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out"));
}

TEST_F(CommandFaultsTest, FailingStandardStreamsAreNoSuccess) {
    std::filesystem::create_directories(dir_ / "folder");
    const struct {
        const char* fault;
        std::string arguments;
        std::string redirections;
        std::string seen;
    } cases[] = {
        {"help to a full device", "--help", ">/dev/full", "1|tolvane-build: Stream write error.\n"},
        {"version to a full device", "--version", ">/dev/full",
         "1|tolvane-build: Stream write error.\n"},
        {"a folder as standard input", "-o '" + dir_ / "out" + "' -", "<'" + dir_ / "folder" + "'",
         "1|tolvane-build: Cannot read the item list from standard input.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        EXPECT_EQ(RunProgram(c.arguments, c.redirections), c.seen);
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out/engine.js"));
}

TEST_F(CommandFaultsTest, BigAndBinaryListsOnAPipeBuild) {
    std::string million;
    for (int i = 1; i <= 1'000'000; ++i) {
        million += "p" + std::to_string(i) + ".html=Caption " + std::to_string(i) + "\r\n";
    }
    PutFile(dir_ / "million.til", million);
    PutFile(dir_ / "image.til", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    const struct {
        const char* kind;
        std::string file;
        std::string count_line;
    } cases[] = {
        {"1,000,000 lines", dir_ / "million.til", "Keyword [0] = 1000000\r\n"},
        {"an image", dir_ / "image.til", "Keyword [0] = 2\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const std::string out = dir_ / "out/";
        EXPECT_EQ(RunProgram("-o '" + out + "' -", "", c.file), "0|");
        EXPECT_NE(GetFile(out + "engine.js").find(c.count_line), std::string::npos);
    }
}

}  // namespace
}  // namespace tolvane
