#pragma once

#include <memory>
#include <string>

#include "core/services/file_chooser.h"
#include "core/services/link_opener.h"
#include "core/services/messages.h"
#include "gui/widgets/browser_widget.h"

namespace tolvane {

// What the main window talks to outside itself: the message boxes, the four file dialogs, the
// desktop's web browser and the browser view. The program passes Qt's (QtWindowServices);
// tests pass fakes so that nothing waits on a modal box. The window takes them all over; the
// browser view becomes the Preview page's child.
struct WindowServices {
    std::unique_ptr<Messages> messages;
    std::unique_ptr<FileChooser> save_list;
    std::unique_ptr<FileChooser> open_list;
    std::unique_ptr<FileChooser> style_sheet;
    std::unique_ptr<FileChooser> export_search;
    std::unique_ptr<LinkOpener> links;
    std::unique_ptr<BrowserWidget> browser;
};

// Qt's message boxes and file dialogs, the desktop's web browser and the embedded web engine.
WindowServices QtWindowServices(const std::string& application_title);

}  // namespace tolvane
