// tolvane-build: builds a search page from an item list without the window.
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_run.h"
#include "core/files/paths.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tolvane::RunCommandLine(arguments, tolvane::TrimToFolder(tolvane::ProgramFilePath()),
                                   std::cin, std::cout, std::cerr);
}
