#pragma once

#include <QUrl>
#include <memory>
#include <string>

#include "gui/services/engine_view.h"
#include "gui/widgets/browser_widget.h"

namespace tolvane {

// The browser view: Qt's web engine behind the program's three browser operations, filling
// the widget. Links and scripts of a shown page that ask for a new window load in this view
// instead, so no pop-up window ever appears (see BrowserPage in the source).
//
// The engine takes most of a second to start, so it starts only when the view is first shown
// or asked to load a page; the window appears without waiting for it. Going home before then
// is remembered and done first when the engine starts.
class WebBrowser : public BrowserWidget {
    Q_OBJECT

  public:
    static constexpr const char* kHomeAddress = "about:blank";

    explicit WebBrowser(QWidget* parent = nullptr);
    ~WebBrowser() override;

    void GoHome() override;
    void Navigate(const std::string& address) override;
    void Refresh() override;

    // The web engine's view inside, for what the three operations do not cover (the page's
    // address, its scripts). Starts the engine if it has not started yet; raises an Error when
    // the engine cannot be loaded.
    QWebEngineView& Engine();
    bool EngineStarted() const { return engine_ != nullptr; }

    // The URL for an address as the builds write it. After "file://" comes a plain folder
    // path, so blanks, "#", "%" and "?" in folder names stay part of the path; any other
    // address is taken as a URL. Raises an Error for an address that gives no valid URL.
    static QUrl AddressUrl(const std::string& address);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void StartEngine();
    EngineView& StartedEngine();

    std::unique_ptr<EngineView> engine_;
    bool home_pending_ = false;
};

}  // namespace tolvane
