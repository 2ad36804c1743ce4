#include "core/files/folders.h"

#include <sys/stat.h>

#include <cerrno>
#include <string_view>

#include "core/files/error.h"
#include "core/files/paths.h"

namespace tolvane {
namespace {

// What a failed creation of a folder says, by the operating system's error. The program words
// I/O failures by its own numbered texts (3 "Invalid filename", 4 "Too many open files",
// 5 "File access denied", 101 "Disk full"); a name already taken by a file is 183, and an error
// without a text of its own is shown as "I/O error " and its number.
struct FolderErrorEntry {
    int error_number;
    std::string_view text;
};
constexpr FolderErrorEntry kFolderErrors[] = {
    {ENOENT, "Invalid filename"},     // 3
    {ENOTDIR, "Invalid filename"},    // 3
    {EEXIST, "I/O error 183"},        // 183
    {EACCES, "File access denied"},   // 5
    {EPERM, "File access denied"},    // 5
    {EROFS, "File access denied"},    // 5
    {EMFILE, "Too many open files"},  // 4
    {ENFILE, "Too many open files"},  // 4
    {ENOSPC, "Disk full"},            // 101
};

}  // namespace

void MakeFolder(const std::string& folder) {
    if (FolderExists(folder)) {
        return;
    }
    if (::mkdir(folder.c_str(), 0777) != 0) {
        const int error_number = errno;
        // Another program may have made the folder meanwhile; only a folder will do.
        if (error_number != EEXIST || !FolderExists(folder)) {
            throw Error(FolderErrorText(error_number));
        }
    }
}

void MakeFolderPath(const std::string& folder) {
    for (std::size_t end = folder.find('/', 1); end != std::string::npos;
         end = folder.find('/', end + 1)) {
        MakeFolder(folder.substr(0, end));
    }
}

std::string FolderErrorText(int error_number) {
    for (const FolderErrorEntry& entry : kFolderErrors) {
        if (entry.error_number == error_number) {
            return std::string(entry.text);
        }
    }
    return "I/O error " + std::to_string(error_number);
}

}  // namespace tolvane
