#include "app/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QResizeEvent>

#include "core/files/paths.h"
#include "gui/pages/database_page.h"
#include "gui/pages/help_page.h"
#include "gui/pages/preview_page.h"
#include "gui/widgets/event_guard.h"
#include "gui/widgets/glyphs.h"
#include "gui/widgets/override_cursor.h"
#include "gui/widgets/page_frame.h"
#include "gui/widgets/tool_button.h"
#include "gui/widgets/window_font.h"

namespace tolvane {

namespace {

constexpr int kToolBarWidth = 75;
constexpr QPoint kPagePosition(kToolBarWidth, 0);

}  // namespace

MainWindow::MainWindow(WindowServices services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setFont(WindowFont());
    // The size is set once, before any size change is put to CanResize.
    setFixedSize(kClientSize);
    move(kPosition);
    qApp->installEventFilter(&select_all_on_focus_);

    BuildToolBar();
    database_page_ = new DatabasePage(items_, *services_.messages, *services_.save_list,
                                      *services_.open_list, this);
    preview_page_ = new PreviewPage(items_, *services_.messages, std::move(services_.browser),
                                    *services_.style_sheet, *services_.export_search, this);
    help_page_ = new HelpPage(*services_.links, *services_.messages, this);
    for (QWidget* page : Pages()) {
        page->move(kPagePosition);
    }
    preview_page_->hide();
    help_page_->hide();

    Start();
}

MainWindow::~MainWindow() {
    // The pages hold references to the list and the services: they go first.
    delete help_page_;
    delete preview_page_;
    delete database_page_;
}

void MainWindow::BuildToolBar() {
    tool_bar_ = new QFrame(this);
    tool_bar_->setObjectName(QStringLiteral("toolBar"));
    tool_bar_->setAccessibleName(QStringLiteral("Pages"));
    tool_bar_->setGeometry(0, 0, kToolBarWidth, kClientSize.height());
    SetPanelBevel(*tool_bar_);
    tool_buttons_ = new QButtonGroup(this);
    tool_buttons_->setExclusive(true);
    database_button_ =
        AddToolButton("databaseButton", "Database", "database", 0, &MainWindow::ShowDatabasePage);
    preview_button_ =
        AddToolButton("previewButton", "Preview", "preview", 75, &MainWindow::ShowPreviewPage);
    help_button_ = AddToolButton("helpButton", "Help", "help", 150, &MainWindow::ShowHelpPage);
    AddToolButton("exitButton", "Exit", "exit", 225, &MainWindow::Exit);
    database_button_->setChecked(true);
}

ToolButton* MainWindow::AddToolButton(const char* name, const char* caption, const char* glyph,
                                      int top, void (MainWindow::*handler)()) {
    auto* button = new ToolButton(QString::fromLatin1(caption), GlyphPixmap(glyph), tool_bar_);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(QString::fromLatin1(caption));
    button->move(0, top);
    tool_buttons_->addButton(button);
    ConnectGuarded(button, &QAbstractButton::clicked, this, *services_.messages,
                   [this, handler] { (this->*handler)(); });
    return button;
}

void MainWindow::Start() {
    // The current item starts at row 1, column 1 in the Database page's item editor.
    RunGuarded(*services_.messages, [&] {
        preview_page_->GoHome();
        preview_page_->Builder().SetProgramFolder(TrimToFolder(ProgramFilePath()));
    });
}

std::array<QWidget*, 3> MainWindow::Pages() const {
    return {database_page_, preview_page_, help_page_};
}

bool MainWindow::PageHasFocus() const {
    const QWidget* focused = QApplication::focusWidget();
    for (const QWidget* page : Pages()) {
        if (focused != nullptr && (focused == page || page->isAncestorOf(focused))) {
            return true;
        }
    }
    return false;
}

void MainWindow::ShowSelectedPage() {
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

void MainWindow::ShowDatabasePage() {
    ShowSelectedPage();
}

void MainWindow::ShowPreviewPage() {
    ShowSelectedPage();
    const OverrideCursor busy(Qt::WaitCursor);
    preview_page_->BuildPreview();
}

void MainWindow::ShowHelpPage() {
    ShowSelectedPage();
}

void MainWindow::Exit() {
    close();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A platform that ignores the fixed size (a maximise without a window manager, say) gets
    // the size back: only the position may change.
    if (event->size() != kClientSize) {
        resize(kClientSize);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing asks nothing and saves nothing; the program ends.
    event->accept();
    QCoreApplication::quit();
}

}  // namespace tolvane
