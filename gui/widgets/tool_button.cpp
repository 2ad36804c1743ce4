#include "gui/widgets/tool_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace tolvane {

ToolButton::ToolButton(const QString& caption, const QPixmap& glyph, QWidget* parent)
    : QAbstractButton(parent), glyph_(glyph) {
    setText(caption);
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    resize(kSide, kSide);
}

bool ToolButton::hitButton(const QPoint& position) const {
    return position.x() >= 0 && position.x() < width() && position.y() >= 0 &&
           position.y() <= height();
}

void ToolButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton face;
    face.initFrom(this);
    const bool pressed = isDown() || isChecked();
    face.state |= pressed ? QStyle::State_Sunken : QStyle::State_Raised;
    if (pressed) {
        face.state |= QStyle::State_On;
    }
    painter.drawControl(QStyle::CE_PushButtonBevel, face);

    // Glyph and caption as one block in the middle; pressed, the block moves one pixel.
    const QFontMetrics metrics(font());
    const int block_height = glyph_.height() + kGlyphSpacing + metrics.height();
    const int shift = pressed ? 1 : 0;
    const int top = (height() - block_height) / 2 + shift;
    painter.drawPixmap((width() - glyph_.width()) / 2 + shift, top, glyph_);
    const QRect caption(shift, top + glyph_.height() + kGlyphSpacing, width(), metrics.height());
    painter.drawText(caption, Qt::AlignHCenter | Qt::AlignTop | Qt::TextHideMnemonic, text());
}

}  // namespace tolvane
