#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tolvane {

// Exit statuses of tolvane-build.
inline constexpr int kExitBuilt = 0;     // engine.js, index.html and style.css written
inline constexpr int kExitFailed = 1;    // an error, or the style sheet could not be loaded
inline constexpr int kExitBadUsage = 2;  // the arguments make no sense; a one-line hint given

// Runs tolvane-build on `arguments` (those after the program name): reads the item list, runs
// the same build as the window's preview into the output folder, and reports as the window
// would, one message a line on `errors`, each after "tolvane-build: " (errors with the error
// box's "." rule, the style notice unchanged). `program_folder` (with its trailing separator)
// is the folder of the program's file, from which system/ and Styles/ are found
// (DataFolderFor) unless --data names their folder. LIST "-" is read from `input`; --help
// and --version write to `output`. Returns the exit status.
int RunCommandLine(const std::vector<std::string>& arguments, const std::string& program_folder,
                   std::istream& input, std::ostream& output, std::ostream& errors);

}  // namespace tolvane
