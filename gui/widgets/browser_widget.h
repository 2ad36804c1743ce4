#pragma once

#include <QWidget>

#include "core/services/browser_view.h"

namespace tolvane {

// The browser view as the Preview page holds it: the core's three browser operations on the
// widget that shows the pages. The page takes the widget as its child and so owns it. The
// program passes the web engine (WebBrowser); tests pass a fake.
class BrowserWidget : public QWidget, public BrowserView {
  public:
    using QWidget::QWidget;
};

}  // namespace tolvane
