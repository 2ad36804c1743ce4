#include "gui/widgets/item_grid.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "gui/widgets/event_guard.h"
#include "gui/widgets/widget_text.h"

namespace tolvane {

namespace {

// One notch of a common mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

// The local files and folders that a drag carries, as the file system spells their paths.
std::vector<std::string> LocalPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
        }
    }
    return paths;
}

}  // namespace

ItemGrid::ItemGrid(ItemList& list, Messages& messages, QWidget* parent)
    : QAbstractScrollArea(parent), list_(list), messages_(messages) {
    setObjectName("itemGrid");
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setTracking(true);
    // The whole viewport is painted on every frame; tracking shows the resize cursor over the
    // title border.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    shown_cursor_row_ = list_.CursorRow();
    list_.SetChangeListener([this] { OnListChanged(); });
    UpdateScrollRange();
}

ItemGrid::~ItemGrid() {
    list_.SetChangeListener(nullptr);
}

void ItemGrid::SetLinkColumnWidth(int width) {
    const int widest = std::max(0, viewport()->width() - 2 * kGridLineWidth);
    const int clamped = std::clamp(width, 0, widest);
    if (clamped == link_column_width_) {
        return;
    }
    link_column_width_ = clamped;
    viewport()->update();
}

int ItemGrid::CaptionColumnWidth() const {
    return std::max(0, viewport()->width() - link_column_width_ - 2 * kGridLineWidth);
}

int ItemGrid::RowAt(int viewport_y) const {
    if (viewport_y < 0) {
        return -1;
    }
    if (viewport_y < kRowPitch) {
        return 0;
    }
    const int row = (viewport_y - kRowPitch) / kRowPitch + FirstVisibleRow();
    return row <= LastRow() ? row : -1;
}

int ItemGrid::ColumnAt(int viewport_x) const {
    return viewport_x <= link_column_width_ ? 0 : 1;
}

int ItemGrid::FirstVisibleRow() const {
    return verticalScrollBar()->value() + 1;
}

int ItemGrid::VisibleItemRows() const {
    return std::max(1, (viewport()->height() - kRowHeight) / kRowPitch);
}

void ItemGrid::SetDropHandler(DropHandler handler) {
    drop_handler_ = std::move(handler);
    setAcceptDrops(static_cast<bool>(drop_handler_));
    viewport()->setAcceptDrops(static_cast<bool>(drop_handler_));
}

// ---- Following the list ----

void ItemGrid::OnListChanged() {
    UpdateScrollRange();
    if (list_.CursorRow() != shown_cursor_row_) {
        shown_cursor_row_ = list_.CursorRow();
        EnsureCursorVisible();
    }
    viewport()->update();
}

void ItemGrid::UpdateScrollRange() {
    const int page = VisibleItemRows();
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, LastRow() - page));
    bar->setPageStep(page);
    bar->setSingleStep(1);
}

void ItemGrid::EnsureCursorVisible() {
    const int row = list_.CursorRow();
    const int page = VisibleItemRows();
    if (row < FirstVisibleRow()) {
        verticalScrollBar()->setValue(row - 1);
    } else if (row >= FirstVisibleRow() + page) {
        verticalScrollBar()->setValue(row - page);
    }
}

void ItemGrid::RequestMove(Cell cell) {
    RunGuarded(messages_, [this, cell] { list_.MoveRequest(cell.column, cell.row); });
}

// ---- Mouse, wheel and keys ----

bool ItemGrid::OnTitleBorder(QPoint point) const {
    return point.y() >= 0 && point.y() < kRowPitch &&
           std::abs(point.x() - link_column_width_) <= kBorderGrip;
}

ItemGrid::Cell ItemGrid::DragCellAt(QPoint point) const {
    const int column = ColumnAt(point.x());
    if (point.y() < kRowPitch) {
        return {column, std::max(1, FirstVisibleRow() - 1)};
    }
    if (point.y() >= viewport()->height()) {
        return {column, std::min(LastRow(), FirstVisibleRow() + VisibleItemRows())};
    }
    const int row = RowAt(point.y());
    return {column, row < 1 ? LastRow() : row};
}

void ItemGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    if (OnTitleBorder(point)) {
        resizing_column_ = true;
        resize_grab_offset_ = point.x() - link_column_width_;
        return;
    }
    const int row = RowAt(point.y());
    if (row < 1) {
        return;  // the title row and the empty space below the last row request nothing
    }
    dragging_ = true;
    drag_cell_ = {ColumnAt(point.x()), row};
    RequestMove(drag_cell_);
}

void ItemGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (resizing_column_) {
        SetLinkColumnWidth(point.x() - resize_grab_offset_);
        return;
    }
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        const Cell cell = DragCellAt(point);
        if (cell != drag_cell_) {
            drag_cell_ = cell;
            RequestMove(cell);
        }
        return;
    }
    if (OnTitleBorder(point)) {
        viewport()->setCursor(Qt::SplitHCursor);
    } else {
        viewport()->unsetCursor();
    }
}

void ItemGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        resizing_column_ = false;
        dragging_ = false;
    }
}

void ItemGrid::wheelEvent(QWheelEvent* event) {
    event->accept();
    wheel_remainder_ += event->angleDelta().y();
    const int notches = wheel_remainder_ / kWheelNotch;
    wheel_remainder_ %= kWheelNotch;
    // Away from the user is up. Each notch is its own request: one may remove a blank item.
    const int step = notches > 0 ? -1 : 1;
    const int count = std::min(std::abs(notches), LastRow());
    for (int i = 0; i < count; ++i) {
        const int row = list_.CursorRow();
        const int target = std::clamp(row + step, 1, LastRow());
        if (target != row) {
            RequestMove({1, target});
        }
    }
}

bool ItemGrid::KeyTarget(const QKeyEvent& event, Cell& target) const {
    const int row = list_.CursorRow();
    const int last = LastRow();
    const bool control = event.modifiers() & Qt::ControlModifier;
    const bool shift = event.modifiers() & Qt::ShiftModifier;
    switch (event.key()) {
        case Qt::Key_Up:
            target = {1, control ? 1 : std::max(1, row - 1)};
            return true;
        case Qt::Key_Down:
            target = {1, control ? last : std::min(last, row + 1)};
            return true;
        case Qt::Key_Left:
            target = {0, row};
            return true;
        case Qt::Key_Right:
            target = {1, row};
            return true;
        case Qt::Key_PageUp:
            target = {1, std::max(1, row - VisibleItemRows())};
            return true;
        case Qt::Key_PageDown:
            target = {1, std::min(last, row + VisibleItemRows())};
            return true;
        case Qt::Key_Home:
            target = {1, 1};
            return true;
        case Qt::Key_End:
            target = {1, last};
            return true;
        case Qt::Key_Backtab:
            target = {0, row};
            return true;
        case Qt::Key_Tab:
            // The cell after the caption cell is the next row's link cell; after the last
            // cell there is none and the key does nothing.
            target = shift ? Cell{0, row} : row < last ? Cell{0, row + 1} : CursorCell();
            return true;
        default:
            return false;
    }
}

void ItemGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        RunGuarded(messages_, [this] { list_.EscapePressed(); });
        return;
    }
    Cell target{};
    if (!KeyTarget(*event, target)) {
        event->ignore();  // cells are not edited in place: other keys mean nothing here
        return;
    }
    event->accept();
    if (target != CursorCell()) {
        RequestMove(target);
    }
}

// ---- Dropped files ----

