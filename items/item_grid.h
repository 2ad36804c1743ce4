#pragma once

#include <QAbstractScrollArea>

#include "items/item_list.h"

namespace tolvane {

// The two-column grid `list` that shows an ItemList: a title row in button face, 18-pixel
// rows, grid lines, the link column 68 pixels wide (its title border can be dragged) and the
// caption column filling the rest. It draws only the visible rows straight from the list's
// lines, so a million items scroll as smoothly as ten. Clicks, drags, keys, the wheel and Esc
// become the list's move requests; the grid only shows the cursor the list reports.
// The list must outlive the grid; the grid installs itself as the list's change listener.
class ItemGrid : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit ItemGrid(ItemList& list, QWidget* parent = nullptr);

    static constexpr int kRowHeight = 18;
    static constexpr int kDefaultLinkColumnWidth = 68;

    int LinkColumnWidth() const { return link_column_width_; }
    int CaptionColumnWidth() const;
    // The row (0 = title row) under a point of the viewport, or -1 below the last row.
    int RowAt(int viewport_y) const;

  private:
    ItemList& list_;
    int link_column_width_ = kDefaultLinkColumnWidth;
};

}  // namespace tolvane
