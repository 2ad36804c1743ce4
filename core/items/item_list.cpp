#include "core/items/item_list.h"

#include <string>
#include <utility>

namespace tolvane {
namespace {

constexpr std::string_view kLinkTitle = "Link to";
constexpr std::string_view kCaptionTitle = "Item text";
constexpr int kLinkColumn = 0;
constexpr int kCaptionColumn = 1;

// How a link's line keeps an "=" of the link.
constexpr std::string_view kEqualsReference = "&#61;";

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string replaced;
    std::size_t done = 0;
    for (std::size_t at = text.find(from); at != std::string_view::npos;
         at = text.find(from, done)) {
        replaced.append(text.substr(done, at - done)).append(to);
        done = at + from.size();
    }
    return replaced.append(text.substr(done));
}

bool IsCellColumn(int column) {
    return column == kLinkColumn || column == kCaptionColumn;
}

// Holds the removal-in-progress mark for one RemoveRow, released also when a step throws.
class RemovalMark {
  public:
    explicit RemovalMark(bool& mark) : mark_(mark) { mark_ = true; }
    ~RemovalMark() { mark_ = false; }
    RemovalMark(const RemovalMark&) = delete;
    RemovalMark& operator=(const RemovalMark&) = delete;

  private:
    bool& mark_;
};

}  // namespace

ItemList::ItemCells ItemList::ReadBackLine(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return {std::string_view(), line};
    }
    return {line.substr(0, equals), line.substr(equals + 1)};
}

std::string ItemList::ComposeLine(std::string_view link, std::string_view caption) {
    std::string line;
    line.reserve(link.size() + 1 + caption.size());
    line.append(link).append("=").append(caption);
    return line;
}

bool ItemList::IsBlankLine(std::string_view line) {
    return line.empty() || line == "=";
}

std::string ItemList::StoredLink(std::string_view typed_link) {
    return ReplaceAll(typed_link, "=", kEqualsReference);
}

std::string ItemList::TypedLink(std::string_view stored_link) {
    return ReplaceAll(stored_link, kEqualsReference, "=");
}

ItemList::ItemList() : lines_{kInitialLine} {}

void ItemList::SetSelectionHandler(SelectionHandler handler) {
    on_select_ = std::move(handler);
}

void ItemList::SetChangeListener(ChangeListener listener) {
    on_change_ = std::move(listener);
}

int ItemList::ItemCount() const {
    return static_cast<int>(lines_.size());
}

int ItemList::RowCount() const {
    // An empty list still shows one placeholder row under the title row.
    return (lines_.empty() ? 1 : ItemCount()) + 1;
}

std::string_view ItemList::CellText(int column, int row) const {
    if (!IsCellColumn(column)) {
        return {};
    }
    if (row == 0) {
        return column == kLinkColumn ? kLinkTitle : kCaptionTitle;
    }
    // The placeholder row of an empty list, and rows past the last item, read empty.
    if (row < 1 || row > ItemCount()) {
        return {};
    }
    const ItemCells cells = CellsOfItem(row);
    return column == kLinkColumn ? cells.link : cells.caption;
}

ItemList::ItemCells ItemList::CellsOfItem(int row) const {
    return ReadBackLine(lines_[static_cast<std::size_t>(row - 1)]);
}

void ItemList::SetCellText(int column, int row, std::string_view text) {
    if (!IsCellColumn(column) || row < 1) {
        return;  // the title row is never written
    }
    const std::string line = column == kLinkColumn
                                 ? ComposeLine(text, CellText(kCaptionColumn, row))
                                 : ComposeLine(CellText(kLinkColumn, row), text);
    const int old_row_count = RowCount();
    if (row - 1 < ItemCount()) {
        lines_.Replace(static_cast<std::size_t>(row - 1), line);
    } else {
        lines_.PushBack(line);
    }
    AdjustAfterChange(old_row_count);
}

void ItemList::AppendItem(std::string_view link, std::string_view caption) {
    if (IsBlankRow()) {
        // Fill the blank item under the cursor instead of adding another one after it.
        const int row = cursor_row_;
        SetCellText(kLinkColumn, row, link);
        SetCellText(kCaptionColumn, row, caption);
        return;
    }
    const int old_row_count = RowCount();
    lines_.PushBack(ComposeLine(link, caption));
    AdjustAfterChange(old_row_count);
}

void ItemList::RemoveRow(int row) {
    if (removal_in_progress_ || row < 1 || row > ItemCount()) {
        return;
    }
    RemovalMark mark(removal_in_progress_);
    // The row under the cursor is about to disappear from the bottom: step the cursor up first,
    // so the selection follows the item that stays there.
    if (cursor_row_ >= RowCount() - 1 && ItemCount() > 1) {
        MoveRequest(kCaptionColumn, cursor_row_ - 1);
    }
    // The handler may have changed the list meanwhile; remove only a line that still exists.
    if (row > ItemCount()) {
        return;
    }
    const int old_row_count = RowCount();
    lines_.Erase(static_cast<std::size_t>(row - 1));
    AdjustAfterChange(old_row_count);
}

void ItemList::MoveItem(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= ItemCount() || to >= ItemCount()) {
        return;
    }
    const int old_row_count = RowCount();
    lines_.Move(static_cast<std::size_t>(from), static_cast<std::size_t>(to));
    AdjustAfterChange(old_row_count);
}

void ItemList::ClearItems() {
    if (lines_.empty()) {
        return;
    }
    const int old_row_count = RowCount();
    lines_.Clear();
    AdjustAfterChange(old_row_count);
}

void ItemList::SetItemLines(LineList lines) {
    const int old_row_count = RowCount();
    lines_ = std::move(lines);
    AdjustAfterChange(old_row_count);
}

bool ItemList::IsBlankRow() const {
    if (cursor_row_ - 1 >= ItemCount()) {
        return false;
    }
    return IsBlankLine(lines_[static_cast<std::size_t>(cursor_row_ - 1)]);
}

void ItemList::MoveRequest(int column, int row) {
    if (!IsCellColumn(column) || row < 1 || row >= RowCount()) {
        return;  // the title row and rows past the end take no cursor
    }
    if (row != cursor_row_ && !lines_.empty() && IsBlankRow() && !removal_in_progress_) {
        // Leaving a blank item removes it. Below it, the target row's item moved one row up.
        const int old = cursor_row_;
        RemoveRow(old);
        if (row < old) {
            cursor_row_ = row;
            Notify();
        } else if (row > old) {
            MoveRequest(column, row - 1);
        }
        return;
    }
    bool grant = true;
    if (on_select_) {
        on_select_(column, row, grant);
    }
    // Only the caption column takes the cursor; a refused request leaves it where it was.
    if (column == kCaptionColumn && grant && row < RowCount()) {
        cursor_row_ = row;
        Notify();
    }
}

void ItemList::EscapePressed() {
    if (IsBlankRow()) {
        RemoveRow(cursor_row_);
    }
}

void ItemList::AdjustAfterChange(int old_row_count) {
    const int new_row_count = RowCount();
    if (new_row_count != old_row_count && cursor_row_ >= new_row_count) {
        MoveRequest(kCaptionColumn, new_row_count - 1);
        // The grid cannot keep a cursor below its last row, whatever the handler answered.
        if (cursor_row_ >= new_row_count) {
            cursor_row_ = new_row_count - 1;
        }
    }
    Notify();
}

void ItemList::Notify() {
    if (on_change_) {
        on_change_();
    }
}

}  // namespace tolvane
