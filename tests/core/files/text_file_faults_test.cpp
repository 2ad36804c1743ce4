// Whole-file reads and writes against a hostile file system: paths of the wrong kind, links,
// missing rights (checked as an unprivileged user), a read-only and an inode-starved disk.
// Each case checks the exact message and that the file that was there is still there unchanged.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "core/files/error.h"
#include "core/files/text_file.h"
#include "tests/support/fault_env.h"

namespace tolvane {
namespace {

using testing::GetFile;
using testing::MessageOf;
using testing::PutFile;
using testing::TempFolder;

std::string CreateError(const std::string& path, const std::string& reason) {
    return "Cannot create file \"" + path + "\". " + reason;
}

std::string OpenError(const std::string& path, const std::string& reason) {
    return "Cannot open file \"" + path + "\". " + reason;
}

TEST(TextFileFaultsTest, AFileWhereAFolderIsExpected) {
    TempFolder dir;
    PutFile(dir / "list.til", "keep\r\n");
    const std::string inside = dir / "list.til/x.til";
    EXPECT_EQ(MessageOf([&] { WriteText(inside, "new"); }), CreateError(inside, "Not a directory"));
    EXPECT_EQ(MessageOf([&] { ReadText(inside); }), OpenError(inside, "Not a directory"));
    EXPECT_EQ(GetFile(dir / "list.til"), "keep\r\n");
}

TEST(TextFileFaultsTest, ALinkToAFolderIsNoFile) {
    TempFolder dir;
    std::filesystem::create_directory(dir / "sub");
    ::symlink("sub", (dir / "link.til").c_str());
    EXPECT_EQ(MessageOf([&] { WriteText(dir / "link.til", "new"); }),
              CreateError(dir / "link.til", "Is a directory"));
    EXPECT_EQ(MessageOf([&] { ReadText(dir / "link.til"); }),
              OpenError(dir / "link.til", "Is a directory"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.til"));
}

TEST(TextFileFaultsTest, ADanglingLinkIsWrittenThroughAndStaysALink) {
    TempFolder dir;
    ::symlink("target.til", (dir / "link.til").c_str());
    EXPECT_EQ(MessageOf([&] { ReadText(dir / "link.til"); }),
              OpenError(dir / "link.til", "No such file or directory"));
    WriteText(dir / "link.til", "new\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.til"));
    EXPECT_EQ(GetFile(dir / "target.til"), "new\r\n");

    ::symlink("missing/target.til", (dir / "far.til").c_str());
    EXPECT_EQ(MessageOf([&] { WriteText(dir / "far.til", "x"); }),
              CreateError(dir / "far.til", "No such file or directory"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "far.til"));
}

TEST(TextFileFaultsTest, ALinkLoopIsReportedAndLeftAlone) {
    TempFolder dir;
    ::symlink("b.til", (dir / "a.til").c_str());
    ::symlink("a.til", (dir / "b.til").c_str());
    EXPECT_EQ(MessageOf([&] { ReadText(dir / "a.til"); }),
              OpenError(dir / "a.til", "Too many levels of symbolic links"));
    EXPECT_EQ(MessageOf([&] { WriteText(dir / "a.til", "x"); }),
              CreateError(dir / "a.til", "Too many levels of symbolic links"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "a.til"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "b.til"));
}

TEST(TextFileFaultsTest, ANamedPipeWithoutWriterReadsAsEmptyAtOnce) {
    TempFolder dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.til").c_str(), 0666), 0);
    // Should the read wait for a writer after all, the alarm ends the test instead of hanging.
    ::alarm(20);
    EXPECT_EQ(ReadText(dir / "pipe.til"), "");
    ::alarm(0);
    EXPECT_EQ(MessageOf([&] { WriteText(dir / "pipe.til", "x"); }),
              CreateError(dir / "pipe.til", "No such device or address"));
}

TEST(TextFileFaultsTest, NamesTooLongForTheSystem) {
    TempFolder dir;
    const std::string name = dir / (std::string(300, 'n') + ".til");
    EXPECT_EQ(MessageOf([&] { ReadText(name); }), OpenError(name, "File name too long"));
    EXPECT_EQ(MessageOf([&] { WriteText(name, "x"); }), CreateError(name, "File name too long"));
}

// Root ignores file permissions: these run as the user "nobody" (RunUnprivileged).
TEST(TextFileFaultsTest, MissingRightsAsAnUnprivilegedUser) {
    TempFolder dir;
    PutFile(dir / "secret.til", "secret\r\n");
    ::chmod((dir / "secret.til").c_str(), 0200);
    std::filesystem::create_directory(dir / "closed");
    PutFile(dir / "closed/in.til", "inside\r\n");
    ::chmod((dir / "closed").c_str(), 0);
    PutFile(dir / "ro.til", "read-only\r\n");
    ::chmod((dir / "ro.til").c_str(), 0444);
    ::symlink("ro.til", (dir / "ro-link.til").c_str());

    struct Case {
        std::function<void()> step;
        std::string message;
    };
    const std::vector<Case> cases = {
        {[&] { ReadText(dir / "secret.til"); }, OpenError(dir / "secret.til", "Permission denied")},
        {[&] { ReadText(dir / "closed/in.til"); },
         OpenError(dir / "closed/in.til", "Permission denied")},
        {[&] { WriteText(dir / "closed/in.til", "x"); },
         CreateError(dir / "closed/in.til", "Permission denied")},
        {[&] { WriteText(dir / "closed/new.til", "x"); },
         CreateError(dir / "closed/new.til", "Permission denied")},
        {[&] { WriteText(dir / "ro-link.til", "x"); },
         CreateError(dir / "ro-link.til", "Permission denied")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(testing::RunUnprivileged([&] { return MessageOf(c.step); }), c.message);
    }
    ::chmod((dir / "closed").c_str(), 0755);
    EXPECT_EQ(GetFile(dir / "secret.til"), "secret\r\n");
    EXPECT_EQ(GetFile(dir / "closed/in.til"), "inside\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "closed/new.til"));
    EXPECT_EQ(GetFile(dir / "ro.til"), "read-only\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "ro-link.til"));
}

// The new text goes to a temporary file beside the target; a folder that refuses us one (a
// shared web folder whose files we may write, but not the folder) has its writable files
// written in place instead. Everything else there is still refused and kept.
TEST(TextFileFaultsTest, AWritableFileInAClosedFolderIsWrittenInPlace) {
    TempFolder dir;
    std::filesystem::create_directory(dir / "locked");
    PutFile(dir / "locked/list.til", "former\r\n");
    ::chmod((dir / "locked/list.til").c_str(), 0666);
    PutFile(dir / "locked/ro.til", "read-only\r\n");
    ::chmod((dir / "locked/ro.til").c_str(), 0644);
    ::chmod((dir / "locked").c_str(), 0555);
    struct stat before {};
    ::stat((dir / "locked/list.til").c_str(), &before);

    const std::string seen = testing::RunUnprivileged([&] {
        return MessageOf([&] { WriteText(dir / "locked/list.til", "new, and longer\r\n"); }) + "|" +
               MessageOf([&] { WriteText(dir / "locked/ro.til", "x"); }) + "|" +
               MessageOf([&] { WriteText(dir / "locked/new.til", "x"); });
    });
    EXPECT_EQ(seen, "no error|" + CreateError(dir / "locked/ro.til", "Permission denied") + "|" +
                        CreateError(dir / "locked/new.til", "Permission denied"));
    EXPECT_EQ(GetFile(dir / "locked/list.til"), "new, and longer\r\n");
    EXPECT_EQ(GetFile(dir / "locked/ro.til"), "read-only\r\n");
    EXPECT_EQ(testing::FolderListing(dir / "locked"), "list.til ro.til");
    struct stat after {};
    ::stat((dir / "locked/list.til").c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_uid, before.st_uid);
}

class MountedDiskTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!testing::IsRoot()) {
            GTEST_SKIP() << "mounting a file system needs root";
        }
    }
    // Mounts a tmpfs with `options` on the folder; unmounted by the TempFolder's owner below.
    void Mount(const std::string& options) {
        ASSERT_EQ(::mount("tmpfs", disk_.path().c_str(), "tmpfs", 0, options.c_str()), 0);
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_) {
            ::umount2(disk_.path().c_str(), MNT_DETACH);
        }
    }
    TempFolder disk_;
    bool mounted_ = false;
};

TEST_F(MountedDiskTest, AReadOnlyDiskRefusesEveryWriteAndKeepsItsFiles) {
    Mount("size=1m,mode=0777");
    PutFile(disk_ / "list.til", "former\r\n");
    ASSERT_EQ(::mount(nullptr, disk_.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    EXPECT_EQ(MessageOf([&] { WriteText(disk_ / "list.til", "new"); }),
              CreateError(disk_ / "list.til", "Read-only file system"));
    EXPECT_EQ(MessageOf([&] { WriteText(disk_ / "new.til", "new"); }),
              CreateError(disk_ / "new.til", "Read-only file system"));
    EXPECT_EQ(GetFile(disk_ / "list.til"), "former\r\n");
    EXPECT_EQ(ReadText(disk_ / "list.til"), "former\r\n");
}

// Written in place, a file on a full disk can only be cut short; the write still says so.
TEST_F(MountedDiskTest, AFullDiskUnderAClosedFolderIsAStreamWriteError) {
    Mount("size=64k,mode=0777");
    std::filesystem::create_directory(disk_ / "locked");
    PutFile(disk_ / "locked/list.til", "former\r\n");
    ::chmod((disk_ / "locked/list.til").c_str(), 0666);
    ::chmod((disk_ / "locked").c_str(), 0555);
    const std::string big(256 * 1024, 'x');
    EXPECT_EQ(testing::RunUnprivileged(
                  [&] { return MessageOf([&] { WriteText(disk_ / "locked/list.til", big); }); }),
              "Stream write error");
    EXPECT_EQ(testing::FolderListing(disk_ / "locked"), "list.til");
}

TEST_F(MountedDiskTest, ADiskWithoutFreeInodesKeepsTheFormerFile) {
    Mount("size=1m,nr_inodes=3,mode=0777");
    // The root folder takes one inode, the list another, the third file the last.
    PutFile(disk_ / "list.til", "former\r\n");
    PutFile(disk_ / "other", "");
    EXPECT_EQ(MessageOf([&] { WriteText(disk_ / "list.til", "new"); }),
              CreateError(disk_ / "list.til", "No space left on device"));
    EXPECT_EQ(GetFile(disk_ / "list.til"), "former\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk_.path()),
                            std::filesystem::directory_iterator()),
              2);
}

}  // namespace
}  // namespace tolvane
