#pragma once

#include <string>

namespace tolvane {

// Where the program's own files lie, worked out from the folder of the program's file
// (`program_folder`, with its trailing separator). Two layouts are known: the portable folder,
// where everything lies beside the program, and an installation under a prefix such as /usr,
// with the programs in bin/ and the rest in share/tolvane/ (read-only for the users).

// The folder that holds system/ (the script templates) and Styles/: the program's own folder
// when system/ lies beside the program, else ../share/tolvane/ relative to it when system/ lies
// there. When neither holds it, the program's folder, so that the build's errors name the
// files where the portable folder would hold them.
std::string DataFolderFor(const std::string& program_folder);

// The folder a preview build writes into: the program folder's temp/ when it is a folder that
// this user may write in (the portable folder); else UserCacheFolder() + "tolvane/temp/",
// which the build creates on first use.
std::string PreviewFolderFor(const std::string& program_folder);

// The user's cache folder, with its trailing separator: $XDG_CACHE_HOME when that is an
// absolute path (a relative or empty one is ignored, as the XDG base directories ask), else
// the home folder ($HOME, else the user's entry in the password database) + ".cache/".
std::string UserCacheFolder();

}  // namespace tolvane
