#include "app/window_services.h"

#include "gui/services/desktop_link_opener.h"
#include "gui/services/qt_file_dialog.h"
#include "gui/services/qt_messages.h"
#include "gui/services/web_browser.h"

namespace tolvane {

WindowServices QtWindowServices(const std::string& application_title) {
    using Mode = QtFileDialog::Mode;
    WindowServices services;
    services.messages = std::make_unique<QtMessages>(application_title);
    // Save list and Open list offer the same two filters.
    constexpr const char* kListFilters = "Tolvane Items Lists (*.til)|*.til|Any files (*)|*";
    services.save_list = std::make_unique<QtFileDialog>(Mode::kSave, kListFilters, 0);
    services.open_list = std::make_unique<QtFileDialog>(Mode::kOpen, kListFilters, 0);
    services.style_sheet =
        std::make_unique<QtFileDialog>(Mode::kOpen, "CSS Styles (*.css)|*.css|Any Files (*)|*", 0);
    services.export_search = std::make_unique<QtFileDialog>(
        Mode::kSave,
        "Index pages (index.html)|index.html|JS Files (*.js)|*.js|HTML Files (*.html)|*.html|"
        "Any Files (*)|*",
        2);
    services.links = std::make_unique<DesktopLinkOpener>();
    services.browser = std::make_unique<WebBrowser>();
    return services;
}

}  // namespace tolvane
