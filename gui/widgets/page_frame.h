#pragma once

#include <QFrame>
#include <QSize>

namespace tolvane {

// Draws a panel of the window with its raised bevel, one pixel wide.
void SetPanelBevel(QFrame& panel);

// What every page of the main window is: a bevelled panel of 460 x 300 pixels under its own
// object name, whose one-line labels size themselves to their text again whenever the page's
// font changes (the window gives its font to the pages after they are made).
class PageFrame : public QFrame {
  public:
    static constexpr QSize kSize{460, 300};

  protected:
    PageFrame(const char* object_name, QWidget* parent);

    void changeEvent(QEvent* event) override;
};

}  // namespace tolvane
