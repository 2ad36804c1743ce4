#include "gui/widgets/select_all_on_focus.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace tolvane {

bool SelectAllOnFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        auto* field = qobject_cast<QLineEdit*>(watched);
        if (field != nullptr && reason != Qt::MouseFocusReason && reason != Qt::PopupFocusReason) {
            field->selectAll();
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tolvane
