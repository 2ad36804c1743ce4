#include "gui/services/desktop_link_opener.h"

#include <QDesktopServices>
#include <QUrl>

#include "gui/widgets/widget_text.h"

namespace tolvane {

void DesktopLinkOpener::Open(const std::string& address) {
    QDesktopServices::openUrl(QUrl(ToWidgetText(address)));
}

}  // namespace tolvane
