// Item list files against a hostile file system and odd contents: every failure is the exact
// message with the list and the former file untouched, and every file that can be read at all
// opens and saves back without losing a byte that the list rules keep.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>
#include <vector>

#include "core/files/error.h"
#include "core/items/item_list.h"
#include "core/items/list_file.h"
#include "tests/support/fault_env.h"

namespace tolvane {
namespace {

using namespace std::string_literals;
using testing::GetFile;
using testing::MessageOf;
using testing::PutFile;
using testing::RunUnprivileged;
using testing::TempFolder;

const std::vector<std::string> kFormerItems = {"keep.html=Keep me", "other.html=Other"};

ItemList FormerList() {
    ItemList list;
    list.SetItemLines(LineList(kFormerItems));
    return list;
}

// The open dialog, answering with a file that is gone by the time it is read.
class VanishingChooser : public FileChooser {
  public:
    explicit VanishingChooser(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> Choose() override {
        std::filesystem::remove(path_);
        return path_;
    }

  private:
    std::string path_;
};

TEST(ListFileFaultsTest, SaveFailuresKeepTheFormerFile) {
    TempFolder dir;
    std::filesystem::create_directory(dir / "folder.til");
    PutFile(dir / "plain.til", "former\r\n");
    std::filesystem::create_directory(dir / "locked");
    PutFile(dir / "locked/list.til", "former\r\n");
    ::chmod((dir / "locked").c_str(), 0555);

    const struct {
        const char* fault;
        std::string chosen;
        std::string message;
        bool unprivileged;
    } cases[] = {
        {"the chosen name is a folder", dir / "folder.til",
         "Cannot create file \"" + dir.path() + "folder.til\". Is a directory", false},
        {"the name plus .til is a folder", dir / "folder",
         "Cannot create file \"" + dir.path() + "folder.til\". Is a directory", false},
        {"a file where a folder is expected", dir / "plain.til/x",
         "Cannot create file \"" + dir.path() + "plain.til/x.til\". Not a directory", false},
        {"new file in a read-only folder", dir / "locked/new",
         "Cannot create file \"" + dir.path() + "locked/new.til\". Permission denied", true},
        {"existing file in a read-only folder", dir / "locked/list.til",
         "Cannot create file \"" + dir.path() + "locked/list.til\". Permission denied", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        const ItemList list = FormerList();
        auto save = [&] { return MessageOf([&] { SaveList(list, c.chosen); }); };
        EXPECT_EQ(c.unprivileged ? RunUnprivileged(save) : save(), c.message);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.til"));
    EXPECT_EQ(GetFile(dir / "plain.til"), "former\r\n");
    EXPECT_EQ(GetFile(dir / "locked/list.til"), "former\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "locked/new.til"));
}

TEST(ListFileFaultsTest, SavingThroughALinkReplacesTheFileAndKeepsTheLink) {
    TempFolder dir;
    std::filesystem::create_directory(dir / "lists");
    PutFile(dir / "lists/real.til", "former\r\n");
    ::symlink("lists/real.til", (dir / "link.til").c_str());
    SaveList(FormerList(), dir / "link.til");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.til"));
    EXPECT_EQ(GetFile(dir / "lists/real.til"), "keep.html=Keep me\r\nother.html=Other\r\n");
}

TEST(ListFileFaultsTest, OpenFailuresLeaveTheListAsItWas) {
    TempFolder dir;
    PutFile(dir / "secret.til", "secret=1\r\n");
    ::chmod((dir / "secret.til").c_str(), 0200);
    PutFile(dir / "plain.til", "plain=1\r\n");
    std::filesystem::create_directory(dir / "folder.til");

    const struct {
        const char* fault;
        std::string path;
        std::string message;
        bool unprivileged;
    } cases[] = {
        {"a folder", dir / "folder.til",
         "Cannot open file \"" + dir.path() + "folder.til\". Is a directory", false},
        {"a file where a folder is expected", dir / "plain.til/x.til",
         "Cannot open file \"" + dir.path() + "plain.til/x.til\". Not a directory", false},
        {"no read access", dir / "secret.til",
         "Cannot open file \"" + dir.path() + "secret.til\". Permission denied", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        auto open = [&] {
            ItemList list = FormerList();
            const std::string message = MessageOf([&] { OpenList(list, c.path); });
            return message + (list.ItemLines().ToVector() == kFormerItems ? "" : " (list changed)");
        };
        EXPECT_EQ(c.unprivileged ? RunUnprivileged(open) : open(), c.message);
    }
}

TEST(ListFileFaultsTest, AFileThatVanishesAfterTheDialogLeavesTheList) {
    TempFolder dir;
    PutFile(dir / "brief.til", "brief=1\r\n");
    ItemList list = FormerList();
    VanishingChooser dialog(dir / "brief.til");
    EXPECT_EQ(MessageOf([&] { OpenListWithDialog(list, dialog); }),
              "Cannot open file \"" + dir.path() + "brief.til\". No such file or directory");
    EXPECT_EQ(list.ItemLines().ToVector(), kFormerItems);
}

// Files in whatever form users have them: each opens, and where the list rules keep every byte
// (CR LF after every line, no NUL) it saves back byte for byte.
TEST(ListFileFaultsTest, OddContentsOpenAndSaveBackExactly) {
    std::string million_lines;
    for (int i = 1; i <= 1'000'000; ++i) {
        million_lines += "page" + std::to_string(i) + ".html=Caption " + std::to_string(i) + "\r\n";
    }
    const struct {
        const char* kind;
        std::string bytes;
        int items;
        std::string last_caption;
    } cases[] = {
        {"100 MB in one line", "big.html=" + std::string(100 * 1024 * 1024, 'x') + "\r\n", 1,
         std::string(100 * 1024 * 1024, 'x')},
        {"1,000,000 lines", million_lines, 1'000'000, "Caption 1000000"},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBFp.html=Caf\xC3\xA9\r\n", 1, "Caf\xC3\xA9"},
        {"invalid UTF-8", "\xC3\x28=\xA0\xA1\xFF\r\n\xF0\x28\x8C\x28\r\n", 2, "\xF0\x28\x8C\x28"},
        {"control bytes", "\x1B[31m=\x7F\x08\t\x0C\r\n", 1, "\x7F\x08\t\x0C"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        TempFolder dir;
        PutFile(dir / "in.til", c.bytes);
        ItemList list;
        OpenList(list, dir / "in.til");
        EXPECT_EQ(list.ItemCount(), c.items);
        EXPECT_TRUE(list.CellText(1, list.ItemCount()) == c.last_caption);
        SaveList(list, dir / "out.til");
        EXPECT_TRUE(GetFile(dir / "out.til") == c.bytes);
    }
}

// Files the list rules cut: the text ends at the first NUL byte and every line end becomes
// CR LF; what is kept comes back exactly.
TEST(ListFileFaultsTest, BinaryAndUtf16FilesKeepWhatComesBeforeTheirFirstNul) {
    const std::string png = "\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10"s;
    const std::string utf16 = "\xFF\xFEl\0i\0n\0k\0=\0c\0\r\0\n\0"s;
    const struct {
        const char* kind;
        std::string bytes;
        std::string saved;
    } cases[] = {
        {"an image", png, "\x89PNG\r\n\x1A\r\n"},
        {"UTF-16 with a byte-order mark", utf16, "\xFF\xFEl\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        TempFolder dir;
        PutFile(dir / "in.til", c.bytes);
        ItemList list;
        OpenList(list, dir / "in.til");
        SaveList(list, dir / "out.til");
        EXPECT_EQ(GetFile(dir / "out.til"), c.saved);
    }
}

TEST(ListFileFaultsTest, RandomBytesOpenAndSettleAfterOneSave) {
    std::mt19937 random(20261210);
    std::string bytes(256 * 1024, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(1 + random() % 255);
    }
    bytes[200 * 1024] = '\0';
    TempFolder dir;
    PutFile(dir / "random.til", bytes);
    ItemList list;
    OpenList(list, dir / "random.til");
    SaveList(list, dir / "once.til");
    const std::string once = GetFile(dir / "once.til");

    // The saved file is plain list text: no NUL, every CR starts a CR LF, one line per item,
    // and nothing from the NUL on.
    EXPECT_EQ(once.find('\0'), std::string::npos);
    EXPECT_LE(once.size(), 2 * 200 * 1024);
    std::size_t line_ends = 0;
    for (std::size_t i = 0; i < once.size(); ++i) {
        const bool cr_lf = once[i] == '\r' && i + 1 < once.size() && once[i + 1] == '\n';
        ASSERT_TRUE(once[i] != '\r' || cr_lf) << "lone CR at " << i;
        ASSERT_TRUE(once[i] != '\n' || (i > 0 && once[i - 1] == '\r')) << "lone LF at " << i;
        line_ends += cr_lf ? 1 : 0;
    }
    EXPECT_EQ(static_cast<std::size_t>(list.ItemCount()), line_ends);

    ItemList again;
    OpenList(again, dir / "once.til");
    EXPECT_TRUE(again.ItemLines() == list.ItemLines());
    SaveList(again, dir / "twice.til");
    EXPECT_TRUE(GetFile(dir / "twice.til") == once);
}

}  // namespace
}  // namespace tolvane
