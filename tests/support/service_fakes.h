#pragma once

// Fakes of the program's outside world for widget tests: message boxes, file dialogs, the
// desktop's web browser and the browser view answer at once and record what they were asked,
// so no test waits on a modal box.

#include <QCursor>
#include <QGuiApplication>
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/error.h"
#include "core/services/link_opener.h"
#include "core/services/messages.h"
#include "gui/widgets/browser_widget.h"
#include "tests/support/core_fakes.h"

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

// A file dialog that also notes the cursor shown over the program while it was up.
class CursorNotingChooser : public FakeChooser {
  public:
    std::vector<Qt::CursorShape> cursors;

  protected:
    void WhileShown() override { cursors.push_back(ShownCursor()); }
};

class FakeLinks : public LinkOpener {
  public:
    void Open(const std::string& address) override { opened.push_back(address); }
    std::vector<std::string> opened;
};

// Records the browser operations as "GoHome", "Navigate <address>" and "Refresh".
class FakeBrowser : public BrowserWidget {
  public:
    void GoHome() override { Call("GoHome"); }
    void Navigate(const std::string& address) override {
        navigate_cursor = ShownCursor();
        Call("Navigate " + address);
    }
    void Refresh() override { Call("Refresh"); }

    int Count(const std::string& call) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }

    std::vector<std::string> calls;
    // A call that starts with this text ("" for every call) raises "The browser failed: " and
    // the call instead of being recorded.
    std::optional<std::string> failing;
    Qt::CursorShape navigate_cursor = Qt::ArrowCursor;  // the cursor at the last Navigate

  private:
    void Call(const std::string& call) {
        if (failing && call.starts_with(*failing)) {
            throw Error("The browser failed: " + call);
        }
        calls.push_back(call);
    }
};

}  // namespace tolvane::testing
