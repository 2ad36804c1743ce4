#pragma once

class QUrl;
class QWebEngineView;
class QWidget;

namespace tolvane {

// The web engine as the browser view drives it. It lives in a module of its own
// (tolvane_web_engine) that the program loads only when the view is first needed: the engine's
// libraries alone take longer to load than the rest of the window needs to appear.
class EngineView {
  public:
    virtual ~EngineView() = default;
    // The engine's widget, a child of the widget the view was made for (which owns it).
    virtual QWidget& Widget() = 0;
    virtual QWebEngineView& View() = 0;
    virtual void Load(const QUrl& url) = 0;
    virtual void Reload() = 0;
};

// The module's one entry point: a new view inside `parent`. The caller owns the result; the
// widget belongs to `parent`.
using CreateEngineViewFunction = EngineView* (*)(QWidget* parent);
inline constexpr const char* kCreateEngineViewSymbol = "TolvaneCreateEngineView";

}  // namespace tolvane
