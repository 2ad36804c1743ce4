#pragma once

#include <QLabel>
#include <QPlainTextEdit>

#include "core/services/link_opener.h"
#include "core/services/messages.h"
#include "gui/widgets/page_frame.h"
#include "gui/widgets/window_font.h"

namespace tolvane {

// A label that reports a click: a press and a release of the left button over it.
class LinkLabel : public QLabel {
    Q_OBJECT

  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The Help page: the product with its version, build and release date, the licence agreement
// (read-only, selectable, scrollable) and the link to the maker's web site, opened in the
// user's browser on every click.
class HelpPage : public PageFrame {
    Q_OBJECT

  public:
    static constexpr const char* kSiteAddress = "https://www.example.com/tolvane";

    // `links` and `messages` must outlive the page.
    HelpPage(LinkOpener& links, Messages& messages, QWidget* parent = nullptr);

    // The web site link's handler.
    void OpenWebSite();

  private:
    LinkOpener& links_;
};

// The licence agreement the page shows, 35 lines.
QString AgreementText();

}  // namespace tolvane
