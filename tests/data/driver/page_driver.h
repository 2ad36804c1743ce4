#pragma once

// A search page built by the program's own build (SearchBuilder) in a scratch program folder,
// and a browser view that loads it and runs script in it.

#include <QSize>
#include <QTemporaryDir>
#include <QUrl>
#include <QVariant>
#include <QWebEngineView>
#include <optional>
#include <string>
#include <string_view>

#include "core/build/search_build.h"
#include "core/files/line_list.h"
#include "core/items/item_list.h"

namespace tolvane::page {

// What the Preview page would hold.
struct PageSettings {
    std::string title = "Site Search";
    std::string button_caption = "Search";
    LineList tag_lines{kDefaultTagLine};
    std::string style = "Deadhunt";  // an entry of kStyleEntries, or a style sheet's path
};

// A program folder holding copies of data/system and data/Styles and an empty temp/, in which
// the preview build writes the page.
class PageSite {
  public:
    PageSite();
    // The folder with a trailing separator.
    std::string Folder() const;
    // Runs the preview build for `items` (link=caption lines) and returns the page's address,
    // as the build handed it to the browser view. Raises what the build raises, and a
    // std::runtime_error when the style sheet could not be copied.
    QUrl Build(const LineList& items, const PageSettings& settings = {});
    // The written file's bytes.
    std::string PageFile(const std::string& name) const;

  private:
    QTemporaryDir dir_;
};

// A shown QWebEngineView whose page runs scripts synchronously for the caller.
class PageView {
  public:
    explicit PageView(QSize size = QSize(1024, 768));
    QWebEngineView& View() { return view_; }
    QWidget* InputTarget() const;  // where key and mouse events go

    // Loads `url` and waits until it finished loading; false when it failed or timed out.
    bool Load(const QUrl& url, int timeout_ms = 20000);
    // Runs `script` in the page and returns its value (nothing when it timed out).
    std::optional<QVariant> Run(const QString& script, int timeout_ms = 20000);
    // Runs `script` and returns its value as a string ("" on time-out).
    QString Text(const QString& script);
    // Polls the script expression until it is true.
    bool WaitFor(const QString& condition, int timeout_ms = 10000);
    // How many loads have started since the view was made (a reload counts).
    int LoadsStarted() const { return loads_started_; }

  private:
    QWebEngineView view_;
    int loads_started_ = 0;
};

}  // namespace tolvane::page
