#pragma once

#include <QFont>

namespace tolvane {

// The window's font: "MS Sans Serif", bold, 11 pixels high. Where that face is missing the
// metric-compatible Liberation Sans stands in, so captions keep the widths they were laid out
// for. Every control uses it unless a page says otherwise.
QFont WindowFont();

}  // namespace tolvane
