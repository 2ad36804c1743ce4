// Thousands of random grid events and list operations on the real grid widget; after each the
// list's invariants and the grid's view of them must hold. A failure names its random seed and
// step; TOLVANE_MONKEY_SEED replays another seed.

#include <gtest/gtest.h>

#include <QScrollBar>
#include <algorithm>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>

#include "gui/widgets/item_grid.h"
#include "tests/gui/widgets/grid_harness.h"

namespace tolvane {
namespace {

using testing::GridHarness;
using testing::NumberedLines;

constexpr unsigned kDefaultSeed = 20261210;
constexpr int kSteps = 4000;

unsigned MonkeySeed() {
    const char* text = std::getenv("TOLVANE_MONKEY_SEED");
    return text != nullptr ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : kDefaultSeed;
}

class Monkey {
  public:
    Monkey(GridHarness& harness, unsigned seed) : h_(harness), random_(seed) {}

    // Does one random thing and says what it was.
    std::string Step() {
        switch (Pick(0, 13)) {
            case 0:
            case 1:
                return Click();
            case 2:
                return Drag();
            case 3:
            case 4:
            case 5:
                return Key();
            case 6:
                return Wheel();
            case 7:
                h_.Key(Qt::Key_Escape);
                return "Esc";
            case 8:
                return ListChange();
            case 9:
            case 10:
                return Operation();
            case 11:
                return NewLines();
            case 12:
                return Resize();
            default:
                return BorderDrag();
        }
    }

  private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // Empty texts often, so blank items keep turning up.
    std::string Text() {
        static const char* const kTexts[] = {"", "", "x", "a=b", "http://site/?q=1", "long"};
        return kTexts[Pick(0, 5)];
    }

    QPoint AnyPoint() {
        QWidget* viewport = h_.Viewport();
        return {Pick(0, viewport->width() - 1), Pick(0, viewport->height() - 1)};
    }

    std::string Click() {
        const QPoint at = AnyPoint();
        QTest::mouseClick(h_.Viewport(), Qt::LeftButton, {}, at);
        return "click " + Where(at);
    }

    std::string Drag() {
        QWidget* viewport = h_.Viewport();
        QPoint at = AnyPoint();
        std::string text = "drag " + Where(at);
        QTest::mousePress(viewport, Qt::LeftButton, {}, at);
        for (int i = Pick(1, 6); i > 0; --i) {
            at = QPoint(Pick(-20, viewport->width() + 20), Pick(-40, viewport->height() + 40));
            QTest::mouseMove(viewport, at);
            text += " " + Where(at);
        }
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
        return text;
    }

    std::string Key() {
        static const Qt::Key kKeys[] = {Qt::Key_Up,     Qt::Key_Down,   Qt::Key_Left,
                                        Qt::Key_Right,  Qt::Key_PageUp, Qt::Key_PageDown,
                                        Qt::Key_Home,   Qt::Key_End,    Qt::Key_Tab,
                                        Qt::Key_Return, Qt::Key_Delete, Qt::Key_A};
        static const Qt::KeyboardModifiers kModifiers[] = {Qt::NoModifier, Qt::NoModifier,
                                                           Qt::ControlModifier, Qt::ShiftModifier};
        const int key = Pick(0, 11);
        const int modifiers = Pick(0, 3);
        h_.Key(kKeys[key], kModifiers[modifiers]);
        return "key " + std::to_string(key) + " modifiers " + std::to_string(modifiers);
    }

    std::string Wheel() {
        const int delta = Pick(-5, 5) * 60;
        h_.Wheel(delta);
        return "wheel " + std::to_string(delta);
    }

    std::string ListChange() {
        ItemList& list = h_.list;
        const int count = list.ItemCount();
        switch (Pick(0, 2)) {
            case 0: {
                const std::string link = Text();
                const std::string caption = Text();
                list.AppendItem(link, caption);
                return "AppendItem " + link + " " + caption;
            }
            case 1:
                if (count > 0) {
                    const int row = Pick(1, count);
                    list.RemoveRow(row);
                    return "RemoveRow " + std::to_string(row);
                }
                return "RemoveRow skipped";
            default:
                if (count > 0) {
                    const int from = Pick(0, count - 1);
                    const int to = Pick(0, count - 1);
                    list.MoveItem(from, to);
                    return "MoveItem " + std::to_string(from) + " " + std::to_string(to);
                }
                return "MoveItem skipped";
        }
    }

