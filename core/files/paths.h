#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// The separator this platform writes between folders.
inline constexpr char kPathSeparator = '/';

// Removes characters from the end of `path` until its last character is a "/" or a "\"; that
// separator stays. A path without any separator, and the empty path, give "".
std::string TrimToFolder(std::string_view path);

// `path` made absolute against the current folder and normalised ("." and ".." resolved
// lexically, a trailing separator kept). Used wherever a message names a file.
std::string AbsolutePath(std::string_view path);

// True when `path` names an existing file that is not a folder (links followed).
bool FileExists(const std::string& path);

// True when `path` names an existing folder (links followed).
bool FolderExists(const std::string& path);

// The full path of the running program's file.
std::string ProgramFilePath();

}  // namespace tolvane
