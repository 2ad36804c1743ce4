#include "items/database_page.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "app/event_guard.h"
#include "app/page_controls.h"
#include "app/wait_cursor.h"
#include "app/widget_text.h"
#include "items/item_grid.h"
#include "items/list_file.h"

namespace tolvane {

namespace {

constexpr char kEnter = 13;

// The character a key press types, as the Enter-key handlers see it.
char TypedCharacter(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) {
        return kEnter;
    }
    const QByteArray text = event.text().toLocal8Bit();
    return text.size() == 1 ? text.front() : '\0';
}

// A list file dialog that shows the normal cursor while it waits for the user, so the wait
// cursor held around Save list and Open list only covers the file work.
class DialogWithNormalCursor : public FileChooser {
  public:
    explicit DialogWithNormalCursor(FileChooser& dialog) : dialog_(dialog) {}

    std::optional<std::string> Choose() override {
        const NormalCursor normal;
        return dialog_.Choose();
    }

  private:
    FileChooser& dialog_;
};

}  // namespace

DatabasePage::DatabasePage(ItemList& list, Messages& messages, FileChooser& save_list_dialog,
                           FileChooser& open_list_dialog, QWidget* parent)
    : QFrame(parent),
      list_(list),
      messages_(messages),
      save_list_dialog_(save_list_dialog),
      open_list_dialog_(open_list_dialog) {
    setObjectName("DBPanel");
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    resize(460, 300);
    CreateControls();
    SetTabOrder(this, {"Edit2", "Edit1", "BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5",
                       "Button1", "list", "BitBtn6", "BitBtn7", "BitBtn8", "BitBtn9"});
    edit2_->installEventFilter(this);
    edit1_->installEventFilter(this);
    // The fields exist now, so the operations may show items in them from the first selection.
    // They bind their listSelectCell as the list's selection handler.
    operations_ = std::make_unique<ItemOperations>(list_, *this);
}

DatabasePage::~DatabasePage() {
    // The list outlives the page: it must not call into the page's widgets once they are gone.
    list_.SetSelectionHandler(nullptr);
}

void DatabasePage::CreateControls() {
    NewLabel(this, "Label1", "All items", {8, 8});
    grid_ = new ItemGrid(list_, this);
    grid_->setObjectName("list");
    grid_->setGeometry(8, 24, 265, 241);
    grid_->SetMessages(&messages_);  // the grid's input handlers report to the error box too

    label2_ = NewLabel(this, "Label2", ToWidgetText(ItemOperations::kInitialLabel), {280, 8});
    NewLabel(this, "Label3", "Item Caption", {280, 32});
    QLabel* label5 =
        NewLabel(this, "Label5", "Use HTML tags or HTML code to create special effects", {280, 48});
    label5->setWordWrap(true);
    QFont regular = label5->font();
    regular.setBold(false);
    label5->setFont(regular);
    label5->resize(162, 26);

    edit2_ = NewField(this, "Edit2");
    edit2_->setGeometry(280, 80, 177, 21);
    edit2_->setText(ToWidgetText(kSampleCaption));
    NewLabel(this, "Label4", "Item link", {280, 112});
    edit1_ = NewField(this, "Edit1");
    edit1_->setGeometry(280, 128, 177, 21);
    edit1_->setText(ToWidgetText(kSampleLink));

    NewButton(this, messages_, "BitBtn6", "", "move_up", {288, 160, 25, 25},
              &DatabasePage::BitBtn6Click);
    NewButton(this, messages_, "BitBtn1", "Add item", "add_item", {344, 160, 100, 25},
              &DatabasePage::BitBtn1Click);
    NewButton(this, messages_, "BitBtn7", "", "move_down", {288, 192, 25, 25},
              &DatabasePage::BitBtn7Click);
    NewButton(this, messages_, "BitBtn2", "Replace item", "replace_item", {344, 192, 100, 25},
              &DatabasePage::BitBtn2Click);
    NewButton(this, messages_, "BitBtn8", "", "move_top", {288, 224, 25, 25},
              &DatabasePage::BitBtn8Click);
    NewButton(this, messages_, "BitBtn3", "Delete item", "delete_item", {344, 224, 100, 25},
              &DatabasePage::BitBtn3Click);
    NewButton(this, messages_, "BitBtn9", "", "move_bottom", {288, 256, 25, 25},
              &DatabasePage::BitBtn9Click);
    NewButton(this, messages_, "Button1", "Clear list", nullptr, {344, 256, 100, 25},
              &DatabasePage::Button1Click);
    NewButton(this, messages_, "BitBtn4", "Save list", "save_list", {8, 272, 100, 25},
              &DatabasePage::BitBtn4Click);
    NewButton(this, messages_, "BitBtn5", "Open list", "open_list", {176, 272, 100, 25},
              &DatabasePage::BitBtn5Click);
}

