#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/files/line_list.h"

namespace tolvane {

// The item list and the rules of the grid that shows it, without any window.
//
// Each item is one line, link + "=" + caption, read back by splitting at the first "=".
// Rows: row 0 is the title row, row r >= 1 shows item r (line r - 1); the row count is
// max(item count, 1) + 1, so an empty list still shows one empty placeholder row.
//
// The grid's cursor always sits in the caption column on a row from 1 to row count - 1. The
// selection notification (ItemEditor::SelectCell in the program) runs inside move requests, before
// the cursor moves; the calls nest: notification inside move request inside RemoveRow and
// inside the change adjustment. A view binds to this class and only draws what it says.
// Calls naming a row or a column outside the grid change nothing (the title row is never
// written and never takes the cursor).
class ItemList {
  public:
    // SelectCell(column, row, grant): grant is true on entry; false refuses the move.
    using SelectionHandler = std::function<void(int column, int row, bool& grant)>;
    // Told after every change of the lines or of the cursor, so a view can redraw; one
    // operation may tell it more than once (a cursor step inside a removal, say).
    using ChangeListener = std::function<void()>;

    static constexpr std::string_view kInitialLine = "index.shtml=First record";

    ItemList();

    void SetSelectionHandler(SelectionHandler handler);
    void SetChangeListener(ChangeListener listener);

    int ItemCount() const;
    int RowCount() const;
    int CursorRow() const { return cursor_row_; }

    // Row 0: the column title; other rows: "" while the list is empty, else the read-back rule.
    std::string_view CellText(int column, int row) const;
    // Both cells of item `row` (1 to ItemCount()) read back at once, for a walk over all items.
    struct ItemCells {
        std::string_view link;
        std::string_view caption;
    };
    ItemCells CellsOfItem(int row) const;
    // The line rules every item follows: a line read back as its cells (a line without "=" is
    // all caption), the line of two cells, and the blank item ("" or a lone "=").
    static ItemCells ReadBackLine(std::string_view line);
    static std::string ComposeLine(std::string_view link, std::string_view caption);
    static bool IsBlankLine(std::string_view line);
    // A link as it is typed (a query string may hold "=") and as its line keeps it: every "="
    // stored as the character reference "&#61;", which the search page reads as "=" as an HTML
    // attribute would, so that the line's first "=" still ends the link. TypedLink gives the
    // typed form back, so StoredLink(TypedLink(link)) is `link` for every link a line holds.
    static std::string StoredLink(std::string_view typed_link);
    static std::string TypedLink(std::string_view stored_link);
    void SetCellText(int column, int row, std::string_view text);
    void AppendItem(std::string_view link, std::string_view caption);
    void RemoveRow(int row);
    // Both are 0-based line indices below the item count.
    void MoveItem(int from, int to);
    void ClearItems();
    const LineList& ItemLines() const { return lines_; }
    // Replaces the whole content as one change.
    void SetItemLines(LineList lines);
    bool IsBlankRow() const;

    // What the view asks for when the user clicks a cell or presses a key that moves the
    // cursor (the move request with its blank-item step).
    void MoveRequest(int column, int row);
    // Esc in the view: removes a blank item under the cursor.
    void EscapePressed();

  private:
    void AdjustAfterChange(int old_row_count);
    void Notify();

    LineList lines_;
    int cursor_row_ = 1;
    bool removal_in_progress_ = false;
    SelectionHandler on_select_;
    ChangeListener on_change_;
};

}  // namespace tolvane
