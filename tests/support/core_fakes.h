#pragma once

// Fakes of what the core's operations reach outside themselves, standard library only: the
// item fields, a file dialog and a build's host answer at once and record what they were
// asked.

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/build/search_build.h"
#include "core/files/error.h"
#include "core/files/line_list.h"
#include "core/items/item_editor.h"
#include "core/services/file_chooser.h"

namespace tolvane::testing {

// The link and caption fields, the current-item label and the confirmation box, as plain values.
class FakeFields : public ItemFields {
  public:
    std::string LinkText() const override { return link; }
    std::string CaptionText() const override { return caption; }
    void SetLinkText(std::string_view text) override { link = text; }
    void SetCaptionText(std::string_view text) override { caption = text; }
    // Every selection notification sets the label once.
    void SetCurrentItemLabel(std::string_view text) override {
        label = text;
        ++notifications;
    }
    bool Confirm(std::string_view question_caption, std::string_view text) override {
        questions.push_back(std::string(question_caption) + ": " + std::string(text));
        return answer_yes;
    }

    std::string link;
    std::string caption;
    std::string label = std::string(ItemEditor::kInitialLabel);
    int notifications = 0;
    std::vector<std::string> questions;  // "caption: text"
    bool answer_yes = true;
};

// Answers each Choose() with the next queued answer (nothing queued: cancelled).
class FakeChooser : public FileChooser {
  public:
    std::optional<std::string> Choose() override {
        ++shown_count_;
        WhileShown();
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    int shown() const { return shown_count_; }

    std::deque<std::optional<std::string>> answers;

  protected:
    // What a derived fake looks at while the dialog would be up.
    virtual void WhileShown() {}

  private:
    int shown_count_ = 0;
};

// What a build reads and tells: the Preview page's settings as plain values, the notices, the
// export dialog's answer and the addresses the browser view is sent to, recorded.
class FakeBuildHost : public BuildHost {
  public:
    std::string title = "Site Search";
    std::string caption = "Search";
    LineList tags{kDefaultTagLine};
    int style = kDefaultStyleIndex;
    std::string custom_style;
    std::optional<std::string> export_choice;
    std::string navigate_error;  // raised by Navigate when not empty

    std::vector<std::string> notices;
    std::vector<std::string> addresses;
    int export_questions = 0;

    std::string PageTitle() const override { return title; }
    std::string ButtonCaption() const override { return caption; }
    LineList TagLines() const override { return tags; }
    int StyleIndex() const override { return style; }
    std::string StyleEntryText() const override {
        return std::string(kStyleEntries[static_cast<std::size_t>(style)]);
    }
    std::string CustomStyleFile() const override { return custom_style; }
    void ShowNotice(std::string_view text) override { notices.emplace_back(text); }
    std::optional<std::string> ChooseExportFile() override {
        ++export_questions;
        return export_choice;
    }
    void Navigate(const std::string& address) override {
        if (!navigate_error.empty()) {
            throw Error(navigate_error);
        }
        addresses.push_back(address);
    }
};

}  // namespace tolvane::testing
