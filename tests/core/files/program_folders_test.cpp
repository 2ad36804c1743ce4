#include "core/files/program_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

#include "tests/support/fault_env.h"

namespace tolvane {
namespace {

using testing::PutFile;
using testing::RunUnprivileged;
using testing::ScopedEnvironment;
using testing::TempFolder;

TEST(DataFolderTest, BesideTheProgramElseInShareTolvaneElseTheProgramFolder) {
    const struct {
        const char* layout;
        std::initializer_list<const char*> folders;
        const char* program_folder;  // both below the root
        const char* data_folder;
    } cases[] = {
        {"portable folder", {"Tolvane/system", "Tolvane/Styles"}, "Tolvane/", "Tolvane/"},
        {"installed under a prefix",
         {"usr/bin", "usr/share/tolvane/system"},
         "usr/bin/",
         "usr/share/tolvane/"},
        {"both: the portable one wins",
         {"usr/bin/system", "usr/share/tolvane/system"},
         "usr/bin/",
         "usr/bin/"},
        {"share/tolvane/ without system/",
         {"usr/bin", "usr/share/tolvane/Styles"},
         "usr/bin/",
         "usr/bin/"},
        {"neither", {"usr/bin"}, "usr/bin/", "usr/bin/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        TempFolder root;
        for (const char* folder : c.folders) {
            std::filesystem::create_directories(root / folder);
        }
        EXPECT_EQ(DataFolderFor(root / c.program_folder), root / c.data_folder);
    }
}

TEST(UserCacheFolderTest, XdgCacheHomeWhenAbsoluteElseDotCacheInTheHomeFolder) {
    const ScopedEnvironment home("HOME", "/home/user");
    const struct {
        std::optional<std::string> xdg_cache_home;
        const char* folder;
    } cases[] = {
        {"/var/cache/user", "/var/cache/user/"},  {"/var/cache/user/", "/var/cache/user/"},
        {std::nullopt, "/home/user/.cache/"},     {"", "/home/user/.cache/"},
        {"relative/cache", "/home/user/.cache/"},
    };
    for (const auto& c : cases) {
        const ScopedEnvironment cache("XDG_CACHE_HOME", c.xdg_cache_home);
        EXPECT_EQ(UserCacheFolder(), c.folder) << c.xdg_cache_home.value_or("(unset)");
    }
}

TEST(UserCacheFolderTest, WithoutHomeTheUsersEntryGivesTheHomeFolder) {
    const ScopedEnvironment cache("XDG_CACHE_HOME", std::nullopt);
    const ScopedEnvironment home("HOME", std::nullopt);
    const std::string folder = UserCacheFolder();
    EXPECT_TRUE(folder.ends_with("/.cache/")) << folder;
    EXPECT_EQ(folder.front(), '/') << folder;
}

TEST(PreviewFolderTest, TheProgramsTempFolderOnlyWhenThisUserMayWriteIt) {
    TempFolder root;
    const ScopedEnvironment cache("XDG_CACHE_HOME", root / "cache");
    const std::string cached = root / "cache/tolvane/temp/";
    const std::string program = root / "Tolvane/";
    const struct {
        const char* temp;
        std::function<void()> arrange;
        bool unprivileged;
        std::string folder;
    } cases[] = {
        {"a folder", [&] { std::filesystem::create_directories(program + "temp"); }, false,
         program + "temp/"},
        {"missing", [] {}, false, cached},
        {"a file", [&] { PutFile(program + "temp", "x"); }, false, cached},
        {"not writable",
         [&] {
             std::filesystem::create_directories(program + "temp");
             ::chmod((program + "temp").c_str(), 0555);
         },
         true, cached},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.temp);
        std::filesystem::remove_all(program);
        std::filesystem::create_directories(program);
        c.arrange();
        const auto folder = [&] { return PreviewFolderFor(program); };
        EXPECT_EQ(c.unprivileged ? RunUnprivileged(folder) : folder(), c.folder);
        ::chmod((program + "temp").c_str(), 0755);
    }
    EXPECT_FALSE(std::filesystem::exists(cached)) << "worked out, never created";
}

}  // namespace
}  // namespace tolvane
