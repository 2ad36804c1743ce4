#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/build/search_build.h"
#include "core/items/item_list.h"
#include "core/services/file_chooser.h"
#include "core/services/messages.h"
#include "gui/widgets/browser_widget.h"
#include "gui/widgets/page_frame.h"

class QLineEdit;

namespace tolvane {

class StyleChooser;
class TagsEditor;

// The Preview page: the page title, the button caption, the additional tags, the style chooser,
// the buttons of the two builds, reload and home, and the browser view below them. The page is
// the BuildHost of its SearchBuilder: the builds read their settings from its widgets when they
// run.
class PreviewPage : public PageFrame, public BuildHost {
    Q_OBJECT

  public:
    // The page takes `browser` as its child. The items and the interfaces must outlive it.
    PreviewPage(const ItemList& items, Messages& messages, std::unique_ptr<BrowserWidget> browser,
                FileChooser& style_sheet_dialog, FileChooser& export_dialog,
                QWidget* parent = nullptr);

    SearchBuilder& Builder() { return builder_; }

    // The handlers. They raise; the widgets call them guarded.
    void BuildPreview();  // "GO!"
    void ExportSearch();  // "Save"
    void Reload();        // the page shown, again
    void GoHome();        // the browser's home page
    // After every change of the style chooser's selection by the user: the first entry asks
    // for a style sheet file.
    void OnStyleChosen();

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

  private:
    void CreateControls();

    Messages& messages_;
    BrowserWidget& browser_;
    FileChooser& style_sheet_dialog_;
    FileChooser& export_dialog_;
    SearchBuilder builder_;
    // The style sheet file last chosen; the build reads it when the first entry is selected.
    std::string custom_style_file_;

    QLineEdit* title_field_ = nullptr;
    QLineEdit* button_caption_field_ = nullptr;
    TagsEditor* tags_editor_ = nullptr;
    StyleChooser* style_chooser_ = nullptr;
};

}  // namespace tolvane
