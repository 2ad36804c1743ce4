#include "core/items/item_list.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using Lines = std::vector<std::string>;

struct Selection {
    int column;
    int row;
    std::string link;  // what the row showed while the handler ran
    std::string caption;
    bool operator==(const Selection&) const = default;
};

void PrintTo(const Selection& s, std::ostream* out) {
    *out << "(" << s.column << ", " << s.row << ", \"" << s.link << "\", \"" << s.caption << "\")";
}

// An item list whose selection handler records every notification.
class ItemListTest : public ::testing::Test {
  protected:
    ItemListTest() {
        list.SetSelectionHandler([this](int column, int row, bool& grant) {
            selections.push_back({column, row, std::string(list.CellText(0, row)),
                                  std::string(list.CellText(1, row))});
            grant = grant_answer;
        });
        list.SetChangeListener([this] { ++changes; });
    }

    // Lines "L1=C1" .. "Ln=Cn", with `blank_row` (if any) holding "=".
    void Fill(int count, int blank_row = 0) {
        Lines lines;
        for (int i = 1; i <= count; ++i) {
            lines.push_back(i == blank_row ? "="
                                           : "L" + std::to_string(i) + "=C" + std::to_string(i));
        }
        list.SetItemLines(LineList(lines));
    }

    // Puts the cursor on `row` by a click on its caption cell, then forgets the notification.
    void PlaceCursor(int row) {
        list.MoveRequest(1, row);
        ASSERT_EQ(list.CursorRow(), row);
        selections.clear();
        changes = 0;
    }

    Lines LinesNow() const { return list.ItemLines().ToVector(); }

    ItemList list;
    std::vector<Selection> selections;
    int changes = 0;
    bool grant_answer = true;
};

struct ReadBackCase {
    std::string line;
    std::string link;
    std::string caption;
};

class ReadBackTest : public ::testing::TestWithParam<ReadBackCase> {};

