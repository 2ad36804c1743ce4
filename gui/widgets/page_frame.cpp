#include "gui/widgets/page_frame.h"

#include <QEvent>

#include "gui/widgets/page_controls.h"

namespace tolvane {

void SetPanelBevel(QFrame& panel) {
    panel.setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel.setLineWidth(1);
}

PageFrame::PageFrame(const char* object_name, QWidget* parent) : QFrame(parent) {
    setObjectName(QString::fromLatin1(object_name));
    SetPanelBevel(*this);
    resize(kSize);
}

void PageFrame::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FitLabels(this);
    }
}

}  // namespace tolvane
