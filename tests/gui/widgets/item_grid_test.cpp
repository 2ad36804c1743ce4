#include "gui/widgets/item_grid.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <QScrollBar>
#include <memory>
#include <stdexcept>

#include "core/files/error.h"
#include "tests/gui/widgets/grid_harness.h"
#include "tests/support/qt_drops.h"

namespace tolvane {
namespace {

using ::testing::ElementsAre;
using testing::GridHarness;
using testing::NumberedLines;

class ItemGridTest : public ::testing::Test {
  protected:
    GridHarness h;
};

// ---- Columns ----

TEST_F(ItemGridTest, StartsWithLinkColumn68AndCaptionColumn191) {
    EXPECT_EQ(h.grid->objectName(), "itemGrid");
    EXPECT_FALSE(h.grid->verticalScrollBar()->isVisible());
    EXPECT_EQ(h.grid->LinkColumnWidth(), 68);
    EXPECT_EQ(h.grid->CaptionColumnWidth(), 191);
}

TEST_F(ItemGridTest, CaptionColumnFillsTheViewportAfterResizeAndScrollBar) {
    h.grid->resize(400, 241);
    EXPECT_EQ(h.grid->CaptionColumnWidth(), h.grid->viewport()->width() - 68 - 2);
    const int without_bar = h.grid->CaptionColumnWidth();

    h.list.SetItemLines(NumberedLines(100));  // the scroll bar appears and narrows the viewport
    QCoreApplication::processEvents();
    EXPECT_TRUE(h.grid->verticalScrollBar()->isVisible());
    EXPECT_LT(h.grid->CaptionColumnWidth(), without_bar);
    EXPECT_EQ(h.grid->CaptionColumnWidth(), h.grid->viewport()->width() - 68 - 2);
}

TEST_F(ItemGridTest, DraggingTheTitleBorderSetsTheLinkColumn) {
    QWidget* viewport = h.Viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(70, 9));  // 2 px right of the border
    QTest::mouseMove(viewport, QPoint(122, 9));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(122, 9));
    EXPECT_EQ(h.grid->LinkColumnWidth(), 120);
    EXPECT_EQ(h.grid->CaptionColumnWidth(), viewport->width() - 120 - 2);
    EXPECT_EQ(h.fields.notifications, 0);

    // The wider link column takes clicks that went to the caption before.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(100, 28));
    EXPECT_EQ(h.editor.CurrentColumn(), 0);

    // The border cannot be dragged past the viewport.
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(120, 9));
    QTest::mouseMove(viewport, QPoint(1000, 9));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(1000, 9));
    EXPECT_EQ(h.grid->LinkColumnWidth(), viewport->width() - 2);
    EXPECT_EQ(h.grid->CaptionColumnWidth(), 0);
}

TEST_F(ItemGridTest, PressOnTheTitleRowAwayFromTheBorderDoesNothing) {
    QTest::mousePress(h.Viewport(), Qt::LeftButton, {}, QPoint(150, 9));
    QTest::mouseMove(h.Viewport(), QPoint(200, 9));
    QTest::mouseRelease(h.Viewport(), Qt::LeftButton, {}, QPoint(200, 9));
    EXPECT_EQ(h.grid->LinkColumnWidth(), 68);
    EXPECT_EQ(h.fields.notifications, 0);
}

// ---- Painting ----

TEST_F(ItemGridTest, PaintsButtonFaceTitleGridLinesAndTheCursorCell) {
    h.list.SetItemLines(NumberedLines(3));
    const QImage image = h.Viewport()->grab().toImage();
    const QPalette& palette = h.grid->palette();
    const auto color = [&](QPalette::ColorRole role) { return palette.color(role).rgb(); };
    const int right = 68 + 1 + h.grid->CaptionColumnWidth();

    EXPECT_EQ(image.pixel(1, 1), color(QPalette::Button));  // title cell
    EXPECT_EQ(image.pixel(1, 20), color(QPalette::Base));   // row 1, link cell
    EXPECT_EQ(image.pixel(right - 5, 30), color(QPalette::Highlight));
    EXPECT_EQ(image.pixel(right - 5, 49), color(QPalette::Base));  // row 2, caption cell
    const QRgb line = color(QPalette::Mid);
    EXPECT_EQ(image.pixel(68, 5), line);  // between the title cells
    EXPECT_EQ(image.pixel(5, 18), line);  // under the title row
    EXPECT_EQ(image.pixel(right, 5), line);
    EXPECT_EQ(image.pixel(5, 18 + 3 * 19), line);  // under row 3
}

