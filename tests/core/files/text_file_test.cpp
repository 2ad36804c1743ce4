#include "core/files/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

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

// A list that is only read may be mapped: it must give what reading gives, for every kind of file.
TEST(ReadTest, MappedLinesAreTheLinesRead) {
    TempFolder dir;
    PutFile(dir / "mixed.til", std::string("a\r\nb\nc\rd\0e\r\n", 12));
    PutFile(dir / "empty.til", "");
    PutFile(dir / "one.til", "no line end");
    ASSERT_EQ(::mkfifo((dir / "pipe.til").c_str(), 0666), 0);
    for (const std::string& path : {dir / "mixed.til", dir / "empty.til", dir / "one.til",
                                    dir / "pipe.til", std::string("/proc/version")}) {
        EXPECT_EQ(MapLines(path).ToVector(), ReadLines(path).ToVector()) << path;
    }
    EXPECT_EQ(MapLines(dir / "mixed.til").ToVector(),
              (std::vector<std::string>{"a", "b", "c", "d"}));
    for (const std::string& path : {dir / "missing.til", dir.path()}) {
        EXPECT_EQ(MessageOf([&] { MapLines(path); }), MessageOf([&] { ReadLines(path); }));
    }
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

// While the text is made, its bytes already go to a file that has no name yet: the folder
// shows nothing new until the file is complete.
TEST(WriteTest, StreamedBytesReachAnUnnamedFileAsTheyAreMade) {
    TempFolder dir;
    PutFile(dir / "out.js", "former");
    const std::string big(3 * kWriteChunkBytes, 'a');
    std::optional<std::size_t> written_meanwhile;
    WriteStreamed(dir / "out.js", [&](ByteSink& sink) {
        sink.Append(big);
        sink.Append("b");
        written_meanwhile = testing::UnnamedFileSize(::getpid(), dir.path());
        EXPECT_EQ(testing::FolderListing(dir.path()), "out.js");
        EXPECT_EQ(GetFile(dir / "out.js"), "former");
        sink.Append("c");
    });
    EXPECT_GE(written_meanwhile.value_or(0), 2 * kWriteChunkBytes);
    EXPECT_EQ(GetFile(dir / "out.js"), big + "bc");
    EXPECT_EQ(testing::FolderListing(dir.path()), "out.js");
    EXPECT_EQ(testing::UnnamedFileSize(::getpid(), dir.path()), std::nullopt);
}

TEST(WriteTest, AnErrorWhileTheTextIsMadeKeepsTheFormerFileAndLeavesNothing) {
    TempFolder dir;
    PutFile(dir / "old.js", "former");
    for (const std::string& target : {dir / "old.js", dir / "new.js"}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(MessageOf([&] {
                      WriteStreamed(target, [](ByteSink& sink) {
                          sink.Append(std::string(2 * kWriteChunkBytes, 'x'));
                          throw Error("Text exceeds memo capacity");
                      });
                  }),
                  "Text exceeds memo capacity");
        EXPECT_EQ(testing::FolderListing(dir.path()), "old.js");
        EXPECT_EQ(GetFile(dir / "old.js"), "former");
        EXPECT_EQ(testing::UnnamedFileSize(::getpid(), dir.path()), std::nullopt);
    }
}

TEST(WriteTest, ReplacingKeepsTheOwner) {
    if (!testing::IsRoot()) {
        GTEST_SKIP() << "giving a file to another user needs root";
    }
    TempFolder dir;
    PutFile(dir / "theirs.js", "former");
    ASSERT_EQ(::chown((dir / "theirs.js").c_str(), 65534, 65534), 0);
    ::chmod((dir / "theirs.js").c_str(), 0604);
    WriteText(dir / "theirs.js", "new");
    struct stat info {};
    ASSERT_EQ(::stat((dir / "theirs.js").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    EXPECT_EQ(GetFile(dir / "theirs.js"), "new");
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
