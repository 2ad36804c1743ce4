#pragma once

// Test helpers for faults that need the real file system: a small disk that fills up, and
// running a step as an unprivileged user (root ignores file permissions).

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace tolvane::testing {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
// World-writable, so that an unprivileged step can use it too.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // The folder's path with a trailing separator.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

  private:
    std::string path_;
};

// A tmpfs of `bytes` mounted on a fresh folder (needs root); unmounted at the end.
class SmallDisk {
  public:
    explicit SmallDisk(std::size_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& path() const { return folder_.path(); }
    // Fills the disk up to its last few bytes.
    void Fill();

  private:
    TempFolder folder_;
    bool mounted_ = false;
};

// True when the process may mount file systems and change user (runs as root).
bool IsRoot();

// Runs `step` as the user "nobody" in a child process when this process is root (else in this
// process) and returns what it returned; an exception's message is returned as "error: " + it.
std::string RunUnprivileged(const std::function<std::string()>& step);

// The message of the `tolvane::Error` that `step` raises, or "no error" when it raises none.
std::string MessageOf(const std::function<void()>& step);

// The names in `folder`, sorted and joined by blanks; "" when the folder does not exist.
std::string FolderListing(const std::string& folder);

// The size of the largest file without a name (O_TMPFILE) in `folder` that process `pid` holds
// open, or nothing when it holds none: how far a write has come before its file is named.
std::optional<std::size_t> UnnamedFileSize(pid_t pid, const std::string& folder);

// Sets (or, given nothing, unsets) an environment variable for one scope, then puts back what
// it was.
class ScopedEnvironment {
  public:
    ScopedEnvironment(std::string name, const std::optional<std::string>& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    std::string name_;
    std::optional<std::string> former_;
};

// Writes `bytes` to `path` exactly (a helper for fixtures, not the code under test).
void PutFile(const std::string& path, const std::string& bytes);
std::string GetFile(const std::string& path);

}  // namespace tolvane::testing