TEST_F(ItemGridTest, TitleRowStaysWhileRowsScroll) {
    h.list.SetItemLines(NumberedLines(100));
    h.grid->verticalScrollBar()->setValue(50);
    EXPECT_EQ(h.grid->FirstVisibleRow(), 51);
    EXPECT_EQ(h.grid->RowAt(5), 0);
    EXPECT_EQ(h.grid->RowAt(19), 51);
    const QImage image = h.Viewport()->grab().toImage();
    EXPECT_EQ(image.pixel(1, 1), h.grid->palette().color(QPalette::Button).rgb());
}

TEST_F(ItemGridTest, CellTextIsCutAtTheCellEdge) {
    h.list.SetItemLines(LineList{std::string(300, 'W') + "=", "b=c"});
    h.PlaceCursor(2);
    const QImage image = h.Viewport()->grab().toImage();
    const QRgb base = h.grid->palette().color(QPalette::Base).rgb();
    bool link_cell_inked = false;
    for (int y = 19; y < 37; ++y) {
        for (int x = 60; x < 68; ++x) {
            link_cell_inked |= image.pixel(x, y) != base;
        }
        for (int x = 69; x < image.width() - 1; ++x) {
            ASSERT_EQ(image.pixel(x, y), base) << "caption cell of row 1 at " << x << "," << y;
        }
    }
    EXPECT_TRUE(link_cell_inked);
}

// The pixels of a cell's text: `width` pixels from `left`, in item row `row` (the first shown).
QImage CellPixels(const QImage& image, int left, int row, int width) {
    return image.copy(left, row * ItemGrid::kRowPitch, width, ItemGrid::kRowHeight);
}

// A cell shows its bytes as the fields do: Windows-1252 where they are no UTF-8, so "caf\xE9"
// looks as "café" in UTF-8 does; a link shows its stored "&#61;" as the "=" it was typed as.
TEST_F(ItemGridTest, CellsShowTheirBytesAsTheFieldsShowThem) {
    h.list.SetItemLines(LineList{"caf\xE9=caf\xE9 \x93x\x94",
                                 "caf\xC3\xA9=caf\xC3\xA9 \xE2\x80\x9Cx\xE2\x80\x9D",
                                 "a&#61;b=", "=a=b", "x"});
    h.PlaceCursor(5);
    const QImage image = h.Viewport()->grab().toImage();
    const int caption_left = h.grid->LinkColumnWidth() + 1;
    const int width = 60;
    EXPECT_EQ(CellPixels(image, 0, 1, width), CellPixels(image, 0, 2, width));
    EXPECT_EQ(CellPixels(image, caption_left, 1, width), CellPixels(image, caption_left, 2, width));
    EXPECT_EQ(CellPixels(image, 0, 3, width), CellPixels(image, caption_left, 4, width));
    EXPECT_NE(CellPixels(image, 0, 3, width), CellPixels(image, 0, 5, width));
}

// ---- Clicks and drags ----

TEST_F(ItemGridTest, ClickOnCaptionCellSelectsTheItemAndMovesTheCursor) {
    h.list.SetItemLines(NumberedLines(3));
    h.Click(1, 3);
    EXPECT_EQ(h.list.CursorRow(), 3);
    EXPECT_EQ(h.editor.CurrentRow(), 3);
    EXPECT_EQ(h.fields.link, "link3");
    EXPECT_EQ(h.fields.caption, "caption3");
    EXPECT_EQ(h.fields.label, "Current Item [3]");

    h.Click(1, 3);  // the cursor cell itself is still a request
    EXPECT_EQ(h.fields.notifications, 2);

    // A double click is two clicks: Qt sends press, release, double click, release.
    QTest::mouseClick(h.Viewport(), Qt::LeftButton, {}, h.CellCenter(0, 2));
    QTest::mouseDClick(h.Viewport(), Qt::LeftButton, {}, h.CellCenter(0, 2));
    QTest::mouseRelease(h.Viewport(), Qt::LeftButton, {}, h.CellCenter(0, 2));
    EXPECT_EQ(h.fields.notifications, 4);
    EXPECT_EQ(h.editor.CurrentRow(), 2);
}

TEST_F(ItemGridTest, ClickOnLinkCellNotifiesButLeavesTheCursor) {
    h.list.SetItemLines(NumberedLines(3));
    h.Click(0, 3);
    EXPECT_EQ(h.editor.CurrentRow(), 3);
    EXPECT_EQ(h.editor.CurrentColumn(), 0);
    EXPECT_EQ(h.fields.label, "Current Item [3]");
    EXPECT_EQ(h.list.CursorRow(), 1);
}

