#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace tolvane {

// Shows the wait cursor over the whole program while a long step (a build, Open list, Save
// list) runs on the one thread and the window cannot respond; restored on every way out.
class WaitCursor {
  public:
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace tolvane

namespace tolvane {

// The normal cursor again while a dialog or a message box waits for the user in the middle of
// a long step (the file dialog of Save list, the notice of a build); the wait cursor returns
// when it closes.
class NormalCursor {
  public:
    NormalCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor)); }
    ~NormalCursor() { QGuiApplication::restoreOverrideCursor(); }
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;
};

}  // namespace tolvane
