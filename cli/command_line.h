#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/build/search_build.h"
#include "core/site/site_scan.h"

namespace tolvane {

// The arguments of `tolvane-build`, parsed:
//
//   tolvane-build [OPTIONS] LIST
//   tolvane-build [OPTIONS] --scan SITE_DIR [LIST]
//     LIST                an item list file ("-" reads standard input)
//     --scan SITE_DIR     items from the web pages of a site folder, after those of LIST if given
//     --link-prefix TEXT  what the scanned pages' links begin with; default "../"
//     --save-list FILE    also write the items the page is built from as a list file
//     -o, --output DIR    folder to write into; created with its parents; default: current folder
//     -t, --title TEXT    page title; default "Site Search"
//     -b, --button TEXT   search button caption; default "Search"
//     --tags FILE         additional tags, one line of HTML per line of FILE
//     -s, --style STYLE   a style name ("Dark Style" ... "Zergs") or the path of a .css file
//     --data DIR          folder holding system/ and Styles/; default: DataFolderFor the
//                         program's folder
//     -h, --help / --version
//
// A value follows its option as the next argument, or joined: "--title=Find", "-tFind". "--"
// ends the options, so that a LIST beginning with "-" can be named. The last of a repeated
// option counts. -h/--help and --version end the parsing where they stand: what follows them
// is not looked at and no LIST is needed. Without --scan, LIST must be given.
struct CommandLine {
    std::string list_file;      // "-" for standard input; "" only with a site folder
    std::string output_folder;  // "" for the current folder
    std::string title = "Site Search";
    std::string button_caption = "Search";
    std::optional<std::string> tags_file;  // none: the default credit line
    // Style chooser index (1 to 7 for the named styles, 0 for a style sheet file) and, for 0,
    // the file. A STYLE that is exactly one of the seven names picks it; anything else is a path.
    int style_index = kDefaultStyleIndex;
    std::string style_file;
    std::optional<std::string> data_folder;  // none: found from the program's folder
    std::optional<std::string> site_folder;  // none: no scan
    std::string link_prefix = std::string(kDefaultLinkPrefix);
    std::optional<std::string> saved_list_file;  // none: no list written
    bool show_help = false;
    bool show_version = false;
};

// Bad usage; the message says what is wrong in a few words, without the hint to --help.
class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// Parses the arguments that follow the program name. Pure: reads nothing but `arguments` and
// throws nothing but UsageError (an unknown option, a missing or empty value, neither LIST nor
// --scan, more than one LIST). Path values (LIST, DIR, FILE, a style path) must not be empty;
// the link prefix may be.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text that --help prints.
std::string HelpText();

}  // namespace tolvane
