#pragma once

#include <QUrl>
#include <QWebEngineView>
#include <string>

#include "gui/widgets/browser_widget.h"

namespace tolvane {

// The browser view: Qt's web engine behind the program's three browser operations, filling
// the widget. Links and scripts of a shown page that ask for a new window load in this view
// instead, so no pop-up window ever appears (see BrowserPage in the source).
class WebBrowser : public BrowserWidget {
    Q_OBJECT

  public:
    static constexpr const char* kHomeAddress = "about:blank";

    explicit WebBrowser(QWidget* parent = nullptr);

    void GoHome() override;
    void Navigate(const std::string& address) override;
    void Refresh() override;

    // The web engine's view inside, for what the three operations do not cover (the page's
    // address, its scripts).
    QWebEngineView& Engine() { return *engine_; }

    // The URL for an address as the builds write it. After "file://" comes a plain folder
    // path, so blanks, "#", "%" and "?" in folder names stay part of the path; any other
    // address is taken as a URL. Raises an Error for an address that gives no valid URL.
    static QUrl AddressUrl(const std::string& address);

  private:
    QWebEngineView* engine_;
};

}  // namespace tolvane
