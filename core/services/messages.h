#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tolvane {

// The program's three message forms. The window shows them with Qt's boxes; tests pass fakes.
class Messages {
  public:
    virtual ~Messages() = default;
    // The error box: application title as caption, stop icon, OK. `message` is the error's
    // message as raised; the box applies ErrorBoxText itself.
    virtual void ShowError(std::string_view message) = 0;
    // The notice: application title as caption, no icon, OK; the text unchanged.
    virtual void ShowNotice(std::string_view text) = 0;
    // The confirmation: caller's caption and text, Yes and No, no icon; true only on Yes.
    virtual bool Confirm(std::string_view caption, std::string_view text) = 0;
};

// The error box's text: the message with "." appended when its last character's code is
// greater than that of "." (letters, digits, "?", ":", bytes above 127).
std::string ErrorBoxText(std::string_view message);

// The application title from the program file's path: the name after the last separator, cut
// at its first ".", every character after the first in lower case ("MYTOOL.EXE" -> "Mytool").
std::string ApplicationTitle(std::string_view program_path);

// The text of the box that ends the program when building the window fails: the error's type,
// the program file's name, the address of the failing step counted from the start of the
// program's image, and the message with a "." unless it is empty or already ends in ".".
// The two line breaks are CR LF.
std::string ApplicationErrorText(std::string_view type_name, std::string_view module_name,
                                 std::uintptr_t address, std::string_view message);

}  // namespace tolvane
