#include "core/files/paths.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(TrimToFolderTest, KeepsEverythingUpToTheLastSeparator) {
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"/home/u/Tolvane/Tolvane", "/home/u/Tolvane/"},
        {"C:\\Tools\\Builder\\tolvane.exe", "C:\\Tools\\Builder\\"},
        {"a/b\\c", "a/b\\"},
        {"a\\b/c", "a\\b/"},
        {"/home/u/", "/home/u/"},
        {"/", "/"},
        {"name", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimToFolder(c.path), c.folder) << c.path;
    }
}

TEST(AbsolutePathTest, ResolvesAgainstTheCurrentFolder) {
    EXPECT_EQ(AbsolutePath("/a/./b/../c"), "/a/c");
    const std::string relative = AbsolutePath("x.til");
    ASSERT_FALSE(relative.empty());
    EXPECT_EQ(relative.front(), '/');
    EXPECT_EQ(relative.substr(relative.size() - 6), "/x.til");
}

}  // namespace
}  // namespace tolvane
