#pragma once

// Dragging local files from a file manager onto a widget, with the events Qt would send: the
// drag enters, moves, and the files are dropped.

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <string>
#include <vector>

namespace tolvane::testing {

// What became of a drag: whether the target welcomed it and whether it took the drop.
struct DropOutcome {
    bool entered = false;
    bool dropped = false;
};

// Drags `paths` (as file:// addresses) over the middle of `target` and drops them there; the
// drop is sent only when the target accepted the drag. Returns once the drop has been handled.
inline DropOutcome DropLocalFiles(QWidget* target, const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths) {
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    }
    data.setUrls(urls);
    const QPoint middle = target->rect().center();
    DropOutcome outcome;
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    outcome.entered = enter.isAccepted();
    if (!outcome.entered) {
        return outcome;
    }
    QDragMoveEvent move(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(middle), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    outcome.dropped = drop.isAccepted();
    // What the target queued for after the drop runs now, as the event loop would run it.
    QApplication::sendPostedEvents();
    return outcome;
}

// The same drag with text only, as from a text editor: no files in it.
inline bool TextDragEnters(QWidget* target) {
    QMimeData data;
    data.setText("/some/page.html");
    QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    return enter.isAccepted();
}

}  // namespace tolvane::testing
