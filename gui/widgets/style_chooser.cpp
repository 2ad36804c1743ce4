#include "gui/widgets/style_chooser.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace tolvane {

namespace {

// Paints one entry the way the chooser shows it, in the open list and in the closed box.
void PaintEntry(QPainter& painter, const QStyle& style, const QWidget* widget, QRect row,
                const QString& text, bool selected, bool focused, const QPalette& palette) {
    painter.fillRect(row, palette.brush(selected ? QPalette::Highlight : QPalette::Base));
    painter.setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect text_area = row.adjusted(StyleChooser::kTextIndent, 0, 0, 0);
    painter.drawText(text_area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    if (focused) {
        QStyleOptionFocusRect focus;
        focus.rect = row;
        focus.palette = palette;
        focus.backgroundColor = palette.color(selected ? QPalette::Highlight : QPalette::Base);
        style.drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, widget);
    }
}

// The rows of the open list: fixed height, drawn by PaintEntry.
class EntryDelegate : public QAbstractItemDelegate {
  public:
    using QAbstractItemDelegate::QAbstractItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QStyle* style = option.widget != nullptr ? option.widget->style() : nullptr;
        if (style == nullptr) {
            return;
        }
        painter->save();
        painter->setFont(option.font);
        PaintEntry(*painter, *style, option.widget, option.rect,
                   index.data(Qt::DisplayRole).toString(),
                   option.state.testFlag(QStyle::State_Selected),
                   option.state.testFlag(QStyle::State_HasFocus), option.palette);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int text_width =
            option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString());
        return {text_width + 2 * StyleChooser::kTextIndent, StyleChooser::kRowHeight};
    }
};

bool TypesText(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;
    }
    const QString text = event.text();
    // Space keeps its usual meaning of opening the list.
    return !text.isEmpty() && text.front().isPrint() && !text.front().isSpace();
}

}  // namespace

StyleChooser::StyleChooser(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setMaxVisibleItems(kVisibleRows);
    setItemDelegate(new EntryDelegate(this));
    // Typing in the open list follows the same prefix rule; the row it lands on is chosen
    // with Enter or a click, as any row of the open list.
    view()->installEventFilter(this);
}

void StyleChooser::keyPressEvent(QKeyEvent* event) {
    if (TypesText(*event)) {
        const int index = EntryForTyped(event->text());
        if (index >= 0 && index != currentIndex()) {
            setCurrentIndex(index);
            emit activated(index);
        }
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

bool StyleChooser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view() && event->type() == QEvent::KeyPress &&
        TypesText(*static_cast<QKeyEvent*>(event))) {
        const int index = EntryForTyped(static_cast<QKeyEvent*>(event)->text());
        if (index >= 0) {
            view()->setCurrentIndex(model()->index(index, modelColumn(), rootModelIndex()));
        }
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

int StyleChooser::EntryForTyped(const QString& typed) {
    if (!since_last_key_.isValid() || since_last_key_.elapsed() >= kPrefixPauseMs) {
        prefix_.clear();
    }
    since_last_key_.start();
    prefix_ += typed;
    for (int index = 0; index < count(); ++index) {
        if (itemText(index).startsWith(prefix_, Qt::CaseInsensitive)) {
            return index;
        }
    }
    return -1;
}

void StyleChooser::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionComboBox frame;
    initStyleOption(&frame);
    frame.currentText.clear();
    frame.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, frame);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &frame, QStyle::SC_ComboBoxEditField, this);
    // The closed box shows its entry as a selected, focused row while it has the focus.
    PaintEntry(painter, *style(), this, field, currentText(), hasFocus(), hasFocus(), palette());
}

}  // namespace tolvane
