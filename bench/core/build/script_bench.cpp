// The search script of a million items, assembled (and let go), against `cat` copying a file of
// the script's size.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "bench/bench_support.h"
#include "core/build/script_assembly.h"
#include "core/build/search_build.h"
#include "core/files/text_file.h"

namespace tolvane::bench {
namespace {

constexpr int kItems = 1'000'000;

constexpr std::string_view kHeading =
    "// Search data\r\nvar Keyword = new Array();\r\nvar Address = new Array();\r\n";
constexpr std::string_view kEngine =
    "function dolt() {\r\n"
    "  var q = document.forms[0].elements[0].value.toLowerCase();\r\n"
    "  var MsgBox = window.open('', 'results');\r\n"
    "  for(var i=1; i<=Keyword[0]; i++) {\r\n"
    "    if (Keyword[i].toLowerCase().indexOf(q) >= 0) {\r\n"
    "      MsgBox.document.write('<a href=\"' + Address[i] + '\">' + Keyword[i] + '</a><br>');\r\n"
    "    }\r\n"
    "  }\r\n"
    "}\r\n";

// Counts the script's bytes and lets them go, through a buffer as the file's sink has one: the
// assembly's own cost, without the disk's.
class CountingSink final : public ByteSink {
  public:
    CountingSink() { SetBuffer(buffer_, buffer_ + sizeof buffer_); }
    std::size_t Count() const { return counted_ + Gathered(); }

  private:
    void Overflow(std::string_view bytes) override {
        counted_ += Gathered() + bytes.size();
        SetBuffer(buffer_, buffer_ + sizeof buffer_);
    }
    std::size_t Gathered() const { return static_cast<std::size_t>(BufferNext() - buffer_); }

    char buffer_[1 << 16];
    std::size_t counted_ = 0;
};

void BM_AssembleScript(benchmark::State& state) {
    ScratchFolder folder;
    ::mkdir((folder / "system").c_str(), 0777);
    WriteText(folder / "system/heading.txt", kHeading);
    WriteText(folder / "system/engine.txt", kEngine);
    ItemList items;
    items.SetItemLines(LineList::Split(ItemListText(kItems)));
    const ScriptInputs inputs{folder.path(), &items, LineList{kDefaultTagLine}};

    double total = 0;
    std::size_t output_bytes = 0;
    for (auto _ : state) {
        CountingSink script;
        const auto start = std::chrono::steady_clock::now();
        ScriptAssembly(inputs).WriteTo(script);
        const double seconds = SecondsSince(start);
        state.SetIterationTime(seconds);
        total += seconds;
        output_bytes = script.Count();
    }
    const ScriptAssembly assembly(inputs);
    WriteStreamed(folder / "engine.js", [&assembly](ByteSink& sink) { assembly.WriteTo(sink); });

    // The same run's baseline: cat copying a file of the script's size.
    const std::string copy_command =
        "cat '" + (folder / "engine.js") + "' > '" + (folder / "copy.js") + "'";
    const double cat_seconds = MedianSeconds(5, [&copy_command] {
        if (std::system(copy_command.c_str()) != 0) {
            std::abort();
        }
    });
    state.counters["output_MB"] = static_cast<double>(output_bytes) / 1e6;
    state.counters["cat_ms"] = cat_seconds * 1e3;
    state.counters["x_cat"] = total / static_cast<double>(state.iterations()) / cat_seconds;
    state.counters["target_x"] = 3;
}
BENCHMARK(BM_AssembleScript)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
}  // namespace tolvane::bench
