#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace tolvane {

// Shows `shape` over the whole program while it lives, restored on every way out: the wait
// cursor while a long step (a build, Open list, Save list) runs on the one thread and the window
// cannot respond, and the normal arrow again while a dialog or a message box waits for the user
// in the middle of such a step.
class OverrideCursor {
  public:
    explicit OverrideCursor(Qt::CursorShape shape) {
        QGuiApplication::setOverrideCursor(QCursor(shape));
    }
    ~OverrideCursor() { QGuiApplication::restoreOverrideCursor(); }
    OverrideCursor(const OverrideCursor&) = delete;
    OverrideCursor& operator=(const OverrideCursor&) = delete;
};

}  // namespace tolvane