void ItemGrid::AcceptLocalFiles(QDragMoveEvent* event) const {
    if (drop_handler_ && !LocalPaths(event->mimeData()).empty()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void ItemGrid::dragEnterEvent(QDragEnterEvent* event) {
    AcceptLocalFiles(event);
}

void ItemGrid::dragMoveEvent(QDragMoveEvent* event) {
    AcceptLocalFiles(event);
}

void ItemGrid::dropEvent(QDropEvent* event) {
    const std::vector<std::string> paths = LocalPaths(event->mimeData());
    if (!drop_handler_ || paths.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The file manager waits for the drop to end: the handler runs once it has, so that neither
    // a long scan nor a message box holds the other program up.
    QMetaObject::invokeMethod(
        this, [this, paths] { RunGuarded(messages_, [this, &paths] { drop_handler_(paths); }); },
        Qt::QueuedConnection);
}

bool ItemGrid::focusNextPrevChild(bool /*next*/) {
    return false;
}

void ItemGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ItemGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// ---- Painting ----

void ItemGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
    viewport()->update();
}

void ItemGrid::scrollContentsBy(int /*dx*/, int /*dy*/) {
    viewport()->update();
}

QRect ItemGrid::CellRect(int column, int top) const {
    if (column == 0) {
        return QRect(0, top, link_column_width_, kRowHeight);
    }
    return QRect(link_column_width_ + kGridLineWidth, top, CaptionColumnWidth(), kRowHeight);
}

void ItemGrid::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    PaintTitleRow(painter);
    int top = kRowPitch;
    for (int row = FirstVisibleRow(); row <= LastRow() && top < viewport()->height(); ++row) {
        PaintItemRow(painter, row, top);
        top += kRowPitch;
    }
    PaintGridLines(painter, top);
}

void ItemGrid::PaintTitleRow(QPainter& painter) const {
    painter.fillRect(QRect(0, 0, viewport()->width(), kRowHeight),
                     palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::ButtonText));
    for (int column = 0; column < 2; ++column) {
        PaintCellText(painter, CellRect(column, 0), ToWidgetText(list_.CellText(column, 0)));
    }
}

void ItemGrid::PaintItemRow(QPainter& painter, int row, int top) const {
    for (int column = 0; column < 2; ++column) {
        const QRect cell = CellRect(column, top);
        const bool is_cursor = column == 1 && row == list_.CursorRow();
        if (is_cursor) {
            painter.fillRect(cell, palette().color(QPalette::Highlight));
            painter.setPen(palette().color(QPalette::HighlightedText));
        } else {
            painter.setPen(palette().color(QPalette::Text));
        }
        PaintItemCell(painter, cell, column, list_.CellText(column, row));
        if (is_cursor && hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = cell;
            focus.backgroundColor = palette().color(QPalette::Highlight);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }
}

void ItemGrid::PaintItemCell(QPainter& painter, QRect cell, int column,
                             std::string_view bytes) const {
    // A line may be megabytes long, but a cell shows at most one character per pixel of its
    // width, and no character takes more than four bytes: convert only what can show. The whole
    // cell still decides how its bytes are read, as the fields read them.
    const bool is_utf8 = IsValidUtf8(bytes);
    const std::string_view start = bytes.substr(0, 4 * static_cast<std::size_t>(cell.width()) + 4);
    // A link shows as it is typed, each "&#61;" as "=": ASCII for ASCII, so the cell's bytes are
    // still read as the whole cell decided.
    const QString shown = column == 0 ? ToWidgetText(ItemList::TypedLink(start), is_utf8)
                                      : ToWidgetText(start, is_utf8);
    PaintCellText(painter, cell, shown);
}

void ItemGrid::PaintCellText(QPainter& painter, QRect cell, const QString& text) const {
    if (cell.width() <= 2 || text.isEmpty()) {
        return;
    }
    painter.drawText(cell.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     text);
}

void ItemGrid::PaintGridLines(QPainter& painter, int bottom) const {
    painter.setPen(palette().color(QPalette::Mid));
    const int right = link_column_width_ + kGridLineWidth + CaptionColumnWidth();
    for (int y = kRowHeight; y < bottom; y += kRowPitch) {
        painter.drawLine(0, y, right, y);
    }
    painter.drawLine(link_column_width_, 0, link_column_width_, bottom - 1);
    painter.drawLine(right, 0, right, bottom - 1);
}

}  // namespace tolvane
