#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace tolvane::bench {

// The text of an item list file with `lines` items, each line about 62 bytes plus CR LF, so a
// million lines make about 64 MB: "https://www.example.org/pages/p0000001.shtml=Item 0000001 text".
std::string ItemListText(std::size_t lines);

// A fresh folder under the system's temporary folder, removed with its content at the end.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    // The folder's path with a trailing separator.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

  private:
    std::string path_;
};

// The median wall-clock time of `runs` calls of `step`, in seconds.
double MedianSeconds(int runs, const std::function<void()>& step);

// Wall-clock seconds since `start`.
inline double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace tolvane::bench
