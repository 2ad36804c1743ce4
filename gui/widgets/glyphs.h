#pragma once

#include <QIcon>
#include <QPixmap>

namespace tolvane {

// The pictures compiled into the program as resources (resources/glyphs/<name>.xpm), by name:
// "add_item", "move_up", "database", "tolvane" (the program icon) and so on. A name without a
// picture gives a null pixmap and an empty icon.
QPixmap GlyphPixmap(const char* name);
QIcon GlyphIcon(const char* name);

}  // namespace tolvane
