// The Database page with real widgets and real input events: the fields, the Enter-key item
// entry, the grid clicks, the buttons and the list file dialogs (fakes that answer at once).
#include "gui/pages/database_page.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "core/files/error.h"
#include "gui/widgets/item_grid.h"
#include "tests/support/fault_env.h"
#include "tests/support/qt_drops.h"
#include "tests/support/service_fakes.h"
#include "tests/support/site_fixture.h"

namespace tolvane {
namespace {

using testing::CursorNotingChooser;
using testing::FakeMessages;
using testing::GetFile;
using testing::PutFile;
using testing::TempFolder;
using Lines = std::vector<std::string>;

class DatabasePageTest : public ::testing::Test {
  protected:
    DatabasePageTest() : page(list, messages, save_dialog, open_dialog) {}

    void SetUp() override {
        page.show();
        page.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    }

    template <typename Widget = QWidget>
    Widget* Find(const char* name) {
        auto* widget = page.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* Field(const char* name) { return Find<QLineEdit>(name); }
    std::string Text(const char* name) { return Field(name)->text().toStdString(); }
    std::string CurrentItemLabel() {
        return Find<QLabel>("currentItemLabel")->text().toStdString();
    }
    std::string Focused() {
        QWidget* focus = QApplication::focusWidget();
        return focus != nullptr ? focus->objectName().toStdString() : std::string();
    }
    Lines Items() { return list.ItemLines().ToVector(); }

    void Click(const char* button) { QTest::mouseClick(Find(button), Qt::LeftButton); }
    // Types over the field's whole text, as after a Tab into it.
    void Type(const char* field, const QString& text) {
        Field(field)->setFocus(Qt::TabFocusReason);
        Field(field)->selectAll();
        QTest::keyClicks(Field(field), text);
    }
    void PressEnter(const char* field) { QTest::keyClick(Field(field), Qt::Key_Return); }

    // A click on a cell of the grid; row 0 is the title row at the top of the view.
    void ClickCell(int column, int row) {
        auto* grid = Find<ItemGrid>("itemGrid");
        const int x = column == 0 ? grid->LinkColumnWidth() / 2
                                  : grid->LinkColumnWidth() + grid->CaptionColumnWidth() / 2;
        const int y = row * ItemGrid::kRowHeight + ItemGrid::kRowHeight / 2;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(x, y));
    }

    // What the grid asks of the list for a click on an item's caption.
    void Select(int row) { list.MoveRequest(1, row); }

    void UseItems(const Lines& lines) { list.SetItemLines(LineList(lines)); }

