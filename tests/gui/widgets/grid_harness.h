#pragma once

// A real item grid inside a small window, bound to a real item list and the program's item
// operations, with the fields recorded instead of shown.

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "core/items/item_editor.h"
#include "core/items/item_list.h"
#include "gui/widgets/item_grid.h"
#include "tests/support/service_fakes.h"

namespace tolvane::testing {

// Lines "link<i>=caption<i>" for i = 1..count, split from one block as a list file would be.
inline LineList NumberedLines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += "link" + std::to_string(i) + "=caption" + std::to_string(i) + "\n";
    }
    return LineList::Split(std::move(text));
}

class GridHarness {
  public:
    GridHarness() {
        window.resize(300, 300);
        auto* created = new ItemGrid(list, messages, &window);
        created->setGeometry(8, 24, 265, 241);
        window.show();
        grid = window.findChild<ItemGrid*>("itemGrid");
    }

    QWidget* Viewport() const { return grid->viewport(); }

    // The middle of a cell of a row that is on screen.
    QPoint CellCenter(int column, int row) const {
        const int x = column == 0 ? grid->LinkColumnWidth() / 2
                                  : grid->LinkColumnWidth() + 1 + grid->CaptionColumnWidth() / 2;
        const int y =
            (row - grid->FirstVisibleRow() + 1) * ItemGrid::kRowPitch + ItemGrid::kRowHeight / 2;
        return {x, row == 0 ? ItemGrid::kRowHeight / 2 : y};
    }

    void Click(int column, int row) {
        QTest::mouseClick(Viewport(), Qt::LeftButton, {}, CellCenter(column, row));
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(grid, static_cast<Qt::Key>(key), modifiers);
    }
    // Positive deltas turn the wheel away from the user; 120 is one notch.
    void Wheel(int delta) {
        const QPointF at = CellCenter(1, grid->FirstVisibleRow());
        QWheelEvent event(at, Viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Viewport(), &event);
    }

    // Puts the cursor on a row without counting the notification it fires.
    void PlaceCursor(int row) {
        list.MoveRequest(1, row);
        fields.notifications = 0;
    }

    bool CursorVisible() const {
        const int row = list.CursorRow();
        return row >= grid->FirstVisibleRow() &&
               row < grid->FirstVisibleRow() + grid->VisibleItemRows();
    }

    std::vector<std::string> Lines() const { return list.ItemLines().ToVector(); }

    // Declared before the window, so the grid goes first and the list and messages outlive it.
    ItemList list;
    FakeFields fields;
    ItemEditor editor{list, fields};
    FakeMessages messages;  // errors raised while the grid handles input
    QWidget window;
    ItemGrid* grid = nullptr;
};

}  // namespace tolvane::testing
