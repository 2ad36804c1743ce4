#pragma once

#include <QMessageBox>
#include <memory>
#include <string>
#include <string_view>

#include "core/services/messages.h"

namespace tolvane {

// The three message forms with Qt's message boxes. Each box is application-modal and has no
// owner window, so every window of the program is disabled while it is open and the focus
// comes back to where it was. Texts are shown as plain text, never as markup.
class QtMessages : public Messages {
  public:
    explicit QtMessages(std::string application_title);

    void ShowError(std::string_view message) override;
    void ShowNotice(std::string_view text) override;
    bool Confirm(std::string_view caption, std::string_view text) override;

    // The boxes as they are shown, so they can be looked at without running them.
    std::unique_ptr<QMessageBox> ErrorBox(std::string_view message) const;
    std::unique_ptr<QMessageBox> NoticeBox(std::string_view text) const;
    std::unique_ptr<QMessageBox> ConfirmBox(std::string_view caption, std::string_view text) const;

  private:
    std::string title_;
};

// The box that ends the program when the window cannot be built: caption "Application Error",
// stop icon, OK, no owner window. Returns once the user has closed it.
void ShowApplicationErrorBox(const std::string& text);

}  // namespace tolvane
