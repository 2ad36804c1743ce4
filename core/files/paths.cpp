#include "core/files/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace tolvane {

std::string TrimToFolder(std::string_view path) {
    const auto end = path.find_last_of("/\\");
    if (end == std::string_view::npos) {
        return {};
    }
    return std::string(path.substr(0, end + 1));
}

std::string AbsolutePath(std::string_view path) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    fs::path absolute = fs::absolute(fs::path(path), ignored);
    if (absolute.empty()) {
        return std::string(path);
    }
    return absolute.lexically_normal().string();
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string ProgramFilePath() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace tolvane
