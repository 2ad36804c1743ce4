#pragma once

#include <QObject>

namespace tolvane {

// Installed on the application: a one-line field that receives the focus in any way but a
// mouse click (the Tab key, the window becoming active, the program moving the focus) selects
// its whole text, so typing replaces it at once. Coming back from a context menu keeps the
// user's own selection.
class SelectAllOnFocus : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tolvane
