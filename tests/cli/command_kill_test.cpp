// tolvane-build killed (SIGKILL: no handler, no clean-up) at moments spread over the build of a
// large list. Whatever the moment, the output folder must hold each file either as it was or as
// a whole build writes it, in the build's order (engine.js, index.html, style.css), and nothing
// else: no temporary file of the write that was cut short. (A kill that falls right between a
// finished file's naming and its rename leaves that name; such a file must be whole.)

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/fault_env.h"

namespace tolvane {
namespace {

using std::chrono::steady_clock;
using testing::FolderListing;
using testing::GetFile;
using testing::PutFile;
using testing::TempFolder;
using testing::UnnamedFileSize;

constexpr int kItems = 300'000;
const std::array<std::string, 3> kOutputFiles = {"engine.js", "index.html", "style.css"};

// When to kill a build: after a fixed delay, or once its unnamed engine.js holds `bytes`.
struct KillPoint {
    std::string name;
    std::optional<double> share_of_build;  // of a whole build's duration
    std::optional<std::size_t> bytes;
};

class CommandKillTest : public ::testing::Test {
  protected:
    CommandKillTest() {
        std::filesystem::create_directories(program_ / "system");
        std::filesystem::create_directories(program_ / "Styles");
        PutFile(program_ / "system/heading.txt", "var Keyword = new Array();\n");
        PutFile(program_ / "system/engine.txt",
                "function dolt() {}\nfor(var i=1; i<=Keyword[0];\n");
        PutFile(program_ / "Styles/Deadhunt.css", "body {}\n");
        std::string list;
        for (int i = 1; i <= kItems; ++i) {
            list += "https://www.example.org/page" + std::to_string(i) + ".html=Caption " +
                    std::to_string(i) + " of the list\r\n";
        }
        PutFile(list_, list);
    }

    // Starts tolvane-build on the list into `out`, its standard streams silenced.
    pid_t Start(const std::string& out) {
        const pid_t child = ::fork();
        if (child == 0) {
            const int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(quiet, STDOUT_FILENO);
            ::dup2(quiet, STDERR_FILENO);
            ::execl(TOLVANE_BUILD_PROGRAM, "tolvane-build", "--data", program_.path().c_str(), "-o",
                    out.c_str(), list_.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        return child;
    }

    // Waits for `child` and says whether it ended of itself with status 0.
    static bool Built(pid_t child) {
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    static void PutFormerOutput(const std::string& out) {
        std::filesystem::remove_all(out);
        std::filesystem::create_directories(out);
        for (const std::string& name : kOutputFiles) {
            PutFile(out + name, "former " + name);
        }
    }

    // "former" or "new" for each output file, or "other" for bytes that are neither.
    std::string States(const std::string& out) const {
        std::string states;
        for (std::size_t i = 0; i < kOutputFiles.size(); ++i) {
            const std::string content = GetFile(out + kOutputFiles[i]);
            const char* state = content == "former " + kOutputFiles[i] ? "former"
                                : content == built_[i]                 ? "new"
                                                                       : "other";
            states += std::string(states.empty() ? "" : " ") + state;
        }
        return states;
    }

    // The folder's listing, but for what a kill between naming a finished file and renaming it
    // over its target leaves: that name, the one moment a name can stay behind (the system has
    // no call that puts a file without a name in another's place at once). Such a remainder
    // must hold a whole new file whose target is still the former one.
    std::string WithoutNamedRemainder(const std::string& out) const {
        for (const auto& entry : std::filesystem::directory_iterator(out)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(".tolvane-", 0) != 0) {
                continue;
            }
            const std::string content = GetFile(entry.path().string());
            const auto built = std::find(built_.begin(), built_.end(), content);
            EXPECT_NE(built, built_.end()) << name << " holds no whole new file";
            if (built != built_.end()) {
                const std::string& target = kOutputFiles[built - built_.begin()];
                EXPECT_EQ(GetFile(out + target), "former " + target) << name;
            }
            std::filesystem::remove(entry.path());
        }
        return FolderListing(out);
    }

    TempFolder program_;
    TempFolder dir_;
    std::string list_ = dir_ / "site.til";
    std::array<std::string, 3> built_;
};

TEST_F(CommandKillTest, AKilledBuildLeavesTheFormerOrTheNewFilesAndNothingElse) {
    const std::string out = dir_ / "out/";
    PutFormerOutput(out);
    const int probe = ::open(out.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (probe < 0) {
        GTEST_SKIP() << "the file system has no files without a name: a named temporary file "
                        "may be left behind there";
    }
    ::close(probe);

    // One whole build: the new files, and how long a build takes on this machine.
    const auto start = steady_clock::now();
    ASSERT_TRUE(Built(Start(out)));
    const double build_seconds = std::chrono::duration<double>(steady_clock::now() - start).count();
    for (std::size_t i = 0; i < kOutputFiles.size(); ++i) {
        built_[i] = GetFile(out + kOutputFiles[i]);
    }
    ASSERT_NE(built_[0].find("Keyword [300000] = \"Caption 300000 of the list\""),
              std::string::npos);

    std::vector<KillPoint> points = {
        {"engine.js begun", std::nullopt, 1},
        {"engine.js half written", std::nullopt, built_[0].size() / 2},
        {"engine.js nearly written", std::nullopt, built_[0].size() / 10 * 9},
    };
    for (int eighth = 0; eighth <= 9; ++eighth) {
        points.push_back({std::to_string(eighth) + "/8 of a build", eighth / 8.0, std::nullopt});
    }
    const std::vector<std::string> build_order = {"former former former", "new former former",
                                                  "new new former", "new new new"};
    for (const KillPoint& point : points) {
        SCOPED_TRACE(point.name);
        PutFormerOutput(out);
        const pid_t child = Start(out);
        bool ended = false;
        if (point.bytes) {
            // Polled until the write has come that far (or the build ended without it).
            std::size_t size = 0;
            while (!(ended = ::waitpid(child, nullptr, WNOHANG) != 0) &&
                   (size = UnnamedFileSize(child, out).value_or(0)) < *point.bytes) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            EXPECT_FALSE(ended) << "the build ended before the kill, at " << size << " bytes";
        } else {
            std::this_thread::sleep_for(
                std::chrono::duration<double>(*point.share_of_build * build_seconds));
        }
        if (!ended) {
            ::kill(child, SIGKILL);
            Built(child);
        }

        EXPECT_EQ(WithoutNamedRemainder(out), "engine.js index.html style.css");
        EXPECT_NE(std::find(build_order.begin(), build_order.end(), States(out)), build_order.end())
            << States(out);
    }
}

}  // namespace
}  // namespace tolvane
