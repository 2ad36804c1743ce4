#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <initializer_list>
#include <limits>

#include "core/services/messages.h"
#include "gui/widgets/event_guard.h"
#include "gui/widgets/glyphs.h"

namespace tolvane {

// The controls of the pages, made the same way on every page: each under its own object name,
// at its place in the page, with an accessible name for the desktop's screen readers.

inline QLabel* NewLabel(QWidget* page, const char* name, const QString& text, QPoint at) {
    auto* label = new QLabel(text, page);
    label->setObjectName(name);
    label->move(at);
    label->adjustSize();
    return label;
}

// A one-line field (a QLineEdit, or a ByteField for bytes), named for screen readers by what it
// holds. Qt cuts a field's text at 32767 characters unless told otherwise; a caption or a title
// can be longer, and writing the cut text back would lose the rest.
template <typename Field = QLineEdit>
Field* NewField(QWidget* page, const char* name, const QString& accessible_name,
                const QString& text = {}) {
    auto* field = new Field(text, page);
    field->setObjectName(name);
    field->setAccessibleName(accessible_name);
    field->setMaxLength(std::numeric_limits<int>::max());
    return field;
}

namespace detail {

template <typename Page>
QPushButton* NewPushButton(Page* page, Messages& messages, const char* name, const QString& caption,
                           const char* glyph, const QRect& bounds, void (Page::*handler)()) {
    auto* button = new QPushButton(caption, page);
    button->setObjectName(name);
    button->setGeometry(bounds);
    button->setAutoDefault(false);
    if (glyph != nullptr) {
        const QIcon icon = GlyphIcon(glyph);
        button->setIcon(icon);
        // The glyphs are 12 to 20 pixels; each is shown at its own size.
        if (!icon.availableSizes().isEmpty()) {
            button->setIconSize(icon.availableSizes().front());
        }
    }
    ConnectGuarded(button, &QPushButton::clicked, page, messages,
                   [page, handler] { (page->*handler)(); });
    return button;
}

}  // namespace detail

// A push button with its caption and an optional glyph (resources/glyphs/<glyph>.xpm), whose
// click runs `handler` of `page` inside the error guard. Screen readers read the caption.
template <typename Page>
QPushButton* NewButton(Page* page, Messages& messages, const char* name, const QString& caption,
                       const char* glyph, const QRect& bounds, void (Page::*handler)()) {
    QPushButton* button =
        detail::NewPushButton(page, messages, name, caption, glyph, bounds, handler);
    button->setAccessibleName(caption);
    return button;
}

// A push button that shows only its glyph. `words` say what it does: its tool tip and the name
// that screen readers read.
template <typename Page>
QPushButton* NewGlyphButton(Page* page, Messages& messages, const char* name, const QString& words,
                            const char* glyph, const QRect& bounds, void (Page::*handler)()) {
    QPushButton* button = detail::NewPushButton(page, messages, name, {}, glyph, bounds, handler);
    button->setToolTip(words);
    button->setAccessibleName(words);
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
