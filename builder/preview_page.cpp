#include "builder/preview_page.h"

#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <limits>

#include "app/event_guard.h"
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
    SetTabOrder();
}

void PreviewPage::CreateControls(QWidget* web_widget) {
    // The view comes first, so the buttons that overlap its top edge lie above it.
    web_widget->setParent(this);
    web_widget->setObjectName("Web");
    web_widget->setGeometry(1, 168, 458, 131);
    web_widget->show();  // a new parent hides a widget that was shown before

    NewLabel("Label17", "Title", {8, 8});
    edit3_ = NewField("Edit3", "Site Search", {40, 8, 121, 21});
    NewLabel("Label18", "Button caption", {168, 8});
    edit4_ = NewField("Edit4", "Search", {256, 8, 121, 21});
    NewLabel("Label19", "Additional tags (banners, heading, etc.)", {8, 40});

    memo2_ = new TagsMemo(this);
    memo2_->setObjectName("Memo2");
    memo2_->setGeometry(0, 56, 457, 105);
    memo2_->setPlainText(ToWidgetText(kDefaultTagLine));

    NewButton("BitBtn10", "", "reload", {408, 160, 25, 25}, &PreviewPage::BitBtn10Click);
    NewButton("BitBtn11", "", "home", {432, 160, 25, 25}, &PreviewPage::BitBtn11Click);
    NewButton("BitBtn12", "GO!", nullptr, {384, 8, 67, 23}, &PreviewPage::BitBtn12Click);
    // The builds assemble their text in the SearchBuilder's buffers; these two only keep the
    // page's layout complete and are never shown.
    NewHiddenBuffer("Dump", {8, 80, 425, 17});
    NewHiddenBuffer("Doc", {8, 104, 425, 17});
    NewButton("BitBtn13", "Save", "save_search", {336, 160, 75, 25}, &PreviewPage::BitBtn13Click);

    NewLabel("Label20", "CSS Style", {256, 32});
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

QLineEdit* PreviewPage::NewField(const char* name, const QString& text, const QRect& bounds) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setGeometry(bounds);
    // A field cuts its text at 32767 characters unless told otherwise; a title has no limit.
    field->setMaxLength(std::numeric_limits<int>::max());
    field->setText(text);
    return field;
}

QPushButton* PreviewPage::NewButton(const char* name, const QString& caption, const char* glyph,
                                    const QRect& bounds, void (PreviewPage::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setGeometry(bounds);
    button->setAutoDefault(false);
    if (glyph != nullptr) {
        const QIcon icon(QStringLiteral(":/glyphs/%1.xpm").arg(QLatin1String(glyph)));
        button->setIcon(icon);
        if (!icon.availableSizes().isEmpty()) {
            // The reload glyph is 20 pixels; show every glyph at its own size.
            button->setIconSize(icon.availableSizes().front());
        }
    }
    connect(button, &QPushButton::clicked, this,
            [this, handler] { RunGuarded(messages_, [this, handler] { (this->*handler)(); }); });
    return button;
}

void PreviewPage::NewLabel(const char* name, const QString& text, QPoint at) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->move(at);
    label->adjustSize();
}

void PreviewPage::NewHiddenBuffer(const char* name, const QRect& bounds) {
    auto* buffer = new QPlainTextEdit(this);
    buffer->setObjectName(name);
    buffer->setGeometry(bounds);
    buffer->setLineWrapMode(QPlainTextEdit::NoWrap);
    buffer->hide();
}

void PreviewPage::SetTabOrder() {
    const char* const order[] = {"Web",      "Edit3", "Edit4", "Memo2",    "BitBtn10", "BitBtn11",
                                 "BitBtn12", "Dump",  "Doc",   "BitBtn13", "ComboBox1"};
    QWidget* previous = nullptr;
    for (const char* name : order) {
        auto* widget = findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
        if (previous != nullptr) {
            setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

void PreviewPage::FitLabels() {
    for (QLabel* label : findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        label->adjustSize();
    }
}

void PreviewPage::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // The labels size themselves to their text in the font the window gives the page.
        FitLabels();
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
