#pragma once

#include <string>

namespace tolvane {

// Opens a web address in the user's own web browser. The program asks the desktop; tests pass
// a fake that records the addresses.
class LinkOpener {
  public:
    virtual ~LinkOpener() = default;
    // The result is not looked at: when the desktop cannot open the address, nothing happens.
    virtual void Open(const std::string& address) = 0;
};

}  // namespace tolvane
