#pragma once

// Fakes for the pages' widget tests: message boxes, file dialogs and the browser view answer at
// once and record what they were asked, so no test waits on a modal box.

#include <QCursor>
#include <QGuiApplication>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/messages.h"
#include "builder/browser_view.h"
#include "files/error.h"
#include "files/file_chooser.h"

namespace tolvane::testing {

// The shape of the cursor shown over the program right now (the arrow when none is set).
inline Qt::CursorShape ShownCursor() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor != nullptr ? cursor->shape() : Qt::ArrowCursor;
}

class FakeMessages : public Messages {
  public:
    void ShowError(std::string_view message) override { errors.emplace_back(message); }
    void ShowNotice(std::string_view text) override {
        notices.emplace_back(text);
        notice_cursors.push_back(ShownCursor());
    }
    bool Confirm(std::string_view caption, std::string_view text) override {
        questions.push_back(std::string(caption) + "|" + std::string(text));
        return answer_yes;
    }

    bool answer_yes = true;
    std::vector<std::string> errors;
    std::vector<std::string> notices;
    std::vector<Qt::CursorShape> notice_cursors;
    std::vector<std::string> questions;  // "caption|text"
};

// Answers each Choose() with the next queued answer (nothing queued: cancelled).
class FakeChooser : public FileChooser {
  public:
    std::optional<std::string> Choose() override {
        cursors.push_back(ShownCursor());
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<std::string>> answers;
    std::vector<Qt::CursorShape> cursors;  // the cursor while each dialog was up
    int shown() const { return static_cast<int>(cursors.size()); }
};

class FakeBrowser : public BrowserView {
  public:
    void GoHome() override { Call("home"); }
    void Navigate(const std::string& address) override {
        Call("navigate " + address);
        navigate_cursor = ShownCursor();
    }
    void Refresh() override { Call("refresh"); }

    std::string failure;  // when set, every call raises it after recording itself
    std::vector<std::string> calls;
    Qt::CursorShape navigate_cursor = Qt::ArrowCursor;

  private:
    void Call(const std::string& what) {
        calls.push_back(what);
        if (!failure.empty()) {
            throw Error(failure);
        }
    }
};

}  // namespace tolvane::testing
