#include "gui/pages/database_page.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>

#include "core/items/list_file.h"
#include "core/site/site_items.h"
#include "core/site/site_scan.h"
#include "gui/widgets/byte_field.h"
#include "gui/widgets/event_guard.h"
#include "gui/widgets/item_grid.h"
#include "gui/widgets/override_cursor.h"
#include "gui/widgets/page_controls.h"
#include "gui/widgets/widget_text.h"

namespace tolvane {

namespace {

constexpr char kEnter = 13;

// How often a long scan of dropped pages lets the window paint.
constexpr int kPaintIntervalMs = 30;

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
        const OverrideCursor normal(Qt::ArrowCursor);
        return dialog_.Choose();
    }

  private:
    FileChooser& dialog_;
};

}  // namespace

DatabasePage::DatabasePage(ItemList& list, Messages& messages, FileChooser& save_list_dialog,
                           FileChooser& open_list_dialog, QWidget* parent)
    : PageFrame("databasePage", parent),
      list_(list),
      messages_(messages),
      save_list_dialog_(save_list_dialog),
      open_list_dialog_(open_list_dialog) {
    CreateControls();
    SetTabOrder(this, {"captionField", "linkField", "addItemButton", "replaceItemButton",
                       "deleteItemButton", "saveListButton", "openListButton", "clearListButton",
                       "itemGrid", "moveUpButton", "moveDownButton", "moveToTopButton",
                       "moveToBottomButton"});
    caption_field_->installEventFilter(this);
    link_field_->installEventFilter(this);
    // The fields exist now, so the editor may show items in them from the first selection. It
    // binds its SelectCell as the list's selection handler.
    editor_ = std::make_unique<ItemEditor>(list_, *this);
}

DatabasePage::~DatabasePage() {
    // The list outlives the page: it must not call into the page's widgets once they are gone.
    list_.SetSelectionHandler(nullptr);
}

void DatabasePage::CreateControls() {
    NewLabel(this, "itemsLabel", "All items", {8, 8});
    item_grid_ = new ItemGrid(list_, messages_, this);
    item_grid_->setGeometry(8, 24, 265, 241);
    item_grid_->setAccessibleName("All items");
    item_grid_->setToolTip(
        "Drop web pages or site folders here to add an item for each page, captioned with its "
        "title");
    item_grid_->SetDropHandler(
        [this](const std::vector<std::string>& paths) { AddDroppedPages(paths); });

    current_item_label_ =
        NewLabel(this, "currentItemLabel", ToWidgetText(ItemEditor::kInitialLabel), {280, 8});
    NewLabel(this, "captionLabel", "Item Caption", {280, 32});
    QLabel* caption_hint =
        NewLabel(this, "captionHintLabel", "Use HTML tags or HTML code to create special effects",
                 {280, 48});
    caption_hint->setWordWrap(true);
    QFont regular = caption_hint->font();
    regular.setBold(false);
    caption_hint->setFont(regular);
    caption_hint->resize(162, 26);

    caption_field_ = NewField<ByteField>(this, "captionField", "Item caption");
    caption_field_->setGeometry(280, 80, 177, 21);
    caption_field_->setText(ToWidgetText(kSampleCaption));
    NewLabel(this, "linkLabel", "Item link", {280, 112});
    link_field_ = NewField<ByteField>(this, "linkField", "Item link");
    link_field_->setGeometry(280, 128, 177, 21);
    link_field_->setText(ToWidgetText(kSampleLink));

    NewGlyphButton(this, messages_, "moveUpButton", "Move up", "move_up", {288, 160, 25, 25},
                   &DatabasePage::MoveUp);
    NewButton(this, messages_, "addItemButton", "Add item", "add_item", {344, 160, 100, 25},
              &DatabasePage::AddItem);
    NewGlyphButton(this, messages_, "moveDownButton", "Move down", "move_down", {288, 192, 25, 25},
                   &DatabasePage::MoveDown);
    NewButton(this, messages_, "replaceItemButton", "Replace item", "replace_item",
              {344, 192, 100, 25}, &DatabasePage::ReplaceItem);
    NewGlyphButton(this, messages_, "moveToTopButton", "Move to top", "move_top",
                   {288, 224, 25, 25}, &DatabasePage::MoveToTop);
    NewButton(this, messages_, "deleteItemButton", "Delete item", "delete_item",
              {344, 224, 100, 25}, &DatabasePage::DeleteItem);
    NewGlyphButton(this, messages_, "moveToBottomButton", "Move to bottom", "move_bottom",
                   {288, 256, 25, 25}, &DatabasePage::MoveToBottom);
    NewButton(this, messages_, "clearListButton", "Clear list", nullptr, {344, 256, 100, 25},
              &DatabasePage::ClearList);
    NewButton(this, messages_, "saveListButton", "Save list", "save_list", {8, 272, 100, 25},
              &DatabasePage::SaveList);
    NewButton(this, messages_, "openListButton", "Open list", "open_list", {176, 272, 100, 25},
              &DatabasePage::OpenList);
}

