#pragma once

#include <string>

namespace tolvane {

// The browser view as the program drives it: three operations, each of which raises a
// `tolvane::Error` with the view's description when the view reports a failure at once. The
// window binds the embedded web engine; tests bind a fake that records the calls.
class BrowserView {
  public:
    virtual ~BrowserView() = default;
    // Shows the view's home page (about:blank here).
    virtual void GoHome() = 0;
    // Loads an address as the builds write it: "file://" + folder + "index.html". Blanks, "#",
    // "%" and "?" in the folder stay part of the path.
    virtual void Navigate(const std::string& address) = 0;
    // Reloads the page shown.
    virtual void Refresh() = 0;
};

}  // namespace tolvane