    std::string Operation() {
        ItemEditor& editor = h_.editor;
        h_.fields.link = Text();
        h_.fields.caption = Text();
        h_.fields.answer_yes = Pick(0, 1) == 1;
        switch (Pick(0, 7)) {
            case 0:
                editor.AddItem();
                return "AddItem";
            case 1:
                editor.ReplaceItem();
                return "ReplaceItem";
            case 2:
                editor.DeleteItem();
                return "DeleteItem";
            case 3:
                editor.MoveUp();
                return "MoveUp";
            case 4:
                editor.MoveDown();
                return "MoveDown";
            case 5:
                editor.MoveToTop();
                return "MoveToTop";
            case 6:
                editor.MoveToBottom();
                return "MoveToBottom";
            default:
                editor.ClearList();
                return "ClearList";
        }
    }

    std::string NewLines() {
        const int count = Pick(0, 3) == 0 ? Pick(0, 3000) : Pick(0, 12);
        LineList lines = NumberedLines(count);
        for (std::size_t i = 0; i < lines.size(); i += static_cast<std::size_t>(Pick(2, 5))) {
            lines.Replace(i, Pick(0, 1) == 0 ? "=" : "no separator");
        }
        h_.list.SetItemLines(std::move(lines));
        return "SetItemLines " + std::to_string(count);
    }

    std::string Resize() {
        const int width = Pick(60, 400);
        const int height = Pick(30, 400);
        h_.grid->resize(width, height);
        return "resize " + std::to_string(width) + "x" + std::to_string(height);
    }

    std::string BorderDrag() {
        QWidget* viewport = h_.Viewport();
        const QPoint border(h_.grid->LinkColumnWidth(), 9);
        const QPoint to(Pick(-10, viewport->width() + 10), Pick(0, 18));
        QTest::mousePress(viewport, Qt::LeftButton, {}, border);
        QTest::mouseMove(viewport, to);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
        return "border drag to " + Where(to);
    }

    static std::string Where(QPoint at) {
        return "(" + std::to_string(at.x()) + "," + std::to_string(at.y()) + ")";
    }

    GridHarness& h_;
    std::mt19937 random_;
};

// Empty when every invariant holds, else what broke.
std::string BrokenInvariant(const GridHarness& h) {
    std::ostringstream broken;
    const ItemList& list = h.list;
    const int rows = list.RowCount();
    if (rows != std::max(list.ItemCount(), 1) + 1) {
        broken << "row count " << rows << " for " << list.ItemCount() << " items; ";
    }
    if (list.CursorRow() < 1 || list.CursorRow() > rows - 1) {
        broken << "cursor row " << list.CursorRow() << " of " << rows << " rows; ";
    }
    if (h.editor.CurrentRow() < 1) {
        broken << "CurrentRow " << h.editor.CurrentRow() << "; ";
    }
    const QScrollBar* bar = h.grid->verticalScrollBar();
    if (bar->maximum() != std::max(0, rows - 1 - h.grid->VisibleItemRows())) {
        broken << "scroll maximum " << bar->maximum() << " for " << rows << " rows; ";
    }
    const int caption = h.grid->viewport()->width() - h.grid->LinkColumnWidth() - 2;
    if (h.grid->CaptionColumnWidth() != std::max(0, caption)) {
        broken << "caption column " << h.grid->CaptionColumnWidth() << "; ";
    }
    return broken.str();
}

TEST(ItemGridMonkey, InvariantsHoldAfterEveryRandomStep) {
    const unsigned seed = MonkeySeed();
    GridHarness h;
    Monkey monkey(h, seed);
    for (int step = 1; step <= kSteps; ++step) {
        const std::string action = monkey.Step();
        if (step % 10 == 0) {
            h.Viewport()->grab();  // paints every visible cell of the state reached
        }
        const std::string broken = BrokenInvariant(h);
        ASSERT_EQ(broken, "") << "seed " << seed << " step " << step << " after " << action;
    }
}

}  // namespace
}  // namespace tolvane
