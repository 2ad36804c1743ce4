#pragma once

#include <string>
#include <string_view>

#include "core/items/item_list.h"

namespace tolvane {

// What the item editor touches outside the list: the link field, the caption field, the
// current-item label and the confirmation box. The Database page implements it with its
// widgets; tests with a fake.
class ItemFields {
  public:
    virtual ~ItemFields() = default;
    virtual std::string LinkText() const = 0;
    virtual std::string CaptionText() const = 0;
    virtual void SetLinkText(std::string_view text) = 0;
    virtual void SetCaptionText(std::string_view text) = 0;
    virtual void SetCurrentItemLabel(std::string_view text) = 0;
    // Yes/No question without icon; true only for Yes.
    virtual bool Confirm(std::string_view caption, std::string_view text) = 0;
};

// The program's operations on the item list and its own current item (CurrentRow,
// CurrentColumn), with their guards. Binds itself as the list's selection handler. The link
// field holds a link as it is typed; the list keeps it as ItemList::StoredLink makes it.
class ItemEditor {
  public:
    static constexpr std::string_view kInitialLabel = "Current item: [1]";

    ItemEditor(ItemList& list, ItemFields& fields);

    int CurrentRow() const { return current_row_; }
    int CurrentColumn() const { return current_column_; }

    // The selection handler: makes row r the current item and shows it in the fields.
    void SelectCell(int column, int row, bool& grant);

    void AddItem();
    void ReplaceItem();
    void DeleteItem();
    void MoveUp();
    void MoveDown();
    void MoveToTop();
    void MoveToBottom();
    void ClearList();

  private:
    // Moves the current item's line to `to_line` and selects the row that now holds it.
    void MoveCurrentItem(int to_line);

    ItemList& list_;
    ItemFields& fields_;
    int current_row_ = 1;
    int current_column_ = 1;
};

}  // namespace tolvane
