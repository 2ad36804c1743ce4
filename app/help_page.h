#pragma once

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>

#include "app/link_opener.h"
#include "app/window_font.h"

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

// The Help page `DHPanel`: the product with its version, build and release date, the licence
// agreement in `Memo1` (read-only, selectable, scrollable) and the link `Label16` to the
// maker's web site, opened in the user's browser on every click.
class HelpPage : public QFrame {
    Q_OBJECT

  public:
    static constexpr const char* kSiteAddress = "https://www.example.com/tolvane";

    explicit HelpPage(LinkOpener& links, QWidget* parent = nullptr);

    void Label16Click();

  private:
    // A label that sizes itself to its text.
    QLabel* AddLabel(const char* name, const QString& text, QPoint position,
                     const QFont& font = WindowFont());

    LinkOpener& links_;
};

// The licence agreement shown in `Memo1`, 35 lines.
QString AgreementText();

}  // namespace tolvane
