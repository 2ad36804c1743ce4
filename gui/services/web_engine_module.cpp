// The web engine module: Qt's web engine view behind EngineView, loaded by the browser view the
// first time it is needed.
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "gui/services/engine_view.h"

namespace tolvane {
namespace {

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

class WebEngineView : public EngineView {
  public:
    explicit WebEngineView(QWidget* parent) : view_(new QWebEngineView(parent)) {
        view_->setObjectName(QStringLiteral("webEngine"));
        view_->setPage(new BrowserPage(*view_));
    }

    QWidget& Widget() override { return *view_; }
    QWebEngineView& View() override { return *view_; }
    void Load(const QUrl& url) override { view_->load(url); }
    void Reload() override { view_->reload(); }

  private:
    QWebEngineView* view_;  // owned by its parent widget
};

}  // namespace
}  // namespace tolvane

extern "C" Q_DECL_EXPORT tolvane::EngineView* TolvaneCreateEngineView(QWidget* parent) {
    return new tolvane::WebEngineView(parent);
}
