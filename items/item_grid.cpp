#include "items/item_grid.h"

#include <QScrollBar>

namespace tolvane {

ItemGrid::ItemGrid(ItemList& list, QWidget* parent) : QAbstractScrollArea(parent), list_(list) {}

int ItemGrid::CaptionColumnWidth() const {
    return viewport()->width() - link_column_width_ - 2;
}

int ItemGrid::RowAt(int viewport_y) const {
    const int row = viewport_y / kRowHeight + verticalScrollBar()->value();
    return row < list_.RowCount() ? row : -1;
}

}  // namespace tolvane
