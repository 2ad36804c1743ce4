#include "gui/services/web_browser.h"

#include <QVBoxLayout>
#include <string_view>

#include "core/files/error.h"
#include "gui/widgets/widget_text.h"

namespace tolvane {

namespace {

constexpr std::string_view kFileScheme = "file://";

// Stands in for a window that a shown page asks for: its first navigation loads in the view
// instead, and it goes away. No window is ever made for it.
class NewWindowCatcher : public QWebEnginePage {
  public:
    explicit NewWindowCatcher(QWebEngineView& view) : QWebEnginePage(&view), view_(view) {}

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool is_main_frame) override {
        if (is_main_frame) {
            view_.load(url);
            deleteLater();
        }
        return false;
    }

  private:
    QWebEngineView& view_;
};

// The view's page: a request for a new window (a link with a target, window.open) gets a
// catcher instead of a window. Reusing the view's own page here would replace the page that is
// still running the script.
class BrowserPage : public QWebEnginePage {
  public:
    explicit BrowserPage(QWebEngineView& view) : QWebEnginePage(&view), view_(view) {}

  protected:
    QWebEnginePage* createWindow(WebWindowType) override { return new NewWindowCatcher(view_); }

  private:
    QWebEngineView& view_;
};

}  // namespace

WebBrowser::WebBrowser(QWidget* parent) : BrowserWidget(parent), engine_(new QWebEngineView(this)) {
    setObjectName(QStringLiteral("browserView"));
    engine_->setObjectName(QStringLiteral("webEngine"));
    engine_->setPage(new BrowserPage(*engine_));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(engine_);
    // The keyboard focus and the tab order reach the engine through the widget.
    setFocusProxy(engine_);
}

QUrl WebBrowser::AddressUrl(const std::string& address) {
    const std::string_view text(address);
    const QUrl url = text.starts_with(kFileScheme)
                         ? QUrl::fromLocalFile(ToWidgetText(text.substr(kFileScheme.size())))
                         : QUrl(ToWidgetText(text), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty()) {
        throw Error("Invalid address \"" + address + "\"");
    }
    return url;
}

void WebBrowser::GoHome() {
    engine_->load(QUrl(QString::fromLatin1(kHomeAddress)));
}

void WebBrowser::Navigate(const std::string& address) {
    engine_->load(AddressUrl(address));
}

void WebBrowser::Refresh() {
    engine_->reload();
}

}  // namespace tolvane
