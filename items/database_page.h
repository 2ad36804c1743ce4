#pragma once

#include <QFrame>
#include <memory>
#include <string>
#include <string_view>

#include "app/messages.h"
#include "files/file_chooser.h"
#include "items/item_list.h"
#include "items/item_operations.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tolvane {

class ItemGrid;

// The Database page `DBPanel`: the grid `list`, the caption and link fields, the current-item
// label and the buttons of the item operations and of Save list / Open list. The page is the
// ItemFields of its operations: the fields and Label2 are its widgets, the confirmation goes
// through Messages; its ItemOperations hold listSelectCell, the grid's selection handler.
// Every handler a widget runs is guarded, so its error reaches the error box.
class DatabasePage : public QFrame, public ItemFields {
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

    ItemOperations& Operations() { return *operations_; }

    // The handlers, named after their controls. They raise; the widgets call them guarded.
    void BitBtn1Click();  // Add item
    void BitBtn2Click();  // Replace item
    void BitBtn3Click();  // Delete item
    void BitBtn4Click();  // Save list
    void BitBtn5Click();  // Open list
    void BitBtn6Click();  // Move up
    void BitBtn7Click();  // Move down
    void BitBtn8Click();  // Move to top
    void BitBtn9Click();  // Move to bottom
    void Button1Click();  // Clear list
    // A key typed in the caption field (Edit2) or the link field (Edit1), as its character.
    void Edit2KeyPress(char key);
    void Edit1KeyPress(char key);

    // ItemFields: Edit1 is the link, Edit2 the caption, Label2 the current item.
    std::string LinkText() const override;
    std::string CaptionText() const override;
    void SetLinkText(std::string_view text) override;
    void SetCaptionText(std::string_view text) override;
    void SetCurrentItemLabel(std::string_view text) override;
    bool Confirm(std::string_view caption, std::string_view text) override;

  protected:
    void changeEvent(QEvent* event) override;
    // Key presses of the two fields reach Edit1KeyPress / Edit2KeyPress before the field.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    bool ReplaceApplies() const;

    ItemList& list_;
    Messages& messages_;
    FileChooser& save_list_dialog_;
    FileChooser& open_list_dialog_;

    QLineEdit* edit1_ = nullptr;
    QLineEdit* edit2_ = nullptr;
    QLabel* label2_ = nullptr;
    ItemGrid* grid_ = nullptr;
    std::unique_ptr<ItemOperations> operations_;
};

}  // namespace tolvane
