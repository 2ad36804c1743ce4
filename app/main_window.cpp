#include "app/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QResizeEvent>
#include <QUrl>

#include "app/event_guard.h"
#include "app/help_page.h"
#include "app/qt_file_dialog.h"
#include "app/qt_messages.h"
#include "app/tool_button.h"
#include "app/wait_cursor.h"
#include "app/web_browser.h"
#include "app/widget_text.h"
#include "app/window_font.h"
#include "builder/preview_page.h"
#include "files/paths.h"
#include "items/database_page.h"

namespace tolvane {

namespace {

constexpr int kToolBarWidth = 75;
constexpr QRect kPageBounds(75, 0, 460, 300);

class DesktopLinks : public LinkOpener {
  public:
    void Open(const std::string& address) override {
        QDesktopServices::openUrl(QUrl(ToWidgetText(address)));
    }
};

}  // namespace

WindowServices QtWindowServices(const std::string& application_title) {
    using Mode = QtFileDialog::Mode;
    WindowServices services;
    services.messages = std::make_unique<QtMessages>(application_title);
    // Save list and Open list offer the same two filters.
    constexpr const char* kListFilters = "Tolvane Items Lists (*.til)|*.til|Any files (*)|*";
    services.save_list = std::make_unique<QtFileDialog>(Mode::kSave, kListFilters, 0);
    services.open_list = std::make_unique<QtFileDialog>(Mode::kOpen, kListFilters, 0);
    services.css_open =
        std::make_unique<QtFileDialog>(Mode::kOpen, "CSS Styles (*.css)|*.css|Any Files (*)|*", 0);
    services.save_search = std::make_unique<QtFileDialog>(
        Mode::kSave,
        "Index pages (index.html)|index.html|JS Files (*.js)|*.js|HTML Files (*.html)|*.html|"
        "Any Files (*)|*",
        2);
    services.links = std::make_unique<DesktopLinks>();
    auto* web = new WebBrowser();  // becomes the Preview page's child
    services.web = web;
    services.web_widget = web;
    return services;
}

void SetPanelBevel(QFrame& panel) {
    panel.setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel.setLineWidth(1);
}

TForm1::TForm1(WindowServices services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setFont(WindowFont());
    // The size is set once, before any size change is put to FormCanResize.
    setFixedSize(kClientSize);
    move(kPosition);
    qApp->installEventFilter(&select_all_on_focus_);

    BuildToolBar();
    database_page_ = new DatabasePage(items_, *services_.messages, *services_.save_list,
                                      *services_.open_list, this);
    preview_page_ =
        new PreviewPage(items_, *services_.messages, *services_.web, services_.web_widget,
                        *services_.css_open, *services_.save_search, this);
    help_page_ = new HelpPage(*services_.links, this);
    PlacePage(*database_page_);
    PlacePage(*preview_page_);
    PlacePage(*help_page_);
    preview_page_->hide();
    help_page_->hide();

    FormCreate();
}

TForm1::~TForm1() {
    // The pages hold references to the list and the services: they go first.
    delete help_page_;
    delete preview_page_;
    delete database_page_;
}

void TForm1::BuildToolBar() {
    tool_bar_ = new QFrame(this);
    tool_bar_->setObjectName(QStringLiteral("Panel1"));
    tool_bar_->setGeometry(0, 0, kToolBarWidth, kClientSize.height());
    SetPanelBevel(*tool_bar_);
    tool_buttons_ = new QButtonGroup(this);
    tool_buttons_->setExclusive(true);
    database_button_ =
        AddToolButton("SpeedButton1", "Database", "database", 0, &TForm1::SpeedButton1Click);
    preview_button_ =
        AddToolButton("SpeedButton3", "Preview", "preview", 75, &TForm1::SpeedButton3Click);
    help_button_ = AddToolButton("SpeedButton4", "Help", "help", 150, &TForm1::SpeedButton4Click);
    AddToolButton("SpeedButton5", "Exit", "exit", 225, &TForm1::SpeedButton5Click);
    database_button_->setChecked(true);
}

ToolButton* TForm1::AddToolButton(const char* name, const char* caption, const char* glyph, int top,
                                  void (TForm1::*handler)()) {
    const QString glyph_path = QStringLiteral(":/glyphs/%1.xpm").arg(QLatin1String(glyph));
    auto* button = new ToolButton(QString::fromLatin1(caption), QPixmap(glyph_path), tool_bar_);
    button->setObjectName(QString::fromLatin1(name));
    button->move(0, top);
    tool_buttons_->addButton(button);
    connect(button, &QAbstractButton::clicked, this,
            [this, handler] { RunGuarded(*services_.messages, [&] { (this->*handler)(); }); });
    return button;
}

void TForm1::PlacePage(QFrame& page) {
    page.setGeometry(kPageBounds);
    SetPanelBevel(page);
}

void TForm1::FormCreate() {
    // CurrentRow and CurrentCol start at 1 in the Database page's item operations.
    RunGuarded(*services_.messages, [&] {
        services_.web->GoHome();
        preview_page_->Builder().SetProgramFolder(TrimToFolder(ProgramFilePath()));
    });
}

void TForm1::FormCanResize(QObject*, int, int, bool& resize) {
    resize = false;
}

bool TForm1::PageHasFocus() const {
    const QWidget* focused = QApplication::focusWidget();
    for (const QWidget* page :
         {static_cast<const QWidget*>(database_page_), static_cast<const QWidget*>(preview_page_),
          static_cast<const QWidget*>(help_page_)}) {
        if (focused != nullptr && (focused == page || page->isAncestorOf(focused))) {
            return true;
        }
    }
    return false;
}

void TForm1::ShowSelectedPage() {
    // A page that loses its focus gives it to the window, not to a control of another page.
    if (PageHasFocus()) {
        setFocus(Qt::OtherFocusReason);
    }
    database_page_->hide();
    help_page_->hide();
    preview_page_->hide();
    if (database_button_->isChecked()) {
        database_page_->show();
    }
    if (preview_button_->isChecked()) {
        preview_page_->show();
    }
    if (help_button_->isChecked()) {
        help_page_->show();
    }
}

void TForm1::SpeedButton1Click() {
    ShowSelectedPage();
}

void TForm1::SpeedButton3Click() {
    ShowSelectedPage();
    const WaitCursor busy;
    preview_page_->BitBtn12Click();
}

void TForm1::SpeedButton4Click() {
    ShowSelectedPage();
}

void TForm1::SpeedButton5Click() {
    close();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (event->size() == kClientSize) {
        return;
    }
    bool resize = true;
    FormCanResize(this, event->size().width(), event->size().height(), resize);
    if (!resize) {
        // The platform changed the size anyway (a window manager's maximise): only the
        // position may change.
        QWidget::resize(kClientSize);
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing asks nothing and saves nothing; the program ends.
    event->accept();
    QCoreApplication::quit();
}

}  // namespace tolvane