bool DatabasePage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == link_field_ || watched == caption_field_)) {
        const char key = TypedCharacter(*static_cast<QKeyEvent*>(event));
        RunGuarded(messages_, [this, watched, key] {
            watched == caption_field_ ? OnCaptionKey(key) : OnLinkKey(key);
        });
    }
    // The field goes on to handle the key as it would without the handlers.
    return PageFrame::eventFilter(watched, event);
}

void DatabasePage::AddItem() {
    editor_->AddItem();
    // Ready for the next item: caption first, as the Enter-key flow expects.
    caption_field_->setFocus();
    link_field_->clear();
    caption_field_->clear();
}

bool DatabasePage::ReplaceApplies() const {
    const int row = editor_->CurrentRow();
    return row >= 0 && row < list_.RowCount();
}

void DatabasePage::ReplaceItem() {
    const bool replaces = ReplaceApplies();
    editor_->ReplaceItem();
    if (replaces) {
        link_field_->clear();
        caption_field_->clear();
    }
}

void DatabasePage::DeleteItem() {
    editor_->DeleteItem();
}

void DatabasePage::SaveList() {
    const OverrideCursor wait(Qt::WaitCursor);
    DialogWithNormalCursor dialog(save_list_dialog_);
    SaveListWithDialog(list_, dialog);
}

void DatabasePage::OpenList() {
    const OverrideCursor wait(Qt::WaitCursor);
    DialogWithNormalCursor dialog(open_list_dialog_);
    OpenListWithDialog(list_, dialog);
}

void DatabasePage::AddDroppedPages(const std::vector<std::string>& paths) {
    PagesAdded added;
    int unreadable = 0;
    {
        const OverrideCursor wait(Qt::WaitCursor);
        QElapsedTimer since_paint;
        since_paint.start();
        // Paint events only: the user's input waits until the list has taken the pages.
        SiteScanner scanner(std::string(kDefaultLinkPrefix), [&since_paint] {
            if (since_paint.elapsed() >= kPaintIntervalMs) {
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                since_paint.restart();
            }
        });
        scanner.ScanPaths(paths);
        added = AddPagesToList(list_, scanner.Pages());
        unreadable = scanner.UnreadableCount();
    }
    messages_.ShowNotice(ScanReportText(added, unreadable));
}

void DatabasePage::MoveUp() {
    editor_->MoveUp();
}
void DatabasePage::MoveDown() {
    editor_->MoveDown();
}
void DatabasePage::MoveToTop() {
    editor_->MoveToTop();
}
void DatabasePage::MoveToBottom() {
    editor_->MoveToBottom();
}
void DatabasePage::ClearList() {
    editor_->ClearList();
}

void DatabasePage::OnCaptionKey(char key) {
    if (key == kEnter) {
        link_field_->setFocus();
    }
}

void DatabasePage::OnLinkKey(char key) {
    if (key == kEnter) {
        AddItem();
    }
}

std::string DatabasePage::LinkText() const {
    return link_field_->Bytes();
}
std::string DatabasePage::CaptionText() const {
    return caption_field_->Bytes();
}
void DatabasePage::SetLinkText(std::string_view text) {
    link_field_->SetBytes(text);
}
void DatabasePage::SetCaptionText(std::string_view text) {
    caption_field_->SetBytes(text);
}

void DatabasePage::SetCurrentItemLabel(std::string_view text) {
    current_item_label_->setText(ToWidgetText(text));
    current_item_label_->adjustSize();
}

bool DatabasePage::Confirm(std::string_view caption, std::string_view text) {
    return messages_.Confirm(caption, text);
}

}  // namespace tolvane
