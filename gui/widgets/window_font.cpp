#include "gui/widgets/window_font.h"

#include <QStringList>

namespace tolvane {

namespace {

constexpr int kWindowFontPixels = 11;

void RegisterFallbackFaces() {
    static const bool registered = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
        return true;
    }();
    (void)registered;
}

}  // namespace

QFont WindowFont() {
    RegisterFallbackFaces();
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(kWindowFontPixels);
    font.setBold(true);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace tolvane
