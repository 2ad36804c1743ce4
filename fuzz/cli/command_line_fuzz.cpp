// Parses fuzzed arguments (split at NUL bytes, as a process receives them) as tolvane-build's
// command line. The parser may only refuse with a UsageError; what it accepts must be a complete
// command line, and writing that back in the one canonical spelling must parse to the same.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "core/build/search_build.h"
#include "fuzz/fuzz_rules.h"

namespace {

using tolvane::CommandLine;
using tolvane::fuzz::Require;

std::vector<std::string> SplitAtNul(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.emplace_back();
        } else {
            arguments.back() += static_cast<char>(data[i]);
        }
    }
    return arguments;
}

std::vector<std::string> Canonical(const CommandLine& line) {
    std::vector<std::string> arguments = {"--title=" + line.title,
                                          "--button=" + line.button_caption};
    if (!line.output_folder.empty()) {
        arguments.push_back("--output=" + line.output_folder);
    }
    if (line.tags_file) {
        arguments.push_back("--tags=" + *line.tags_file);
    }
    if (line.data_folder) {
        arguments.push_back("--data=" + *line.data_folder);
    }
    if (line.site_folder) {
        arguments.push_back("--scan=" + *line.site_folder);
    }
    if (line.saved_list_file) {
        arguments.push_back("--save-list=" + *line.saved_list_file);
    }
    arguments.push_back("--link-prefix=" + line.link_prefix);
    arguments.push_back(
        "--style=" +
        (line.style_index == 0
             ? line.style_file
             : std::string(tolvane::kStyleEntries[static_cast<std::size_t>(line.style_index)])));
    arguments.push_back("--");
    if (!line.list_file.empty()) {
        arguments.push_back(line.list_file);
    }
    return arguments;
}

bool SameBuild(const CommandLine& a, const CommandLine& b) {
    return a.list_file == b.list_file && a.output_folder == b.output_folder && a.title == b.title &&
           a.button_caption == b.button_caption && a.tags_file == b.tags_file &&
           a.style_index == b.style_index && a.style_file == b.style_file &&
           a.data_folder == b.data_folder && a.site_folder == b.site_folder &&
           a.link_prefix == b.link_prefix && a.saved_list_file == b.saved_list_file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CommandLine line;
    try {
        line = tolvane::ParseCommandLine(SplitAtNul(data, size));
    } catch (const tolvane::UsageError& error) {
        Require(*error.what() != '\0', "a refusal says why");
        return 0;
    }
    if (line.show_help || line.show_version) {
        return 0;
    }
    Require(!line.list_file.empty() || line.site_folder, "a list file or a site folder is named");
    Require(line.style_index >= 0 && line.style_index < 8, "style index names an entry");
    Require((line.style_index == 0) == !line.style_file.empty(), "a style file only for entry 0");
    Require(!line.tags_file || !line.tags_file->empty(), "tags file name not empty");
    Require(!line.data_folder || !line.data_folder->empty(), "data folder name not empty");
    Require(!line.site_folder || !line.site_folder->empty(), "site folder name not empty");
    Require(!line.saved_list_file || !line.saved_list_file->empty(), "saved list name not empty");
    Require(SameBuild(tolvane::ParseCommandLine(Canonical(line)), line),
            "the canonical spelling parses to the same command line");
    return 0;
}
