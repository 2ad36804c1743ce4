#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace tolvane {

// A button of the tool bar: 75 x 75, its glyph above its caption with 4 pixels between them,
// both centred together, drawn as a raised push button that looks pressed while it is down
// or held down. It takes no keyboard focus and has no shortcut: the mouse alone works it.
// A release counts as a click while the pointer is within 0 <= x < width and
// 0 <= y <= height, so the row just under the bottom edge still counts; a double-click is two
// clicks.
class ToolButton : public QAbstractButton {
    Q_OBJECT

  public:
    static constexpr int kSide = 75;
    static constexpr int kGlyphSpacing = 4;

    ToolButton(const QString& caption, const QPixmap& glyph, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {kSide, kSide}; }

  protected:
    bool hitButton(const QPoint& position) const override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap glyph_;
};

}  // namespace tolvane
