#pragma once

#include <string>

#include "core/services/link_opener.h"

namespace tolvane {

// Opens web addresses in the user's own web browser through the desktop.
class DesktopLinkOpener : public LinkOpener {
  public:
    void Open(const std::string& address) override;
};

}  // namespace tolvane
