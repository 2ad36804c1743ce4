#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/items/item_editor.h"
#include "core/items/item_list.h"
#include "core/services/file_chooser.h"
#include "core/services/messages.h"
#include "gui/widgets/page_frame.h"

class QLabel;
class QPushButton;

namespace tolvane {

class ByteField;
class ItemGrid;

// The Database page: the item grid, the caption and link fields, the current-item label and
// the buttons that edit, move, clear, save and open the list. The page is the ItemFields of its
// item editor: the fields and the label are its widgets, the confirmation goes through
// Messages; the editor's SelectCell is the grid's selection handler. Every handler a widget
// runs is guarded, so its error reaches the error box.
class DatabasePage : public PageFrame, public ItemFields {
    Q_OBJECT

  public:
    // The sample web address the link field starts with, written with two backslashes after the
    // scheme where an address has two slashes.
    static constexpr std::string_view kSampleLink = "http:\\\\www.example.com";
    static constexpr std::string_view kSampleCaption = "This is item caption";

    // The list and the three interfaces must outlive the page.
    DatabasePage(ItemList& list, Messages& messages, FileChooser& save_list_dialog,
                 FileChooser& open_list_dialog, QWidget* parent = nullptr);
    ~DatabasePage() override;

    ItemEditor& Editor() { return *editor_; }

    // The buttons' handlers. They raise; the widgets call them guarded.
    void AddItem();
    void ReplaceItem();
    void DeleteItem();
    void SaveList();
    void OpenList();
    void MoveUp();
    void MoveDown();
    void MoveToTop();
    void MoveToBottom();
    void ClearList();
    // Files and folders dropped on the item grid: one item for each web page among them and
    // below the folders (SiteScanner's rules, links beginning with "../"), after the last
    // item that is not blank; then a notice tells what was added and skipped. The window
    // goes on painting while the pages are read.
    void AddDroppedPages(const std::vector<std::string>& paths);
    // A key typed in the caption field or the link field, as its character: Enter in the
    // caption moves on to the link, Enter in the link adds the item.
    void OnCaptionKey(char key);
    void OnLinkKey(char key);

    // ItemFields
    std::string LinkText() const override;
    std::string CaptionText() const override;
    void SetLinkText(std::string_view text) override;
    void SetCaptionText(std::string_view text) override;
    void SetCurrentItemLabel(std::string_view text) override;
    bool Confirm(std::string_view caption, std::string_view text) override;

  protected:
    // Key presses of the two fields reach OnLinkKey / OnCaptionKey before the field.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    bool ReplaceApplies() const;

    ItemList& list_;
    Messages& messages_;
    FileChooser& save_list_dialog_;
    FileChooser& open_list_dialog_;

    ByteField* link_field_ = nullptr;
    ByteField* caption_field_ = nullptr;
    QLabel* current_item_label_ = nullptr;
    ItemGrid* item_grid_ = nullptr;
    std::unique_ptr<ItemEditor> editor_;
};

}  // namespace tolvane