bool DatabasePage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == edit1_ || watched == edit2_)) {
        const char key = TypedCharacter(*static_cast<QKeyEvent*>(event));
        RunGuarded(messages_, [this, watched, key] {
            watched == edit2_ ? Edit2KeyPress(key) : Edit1KeyPress(key);
        });
    }
    // The field goes on to handle the key as it would without the handlers.
    return QFrame::eventFilter(watched, event);
}

void DatabasePage::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // The labels size themselves to their text in the font the window gives the page.
        FitLabels(this);
    }
}

void DatabasePage::BitBtn1Click() {
    operations_->AddItem();
    // Ready for the next item: caption first, as the Enter-key flow expects.
    edit2_->setFocus();
    edit1_->clear();
    edit2_->clear();
}

bool DatabasePage::ReplaceApplies() const {
    const int row = operations_->CurrentRow();
    return row >= 0 && row < list_.RowCount();
}

void DatabasePage::BitBtn2Click() {
    const bool replaces = ReplaceApplies();
    operations_->ReplaceItem();
    if (replaces) {
        edit1_->clear();
        edit2_->clear();
    }
}

void DatabasePage::BitBtn3Click() {
    operations_->DeleteItem();
}

void DatabasePage::BitBtn4Click() {
    const WaitCursor wait;
    DialogWithNormalCursor dialog(save_list_dialog_);
    SaveListWithDialog(list_, dialog);
}

void DatabasePage::BitBtn5Click() {
    const WaitCursor wait;
    DialogWithNormalCursor dialog(open_list_dialog_);
    OpenListWithDialog(list_, dialog);
}

void DatabasePage::BitBtn6Click() {
    operations_->MoveUp();
}
void DatabasePage::BitBtn7Click() {
    operations_->MoveDown();
}
void DatabasePage::BitBtn8Click() {
    operations_->MoveToTop();
}
void DatabasePage::BitBtn9Click() {
    operations_->MoveToBottom();
}
void DatabasePage::Button1Click() {
    operations_->ClearList();
}

void DatabasePage::Edit2KeyPress(char key) {
    if (key == kEnter) {
        edit1_->setFocus();
    }
}

void DatabasePage::Edit1KeyPress(char key) {
    if (key == kEnter) {
        BitBtn1Click();
    }
}

std::string DatabasePage::LinkText() const {
    return FromWidgetText(edit1_->text());
}
std::string DatabasePage::CaptionText() const {
    return FromWidgetText(edit2_->text());
}
void DatabasePage::SetLinkText(std::string_view text) {
    edit1_->setText(ToWidgetText(text));
}
void DatabasePage::SetCaptionText(std::string_view text) {
    edit2_->setText(ToWidgetText(text));
}

void DatabasePage::SetCurrentItemLabel(std::string_view text) {
    label2_->setText(ToWidgetText(text));
    label2_->adjustSize();
}

bool DatabasePage::Confirm(std::string_view caption, std::string_view text) {
    return messages_.Confirm(caption, text);
}

}  // namespace tolvane
