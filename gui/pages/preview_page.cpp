#include "gui/pages/preview_page.h"

#include <QLabel>
#include <QLineEdit>

#include "gui/widgets/event_guard.h"
#include "gui/widgets/override_cursor.h"
#include "gui/widgets/page_controls.h"
#include "gui/widgets/style_chooser.h"
#include "gui/widgets/tags_editor.h"
#include "gui/widgets/widget_text.h"

namespace tolvane {

PreviewPage::PreviewPage(const ItemList& items, Messages& messages,
                         std::unique_ptr<BrowserWidget> browser, FileChooser& style_sheet_dialog,
                         FileChooser& export_dialog, QWidget* parent)
    : PageFrame("previewPage", parent),
      messages_(messages),
      browser_(*browser),
      style_sheet_dialog_(style_sheet_dialog),
      export_dialog_(export_dialog),
      builder_(std::string(), items, *this) {
    // The view comes first, so the buttons that overlap its top edge lie above it.
    browser.release()->setParent(this);
    CreateControls();
    SetTabOrder(this,
                {"browserView", "titleField", "buttonCaptionField", "tagsEditor", "reloadButton",
                 "homeButton", "buildPreviewButton", "exportSearchButton", "styleChooser"});
}

void PreviewPage::CreateControls() {
    browser_.setObjectName("browserView");
    browser_.setAccessibleName("Preview of the search page");
    browser_.setGeometry(1, 168, 458, 131);
    browser_.show();  // a new parent hides a widget that was shown before

    NewLabel(this, "titleLabel", "Title", {8, 8});
    title_field_ = NewField(this, "titleField", "Title", "Site Search");
    title_field_->setGeometry(40, 8, 121, 21);
    NewLabel(this, "buttonCaptionLabel", "Button caption", {168, 8});
    button_caption_field_ = NewField(this, "buttonCaptionField", "Button caption", "Search");
    button_caption_field_->setGeometry(256, 8, 121, 21);
    NewLabel(this, "tagsLabel", "Additional tags (banners, heading, etc.)", {8, 40});

    tags_editor_ = new TagsEditor(this);
    tags_editor_->setObjectName("tagsEditor");
    tags_editor_->setAccessibleName("Additional tags");
    tags_editor_->setGeometry(0, 56, 457, 105);
    tags_editor_->setPlainText(ToWidgetText(kDefaultTagLine));

    NewGlyphButton(this, messages_, "reloadButton", "Reload", "reload", {408, 160, 25, 25},
                   &PreviewPage::Reload);
    NewGlyphButton(this, messages_, "homeButton", "Home page", "home", {432, 160, 25, 25},
                   &PreviewPage::GoHome);
    NewButton(this, messages_, "buildPreviewButton", "GO!", nullptr, {384, 8, 67, 23},
              &PreviewPage::BuildPreview);
    NewButton(this, messages_, "exportSearchButton", "Save", "save_search", {336, 160, 75, 25},
              &PreviewPage::ExportSearch);

    NewLabel(this, "styleLabel", "CSS Style", {256, 32});
    style_chooser_ = new StyleChooser(this);
    style_chooser_->setObjectName("styleChooser");
    style_chooser_->setAccessibleName("CSS Style");
    style_chooser_->setGeometry(320, 32, 129, 22);
    for (std::string_view entry : kStyleEntries) {
        style_chooser_->addItem(ToWidgetText(entry));
    }
    style_chooser_->setCurrentIndex(kDefaultStyleIndex);
    ConnectGuarded(style_chooser_, &QComboBox::activated, this, messages_,
                   [this] { OnStyleChosen(); });
}

void PreviewPage::BuildPreview() {
    const OverrideCursor wait(Qt::WaitCursor);
    builder_.PreviewBuild();
}

void PreviewPage::ExportSearch() {
    const OverrideCursor wait(Qt::WaitCursor);
    builder_.ExportBuild();
}

void PreviewPage::Reload() {
    browser_.Refresh();
}
void PreviewPage::GoHome() {
    browser_.GoHome();
}

void PreviewPage::OnStyleChosen() {
    if (style_chooser_->currentIndex() != 0) {
        return;
    }
    // Cancelling keeps the name chosen before; the selection stays on the entry either way.
    if (std::optional<std::string> chosen = style_sheet_dialog_.Choose()) {
        custom_style_file_ = std::move(*chosen);
    }
}

std::string PreviewPage::PageTitle() const {
    return FromWidgetText(title_field_->text());
}
std::string PreviewPage::ButtonCaption() const {
    return FromWidgetText(button_caption_field_->text());
}
LineList PreviewPage::TagLines() const {
    return tags_editor_->DisplayedRows();
}
int PreviewPage::StyleIndex() const {
    return style_chooser_->currentIndex();
}
std::string PreviewPage::StyleEntryText() const {
    return FromWidgetText(style_chooser_->currentText());
}
std::string PreviewPage::CustomStyleFile() const {
    return custom_style_file_;
}

void PreviewPage::ShowNotice(std::string_view text) {
    const OverrideCursor normal(Qt::ArrowCursor);
    messages_.ShowNotice(text);
}

std::optional<std::string> PreviewPage::ChooseExportFile() {
    const OverrideCursor normal(Qt::ArrowCursor);
    return export_dialog_.Choose();
}

void PreviewPage::Navigate(const std::string& address) {
    browser_.Navigate(address);
}

}  // namespace tolvane
