#pragma once

// Waiting in widget tests for what Qt does later: a modal window opening, a page loading in the
// web engine, a script's answer.

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QVariant>
#include <QWebEngineView>
#include <QWidget>
#include <functional>

namespace tolvane::testing {

// Runs `answer` on the next modal window once it is open (a message box or a dialog that the
// code under test runs with exec()), so the test never waits on it.
inline void AnswerNextModal(std::function<void(QWidget&)> answer) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, answer = std::move(answer)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            answer(*modal);
        }
    });
    poll->start();
}

// Waits for the view's next loadFinished; false on a failed load or after ten seconds.
inline bool WaitForLoad(QWebEngineView& view) {
    QEventLoop loop;
    bool ok = false;
    auto connection = QObject::connect(&view, &QWebEngineView::loadFinished, [&](bool success) {
        ok = success;
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
    return ok;
}

inline QVariant RunScript(QWebEngineView& view, const QString& script) {
    QEventLoop loop;
    QVariant result;
    view.page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return result;
}

}  // namespace tolvane::testing
