#pragma once

#include <stdexcept>
#include <string>

namespace tolvane {

// An error the user sees: its message is the text shown in the error box (before the box's
// own "." rule). Every failure of the core is reported by throwing one of these.
class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tolvane
