#pragma once

#include <QAbstractScrollArea>
#include <functional>
#include <string>
#include <vector>

#include "core/items/item_list.h"
#include "core/services/messages.h"

class QPainter;

namespace tolvane {

// The two-column grid that shows an ItemList: a title row in button face, 18-pixel
// rows, grid lines, the link column 68 pixels wide (its title border can be dragged) and the
// caption column filling the rest. It draws only the visible rows straight from the list's
// lines, so a million items scroll as smoothly as ten. Clicks, drags, keys, the wheel and Esc
// become the list's move requests; the grid only shows the cursor the list reports.
// The list must outlive the grid; the grid installs itself as the list's change listener.
//
// Geometry: every cell is followed by a one-pixel grid line, to its right and below it, so a
// row takes kRowPitch pixels and the two columns with their lines fill the viewport's width.
//
// Files and folders dragged from the file manager may be dropped on the grid once a drop
// handler is set: the grid hands their local paths on and leaves what they mean to its owner.
class ItemGrid : public QAbstractScrollArea {
    Q_OBJECT

  public:
    // Told the local paths of a drop, in the drop's order, right after the drop has ended;
    // runs inside the error guard.
    using DropHandler = std::function<void(const std::vector<std::string>& paths)>;

    // Errors raised while the grid handles input go to `messages`' error box.
    ItemGrid(ItemList& list, Messages& messages, QWidget* parent = nullptr);
    ~ItemGrid() override;

    static constexpr int kRowHeight = 18;
    static constexpr int kGridLineWidth = 1;
    static constexpr int kRowPitch = kRowHeight + kGridLineWidth;
    static constexpr int kDefaultLinkColumnWidth = 68;
    // How far from the title border a press still grabs it.
    static constexpr int kBorderGrip = 3;

    int LinkColumnWidth() const { return link_column_width_; }
    // Kept between 0 and the viewport's width less the two grid lines.
    void SetLinkColumnWidth(int width);
    // The viewport's width less the link column and the two grid lines; follows every resize.
    int CaptionColumnWidth() const;
    // The row (0 = title row) under a point of the viewport, or -1 below the last row.
    int RowAt(int viewport_y) const;
    // The column (0 link, 1 caption) under a point of the viewport; a grid line belongs to the
    // cell before it.
    int ColumnAt(int viewport_x) const;
    // The first item row shown under the title row.
    int FirstVisibleRow() const;
    // How many item rows fit whole under the title row (at least 1): one page.
    int VisibleItemRows() const;
    // Drops of local files are taken only while a handler is set.
    void SetDropHandler(DropHandler handler);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    // The second press of a double click is a click of its own.
    void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Tab and Shift+Tab move between cells; the focus stays in the grid.
    bool focusNextPrevChild(bool next) override;

  private:
    struct Cell {
        int column;
        int row;
        bool operator==(const Cell&) const = default;
    };

    void OnListChanged();
    void UpdateScrollRange();
    void EnsureCursorVisible();

    int LastRow() const { return list_.RowCount() - 1; }
    Cell CursorCell() const { return {1, list_.CursorRow()}; }
    bool OnTitleBorder(QPoint point) const;
    // The cell a drag with the button held points at; outside the rows it is the row just
    // beyond the visible ones, so dragging past an edge steps the cursor on.
    Cell DragCellAt(QPoint point) const;
    // The cell a key moves to, or false for keys the grid leaves alone.
    bool KeyTarget(const QKeyEvent& event, Cell& target) const;
    void RequestMove(Cell cell);
    // A drag over the grid is welcome while it carries local files and a handler is set.
    void AcceptLocalFiles(QDragMoveEvent* event) const;

    void PaintTitleRow(QPainter& painter) const;
    void PaintItemRow(QPainter& painter, int row, int top) const;
    void PaintItemCell(QPainter& painter, QRect cell, int column, std::string_view bytes) const;
    void PaintCellText(QPainter& painter, QRect cell, const QString& text) const;
    void PaintGridLines(QPainter& painter, int bottom) const;
    QRect CellRect(int column, int top) const;

    ItemList& list_;
    Messages& messages_;
    DropHandler drop_handler_;
    int link_column_width_ = kDefaultLinkColumnWidth;
    int shown_cursor_row_ = 0;
    int wheel_remainder_ = 0;
    bool resizing_column_ = false;
    int resize_grab_offset_ = 0;
    bool dragging_ = false;
    Cell drag_cell_{1, 1};
};

}  // namespace tolvane
