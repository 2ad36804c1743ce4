#pragma once

#include <string>

namespace tolvane {

// Creating folders. Failures raise a `tolvane::Error` with FolderErrorText's words.

// Creates `folder` (one level) unless it already is a folder. A file of that name does not count:
// the creation then fails with "I/O error 183".
void MakeFolder(const std::string& folder);

// Creates `folder` (ending with a separator) and every missing folder above it.
void MakeFolderPath(const std::string& folder);

// The message for a failed creation of a folder, from the operating system's errno.
std::string FolderErrorText(int error_number);

}  // namespace tolvane
