#pragma once

// Fakes of the window's outside world, and helpers for widget tests of the shell.

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QTimer>
#include <QVariant>
#include <QWebEngineView>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/link_opener.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "builder/browser_view.h"
#include "files/error.h"
#include "files/file_chooser.h"

namespace tolvane::testing {

class FakeMessages : public Messages {
  public:
    void ShowError(std::string_view message) override { errors.emplace_back(message); }
    void ShowNotice(std::string_view text) override { notices.emplace_back(text); }
    bool Confirm(std::string_view, std::string_view text) override {
        questions.emplace_back(text);
        return confirm_answer;
    }
    std::vector<std::string> errors;
    std::vector<std::string> notices;
    std::vector<std::string> questions;
    bool confirm_answer = false;
};

class FakeChooser : public FileChooser {
  public:
    std::optional<std::string> Choose() override {
        ++shown;
        return answer;
    }
    std::optional<std::string> answer;
    int shown = 0;
};

class FakeLinks : public LinkOpener {
  public:
    void Open(const std::string& address) override { opened.push_back(address); }
    std::vector<std::string> opened;
};

// Records the browser operations; an operation named in `failing` raises instead.
class FakeBrowser : public BrowserView {
  public:
    void GoHome() override { Record("GoHome"); }
    void Navigate(const std::string& address) override {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        wait_cursor_while_navigating = cursor != nullptr && cursor->shape() == Qt::WaitCursor;
        Record("Navigate " + address);
    }
    void Refresh() override { Record("Refresh"); }
    int Count(const std::string& call) const {
        int n = 0;
        for (const auto& c : calls) {
            n += c == call ? 1 : 0;
        }
        return n;
    }
    std::vector<std::string> calls;
    std::string failing;
    // Whether the last Navigate came while the program showed the wait cursor.
    bool wait_cursor_while_navigating = false;

  private:
    void Record(const std::string& call) {
        if (!failing.empty() && call.starts_with(failing)) {
            throw Error("The browser failed: " + call);
        }
        calls.push_back(call);
    }
};

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

// A window's services made of fakes that answer at once, with handles to reach them after the
// window has taken them over.
struct FakeServices {
    WindowServices services;
    FakeMessages* messages = nullptr;
    FakeChooser* save_list = nullptr;
    FakeChooser* open_list = nullptr;
    FakeChooser* css_open = nullptr;
    FakeChooser* save_search = nullptr;
};

template <typename Fake, typename Base>
Fake* Keep(std::unique_ptr<Base>& slot) {
    auto fake = std::make_unique<Fake>();
    Fake* handle = fake.get();
    slot = std::move(fake);
    return handle;
}

// `web` and `web_widget` are the browser view and the widget that shows it (the window's
// Preview page takes the widget as its child).
inline FakeServices MakeFakeServices(BrowserView& web, QWidget* web_widget) {
    FakeServices fakes;
    WindowServices& services = fakes.services;
    fakes.messages = Keep<FakeMessages>(services.messages);
    fakes.save_list = Keep<FakeChooser>(services.save_list);
    fakes.open_list = Keep<FakeChooser>(services.open_list);
    fakes.css_open = Keep<FakeChooser>(services.css_open);
    fakes.save_search = Keep<FakeChooser>(services.save_search);
    services.links = std::make_unique<FakeLinks>();
    services.web = &web;
    services.web_widget = web_widget;
    return fakes;
}

}  // namespace tolvane::testing