    ItemList list;
    FakeMessages messages;
    CursorNotingChooser save_dialog;
    CursorNotingChooser open_dialog;
    DatabasePage page;
};

TEST_F(DatabasePageTest, ControlsSitWhereThePageDrawsThem) {
    struct Control {
        const char* name;
        QRect bounds;
        const char* caption;
    };
    const Control controls[] = {
        {"itemGrid", {8, 24, 265, 241}, nullptr},
        {"captionField", {280, 80, 177, 21}, nullptr},
        {"linkField", {280, 128, 177, 21}, nullptr},
        {"captionHintLabel",
         {280, 48, 162, 26},
         "Use HTML tags or HTML code to create special effects"},
        {"moveUpButton", {288, 160, 25, 25}, ""},
        {"addItemButton", {344, 160, 100, 25}, "Add item"},
        {"moveDownButton", {288, 192, 25, 25}, ""},
        {"replaceItemButton", {344, 192, 100, 25}, "Replace item"},
        {"moveToTopButton", {288, 224, 25, 25}, ""},
        {"deleteItemButton", {344, 224, 100, 25}, "Delete item"},
        {"moveToBottomButton", {288, 256, 25, 25}, ""},
        {"clearListButton", {344, 256, 100, 25}, "Clear list"},
        {"saveListButton", {8, 272, 100, 25}, "Save list"},
        {"openListButton", {176, 272, 100, 25}, "Open list"},
    };
    for (const Control& control : controls) {
        QWidget* widget = Find(control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), control.bounds) << control.name;
        EXPECT_EQ(widget->parentWidget(), &page) << control.name;
        if (auto* button = qobject_cast<QPushButton*>(widget); button && control.caption) {
            EXPECT_EQ(button->text(), control.caption) << control.name;
        }
    }
    const struct {
        const char* name;
        QPoint at;
        const char* text;
    } labels[] = {{"itemsLabel", {8, 8}, "All items"},
                  {"currentItemLabel", {280, 8}, "Current item: [1]"},
                  {"captionLabel", {280, 32}, "Item Caption"},
                  {"linkLabel", {280, 112}, "Item link"}};
    for (const auto& label : labels) {
        EXPECT_EQ(Find(label.name)->pos(), label.at) << label.name;
        EXPECT_EQ(Find<QLabel>(label.name)->text(), label.text) << label.name;
    }
    EXPECT_FALSE(Find<QLabel>("captionHintLabel")->font().bold());
    EXPECT_TRUE(Find<QPushButton>("clearListButton")->icon().isNull());
}

TEST_F(DatabasePageTest, ButtonsShowTheirGlyphsAtTheirOwnSize) {
    const struct {
        const char* name;
        int size;
    } glyphs[] = {{"addItemButton", 16},  {"replaceItemButton", 16}, {"deleteItemButton", 16},
                  {"saveListButton", 16}, {"openListButton", 16},    {"moveUpButton", 13},
                  {"moveDownButton", 13}, {"moveToTopButton", 12},   {"moveToBottomButton", 12}};
    for (const auto& glyph : glyphs) {
        auto* button = Find<QPushButton>(glyph.name);
        EXPECT_FALSE(button->icon().isNull()) << glyph.name;
        EXPECT_EQ(button->iconSize(), QSize(glyph.size, glyph.size)) << glyph.name;
    }
    EXPECT_EQ(page.objectName(), "databasePage");
    EXPECT_EQ(page.size(), QSize(460, 300));
}

TEST_F(DatabasePageTest, StartsWithTheSampleItemAndFields) {
    EXPECT_EQ(Text("captionField"), "This is item caption");
    EXPECT_EQ(Text("linkField"), "http:\\\\www.example.com");
    EXPECT_EQ(CurrentItemLabel(), "Current item: [1]");
    EXPECT_EQ(Items(), Lines{"index.shtml=First record"});
}

TEST_F(DatabasePageTest, TabVisitsFieldsButtonsGridThenMoveButtons) {
    const QStringList expected = {"captionField",      "linkField",        "addItemButton",
                                  "replaceItemButton", "deleteItemButton", "saveListButton",
                                  "openListButton",    "clearListButton",  "itemGrid",
                                  "moveUpButton",      "moveDownButton",   "moveToTopButton",
                                  "moveToBottomButton"};
    QStringList visited;
    QWidget* widget = Find("captionField");
    do {
        if (expected.contains(widget->objectName()) && widget->parentWidget() == &page) {
            visited << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != Find("captionField"));
    EXPECT_EQ(visited, expected);
}

TEST_F(DatabasePageTest, CaptionEnterLinkEnterAppendsTheItem) {
    Type("captionField", "Second record");
    PressEnter("captionField");
    EXPECT_EQ(Focused(), "linkField");
    EXPECT_EQ(Items(), Lines{"index.shtml=First record"}) << "Enter in the caption field adds";
    Type("linkField", "second.html");
    PressEnter("linkField");

    EXPECT_EQ(Items(), (Lines{"index.shtml=First record", "second.html=Second record"}));
    EXPECT_EQ(Text("linkField"), "");
    EXPECT_EQ(Text("captionField"), "");
    EXPECT_EQ(Focused(), "captionField");
    EXPECT_EQ(CurrentItemLabel(), "Current item: [1]");
}

TEST_F(DatabasePageTest, EnterInEmptyLinkFieldAddsABlankItem) {
    Field("captionField")->clear();
    Field("linkField")->clear();
    Field("linkField")->setFocus();
    PressEnter("linkField");
    EXPECT_EQ(Items(), (Lines{"index.shtml=First record", "="}));
    EXPECT_EQ(Focused(), "captionField");
    EXPECT_TRUE(messages.errors.empty());
}

TEST_F(DatabasePageTest, AddItemButtonFillsTheBlankItemUnderTheCursor) {
    UseItems({"a=1", "="});
    Select(2);
    Field("linkField")->setText("b");
    Field("captionField")->setText("2");
    Click("addItemButton");
    EXPECT_EQ(Items(), (Lines{"a=1", "b=2"}));
    EXPECT_EQ(Focused(), "captionField");
    EXPECT_EQ(Text("linkField"), "");
}

TEST_F(DatabasePageTest, ClickingCellsShowsTheItem) {
    UseItems({"a.html=A", "b.html=B", "c.html=C"});
    ClickCell(1, 2);
    EXPECT_EQ(Text("linkField"), "b.html");
    EXPECT_EQ(Text("captionField"), "B");
    EXPECT_EQ(CurrentItemLabel(), "Current Item [2]");
    EXPECT_EQ(list.CursorRow(), 2);

    // The link column shows the item too, but the cursor stays in its row.
    ClickCell(0, 3);
    EXPECT_EQ(Text("captionField"), "C");
    EXPECT_EQ(CurrentItemLabel(), "Current Item [3]");
    EXPECT_EQ(page.Editor().CurrentRow(), 3);
    EXPECT_EQ(page.Editor().CurrentColumn(), 0);
    EXPECT_EQ(list.CursorRow(), 2);

    ClickCell(1, 0);  // the title row is no item
    EXPECT_EQ(CurrentItemLabel(), "Current Item [3]");
}

TEST_F(DatabasePageTest, LeavingABlankItemByClickRemovesIt) {
    UseItems({"a=1", "b=2", "=", "d=4"});
    ClickCell(1, 3);
    EXPECT_EQ(CurrentItemLabel(), "Current Item [3]");
    ClickCell(1, 1);  // above the blank item: no notification for row 1
    EXPECT_EQ(Items(), (Lines{"a=1", "b=2", "d=4"}));
    EXPECT_EQ(list.CursorRow(), 1);
    EXPECT_EQ(CurrentItemLabel(), "Current Item [3]");

    UseItems({"a=1", "=", "c=3", "d=4"});
    ClickCell(1, 2);
    ClickCell(1, 4);  // below it: the same item, one row higher
    EXPECT_EQ(Items(), (Lines{"a=1", "c=3", "d=4"}));
    EXPECT_EQ(list.CursorRow(), 3);
    EXPECT_EQ(CurrentItemLabel(), "Current Item [3]");
    EXPECT_EQ(Text("captionField"), "4");
}

TEST_F(DatabasePageTest, ReplaceWritesTheFieldsAndEmptiesThem) {
    UseItems({"a=1", "b=2", "c=3"});
    Select(2);
    Field("linkField")->setText("B.html");
    Field("captionField")->setText("Bee");
    Find("replaceItemButton")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Find("replaceItemButton"), Qt::Key_Space);

    EXPECT_EQ(Items(), (Lines{"a=1", "B.html=Bee", "c=3"}));
    EXPECT_EQ(Text("linkField"), "");
    EXPECT_EQ(Text("captionField"), "");
    EXPECT_EQ(Focused(), "replaceItemButton");
}

TEST_F(DatabasePageTest, LongCaptionsSurviveTheFields) {
    // Longer than a one-line field holds by default.
    const std::string caption(40000, 'k');
    UseItems({"a=1", "b=" + caption});
    Select(2);
    EXPECT_EQ(page.CaptionText(), caption);
    Click("replaceItemButton");
    EXPECT_EQ(Items(), (Lines{"a=1", "b=" + caption}));
}

TEST_F(DatabasePageTest, ReplaceWithACurrentRowBeyondTheListChangesNothing) {
    UseItems({"a=1", "b=2", "c=3", "d=4", "e=5"});
    Select(3);
    Click("moveToBottomButton");  // the item goes to the bottom, CurrentRow follows it to row 5
    Click("deleteItemButton");    // and is deleted: CurrentRow 5 now lies beyond the last row
    ASSERT_EQ(Items(), (Lines{"a=1", "b=2", "d=4", "e=5"}));
    Field("linkField")->setText("x");
    Field("captionField")->setText("y");
    Click("replaceItemButton");
    EXPECT_EQ(Items(), (Lines{"a=1", "b=2", "d=4", "e=5"}));
    EXPECT_EQ(Text("linkField"), "x");
    EXPECT_EQ(Text("captionField"), "y");
}

TEST_F(DatabasePageTest, DeleteOnTheLastRowShowsTheItemAbove) {
    UseItems({"a=1", "b=2", "c=3", "d=4"});
    Select(4);
    Click("deleteItemButton");
    EXPECT_EQ(Items(), (Lines{"a=1", "b=2", "c=3"}));
    EXPECT_EQ(CurrentItemLabel(), "Current Item [3]");
    EXPECT_EQ(Text("captionField"), "3");

    UseItems({"a=1"});
    Click("deleteItemButton");  // the last item stays
    EXPECT_EQ(Items(), Lines{"a=1"});
}

TEST_F(DatabasePageTest, MoveButtonsMoveTheCurrentItem) {
    const struct {
        const char* button;
        Lines expected;
        const char* label;
    } cases[] = {
        {"moveUpButton", {"a", "c", "b", "d", "e"}, "Current Item [2]"},
        {"moveDownButton", {"a", "b", "d", "c", "e"}, "Current Item [4]"},
        {"moveToTopButton", {"c", "a", "b", "d", "e"}, "Current Item [1]"},
        {"moveToBottomButton", {"a", "b", "d", "e", "c"}, "Current Item [5]"},
    };
    for (const auto& move : cases) {
        UseItems({"a", "b", "c", "d", "e"});
        Select(3);
        Click(move.button);
        EXPECT_EQ(Items(), move.expected) << move.button;
        EXPECT_EQ(CurrentItemLabel(), move.label) << move.button;
        EXPECT_EQ(Text("captionField"), "c") << move.button;
        EXPECT_EQ(list.CursorRow(), 3) << move.button;
    }
}

TEST_F(DatabasePageTest, ClearListAsksFirst) {
    UseItems({"a=1", "b=2"});
    messages.answer_yes = false;
    Click("clearListButton");
    EXPECT_EQ(messages.questions, Lines{"Confirmation|Clear list?"});
    EXPECT_EQ(Items(), (Lines{"a=1", "b=2"}));

    messages.answer_yes = true;
    Click("clearListButton");
    EXPECT_EQ(Items(), Lines{"="});
    // The next item fills the blank one left behind.
    Type("captionField", "K");
    PressEnter("captionField");
    Type("linkField", "L");
    PressEnter("linkField");
    EXPECT_EQ(Items(), Lines{"L=K"});
}

TEST_F(DatabasePageTest, SaveListWritesTheChosenFile) {
    TempFolder folder;
    save_dialog.answers = {folder / "items"};
    Click("saveListButton");
    EXPECT_TRUE(messages.errors.empty());
    EXPECT_EQ(GetFile(folder / "items.til"), "index.shtml=First record\r\n");
    // The dialog waits with the normal cursor; nothing is left over the program afterwards.
    EXPECT_EQ(save_dialog.cursors, std::vector<Qt::CursorShape>{Qt::ArrowCursor});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    Click("saveListButton");  // cancelled: nothing happens
    EXPECT_EQ(save_dialog.shown(), 2);
    EXPECT_TRUE(messages.errors.empty());
}

TEST_F(DatabasePageTest, SaveListIntoAMissingFolderShowsTheError) {
    TempFolder folder;
    save_dialog.answers = {folder / "missing/items"};
    Click("saveListButton");
    ASSERT_EQ(messages.errors.size(), 1u);
    EXPECT_EQ(messages.errors[0].rfind("Cannot create file", 0), 0u) << messages.errors[0];
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(DatabasePageTest, OpenListReplacesTheItems) {
    TempFolder folder;
    PutFile(folder / "list.til", "a=1\r\nb=2\nc");
    open_dialog.answers = {folder / "list.til", folder / "missing.til"};
    Click("openListButton");
    EXPECT_EQ(Items(), (Lines{"a=1", "b=2", "c"}));
    EXPECT_EQ(CurrentItemLabel(), "Current item: [1]");  // the cursor row still exists

    Click("openListButton");
    ASSERT_EQ(messages.errors.size(), 1u);
    EXPECT_EQ(messages.errors[0].rfind("Cannot open file", 0), 0u) << messages.errors[0];
    EXPECT_EQ(Items(), (Lines{"a=1", "b=2", "c"}));
    EXPECT_EQ(open_dialog.cursors,
              (std::vector<Qt::CursorShape>{Qt::ArrowCursor, Qt::ArrowCursor}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(DatabasePageTest, OpeningAShorterListMovesToItsLastItem) {
    UseItems({"a=1", "b=2", "c=3", "d=4"});
    Select(4);
    TempFolder folder;
    PutFile(folder / "short.til", "x=9\r\ny=8\r\n");
    open_dialog.answers = {folder / "short.til"};
    Click("openListButton");
    EXPECT_EQ(Items(), (Lines{"x=9", "y=8"}));
    EXPECT_EQ(CurrentItemLabel(), "Current Item [2]");
    EXPECT_EQ(Text("linkField"), "y");
}

TEST_F(DatabasePageTest, AnErrorWhileTheGridHandlesAClickReachesTheErrorBox) {
    list.SetSelectionHandler([](int, int, bool&) { throw Error("Selection failed"); });
    ClickCell(1, 1);
    EXPECT_EQ(messages.errors, Lines{"Selection failed"});
}

// The grid's viewport, where the file manager drops files.
QWidget* GridViewport(DatabasePage& page) {
    return page.findChild<ItemGrid*>("itemGrid")->viewport();
}

Lines FixtureLines() {
    Lines lines;
    for (const SitePage& page : testing::FixtureSitePages()) {
        lines.push_back(page.link + "=" + page.caption);
    }
    return lines;
}

TEST_F(DatabasePageTest, GridToolTipTellsThatPagesAndFoldersCanBeDropped) {
    const std::string tip = Find("itemGrid")->toolTip().toStdString();
    EXPECT_NE(tip.find("Drop web pages or site folders"), std::string::npos) << tip;
}

TEST_F(DatabasePageTest, DroppingASiteFolderAddsItsPagesAfterTheLastItem) {
    const testing::FixtureSite fixture;
    UseItems({"a.html=A", "b.html=B", "=", ""});
    Select(2);
    Type("captionField", "typed caption");
    const std::string label = CurrentItemLabel();

    const testing::DropOutcome outcome =
        testing::DropLocalFiles(GridViewport(page), {fixture.Site()});
    EXPECT_TRUE(outcome.entered);
    EXPECT_TRUE(outcome.dropped);
    Lines expected = {"a.html=A", "b.html=B"};
    for (const std::string& line : FixtureLines()) {
        expected.push_back(line);
    }
    EXPECT_EQ(Items(), expected);
    EXPECT_EQ(messages.notices, Lines{"Added 11 pages."});
    EXPECT_EQ(messages.notice_cursors, std::vector<Qt::CursorShape>{Qt::ArrowCursor});
    EXPECT_EQ(testing::ShownCursor(), Qt::ArrowCursor);
    EXPECT_TRUE(messages.errors.empty());
    // As after Add item, the current item and the fields stay as they were.
    EXPECT_EQ(list.CursorRow(), 2);
    EXPECT_EQ(CurrentItemLabel(), label);
    EXPECT_EQ(Text("captionField"), "typed caption");

    // The same drop again finds every page listed already.
    testing::DropLocalFiles(GridViewport(page), {fixture.Site()});
    EXPECT_EQ(Items(), expected);
    EXPECT_EQ(messages.notices.back(), "Added 0 pages; skipped 11 that were already in the list.");
}

TEST_F(DatabasePageTest, DroppedPagesAndFoldersComeInTheScansOrder) {
    const testing::FixtureSite fixture;
    UseItems({"="});
    testing::DropLocalFiles(GridViewport(page),
                            {fixture.Site() + "/blog", fixture.Site() + "/notes.txt",
                             fixture.Site() + "/about.html", fixture.Site() + "/index.html"});
    EXPECT_EQ(Items(),
              (Lines{"../index.html=Fish &amp; Chips \xC3\xA9t\xC3\xA9 &lt;b&gt;",
                     "../about.html=About us", "../index.htm=The Blog", "../2024/post.shtml=post",
                     "../Old%20Post%20%231.html=Old post number one"}));
    EXPECT_EQ(messages.notices, Lines{"Added 5 pages."});
}

}  // namespace
}  // namespace tolvane
