#pragma once

#include <QFrame>
#include <optional>
#include <string>
#include <string_view>

#include "app/messages.h"
#include "builder/browser_view.h"
#include "builder/search_build.h"
#include "files/file_chooser.h"
#include "items/item_list.h"

class QLineEdit;
class QPushButton;

namespace tolvane {

class StyleCombo;
class TagsMemo;

// The Preview page `DPrePanel`: the page title (Edit3), the button caption (Edit4), the
// additional tags (Memo2), the style chooser (ComboBox1), the buttons of the two builds, reload
// and home, and the browser view `Web` below them. The page is the BuildHost of its
// SearchBuilder: the builds read their settings from its widgets when they run.
class PreviewPage : public QFrame, public BuildHost {
    Q_OBJECT

  public:
    // The items, the interfaces and `web_widget` (the widget showing `web`, which the page
    // takes as its child "Web") must outlive the page.
    PreviewPage(const ItemList& items, Messages& messages, BrowserView& web, QWidget* web_widget,
                FileChooser& css_open, FileChooser& save_search, QWidget* parent = nullptr);

    SearchBuilder& Builder() { return builder_; }

    // The handlers, named after their controls. They raise; the widgets call them guarded.
    void BitBtn12Click();  // "GO!": the preview build
    void BitBtn13Click();  // "Save": the export build
    void BitBtn10Click();  // reload the page shown
    void BitBtn11Click();  // the browser's home page
    // After every change of the style chooser's selection by the user.
    void ComboBox1Select();

    // BuildHost
    std::string PageTitle() const override;
    std::string ButtonCaption() const override;
    LineList TagLines() const override;
    int StyleIndex() const override;
    std::string StyleEntryText() const override;
    std::string CustomStyleFile() const override;
    void ShowNotice(std::string_view text) override;
    std::optional<std::string> ChooseExportFile() override;
    void Navigate(const std::string& address) override;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void CreateControls(QWidget* web_widget);
    void NewHiddenBuffer(const char* name, const QRect& bounds);

    Messages& messages_;
    BrowserView& web_;
    FileChooser& css_open_;
    FileChooser& save_search_;
    SearchBuilder builder_;
    // The name last chosen in CSSOpen; the build reads the file when entry 0 is selected.
    std::string custom_style_file_;

    QLineEdit* edit3_ = nullptr;
    QLineEdit* edit4_ = nullptr;
    TagsMemo* memo2_ = nullptr;
    StyleCombo* combo_ = nullptr;
};

}  // namespace tolvane
