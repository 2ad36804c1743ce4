#include "bench/bench_support.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace tolvane::bench {

std::string ItemListText(std::size_t lines) {
    std::string text;
    text.reserve(lines * 64);
    char line[128];
    for (std::size_t i = 1; i <= lines; ++i) {
        const int length =
            std::snprintf(line, sizeof line,
                          "https://www.example.org/pages/p%07zu.shtml=Item %07zu text\r\n", i, i);
        text.append(line, static_cast<std::size_t>(length));
    }
    return text;
}

ScratchFolder::ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tolvane-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch folder");
    }
    path_ = pattern + "/";
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

double MedianSeconds(int runs, const std::function<void()>& step) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        step();
        times.push_back(SecondsSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace tolvane::bench
