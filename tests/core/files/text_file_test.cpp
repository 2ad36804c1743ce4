#include "core/files/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/files/error.h"
#include "tests/support/fault_env.h"

namespace tolvane {
namespace {

using testing::GetFile;
using testing::MessageOf;
using testing::PutFile;
using testing::TempFolder;

TEST(SystemErrorTextTest, DropsTrailingPeriodsBlanksAndControls) {
    EXPECT_EQ(SystemErrorText(ENOENT), "No such file or directory");
    EXPECT_EQ(SystemErrorText(EACCES), "Permission denied");
}

TEST(ReadTest, ReadsAllBytesAndCutsTheTextAtNul) {
    TempFolder dir;
    PutFile(dir / "a.txt", std::string("one\r\ntwo\0three", 14));
    EXPECT_EQ(ReadFileBytes(dir / "a.txt").size(), 14u);
    EXPECT_EQ(ReadText(dir / "a.txt"), "one\r\ntwo");
    EXPECT_EQ(ReadLines(dir / "a.txt").ToVector(), (std::vector<std::string>{"one", "two"}));
}

TEST(ReadTest, MissingFileAndFolderGiveTheOpenError) {
    TempFolder dir;
    EXPECT_EQ(MessageOf([&] { ReadText(dir / "missing.til"); }),
              "Cannot open file \"" + dir.path() + "missing.til\". No such file or directory");
    EXPECT_EQ(MessageOf([&] { ReadText(dir.path()); }),
              "Cannot open file \"" + dir.path() + "\". Is a directory");
}

TEST(ReadTest, RelativeNamesAreShownAbsolute) {
    TempFolder dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const std::string message = MessageOf([] { ReadText("nothing.til"); });
    std::filesystem::current_path(previous);
    EXPECT_EQ(message, "Cannot open file \"" + std::filesystem::canonical(dir.path()).string() +
                           "/nothing.til\". No such file or directory");
}

TEST(WriteTest, WritesLinesWithCrLfAndTextExactly) {
    TempFolder dir;
    WriteLines(dir / "list.til", LineList{"index.shtml=First record"});
    EXPECT_EQ(GetFile(dir / "list.til"), "index.shtml=First record\r\n");
    WriteLines(dir / "empty.til", LineList{});
    EXPECT_EQ(GetFile(dir / "empty.til"), "");
    WriteText(dir / "raw.txt", std::string("a\nb\0c", 5));
    EXPECT_EQ(GetFile(dir / "raw.txt"), std::string("a\nb\0c", 5));
    EXPECT_EQ(std::filesystem::directory_iterator(dir.path())->path().filename().string()[0] != '.',
              true);
}

TEST(WriteTest, ReplacingKeepsPermissionBitsAndFollowsLinks) {
    TempFolder dir;
    PutFile(dir / "target.til", "old\r\n");
    ::chmod((dir / "target.til").c_str(), 0640);
    ::symlink("target.til", (dir / "link.til").c_str());
    WriteText(dir / "link.til", "new\r\n");
    struct stat link_info {};
    ASSERT_EQ(::lstat((dir / "link.til").c_str(), &link_info), 0);
    EXPECT_TRUE(S_ISLNK(link_info.st_mode));
    EXPECT_EQ(GetFile(dir / "target.til"), "new\r\n");
    struct stat info {};
    ASSERT_EQ(::stat((dir / "target.til").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(WriteTest, MissingFolderAndFolderTargetGiveTheCreateError) {
    TempFolder dir;
    EXPECT_EQ(MessageOf([&] { WriteText(dir / "no/such.til", "x"); }),
              "Cannot create file \"" + dir.path() + "no/such.til\". No such file or directory");
    std::filesystem::create_directory(dir / "sub");
    EXPECT_EQ(MessageOf([&] { WriteText(dir / "sub", "x"); }),
              "Cannot create file \"" + dir.path() + "sub\". Is a directory");
}

TEST(WriteTest, DeviceThatIsFullGivesStreamWriteError) {
    EXPECT_EQ(MessageOf([] { WriteText("/dev/full", "some text"); }), "Stream write error");
}

TEST(WriteTest, FullDiskLeavesTheFormerFileAndNoTemporaryFile) {
    if (!testing::IsRoot()) {
        GTEST_SKIP() << "mounting a small disk needs root";
    }
    testing::SmallDisk disk(64 * 1024);
    ASSERT_TRUE(disk.mounted());
    const std::string target = disk.path() + "list.til";
    PutFile(target, "keep me\r\n");
    disk.Fill();
    EXPECT_EQ(MessageOf([&] { WriteText(target, std::string(256 * 1024, 'y')); }),
              "Stream write error");
    EXPECT_EQ(GetFile(target), "keep me\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(disk.path())) {
        EXPECT_EQ(entry.path().filename().string().rfind(".tolvane-", 0), std::string::npos);
    }
}

TEST(WriteTest, UnwritableTargetAndFolderGiveTheCreateErrorAndKeepTheFile) {
    TempFolder dir;
    PutFile(dir / "ro.til", "old\r\n");
    ::chmod((dir / "ro.til").c_str(), 0444);
    std::filesystem::create_directory(dir / "locked");
    ::chmod((dir / "locked").c_str(), 0555);
    const std::string result = testing::RunUnprivileged([&] {
        return MessageOf([&] { WriteText(dir / "ro.til", "new"); }) + "|" +
               MessageOf([&] { WriteText(dir / "locked/x.til", "new"); });
    });
    EXPECT_EQ(result, "Cannot create file \"" + dir.path() + "ro.til\". Permission denied|" +
                          "Cannot create file \"" + dir.path() +
                          "locked/x.til\". Permission denied");
    EXPECT_EQ(GetFile(dir / "ro.til"), "old\r\n");
}

}  // namespace
}  // namespace tolvane
