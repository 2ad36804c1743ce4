#include "builder/preview_page.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/event_guard.h"
#include "app/page_controls.h"
#include "app/wait_cursor.h"
#include "app/widget_text.h"
#include "builder/style_combo.h"
#include "builder/tags_memo.h"

namespace tolvane {

PreviewPage::PreviewPage(const ItemList& items, Messages& messages, BrowserView& web,
                         QWidget* web_widget, FileChooser& css_open, FileChooser& save_search,
                         QWidget* parent)
    : QFrame(parent),
      messages_(messages),
      web_(web),
      css_open_(css_open),
      save_search_(save_search),
      builder_(std::string(), items, *this) {
    setObjectName("DPrePanel");
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    resize(460, 300);
    CreateControls(web_widget);
    SetTabOrder(this, {"Web", "Edit3", "Edit4", "Memo2", "BitBtn10", "BitBtn11", "BitBtn12", "Dump",
                       "Doc", "BitBtn13", "ComboBox1"});
}

void PreviewPage::CreateControls(QWidget* web_widget) {
    // The view comes first, so the buttons that overlap its top edge lie above it.
    web_widget->setParent(this);
    web_widget->setObjectName("Web");
    web_widget->setGeometry(1, 168, 458, 131);
    web_widget->show();  // a new parent hides a widget that was shown before

    NewLabel(this, "Label17", "Title", {8, 8});
    edit3_ = NewField(this, "Edit3", "Site Search");
    edit3_->setGeometry(40, 8, 121, 21);
    NewLabel(this, "Label18", "Button caption", {168, 8});
    edit4_ = NewField(this, "Edit4", "Search");
    edit4_->setGeometry(256, 8, 121, 21);
    NewLabel(this, "Label19", "Additional tags (banners, heading, etc.)", {8, 40});

    memo2_ = new TagsMemo(this);
    memo2_->setObjectName("Memo2");
    memo2_->setGeometry(0, 56, 457, 105);
    memo2_->setPlainText(ToWidgetText(kDefaultTagLine));

    NewButton(this, messages_, "BitBtn10", "", "reload", {408, 160, 25, 25},
              &PreviewPage::BitBtn10Click);
    NewButton(this, messages_, "BitBtn11", "", "home", {432, 160, 25, 25},
              &PreviewPage::BitBtn11Click);
    NewButton(this, messages_, "BitBtn12", "GO!", nullptr, {384, 8, 67, 23},
              &PreviewPage::BitBtn12Click);
    // The builds assemble their text in the SearchBuilder's buffers; these two only keep the
    // page's layout complete and are never shown.
    NewHiddenBuffer("Dump", {8, 80, 425, 17});
    NewHiddenBuffer("Doc", {8, 104, 425, 17});
    NewButton(this, messages_, "BitBtn13", "Save", "save_search", {336, 160, 75, 25},
              &PreviewPage::BitBtn13Click);

    NewLabel(this, "Label20", "CSS Style", {256, 32});
    combo_ = new StyleCombo(this);
    combo_->setObjectName("ComboBox1");
    combo_->setGeometry(320, 32, 129, 22);
    for (std::string_view entry : kStyleEntries) {
        combo_->addItem(ToWidgetText(entry));
    }
    combo_->setCurrentIndex(kDefaultStyleIndex);
    connect(combo_, &QComboBox::activated, this,
            [this] { RunGuarded(messages_, [this] { ComboBox1Select(); }); });
}

void PreviewPage::NewHiddenBuffer(const char* name, const QRect& bounds) {
    auto* buffer = new QPlainTextEdit(this);
    buffer->setObjectName(name);
    buffer->setGeometry(bounds);
    buffer->setLineWrapMode(QPlainTextEdit::NoWrap);
    buffer->hide();
}

void PreviewPage::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // The labels size themselves to their text in the font the window gives the page.
        FitLabels(this);
    }
}

void PreviewPage::BitBtn12Click() {
    const WaitCursor wait;
    builder_.PreviewBuild();
}

void PreviewPage::BitBtn13Click() {
    const WaitCursor wait;
    builder_.ExportBuild();
}

void PreviewPage::BitBtn10Click() {
    web_.Refresh();
}
void PreviewPage::BitBtn11Click() {
    web_.GoHome();
}

void PreviewPage::ComboBox1Select() {
    if (combo_->currentIndex() != 0) {
        return;
    }
    // Cancelling keeps the name chosen before; the selection stays on the entry either way.
    if (std::optional<std::string> chosen = css_open_.Choose()) {
        custom_style_file_ = std::move(*chosen);
    }
}

std::string PreviewPage::PageTitle() const {
    return FromWidgetText(edit3_->text());
}
std::string PreviewPage::ButtonCaption() const {
    return FromWidgetText(edit4_->text());
}
LineList PreviewPage::TagLines() const {
    return memo2_->DisplayedRows();
}
int PreviewPage::StyleIndex() const {
    return combo_->currentIndex();
}
std::string PreviewPage::StyleEntryText() const {
    return FromWidgetText(combo_->currentText());
}
std::string PreviewPage::CustomStyleFile() const {
    return custom_style_file_;
}

void PreviewPage::ShowNotice(std::string_view text) {
    const NormalCursor normal;
    messages_.ShowNotice(text);
}

std::optional<std::string> PreviewPage::ChooseExportFile() {
    const NormalCursor normal;
    return save_search_.Choose();
}

void PreviewPage::Navigate(const std::string& address) {
    web_.Navigate(address);
}

}  // namespace tolvane
