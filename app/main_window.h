#pragma once

#include <QPoint>
#include <QSize>
#include <QWidget>
#include <array>

#include "app/window_services.h"
#include "core/items/item_list.h"
#include "gui/widgets/select_all_on_focus.h"

class QButtonGroup;
class QFrame;

namespace tolvane {

class DatabasePage;
class HelpPage;
class PreviewPage;
class ToolButton;

// The program's one window: the tool bar on the left, and the three pages on the same rectangle
// beside it, one visible at a time. Its client area is fixed at 535 x 300: dragging a border,
// maximising and restoring change only its position. It owns the item list and
// every service it was given.
class MainWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr QSize kClientSize{535, 300};
    static constexpr QPoint kPosition{193, 117};
    static constexpr const char* kCaption = "Tolvane Builder v.1.3.00";

    explicit MainWindow(WindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Run once at the end of construction: the browser view goes home and the program folder
    // is worked out. An error here is shown in the error box and skips the remaining steps; the
    // window opens all the same.
    void Start();
    // Shows the page of the tool button that is down.
    void ShowSelectedPage();

    // The tool buttons' handlers. "Preview" builds the preview every time it is clicked.
    void ShowDatabasePage();
    void ShowPreviewPage();
    void ShowHelpPage();
    void Exit();

    DatabasePage& Database() { return *database_page_; }
    PreviewPage& Preview() { return *preview_page_; }
    HelpPage& Help() { return *help_page_; }
    ItemList& Items() { return items_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildToolBar();
    ToolButton* AddToolButton(const char* name, const char* caption, const char* glyph, int top,
                              void (MainWindow::*handler)());
    std::array<QWidget*, 3> Pages() const;
    bool PageHasFocus() const;

    WindowServices services_;
    ItemList items_;
    SelectAllOnFocus select_all_on_focus_;
    QFrame* tool_bar_ = nullptr;
    QButtonGroup* tool_buttons_ = nullptr;
    ToolButton* database_button_ = nullptr;
    ToolButton* preview_button_ = nullptr;
    ToolButton* help_button_ = nullptr;
    DatabasePage* database_page_ = nullptr;
    PreviewPage* preview_page_ = nullptr;
    HelpPage* help_page_ = nullptr;
};

}  // namespace tolvane
