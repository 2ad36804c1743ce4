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