TEST_F(ItemGridTest, ClicksOnTitleRowAndBelowTheLastRowRequestNothing) {
    h.list.SetItemLines(NumberedLines(2));
    h.Click(1, 0);
    h.Click(0, 0);
    QTest::mouseClick(h.Viewport(), Qt::LeftButton, {}, QPoint(150, 200));
    QTest::mouseClick(h.Viewport(), Qt::RightButton, {}, h.CellCenter(1, 2));
    EXPECT_EQ(h.fields.notifications, 0);
    EXPECT_EQ(h.list.CursorRow(), 1);
}

// Six items, a blank item in row 4 under the cursor.
TEST_F(ItemGridTest, ClickAwayFromABlankItemRemovesIt) {
    struct Case {
        int clicked_row;
        int cursor_after;
        int notifications;
        int current_row_after;
    };
    for (const Case& c : {Case{2, 2, 0, 4}, Case{6, 5, 1, 5}}) {
        SCOPED_TRACE(c.clicked_row);
        GridHarness g;
        g.list.SetItemLines(LineList{"a=1", "b=2", "c=3", "=", "e=5", "f=6"});
        g.PlaceCursor(4);
        g.Click(1, c.clicked_row);
        EXPECT_THAT(g.Lines(), ElementsAre("a=1", "b=2", "c=3", "e=5", "f=6"));
        EXPECT_EQ(g.list.CursorRow(), c.cursor_after);
        EXPECT_EQ(g.fields.notifications, c.notifications);
        EXPECT_EQ(g.editor.CurrentRow(), c.current_row_after);
    }
}

TEST_F(ItemGridTest, DragWithTheButtonHeldMovesTheCursorAndScrollsPastTheEdge) {
    h.list.SetItemLines(NumberedLines(50));
    QWidget* viewport = h.Viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, h.CellCenter(1, 1));
    QTest::mouseMove(viewport, h.CellCenter(1, 4));
    EXPECT_EQ(h.list.CursorRow(), 4);
    QTest::mouseMove(viewport, h.CellCenter(1, 4) + QPoint(5, 1));  // same cell: no request
    EXPECT_EQ(h.fields.notifications, 2);

    const QPoint below(150, viewport->height() + 10);
    for (int i = 0; i < 20; ++i) {
        QTest::mouseMove(viewport, below + QPoint(i % 2, 0));
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, below);
    EXPECT_GT(h.list.CursorRow(), h.grid->VisibleItemRows());
    EXPECT_TRUE(h.CursorVisible());
}

// ---- Keys and wheel ----

