#include "core/items/list_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "core/files/error.h"
#include "tests/support/core_fakes.h"
#include "tests/support/fault_env.h"

namespace tolvane {
namespace {

using testing::FakeChooser;
using testing::GetFile;
using testing::MessageOf;
using testing::PutFile;
using testing::RunUnprivileged;
using testing::SmallDisk;
using testing::TempFolder;

ItemList ListOf(std::initializer_list<std::string_view> lines) {
    ItemList list;
    list.SetItemLines(LineList(lines));
    return list;
}

TEST(SaveListTest, WritesEveryLineWithCrLf) {
    TempFolder dir;
    const struct {
        const char* name;
        ItemList list;
        std::string bytes;
    } cases[] = {
        {"start-up list", ItemList(), "index.shtml=First record\r\n"},
        {"one blank item", ListOf({"="}), "=\r\n"},
        {"empty list", ListOf({}), ""},
        {"lines in other forms stay as read", ListOf({"no equals", "", "a = b=c", " =x\t"}),
         "no equals\r\n\r\na = b=c\r\n =x\t\r\n"},
    };
    for (const auto& c : cases) {
        SaveList(c.list, dir / "list.til");
        EXPECT_EQ(GetFile(dir / "list.til"), c.bytes) << c.name;
    }
}

TEST(SaveListTest, TargetIsTheExistingFileOrTheNameWithOneExtension) {
    TempFolder dir;
    PutFile(dir / "y.txt", "old");
    PutFile(dir / "x2.til", "old");
    std::filesystem::create_directories(dir / "folder");
    const struct {
        const char* chosen;
        const char* target;
    } cases[] = {
        {"x", "x.til"},           {"x.til", "x.til"},
        {"x.TIL", "x.TIL"},       {"notes.til.bak", "notes.til.bak.til"},
        {"y.txt", "y.txt"},       {"x2", "x2.til"},
        {"folder", "folder.til"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ListSaveTarget(dir / c.chosen), dir / c.target) << c.chosen;
    }

    SaveList(ItemList(), dir / "y.txt");
    EXPECT_EQ(GetFile(dir / "y.txt"), "index.shtml=First record\r\n");
    SaveList(ItemList(), dir / "x2");
    EXPECT_EQ(GetFile(dir / "x2.til"), "index.shtml=First record\r\n");
    SaveList(ItemList(), dir / "new.til");
    EXPECT_TRUE(std::filesystem::exists(dir / "new.til"));
    EXPECT_FALSE(std::filesystem::exists(dir / "new.til.til"));
}

TEST(OpenListTest, SplitsTheFileByTheLineRules) {
    TempFolder dir;
    using Lines = std::vector<std::string>;
    const struct {
        const char* name;
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"CR LF", "a=1\r\nb=2\r\n", {"a=1", "b=2"}},
        {"LF", "a=1\nb=2\n", {"a=1", "b=2"}},
        {"CR", "a=1\rb=2\r", {"a=1", "b=2"}},
        {"no final line end", "a=1\r\nb=2", {"a=1", "b=2"}},
        {"LF CR is two line ends", "a\n\rb\n\r", {"a", "", "b", ""}},
        {"two CRs", "a\r\rb", {"a", "", "b"}},
        {"text ends at NUL", std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
        {"UTF-8 byte-order mark kept", "\xEF\xBB\xBFx=y\r\n", {"\xEF\xBB\xBFx=y"}},
        {"UTF-16 gives the bytes before its first zero",
         std::string("\xFF\xFE"
                     "a\0b\0",
                     6),
         {"\xFF\xFE"
          "a"}},
        {"blanks and tabs stay", " a = b \t\r\n", {" a = b \t"}},
        {"empty file", "", {}},
        {"only a line end", "\r\n", {""}},
    };
    for (const auto& c : cases) {
        PutFile(dir / "in.til", c.bytes);
        ItemList list;
        OpenList(list, dir / "in.til");
        EXPECT_EQ(list.ItemLines().ToVector(), c.lines) << c.name;
    }
}

TEST(OpenListTest, CellsFollowTheReadBackRule) {
    TempFolder dir;
    PutFile(dir / "in.til", "a=b\r\nl=c=d\r\nno equals\r\n\r\n=\r\n");
    ItemList list;
    OpenList(list, dir / "in.til");
    const struct {
        int row;
        const char* link;
        const char* caption;
    } cases[] = {
        {1, "a", "b"}, {2, "l", "c=d"}, {3, "", "no equals"}, {4, "", ""}, {5, "", ""},
    };
    ASSERT_EQ(list.ItemCount(), 5);
    for (const auto& c : cases) {
        EXPECT_EQ(list.CellText(0, c.row), c.link) << c.row;
        EXPECT_EQ(list.CellText(1, c.row), c.caption) << c.row;
    }
}

TEST(OpenListTest, SavingAgainGivesTheSameBytes) {
    TempFolder dir;
    // Bytes that are no valid text in UTF-8, a Latin-1 caption, and a line without "=".
    const std::string bytes = "\xFF\xFE\x80=\xE9t\xE9\r\ncaf\xC3\xA9=\x01\x7F\r\nplain\r\n";
    PutFile(dir / "in.til", bytes);
    ItemList list;
    OpenList(list, dir / "in.til");
    SaveList(list, dir / "out.til");
    EXPECT_EQ(GetFile(dir / "out.til"), bytes);

    PutFile(dir / "bare.til", "a=1\nb=2");
    OpenList(list, dir / "bare.til");
    SaveList(list, dir / "bare.til");
    EXPECT_EQ(GetFile(dir / "bare.til"), "a=1\r\nb=2\r\n");
}

TEST(OpenListTest, TheWholeFileIsOneChange) {
    TempFolder dir;
    std::string bytes;
    for (int i = 0; i < 1000; ++i) {
        bytes += "page" + std::to_string(i) + "=caption\r\n";
    }
    PutFile(dir / "in.til", bytes);
    ItemList list;
    int changes = 0;
    list.SetChangeListener([&changes] { ++changes; });
    OpenList(list, dir / "in.til");
    EXPECT_EQ(list.ItemCount(), 1000);
    EXPECT_EQ(changes, 1);
}

TEST(OpenListTest, MissingFileLeavesTheListAsItWas) {
    TempFolder dir;
    ItemList list = ListOf({"a=1", "b=2"});
    EXPECT_EQ(MessageOf([&] { OpenList(list, dir / "missing"); }),
              "Cannot open file \"" + dir.path() + "missing\". No such file or directory");
    EXPECT_EQ(list.ItemLines().ToVector(), (std::vector<std::string>{"a=1", "b=2"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.til"));
}

TEST(ListDialogTest, CancellingDoesNothingAndAnAnswerIsUsedAsIs) {
    TempFolder dir;
    FakeChooser cancel;
    ItemList list = ListOf({"a=1"});
    SaveListWithDialog(list, cancel);
    OpenListWithDialog(list, cancel);
    EXPECT_EQ(std::filesystem::directory_iterator(dir.path()),
              std::filesystem::directory_iterator());
    EXPECT_EQ(list.ItemLines().ToVector(), std::vector<std::string>{"a=1"});

    FakeChooser save_as;
    save_as.answers = {dir / "mine", dir / "mine"};
    SaveListWithDialog(list, save_as);
    EXPECT_EQ(GetFile(dir / "mine.til"), "a=1\r\n");
    // Open takes the name exactly: no extension is added.
    EXPECT_NE(MessageOf([&] { OpenListWithDialog(list, save_as); }), "no error");
    FakeChooser open;
    open.answers = {dir / "mine.til"};
    ItemList other;
    OpenListWithDialog(other, open);
    EXPECT_EQ(other.ItemLines().ToVector(), std::vector<std::string>{"a=1"});
}

TEST(SaveListFailureTest, TargetThatCannotBeCreatedKeepsItsContent) {
    TempFolder dir;
    EXPECT_EQ(
        MessageOf([&] { SaveList(ItemList(), dir / "no folder/x.til"); }),
        "Cannot create file \"" + dir.path() + "no folder/x.til\". No such file or directory");

    PutFile(dir / "locked.til", "former\r\n");
    ::chmod((dir / "locked.til").c_str(), 0444);
    // Root may write anything, so the refusal is tried as an unprivileged user.
    const std::string message = RunUnprivileged(
        [&] { return MessageOf([&] { SaveList(ItemList(), dir / "locked.til"); }); });
    EXPECT_EQ(message, "Cannot create file \"" + dir.path() + "locked.til\". Permission denied");
    EXPECT_EQ(GetFile(dir / "locked.til"), "former\r\n");
}

TEST(SaveListFailureTest, FullDiskKeepsTheFormerFile) {
    SmallDisk disk(64 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << "mounting a small disk needs root";
    }
    const std::string target = disk.path() + "list.til";
    PutFile(target, "former=list\r\n");
    disk.Fill();
    ItemList list;
    for (int i = 0; i < 5000; ++i) {
        list.AppendItem("page" + std::to_string(i), "caption");
    }
    EXPECT_EQ(MessageOf([&] { SaveList(list, target); }), "Stream write error");
    EXPECT_EQ(GetFile(target), "former=list\r\n");
}

}  // namespace
}  // namespace tolvane
