#include "tests/support/fault_env.h"

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/files/error.h"

namespace tolvane::testing {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tolvane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    ::chmod(pattern.c_str(), 0777);
    path_ = pattern + "/";
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Give back write access that a test took away, so everything can be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            ::chmod(it->path().c_str(), 0777);
        }
    }
    std::filesystem::remove_all(path_, ignored);
}

SmallDisk::SmallDisk(std::size_t bytes) {
    if (!IsRoot()) {
        return;
    }
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
    mounted_ = ::mount("tmpfs", folder_.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
}

SmallDisk::~SmallDisk() {
    if (mounted_) {
        ::umount2(folder_.path().c_str(), MNT_DETACH);
    }
}

void SmallDisk::Fill() {
    std::ofstream filler(folder_.path() + "filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
        filler.flush();
    }
}

bool IsRoot() {
    return ::geteuid() == 0;
}

std::string RunUnprivileged(const std::function<std::string()>& step) {
    auto guarded = [&step]() -> std::string {
        try {
            return step();
        } catch (const std::exception& error) {
            return std::string("error: ") + error.what();
        }
    };
    if (!IsRoot()) {
        return guarded();
    }
    int channel[2];
    if (::pipe(channel) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        int status = 0;
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            status = 3;
        } else {
            const std::string result = guarded();
            if (::write(channel[1], result.data(), result.size()) < 0) {
                status = 4;
            }
        }
        ::close(channel[1]);
        ::_exit(status);
    }
    ::close(channel[1]);
    std::string result;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0) {
        result.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the unprivileged step failed to run");
    }
    return result;
}

std::optional<std::size_t> UnnamedFileSize(pid_t pid, const std::string& folder) {
    // The system shows such a file's descriptor as a link to "<folder>#<inode> (deleted)".
    const std::string descriptors = "/proc/" + std::to_string(pid) + "/fd";
    const std::string deleted = " (deleted)";
    std::optional<std::size_t> largest;
    // The process may end meanwhile: its descriptors then simply stop.
    std::error_code gone;
    for (auto it = std::filesystem::directory_iterator(descriptors, gone);
         it != std::filesystem::directory_iterator(); it.increment(gone)) {
        const std::string target = std::filesystem::read_symlink(it->path(), gone).string();
        struct stat info {};
        if (!gone && target.rfind(folder + "#", 0) == 0 && target.ends_with(deleted) &&
            ::stat(it->path().c_str(), &info) == 0) {
            largest = std::max(largest.value_or(0), static_cast<std::size_t>(info.st_size));
        }
    }
    return largest;
}

namespace {

void SetEnvironment(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name.c_str());
    }
}

}  // namespace

ScopedEnvironment::ScopedEnvironment(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)) {
    if (const char* former = std::getenv(name_.c_str())) {
        former_ = former;
    }
    SetEnvironment(name_, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironment(name_, former_);
}

void PutFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write fixture " + path);
    }
}

std::string GetFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string MessageOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

std::string FolderListing(const std::string& folder) {
    std::error_code missing;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder, missing)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) {
        listing += (listing.empty() ? "" : " ") + name;
    }
    return listing;
}

}  // namespace tolvane::testing
