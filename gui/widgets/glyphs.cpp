#include "gui/widgets/glyphs.h"

#include <QString>

namespace tolvane {
namespace {

QString GlyphPath(const char* name) {
    return QStringLiteral(":/glyphs/%1.xpm").arg(QLatin1String(name));
}

}  // namespace

QPixmap GlyphPixmap(const char* name) {
    return QPixmap(GlyphPath(name));
}

QIcon GlyphIcon(const char* name) {
    return QIcon(GlyphPath(name));
}

}  // namespace tolvane
