// The item grid at 1,000,000 items: painting a full viewport, scrolling by a page with the
// scroll bar, and a Page Down key (a move request that scrolls). A frame at 60 Hz has 16 ms.
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWidget>
#include <memory>
#include <string>
#include <utility>

#include "bench/bench_support.h"
#include "core/items/item_list.h"
#include "gui/widgets/item_grid.h"
#include "tests/support/service_fakes.h"

namespace tolvane {
namespace {

constexpr int kItems = 1'000'000;

// One grid per case, built once: filling the list is not what is measured.
class GridOf {
  public:
    GridOf(QSize size, LineList lines) {
        list_.SetItemLines(std::move(lines));
        grid_ = new ItemGrid(list_, messages_, &window_);
        grid_->setGeometry(QRect(QPoint(0, 0), size));
        window_.resize(size);
        window_.show();
        QApplication::processEvents();
        canvas_ = QImage(grid_->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    }

    void Paint() {
        grid_->viewport()->render(&canvas_);
        benchmark::DoNotOptimize(canvas_.constBits());
    }

    // Scrolls one page on, and back to the top from the end.
    void ScrollPage() {
        QScrollBar* bar = grid_->verticalScrollBar();
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
    }

    void PageDown() {
        const bool at_end = list_.CursorRow() == list_.RowCount() - 1;
        QKeyEvent key(QEvent::KeyPress, at_end ? Qt::Key_Home : Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(grid_, &key);
    }

  private:
    ItemList list_;
    testing::FakeMessages messages_;
    QWidget window_;
    ItemGrid* grid_ = nullptr;
    QImage canvas_;
};

// The grids are widgets: they must go before the application object does, so main() lets them
// go when the benchmarks are done instead of leaving them to static destruction.
std::unique_ptr<GridOf> page_grid, large_grid, long_line_grid;

void ReleaseGrids() {
    page_grid.reset();
    large_grid.reset();
    long_line_grid.reset();
}

GridOf& Made(std::unique_ptr<GridOf>& grid, QSize size, LineList (*lines)()) {
    if (!grid) {
        grid = std::make_unique<GridOf>(size, lines());
    }
    return *grid;
}

LineList MillionItems() {
    return LineList::Split(bench::ItemListText(kItems));
}

// Argument 241: the grid at its size on the Database page; 1000: a grid of 1000 x 1000 pixels.
GridOf& Grid(const benchmark::State& state) {
    return state.range(0) > 241 ? Made(large_grid, QSize(1000, 1000), MillionItems)
                                : Made(page_grid, QSize(265, 241), MillionItems);
}

void BM_PaintFullViewport(benchmark::State& state) {
    GridOf& grid = Grid(state);
    for (auto _ : state) {
        grid.Paint();
    }
}
BENCHMARK(BM_PaintFullViewport)->Arg(241)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ScrollBarPageAndPaint(benchmark::State& state) {
    GridOf& grid = Grid(state);
    for (auto _ : state) {
        grid.ScrollPage();
        grid.Paint();
    }
}
BENCHMARK(BM_ScrollBarPageAndPaint)->Arg(241)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_PageDownKeyAndPaint(benchmark::State& state) {
    GridOf& grid = Grid(state);
    for (auto _ : state) {
        grid.PageDown();
        grid.Paint();
    }
}
BENCHMARK(BM_PageDownKeyAndPaint)->Arg(241)->Arg(1000)->Unit(benchmark::kMillisecond);

// A list file of 100 MB in one line: the cells show only what fits, so the frame stays short.
void BM_PaintHundredMegabyteLine(benchmark::State& state) {
    GridOf& grid = Made(long_line_grid, QSize(265, 241), [] {
        return LineList{std::string(50'000'000, 'L') + "=" + std::string(50'000'000, 'C')};
    });
    for (auto _ : state) {
        grid.Paint();
    }
}
BENCHMARK(BM_PaintHundredMegabyteLine)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tolvane

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    tolvane::ReleaseGrids();
    benchmark::Shutdown();
    return 0;
}
