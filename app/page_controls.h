#pragma once

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <limits>

#include "app/event_guard.h"
#include "app/messages.h"

namespace tolvane {

// The controls of the pages, made the same way on every page: each under its own object name,
// at its place in the page.

inline QLabel* NewLabel(QWidget* page, const char* name, const QString& text, QPoint at) {
    auto* label = new QLabel(text, page);
    label->setObjectName(name);
    label->move(at);
    label->adjustSize();
    return label;
}

// A one-line field. Qt cuts a field's text at 32767 characters unless told otherwise; a caption
// or a title can be longer, and writing the cut text back would lose the rest.
inline QLineEdit* NewField(QWidget* page, const char* name, const QString& text = {}) {
    auto* field = new QLineEdit(text, page);
    field->setObjectName(name);
    field->setMaxLength(std::numeric_limits<int>::max());
    return field;
}

// A push button with an optional glyph ":/glyphs/<glyph>.xpm", shown at the glyph's own size
// (the glyphs are 12 to 20 pixels), whose click runs `handler` of `page` inside the error guard.
template <typename Page>
QPushButton* NewButton(Page* page, Messages& messages, const char* name, const QString& caption,
                       const char* glyph, const QRect& bounds, void (Page::*handler)()) {
    auto* button = new QPushButton(caption, page);
    button->setObjectName(name);
    button->setGeometry(bounds);
    button->setAutoDefault(false);
    if (glyph != nullptr) {
        const QIcon icon(QStringLiteral(":/glyphs/%1.xpm").arg(QLatin1String(glyph)));
        button->setIcon(icon);
        if (!icon.availableSizes().isEmpty()) {
            button->setIconSize(icon.availableSizes().front());
        }
    }
    QObject::connect(button, &QPushButton::clicked, page, [page, &messages, handler] {
        RunGuarded(messages, [page, handler] { (page->*handler)(); });
    });
    return button;
}

}  // namespace tolvane