TEST_P(ReadBackTest, SplitsAtTheFirstEquals) {
    ItemList list;
    list.SetItemLines(LineList{GetParam().line});
    EXPECT_EQ(list.CellText(0, 1), GetParam().link);
    EXPECT_EQ(list.CellText(1, 1), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(Lines, ReadBackTest,
                         ::testing::Values(ReadBackCase{"index.shtml=First record", "index.shtml",
                                                        "First record"},
                                           ReadBackCase{"a=b=c", "a", "b=c"},
                                           ReadBackCase{"no equals here", "", "no equals here"},
                                           ReadBackCase{"", "", ""}, ReadBackCase{"=", "", ""},
                                           ReadBackCase{"=x", "", "x"}, ReadBackCase{"x=", "x", ""},
                                           ReadBackCase{"a\xe9=\xff b", "a\xe9", "\xff b"}));

TEST(StoredLinkTest, KeepsEveryEqualsOfALinkAsAReferenceAndGivesItBack) {
    const struct {
        std::string typed;
        std::string stored;
    } cases[] = {
        {"index.shtml", "index.shtml"},
        {"page.php?id=3&x=4", "page.php?id&#61;3&x&#61;4"},
        {"==", "&#61;&#61;"},
        {"=", "&#61;"},
        {"", ""},
        {"caf\xe9?q=\xff", "caf\xe9?q&#61;\xff"},
        // Other references are left as they are: only "&#61;" is the stored "=".
        {"a&#x3D;b&#061;c&amp;", "a&#x3D;b&#061;c&amp;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(ItemList::StoredLink(c.typed), c.stored);
        EXPECT_EQ(ItemList::TypedLink(c.stored), c.typed);
        // The stored link survives its line: it reads back whole.
        EXPECT_EQ(ItemList::ReadBackLine(ItemList::ComposeLine(c.stored, "a=b")).link, c.stored);
    }
    // A typed "&#61;" is shown as "=" when it comes back, and stored the same way again.
    EXPECT_EQ(ItemList::TypedLink("a&#61;b"), "a=b");
    EXPECT_EQ(ItemList::StoredLink(ItemList::TypedLink("a&#61;b")), "a&#61;b");
    EXPECT_EQ(ItemList::TypedLink("&#61&#6;1;&#61"), "&#61&#6;1;&#61");
}

TEST_F(ItemListTest, StartsWithOneItemAndTitles) {
    EXPECT_EQ(LinesNow(), Lines{"index.shtml=First record"});
    EXPECT_EQ(list.ItemCount(), 1);
    EXPECT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.CursorRow(), 1);
    EXPECT_EQ(list.CellText(0, 0), "Link to");
    EXPECT_EQ(list.CellText(1, 0), "Item text");
}

TEST_F(ItemListTest, EmptyListShowsAPlaceholderRowThatIsNoItem) {
    list.SetItemLines(LineList{});
    EXPECT_EQ(list.ItemCount(), 0);
    EXPECT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.CellText(0, 1), "");
    EXPECT_EQ(list.CellText(1, 1), "");
    EXPECT_FALSE(list.IsBlankRow());

    list.AppendItem("a", "b");
    EXPECT_EQ(LinesNow(), Lines{"a=b"});
    EXPECT_EQ(list.CursorRow(), 1);
    EXPECT_TRUE(selections.empty());
}

TEST_F(ItemListTest, SetCellTextRecomposesFromTheOtherCellAsReadBack) {
    list.SetItemLines(LineList{});
    list.SetCellText(0, 1, "P=Q");  // empty list: appended with an empty caption
    EXPECT_EQ(LinesNow(), Lines{"P=Q="});
    list.SetCellText(1, 1, "K");  // the link reads back only up to its first "="
    EXPECT_EQ(LinesNow(), Lines{"P=K"});
    list.SetCellText(0, 1, "P=Q");
    EXPECT_EQ(LinesNow(), Lines{"P=Q=K"});
    EXPECT_EQ(list.CellText(0, 1), "P");
    EXPECT_EQ(list.CellText(1, 1), "Q=K");
    list.SetCellText(1, 2, "new");  // one past the end appends
    EXPECT_EQ(LinesNow(), (Lines{"P=Q=K", "=new"}));
}

TEST_F(ItemListTest, AppendItemFillsABlankItemUnderTheCursorInPlace) {
    Fill(5, 3);
    PlaceCursor(3);
    list.AppendItem("L=x", "K");
    EXPECT_EQ(LinesNow(), (Lines{"L1=C1", "L2=C2", "L=K", "L4=C4", "L5=C5"}));
    EXPECT_EQ(list.CursorRow(), 3);
    EXPECT_TRUE(selections.empty());

    list.AppendItem("", "");  // the cursor row is no blank item now
    EXPECT_EQ(list.ItemCount(), 6);
    EXPECT_EQ(LinesNow().back(), "=");
}

TEST_F(ItemListTest, BlankItemIsRemovedWhenTheCursorLeavesIt) {
    // Six items, a blank one in row 4 under the cursor.
    Fill(6, 4);
    PlaceCursor(4);

    list.MoveRequest(1, 2);  // upwards: the cursor lands on row 2 without a notification
    EXPECT_EQ(LinesNow(), (Lines{"L1=C1", "L2=C2", "L3=C3", "L5=C5", "L6=C6"}));
    EXPECT_EQ(list.CursorRow(), 2);
    EXPECT_TRUE(selections.empty());

    Fill(6, 4);
    PlaceCursor(4);
    list.MoveRequest(1, 6);  // downwards: row 6's item is now in row 5, and is selected there
    EXPECT_EQ(LinesNow(), (Lines{"L1=C1", "L2=C2", "L3=C3", "L5=C5", "L6=C6"}));
    EXPECT_EQ(list.CursorRow(), 5);
    EXPECT_EQ(selections, (std::vector<Selection>{{1, 5, "L6", "C6"}}));
}

TEST_F(ItemListTest, BlankItemOnTheLastRowStepsTheCursorUpBeforeItGoes) {
    Fill(4, 4);
    PlaceCursor(4);
    list.MoveRequest(1, 1);
    EXPECT_EQ(LinesNow(), (Lines{"L1=C1", "L2=C2", "L3=C3"}));
    EXPECT_EQ(list.CursorRow(), 1);
    // RemoveRow's own step up selects row 3; the target row itself gets no notification.
    EXPECT_EQ(selections, (std::vector<Selection>{{1, 3, "L3", "C3"}}));
}

TEST_F(ItemListTest, RequestsThatKeepABlankItem) {
    Fill(3, 2);
    PlaceCursor(2);
    list.MoveRequest(1, 2);  // a click on the cursor cell itself
    EXPECT_EQ(list.ItemCount(), 3);
    EXPECT_EQ(selections, (std::vector<Selection>{{1, 2, "", ""}}));
    list.MoveRequest(1, 0);  // the title row requests nothing
    list.MoveRequest(1, 4);  // nor does a row past the end
    EXPECT_EQ(list.ItemCount(), 3);
    EXPECT_EQ(selections.size(), 1u);
}

TEST_F(ItemListTest, LinkColumnAndRefusedRequestsLeaveTheCursor) {
    Fill(3);
    list.MoveRequest(0, 3);
    EXPECT_EQ(selections, (std::vector<Selection>{{0, 3, "L3", "C3"}}));
    EXPECT_EQ(list.CursorRow(), 1);

    grant_answer = false;
    list.MoveRequest(1, 2);
    EXPECT_EQ(selections.size(), 2u);
    EXPECT_EQ(list.CursorRow(), 1);
}

TEST_F(ItemListTest, RemoveRowOnTheCursorRowAtTheBottomSelectsTheRowAboveFirst) {
    Fill(4);
    PlaceCursor(4);
    list.RemoveRow(4);
    // The notification ran while row 3 still showed its old item, before the removal.
    EXPECT_EQ(selections, (std::vector<Selection>{{1, 3, "L3", "C3"}}));
    EXPECT_EQ(LinesNow(), (Lines{"L1=C1", "L2=C2", "L3=C3"}));
    EXPECT_EQ(list.CursorRow(), 3);
    EXPECT_EQ(list.RowCount(), 4);
}

TEST_F(ItemListTest, RemoveRowLooksAtTheCursorNotAtTheRow) {
    Fill(4);
    PlaceCursor(4);
    list.RemoveRow(1);
    EXPECT_EQ(selections, (std::vector<Selection>{{1, 3, "L3", "C3"}}));
    EXPECT_EQ(LinesNow(), (Lines{"L2=C2", "L3=C3", "L4=C4"}));
    EXPECT_EQ(list.CursorRow(), 3);

    PlaceCursor(1);
    list.RemoveRow(1);  // the cursor stays on its row number, which shows another item now
    EXPECT_TRUE(selections.empty());
    EXPECT_EQ(list.CursorRow(), 1);
    EXPECT_EQ(list.CellText(1, 1), "C3");
}

TEST_F(ItemListTest, RemovalDoesNotNest) {
    Fill(4);
    PlaceCursor(4);
    list.SetSelectionHandler([this](int, int, bool&) { list.RemoveRow(1); });
    list.RemoveRow(4);
    EXPECT_EQ(LinesNow(), (Lines{"L1=C1", "L2=C2", "L3=C3"}));
}

TEST_F(ItemListTest, RemovalMarkIsReleasedWhenTheHandlerThrows) {
    Fill(4);
    PlaceCursor(4);
    list.SetSelectionHandler([](int, int, bool&) { throw std::runtime_error("handler failed"); });
    EXPECT_THROW(list.RemoveRow(4), std::runtime_error);
    EXPECT_EQ(list.ItemCount(), 4);
    list.SetSelectionHandler({});
    list.RemoveRow(1);
    EXPECT_EQ(list.ItemCount(), 3);
}

TEST_F(ItemListTest, EscRemovesOnlyABlankItem) {
    Fill(3, 2);
    PlaceCursor(1);
    list.EscapePressed();
    EXPECT_EQ(list.ItemCount(), 3);
    PlaceCursor(2);
    list.EscapePressed();
    EXPECT_EQ(LinesNow(), (Lines{"L1=C1", "L3=C3"}));
    EXPECT_EQ(list.CursorRow(), 2);
}

TEST_F(ItemListTest, ClearItemsSendsTheCursorToRowOne) {
    Fill(4);
    PlaceCursor(3);
    list.ClearItems();
    EXPECT_EQ(list.ItemCount(), 0);
    EXPECT_EQ(list.CursorRow(), 1);
    EXPECT_EQ(selections, (std::vector<Selection>{{1, 1, "", ""}}));

    changes = 0;
    list.ClearItems();  // an empty list: nothing changes and nothing is told
    EXPECT_EQ(changes, 0);
}

TEST_F(ItemListTest, ClearItemsWithTheCursorOnRowOneSelectsNothing) {
    Fill(4);
    list.ClearItems();
    EXPECT_TRUE(selections.empty());
    EXPECT_EQ(list.CursorRow(), 1);
}

TEST_F(ItemListTest, SetItemLinesIsOneChange) {
    Fill(1000);
    EXPECT_EQ(list.ItemCount(), 1000);
    PlaceCursor(8);
    Fill(2000);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(selections.empty());

    // Fewer lines than the cursor row: the cursor goes to the new last row, selecting it.
    list.SetItemLines(LineList{"a=1", "b=2", "c=3"});
    EXPECT_EQ(list.CursorRow(), 3);
    EXPECT_EQ(selections, (std::vector<Selection>{{1, 3, "c", "3"}}));

    selections.clear();
    list.SetItemLines(LineList{"x=1", "y=2", "z=3"});  // same row count: no adjustment
    EXPECT_TRUE(selections.empty());
    EXPECT_EQ(list.CursorRow(), 3);
}

TEST_F(ItemListTest, CursorStaysOnTheLastRowEvenWhenTheAdjustmentIsRefused) {
    Fill(5);
    PlaceCursor(5);
    grant_answer = false;
    list.SetItemLines(LineList{"a=1", "b=2"});
    EXPECT_EQ(list.CursorRow(), 2);
}

TEST_F(ItemListTest, MoveItemCountsTheTargetAfterTakingOut) {
    Fill(5);
    PlaceCursor(2);
    list.MoveItem(1, 4);
    EXPECT_EQ(LinesNow(), (Lines{"L1=C1", "L3=C3", "L4=C4", "L5=C5", "L2=C2"}));
    list.MoveItem(4, 0);
    EXPECT_EQ(LinesNow(), (Lines{"L2=C2", "L1=C1", "L3=C3", "L4=C4", "L5=C5"}));
    list.MoveItem(2, 2);
    list.MoveItem(0, 5);  // out of range: ignored
    EXPECT_EQ(LinesNow(), (Lines{"L2=C2", "L1=C1", "L3=C3", "L4=C4", "L5=C5"}));
    EXPECT_EQ(list.CursorRow(), 2);
    EXPECT_TRUE(selections.empty());
    EXPECT_EQ(changes, 2);
}

TEST_F(ItemListTest, OutOfRangeCallsChangeNothing) {
    Fill(2);
    changes = 0;
    list.RemoveRow(0);
    list.RemoveRow(3);
    list.SetCellText(0, 0, "title");
    list.SetCellText(2, 1, "no such column");
    EXPECT_EQ(LinesNow(), (Lines{"L1=C1", "L2=C2"}));
    EXPECT_EQ(list.CellText(1, 7), "");
    EXPECT_EQ(changes, 0);
}

}  // namespace
}  // namespace tolvane
