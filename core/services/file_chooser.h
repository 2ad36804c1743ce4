#pragma once

#include <optional>
#include <string>

namespace tolvane {

// A modal file dialog as the operations see it: shows itself and returns the full path of the
// chosen name, or nothing when the user cancels. It remembers its last name and filter itself.
// The window binds Qt's dialogs; tests bind fakes that answer at once.
class FileChooser {
  public:
    virtual ~FileChooser() = default;
    virtual std::optional<std::string> Choose() = 0;
};

}  // namespace tolvane
