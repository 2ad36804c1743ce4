#pragma once

#include <QFrame>
#include <QSize>
#include <QWidget>
#include <memory>
#include <string>

#include "app/link_opener.h"
#include "app/messages.h"
#include "app/select_all_on_focus.h"
#include "builder/browser_view.h"
#include "files/file_chooser.h"
#include "items/item_list.h"

class QButtonGroup;

namespace tolvane {

class DatabasePage;
class HelpPage;
class PreviewPage;
class ToolButton;

// What the window talks to outside itself: the message boxes, the four file dialogs, the
// desktop's web browser and the browser view. The program passes Qt's (QtWindowServices);
// tests pass fakes so that nothing waits on a modal box.
struct WindowServices {
    std::unique_ptr<Messages> messages;
    std::unique_ptr<FileChooser> save_list;
    std::unique_ptr<FileChooser> open_list;
    std::unique_ptr<FileChooser> css_open;
    std::unique_ptr<FileChooser> save_search;
    std::unique_ptr<LinkOpener> links;
    // The browser view and the widget that shows it (the same object for WebBrowser). The
    // Preview page takes the widget as its child; the view must live as long as the widget.
    BrowserView* web = nullptr;
    QWidget* web_widget = nullptr;
};

// Qt's message boxes and file dialogs, the desktop's web browser and the embedded web engine.
WindowServices QtWindowServices(const std::string& application_title);

// The main window `Form1`: the tool bar `Panel1` on the left, and the three pages on the same
// rectangle beside it, one visible at a time. Its client area stays 535 x 300.
class TForm1 : public QWidget {
    Q_OBJECT

  public:
    static constexpr QSize kClientSize{535, 300};
    static constexpr QPoint kPosition{193, 117};
    static constexpr const char* kCaption = "Tolvane Builder v.1.3.00";

    explicit TForm1(WindowServices services, QWidget* parent = nullptr);
    ~TForm1() override;

    // The start-up handler, run once at the end of construction: the browser view goes home
    // and the program folder is worked out. An error here is shown in the error box and skips
    // the remaining steps; the window opens all the same.
    void FormCreate();
    // Asked before every size change the platform proposes; it refuses them all.
    void FormCanResize(QObject* sender, int new_width, int new_height, bool& resize);
    // Shows the page of the tool button that is down.
    void ShowSelectedPage();

    void SpeedButton1Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();

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
                              void (TForm1::*handler)());
    void PlacePage(QFrame& page);
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

// Draws a panel of the window with its raised bevel, one pixel wide.
void SetPanelBevel(QFrame& panel);

}  // namespace tolvane
