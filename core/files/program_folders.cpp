#include "core/files/program_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "core/files/paths.h"

namespace tolvane {
namespace {

constexpr std::string_view kInstalledDataFolder = "../share/tolvane/";
constexpr std::string_view kPreviewFolderName = "temp/";
constexpr std::string_view kCachedPreviewFolder = "tolvane/temp/";

bool HoldsTemplates(const std::string& folder) {
    return FolderExists(folder + "system");
}

bool IsWritableFolder(const std::string& folder) {
    return FolderExists(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != kPathSeparator) {
        folder += kPathSeparator;
    }
    return folder;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

}  // namespace

std::string DataFolderFor(const std::string& program_folder) {
    if (HoldsTemplates(program_folder)) {
        return program_folder;
    }
    // Resolved, so that messages name /usr/share/tolvane/... rather than /usr/bin/../share/...
    const std::string installed = AbsolutePath(program_folder + std::string(kInstalledDataFolder));
    return HoldsTemplates(installed) ? installed : program_folder;
}

std::string PreviewFolderFor(const std::string& program_folder) {
    const std::string beside = program_folder + std::string(kPreviewFolderName);
    if (IsWritableFolder(beside)) {
        return beside;
    }
    return UserCacheFolder() + std::string(kCachedPreviewFolder);
}

std::string UserCacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && *cache == kPathSeparator) {
        return WithSeparator(cache);
    }
    return WithSeparator(HomeFolder()) + ".cache/";
}

}  // namespace tolvane
