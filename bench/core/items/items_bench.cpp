// The item list at a million items: opening a list (split + SetItemLines) against a plain read
// of the same file, and the single operations that move or remove one line.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_support.h"
#include "core/files/line_list.h"
#include "core/files/text_file.h"
#include "core/items/item_editor.h"
#include "core/items/item_list.h"
#include "tests/support/core_fakes.h"

namespace tolvane::bench {
namespace {

constexpr int kItems = 1'000'000;

// The million-line list file, written once, and the median time of reading its bytes.
struct ListFile {
    ListFile() {
        WriteText(path, ItemListText(kItems));
        read_seconds = MedianSeconds(5, [this] { benchmark::DoNotOptimize(ReadFileBytes(path)); });
    }
    ScratchFolder folder;
    std::string path = folder / "items.til";
    double read_seconds = 0;
};

const ListFile& TheListFile() {
    static const ListFile file;
    return file;
}

void BM_ReadFileBytes(benchmark::State& state) {
    const std::string& path = TheListFile().path;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadFileBytes(path));
    }
}
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond);

void BM_SplitAndSetItemLines(benchmark::State& state) {
    const std::string text(ReadFileBytes(TheListFile().path).View());
    ItemList list;
    double total = 0;
    for (auto _ : state) {
        std::string copy = text;  // Split takes its text over; the copy is not timed
        const auto start = std::chrono::steady_clock::now();
        list.SetItemLines(LineList::Split(std::move(copy)));
        const double seconds = SecondsSince(start);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    state.counters["items"] = list.ItemCount();
    state.counters["x_read"] =
        total / static_cast<double>(state.iterations()) / TheListFile().read_seconds;
    state.counters["target_x"] = 3;
}
BENCHMARK(BM_SplitAndSetItemLines)->Unit(benchmark::kMillisecond)->UseManualTime();

// A million items and the operations on them; `prepare` runs untimed before each `operation`.
template <typename Prepare, typename Operation>
void TimeOperation(benchmark::State& state, Prepare prepare, Operation operation) {
    ItemList list;
    list.SetItemLines(LineList::Split(ItemListText(kItems)));
    testing::FakeFields fields;
    ItemEditor editor(list, fields);
    for (auto _ : state) {
        prepare(list, editor);
        const auto start = std::chrono::steady_clock::now();
        operation(editor);
        state.SetIterationTime(SecondsSince(start));
    }
    state.counters["items"] = list.ItemCount();
    state.counters["target_ms"] = 20;
}

void Select(ItemEditor& editor, int row) {
    bool grant = true;
    editor.SelectCell(1, row, grant);
}

// The worst cases: every line between the two ends shifts.
void BM_MoveToTopFromLastRow(benchmark::State& state) {
    TimeOperation(
        state, [](ItemList&, ItemEditor& editor) { Select(editor, kItems); },
        [](ItemEditor& editor) { editor.MoveToTop(); });
}
BENCHMARK(BM_MoveToTopFromLastRow)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_MoveToBottomFromFirstRow(benchmark::State& state) {
    TimeOperation(
        state, [](ItemList&, ItemEditor& editor) { Select(editor, 1); },
        [](ItemEditor& editor) { editor.MoveToBottom(); });
}
BENCHMARK(BM_MoveToBottomFromFirstRow)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_DeleteFirstItem(benchmark::State& state) {
    TimeOperation(
        state,
        [](ItemList& list, ItemEditor& editor) {
            if (list.ItemCount() < kItems) {
                list.AppendItem("https://www.example.org/pages/again.shtml", "Item again");
            }
            Select(editor, 1);
        },
        [](ItemEditor& editor) { editor.DeleteItem(); });
}
BENCHMARK(BM_DeleteFirstItem)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
}  // namespace tolvane::bench