TEST_F(ItemGridTest, KeysAreMoveRequestsToTheirCells) {
    struct Case {
        const char* name;
        int start;
        int key;
        Qt::KeyboardModifiers modifiers;
        int cursor_after;
        int notified_row;  // 0: no notification
        int notified_column;
    };
    const int page = h.grid->VisibleItemRows();
    const Case cases[] = {
        {"Down", 1, Qt::Key_Down, {}, 2, 2, 1},
        {"Down at the last row", 30, Qt::Key_Down, {}, 30, 0, 0},
        {"Up", 5, Qt::Key_Up, {}, 4, 4, 1},
        {"Up at row 1", 1, Qt::Key_Up, {}, 1, 0, 0},
        {"Ctrl+Up", 5, Qt::Key_Up, Qt::ControlModifier, 1, 1, 1},
        {"Ctrl+Down", 5, Qt::Key_Down, Qt::ControlModifier, 30, 30, 1},
        {"Ctrl+Down at the last row", 30, Qt::Key_Down, Qt::ControlModifier, 30, 0, 0},
        {"Home", 5, Qt::Key_Home, {}, 1, 1, 1},
        {"End", 5, Qt::Key_End, {}, 30, 30, 1},
        {"Page Down", 1, Qt::Key_PageDown, {}, 1 + page, 1 + page, 1},
        {"Page Down near the end", 25, Qt::Key_PageDown, {}, 30, 30, 1},
        {"Page Up", 20, Qt::Key_PageUp, {}, 20 - page, 20 - page, 1},
        {"Page Up near the top", 3, Qt::Key_PageUp, {}, 1, 1, 1},
        {"Left", 5, Qt::Key_Left, {}, 5, 5, 0},
        {"Right", 5, Qt::Key_Right, {}, 5, 0, 0},
        {"Tab", 5, Qt::Key_Tab, {}, 5, 6, 0},
        {"Tab at the last row", 30, Qt::Key_Tab, {}, 30, 0, 0},
        {"Shift+Tab", 5, Qt::Key_Tab, Qt::ShiftModifier, 5, 5, 0},
        {"Backtab", 5, Qt::Key_Backtab, Qt::ShiftModifier, 5, 5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GridHarness g;
        g.list.SetItemLines(NumberedLines(30));
        g.PlaceCursor(c.start);
        g.Key(c.key, c.modifiers);
        EXPECT_EQ(g.list.CursorRow(), c.cursor_after);
        if (c.notified_row == 0) {
            EXPECT_EQ(g.fields.notifications, 0);
        } else {
            EXPECT_EQ(g.fields.notifications, 1);
            EXPECT_EQ(g.editor.CurrentRow(), c.notified_row);
            EXPECT_EQ(g.editor.CurrentColumn(), c.notified_column);
        }
        EXPECT_TRUE(g.CursorVisible());
    }
}

TEST_F(ItemGridTest, KeyMoveAwayFromABlankItemRemovesIt) {
    h.list.SetItemLines(LineList{"a=1", "=", "c=3"});
    h.PlaceCursor(2);
    h.Key(Qt::Key_Down);  // the request for row 3 becomes one for row 2, now showing c
    EXPECT_THAT(h.Lines(), ElementsAre("a=1", "c=3"));
    EXPECT_EQ(h.list.CursorRow(), 2);
    EXPECT_EQ(h.fields.caption, "3");
}

TEST_F(ItemGridTest, ClickTakesTheFocusAndTabNeverLeavesTheGrid) {
    auto* other = new QLineEdit(&h.window);
    other->move(8, 270);
    other->show();
    h.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&h.window));
    other->setFocus();
    h.Click(1, 1);
    ASSERT_TRUE(h.grid->hasFocus());
    h.Key(Qt::Key_Tab);
    h.Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_TRUE(h.grid->hasFocus());
}

TEST_F(ItemGridTest, OtherKeysChangeNothing) {
    h.list.SetItemLines(LineList{"a=1", "=", "c=3"});
    h.PlaceCursor(2);
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_F2, Qt::Key_Delete, Qt::Key_Insert,
                    Qt::Key_A, Qt::Key_Space}) {
        h.Key(key);
    }
    EXPECT_THAT(h.Lines(), ElementsAre("a=1", "=", "c=3"));
    EXPECT_EQ(h.list.CursorRow(), 2);
    EXPECT_EQ(h.fields.notifications, 0);
}

TEST_F(ItemGridTest, EscRemovesOnlyABlankItemUnderTheCursor) {
    h.list.SetItemLines(LineList{"a=1", "b=2", "="});
    h.PlaceCursor(1);
    h.Key(Qt::Key_Escape);
    EXPECT_EQ(h.list.ItemCount(), 3);

    h.PlaceCursor(3);  // the blank item is the last: the cursor first steps up to row 2
    h.Key(Qt::Key_Escape);
    EXPECT_THAT(h.Lines(), ElementsAre("a=1", "b=2"));
    EXPECT_EQ(h.list.CursorRow(), 2);
    EXPECT_EQ(h.fields.label, "Current Item [2]");
}

TEST_F(ItemGridTest, WheelStepsOneRowPerNotchWithinTheRows) {
    h.list.SetItemLines(NumberedLines(10));
    h.Wheel(-120);
    EXPECT_EQ(h.list.CursorRow(), 2);
    h.Wheel(-360);
    EXPECT_EQ(h.list.CursorRow(), 5);
    h.Wheel(60);  // half a notch waits for the other half
    EXPECT_EQ(h.list.CursorRow(), 5);
    h.Wheel(60);
    EXPECT_EQ(h.list.CursorRow(), 4);
    EXPECT_EQ(h.fields.notifications, 5);

    h.fields.notifications = 0;
    h.Wheel(120 * 20);
    EXPECT_EQ(h.list.CursorRow(), 1);
    h.Wheel(120);
    h.Wheel(-120 * 50);
    EXPECT_EQ(h.list.CursorRow(), 10);
    h.Wheel(-120);
    EXPECT_EQ(h.fields.notifications, 3 + 9);
}

// ---- Scrolling ----

