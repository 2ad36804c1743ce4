#pragma once

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <initializer_list>
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

// Sizes the page's own one-line labels to their text, as they must be again whenever the page's
// font changes; word-wrapped labels keep the size they were given.
inline void FitLabels(QWidget* page) {
    for (QLabel* label : page->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!label->wordWrap()) {
            label->adjustSize();
        }
    }
}

// Makes the keyboard focus visit the page's controls of these names in this order.
inline void SetTabOrder(QWidget* page, std::initializer_list<const char*> names) {
    QWidget* previous = nullptr;
    for (const char* name : names) {
        auto* widget = page->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

}  // namespace tolvane
