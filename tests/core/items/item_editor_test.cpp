#include "core/items/item_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/core_fakes.h"

namespace tolvane {
namespace {

using testing::FakeFields;
using Lines = std::vector<std::string>;

class ItemEditorTest : public ::testing::Test {
  protected:
    // Items "L1=C1" .. "Ln=Cn".
    void Fill(int count) {
        Lines lines;
        for (int i = 1; i <= count; ++i) {
            lines.push_back("L" + std::to_string(i) + "=C" + std::to_string(i));
        }
        list.SetItemLines(LineList(lines));
    }
    // A click on the caption cell of `row`: cursor and CurrentRow both go there.
    void Click(int row) { list.MoveRequest(1, row); }
    Lines LinesNow() const { return list.ItemLines().ToVector(); }

    ItemList list;
    FakeFields fields;
    ItemEditor editor{list, fields};
};

TEST_F(ItemEditorTest, SelectionShowsTheItemInTheFields) {
    Fill(3);
    Click(3);
    EXPECT_EQ(editor.CurrentRow(), 3);
    EXPECT_EQ(editor.CurrentColumn(), 1);
    EXPECT_EQ(fields.link, "L3");
    EXPECT_EQ(fields.caption, "C3");
    EXPECT_EQ(fields.label, "Current Item [3]");

    list.MoveRequest(0, 2);  // the link column selects, but the cursor stays
    EXPECT_EQ(editor.CurrentRow(), 2);
    EXPECT_EQ(editor.CurrentColumn(), 0);
    EXPECT_EQ(fields.label, "Current Item [2]");
    EXPECT_EQ(list.CursorRow(), 3);
}

enum class Move { kUp, kDown, kTop, kBottom };

struct MoveCase {
    Move move;
    int items;
    int current_row;
    Lines lines;    // item numbers afterwards
    int row_after;  // CurrentRow afterwards
};

void PrintTo(const MoveCase& c, std::ostream* out) {
    const char* names[] = {"up", "down", "top", "bottom"};
    *out << names[static_cast<int>(c.move)] << " with " << c.items << " items from row "
         << c.current_row;
}

class MoveTableTest : public ItemEditorTest, public ::testing::WithParamInterface<MoveCase> {
  protected:
    void Run(Move move) {
        switch (move) {
            case Move::kUp:
                editor.MoveUp();
                break;
            case Move::kDown:
                editor.MoveDown();
                break;
            case Move::kTop:
                editor.MoveToTop();
                break;
            case Move::kBottom:
                editor.MoveToBottom();
                break;
        }
    }
};

TEST_P(MoveTableTest, MovesTheCurrentItemOrNothing) {
    const MoveCase& c = GetParam();
    Fill(c.items);
    bool grant = true;
    editor.SelectCell(1, c.current_row, grant);
    const int cursor = list.CursorRow();
    Run(c.move);

    Lines expected;
    for (const std::string& n : c.lines) {
        expected.push_back("L" + n + "=C" + n);
    }
    EXPECT_EQ(LinesNow(), expected);
    EXPECT_EQ(editor.CurrentRow(), c.row_after);
    EXPECT_EQ(list.CursorRow(), cursor);  // moves never move the view's cursor
    if (c.row_after != c.current_row) {
        // The selection followed the moved item.
        const std::string moved = std::to_string(c.current_row);
        EXPECT_EQ(fields.link, "L" + moved);
        EXPECT_EQ(fields.label, "Current Item [" + std::to_string(c.row_after) + "]");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MoveTableTest,
    ::testing::Values(
        // Move up: needs 2 <= CurrentRow <= item count.
        MoveCase{Move::kUp, 3, 2, {"2", "1", "3"}, 1},
        MoveCase{Move::kUp, 3, 3, {"1", "3", "2"}, 2},
        MoveCase{Move::kUp, 3, 1, {"1", "2", "3"}, 1},
        MoveCase{Move::kUp, 3, 4, {"1", "2", "3"}, 4},
        MoveCase{Move::kUp, 3, 0, {"1", "2", "3"}, 0},
        // Move down: needs 1 <= CurrentRow <= item count - 1.
        MoveCase{Move::kDown, 3, 1, {"2", "1", "3"}, 2},
        MoveCase{Move::kDown, 3, 2, {"1", "3", "2"}, 3},
        MoveCase{Move::kDown, 3, 3, {"1", "2", "3"}, 3},
        MoveCase{Move::kDown, 3, 0, {"1", "2", "3"}, 0},
        // Move to top.
        MoveCase{Move::kTop, 5, 4, {"4", "1", "2", "3", "5"}, 1},
        MoveCase{Move::kTop, 5, 5, {"5", "1", "2", "3", "4"}, 1},
        MoveCase{Move::kTop, 5, 1, {"1", "2", "3", "4", "5"}, 1},
        MoveCase{Move::kTop, 5, 6, {"1", "2", "3", "4", "5"}, 6},
        // Move to bottom.
        MoveCase{Move::kBottom, 5, 2, {"1", "3", "4", "5", "2"}, 5},
        MoveCase{Move::kBottom, 5, 1, {"2", "3", "4", "5", "1"}, 5},
        MoveCase{Move::kBottom, 5, 5, {"1", "2", "3", "4", "5"}, 5},
        MoveCase{Move::kBottom, 5, 0, {"1", "2", "3", "4", "5"}, 0},
        // Fewer than two items: every move does nothing.
        MoveCase{Move::kUp, 1, 1, {"1"}, 1}, MoveCase{Move::kDown, 1, 1, {"1"}, 1},
        MoveCase{Move::kTop, 1, 1, {"1"}, 1}, MoveCase{Move::kBottom, 1, 1, {"1"}, 1},
        MoveCase{Move::kUp, 0, 2, {}, 2}, MoveCase{Move::kBottom, 0, 1, {}, 1}));

TEST_F(ItemEditorTest, MoveDownTwiceTakesTheSameItemFurther) {
    Fill(3);
    Click(1);
    editor.MoveDown();
    editor.MoveDown();
    EXPECT_EQ(LinesNow(), (Lines{"L2=C2", "L3=C3", "L1=C1"}));
    EXPECT_EQ(editor.CurrentRow(), 3);
    EXPECT_EQ(fields.label, "Current Item [3]");
    EXPECT_EQ(list.CursorRow(), 1);
}

TEST_F(ItemEditorTest, DeleteOnTheLastRowSelectsTheRowAboveFirst) {
    Fill(4);
    Click(4);
    editor.DeleteItem();
    EXPECT_EQ(LinesNow(), (Lines{"L1=C1", "L2=C2", "L3=C3"}));
    EXPECT_EQ(fields.link, "L3");
    EXPECT_EQ(fields.label, "Current Item [3]");
    EXPECT_EQ(editor.CurrentRow(), 3);
    EXPECT_EQ(list.RowCount(), 4);
    EXPECT_EQ(list.CursorRow(), 3);
}

TEST_F(ItemEditorTest, DeleteInTheMiddleLeavesTheFieldsAlone) {
    Fill(4);
    Click(2);
    editor.DeleteItem();
    EXPECT_EQ(LinesNow(), (Lines{"L1=C1", "L3=C3", "L4=C4"}));
    EXPECT_EQ(list.CursorRow(), 2);
    EXPECT_EQ(editor.CurrentRow(), 2);
    EXPECT_EQ(fields.link, "L2");  // still the removed item
}

TEST_F(ItemEditorTest, DeleteNeverRemovesTheLastItem) {
    editor.DeleteItem();
    EXPECT_EQ(list.ItemCount(), 1);
    list.SetItemLines(LineList{});
    editor.DeleteItem();
    EXPECT_EQ(list.ItemCount(), 0);
}

TEST_F(ItemEditorTest, CurrentRowBeyondTheListDisarmsEveryOperation) {
    Fill(5);
    Click(3);
    editor.MoveToBottom();
    editor.DeleteItem();  // removes the moved item in row 5
    EXPECT_EQ(LinesNow(), (Lines{"L1=C1", "L2=C2", "L4=C4", "L5=C5"}));
    EXPECT_EQ(list.CursorRow(), 3);
    EXPECT_EQ(editor.CurrentRow(), 5);

    fields.link = "x";
    fields.caption = "y";
    editor.ReplaceItem();
    editor.DeleteItem();
    editor.MoveUp();
    editor.MoveDown();
    editor.MoveToTop();
    editor.MoveToBottom();
    EXPECT_EQ(LinesNow(), (Lines{"L1=C1", "L2=C2", "L4=C4", "L5=C5"}));
}

TEST_F(ItemEditorTest, ReplaceWritesBothCellsOfTheCurrentRow) {
    Fill(2);
    Click(2);
    fields.link = "P";
    fields.caption = "K=V";
    editor.ReplaceItem();
    EXPECT_EQ(LinesNow(), (Lines{"L1=C1", "P=K=V"}));
    EXPECT_EQ(editor.CurrentRow(), 2);
}

// A query string's "=" would end the link in its line: the list keeps them as "&#61;", and the
// link field shows them as typed, so an item the user does not edit stays as it is.
TEST_F(ItemEditorTest, LinksKeepTheirEqualsSignsThroughAddSelectAndReplace) {
    list.SetItemLines(LineList{"a&#61;b=first"});
    fields.link = "page.php?id=3&x=4";
    fields.caption = "x=y";
    editor.AddItem();
    EXPECT_EQ(LinesNow(), (Lines{"a&#61;b=first", "page.php?id&#61;3&x&#61;4=x=y"}));

    Click(2);
    EXPECT_EQ(fields.link, "page.php?id=3&x=4");
    EXPECT_EQ(fields.caption, "x=y");
    editor.ReplaceItem();
    Click(1);
    EXPECT_EQ(fields.link, "a=b");
    editor.ReplaceItem();
    EXPECT_EQ(LinesNow(), (Lines{"a&#61;b=first", "page.php?id&#61;3&x&#61;4=x=y"}));

    fields.link = "q=1";
    editor.ReplaceItem();
    EXPECT_EQ(LinesNow(), (Lines{"q&#61;1=first", "page.php?id&#61;3&x&#61;4=x=y"}));
}

TEST_F(ItemEditorTest, EmptyListTakesItsFirstItemFromAddOrReplace) {
    list.SetItemLines(LineList{});
    fields.link = "a";
    fields.caption = "b";
    editor.ReplaceItem();
    EXPECT_EQ(LinesNow(), Lines{"a=b"});

    list.SetItemLines(LineList{});
    editor.AddItem();
    EXPECT_EQ(LinesNow(), Lines{"a=b"});
    EXPECT_EQ(list.CursorRow(), 1);
}

TEST_F(ItemEditorTest, ClearListLeavesOneBlankItemThatAddFills) {
    Fill(4);
    fields.answer_yes = false;
    editor.ClearList();
    EXPECT_EQ(list.ItemCount(), 4);
    EXPECT_EQ(fields.questions, Lines{"Confirmation: Clear list?"});

    fields.answer_yes = true;
    fields.link = "keep";
    editor.ClearList();
    EXPECT_EQ(LinesNow(), Lines{"="});
    EXPECT_EQ(list.CellText(0, 1), "");
    EXPECT_EQ(list.CellText(1, 1), "");
    EXPECT_EQ(fields.link, "keep");  // the cursor was on row 1: no notification

    fields.link = "L";
    fields.caption = "K";
    editor.AddItem();
    EXPECT_EQ(LinesNow(), Lines{"L=K"});
}

TEST_F(ItemEditorTest, ClearListFromALowerRowSelectsRowOne) {
    Fill(4);
    Click(3);
    editor.ClearList();
    EXPECT_EQ(LinesNow(), Lines{"="});
    EXPECT_EQ(list.CursorRow(), 1);
    EXPECT_EQ(editor.CurrentRow(), 1);
    EXPECT_EQ(fields.link, "");
    EXPECT_EQ(fields.caption, "");
    EXPECT_EQ(fields.label, "Current Item [1]");
}

}  // namespace
}  // namespace tolvane