TEST_F(ItemGridTest, CursorMovesScrollItIntoView) {
    h.list.SetItemLines(NumberedLines(1000));
    h.Key(Qt::Key_End);
    EXPECT_EQ(h.list.CursorRow(), 1000);
    EXPECT_TRUE(h.CursorVisible());
    EXPECT_EQ(h.grid->verticalScrollBar()->value(), h.grid->verticalScrollBar()->maximum());
    for (int i = 0; i < 5; ++i) {
        h.Key(Qt::Key_PageUp);
        EXPECT_TRUE(h.CursorVisible());
    }
    h.Key(Qt::Key_Home);
    EXPECT_EQ(h.grid->FirstVisibleRow(), 1);

    // Scrolling alone leaves the cursor where it is; the next key brings it back.
    h.grid->verticalScrollBar()->setValue(500);
    EXPECT_EQ(h.list.CursorRow(), 1);
    h.Key(Qt::Key_Down);
    EXPECT_TRUE(h.CursorVisible());
}

TEST_F(ItemGridTest, ShorterListMovesTheCursorToTheNewLastRowInView) {
    h.list.SetItemLines(NumberedLines(500));
    h.Key(Qt::Key_End);
    h.list.SetItemLines(NumberedLines(40));
    EXPECT_EQ(h.list.CursorRow(), 40);
    EXPECT_TRUE(h.CursorVisible());
    EXPECT_EQ(h.fields.label, "Current Item [40]");
}

TEST_F(ItemGridTest, ThumbDragScrollsWhileHeld) {
    h.list.SetItemLines(NumberedLines(1000));
    QScrollBar* bar = h.grid->verticalScrollBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(300);
    EXPECT_EQ(h.grid->FirstVisibleRow(), 301);
    bar->setSliderDown(false);
}

TEST_F(ItemGridTest, ScrollRangeOfAMillionItemsComesFromTheRowCount) {
    h.list.SetItemLines(NumberedLines(1'000'000));
    QScrollBar* bar = h.grid->verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 1'000'000 - h.grid->VisibleItemRows());
    EXPECT_EQ(bar->pageStep(), h.grid->VisibleItemRows());
    h.Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(h.list.CursorRow(), 1'000'000);
    EXPECT_TRUE(h.CursorVisible());
    h.Click(1, 1'000'000 - 1);
    EXPECT_EQ(h.fields.caption, "caption999999");
}

// ---- Lifetime and errors ----

TEST(ItemGridLifetime, ListOutlivesTheGrid) {
    ItemList list;
    {
        testing::FakeMessages messages;
        QWidget window;
        new ItemGrid(list, messages, &window);
    }
    list.AppendItem("a", "b");  // must not reach the destroyed grid
    EXPECT_EQ(list.ItemCount(), 2);
}

TEST(ItemGridErrors, AnErrorWhileHandlingInputGoesToTheErrorBox) {
    ItemList list;
    list.SetSelectionHandler([](int, int, bool&) { throw Error("Selection failed"); });
    testing::FakeMessages messages;
    QWidget window;
    auto* grid = new ItemGrid(list, messages, &window);
    grid->setGeometry(0, 0, 265, 241);
    window.show();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(100, 28));
    QTest::keyClick(grid, Qt::Key_Left);
    EXPECT_THAT(messages.errors, ElementsAre("Selection failed", "Selection failed"));
}

// Drops reach the handler as local paths, in the drop's order, and only while one is set; a
// handler's error goes to the error box like any input's.
TEST_F(ItemGridTest, DroppedFilesReachTheHandlerAsLocalPaths) {
    EXPECT_FALSE(testing::DropLocalFiles(h.Viewport(), {"/site/a.html"}).entered);

    std::vector<std::vector<std::string>> drops;
    h.grid->SetDropHandler([&](const std::vector<std::string>& paths) {
        drops.push_back(paths);
        if (paths.front() == "/fails") {
            throw Error("The scan failed");
        }
    });
    const testing::DropOutcome outcome =
        testing::DropLocalFiles(h.Viewport(), {"/site/b folder", "/site/a #1.html"});
    EXPECT_TRUE(outcome.entered);
    EXPECT_TRUE(outcome.dropped);
    EXPECT_THAT(drops, ElementsAre(ElementsAre("/site/b folder", "/site/a #1.html")));
    EXPECT_FALSE(testing::TextDragEnters(h.Viewport()));

    testing::DropLocalFiles(h.Viewport(), {"/fails"});
    EXPECT_THAT(h.messages.errors, ElementsAre("The scan failed"));

    h.grid->SetDropHandler(nullptr);
    EXPECT_FALSE(testing::DropLocalFiles(h.Viewport(), {"/site/a.html"}).entered);
}

}  // namespace
}  // namespace tolvane
