#include "core/items/item_editor.h"

namespace tolvane {
namespace {

constexpr int kLinkColumn = 0;
constexpr int kCaptionColumn = 1;

}  // namespace

ItemEditor::ItemEditor(ItemList& list, ItemFields& fields) : list_(list), fields_(fields) {
    list_.SetSelectionHandler(
        [this](int column, int row, bool& grant) { SelectCell(column, row, grant); });
}

void ItemEditor::SelectCell(int column, int row, bool& grant) {
    current_row_ = row;
    current_column_ = column;
    grant = true;
    fields_.SetLinkText(ItemList::TypedLink(list_.CellText(kLinkColumn, row)));
    fields_.SetCaptionText(list_.CellText(kCaptionColumn, row));
    fields_.SetCurrentItemLabel("Current Item [" + std::to_string(row) + "]");
}

void ItemEditor::AddItem() {
    list_.AppendItem(ItemList::StoredLink(fields_.LinkText()), fields_.CaptionText());
}

void ItemEditor::ReplaceItem() {
    if (current_row_ < 0 || current_row_ >= list_.RowCount()) {
        return;
    }
    // Both texts as they stand now: the first write must not change what the second takes.
    const std::string link = ItemList::StoredLink(fields_.LinkText());
    const std::string caption = fields_.CaptionText();
    list_.SetCellText(kLinkColumn, current_row_, link);
    list_.SetCellText(kCaptionColumn, current_row_, caption);
}

void ItemEditor::DeleteItem() {
    // The last remaining item is never deleted this way.
    if (list_.RowCount() < 3 || current_row_ < 0 || current_row_ >= list_.RowCount()) {
        return;
    }
    list_.RemoveRow(current_row_);
}

void ItemEditor::MoveUp() {
    if (current_row_ >= list_.RowCount() || current_row_ <= 1) {
        return;
    }
    MoveCurrentItem(current_row_ - 2);
}

void ItemEditor::MoveDown() {
    if (current_row_ >= list_.RowCount() - 1 || current_row_ <= 0) {
        return;
    }
    MoveCurrentItem(current_row_);
}

void ItemEditor::MoveToTop() {
    if (current_row_ >= list_.RowCount() || current_row_ <= 1) {
        return;
    }
    MoveCurrentItem(0);
}

void ItemEditor::MoveToBottom() {
    if (current_row_ >= list_.RowCount() - 1 || current_row_ <= 0) {
        return;
    }
    MoveCurrentItem(list_.RowCount() - 2);
}

void ItemEditor::ClearList() {
    if (!fields_.Confirm("Confirmation", "Clear list?")) {
        return;
    }
    list_.ClearItems();
    // Leave one blank item, so that the next Add item fills it instead of appending after it.
    list_.SetCellText(kLinkColumn, 1, "");
    list_.SetCellText(kCaptionColumn, 1, "");
}

void ItemEditor::MoveCurrentItem(int to_line) {
    list_.MoveItem(current_row_ - 1, to_line);
    // The selection follows the moved item (the view's cursor stays on its row number), so
    // pressing the same button again moves the same item further.
    bool grant = true;
    SelectCell(current_column_, to_line + 1, grant);
}

}  // namespace tolvane
