#include "cli/command_line.h"

namespace tolvane {
namespace {

enum class OptionKind {
    kOutput,
    kTitle,
    kButton,
    kTags,
    kStyle,
    kData,
    kScan,
    kLinkPrefix,
    kSaveList
};

struct OptionSpec {
    char short_name;  // '\0' when the option has only its long form
    std::string_view long_name;
    OptionKind kind;
    bool takes_path;  // an empty value is refused
};

constexpr OptionSpec kOptions[] = {
    {'o', "output", OptionKind::kOutput, true},
    {'t', "title", OptionKind::kTitle, false},
    {'b', "button", OptionKind::kButton, false},
    {'\0', "tags", OptionKind::kTags, true},
    {'s', "style", OptionKind::kStyle, true},
    {'\0', "data", OptionKind::kData, true},
    {'\0', "scan", OptionKind::kScan, true},
    {'\0', "link-prefix", OptionKind::kLinkPrefix, false},
    {'\0', "save-list", OptionKind::kSaveList, true},
};

const OptionSpec* FindLong(std::string_view name) {
    for (const OptionSpec& definition : kOptions) {
        if (definition.long_name == name) {
            return &definition;
        }
    }
    return nullptr;
}

const OptionSpec* FindShort(char name) {
    for (const OptionSpec& definition : kOptions) {
        if (definition.short_name != '\0' && definition.short_name == name) {
            return &definition;
        }
    }
    return nullptr;
}

void ChooseStyle(CommandLine& line, const std::string& style) {
    for (std::size_t index = 1; index < kStyleEntries.size(); ++index) {
        if (kStyleEntries[index] == style) {
            line.style_index = static_cast<int>(index);
            line.style_file.clear();
            return;
        }
    }
    line.style_index = 0;
    line.style_file = style;
}

void Apply(CommandLine& line, OptionKind kind, const std::string& value) {
    switch (kind) {
        case OptionKind::kOutput:
            line.output_folder = value;
            break;
        case OptionKind::kTitle:
            line.title = value;
            break;
        case OptionKind::kButton:
            line.button_caption = value;
            break;
        case OptionKind::kTags:
            line.tags_file = value;
            break;
        case OptionKind::kStyle:
            ChooseStyle(line, value);
            break;
        case OptionKind::kData:
            line.data_folder = value;
            break;
        case OptionKind::kScan:
            line.site_folder = value;
            break;
        case OptionKind::kLinkPrefix:
            line.link_prefix = value;
            break;
        case OptionKind::kSaveList:
            line.saved_list_file = value;
            break;
    }
}

// An option argument split into what names the option and the value joined to it, if any.
struct OptionWord {
    const OptionSpec* definition = nullptr;
    std::string spelling;  // as the user wrote the option's name, for messages
    std::optional<std::string> joined_value;
};

OptionWord ReadOptionWord(const std::string& argument) {
    OptionWord word;
    if (argument.starts_with("--")) {
        const std::size_t equals = argument.find('=');
        word.spelling = argument.substr(0, equals);
        if (equals != std::string::npos) {
            word.joined_value = argument.substr(equals + 1);
        }
        word.definition = FindLong(std::string_view(word.spelling).substr(2));
    } else {
        word.spelling = argument.substr(0, 2);
        if (argument.size() > 2) {
            word.joined_value = argument.substr(2);
        }
        word.definition = FindShort(argument[1]);
    }
    if (word.definition == nullptr) {
        throw UsageError("unknown option '" + word.spelling + "'");
    }
    return word;
}

bool IsOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    std::vector<std::string> lists;
    bool options_ended = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (options_ended || !IsOption(argument)) {
            lists.push_back(argument);
            continue;
        }
        if (argument == "--") {
            options_ended = true;
            continue;
        }
        if (argument == "-h" || argument == "--help") {
            line.show_help = true;
            return line;
        }
        if (argument == "--version") {
            line.show_version = true;
            return line;
        }
        const OptionWord word = ReadOptionWord(argument);
        std::string value;
        if (word.joined_value) {
            value = *word.joined_value;
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            throw UsageError("option '" + word.spelling + "' needs a value");
        }
        if (word.definition->takes_path && value.empty()) {
            throw UsageError("option '" + word.spelling + "' needs a non-empty value");
        }
        Apply(line, word.definition->kind, value);
    }
    if (lists.empty() && !line.site_folder) {
        throw UsageError("no item list file given");
    }
    if (lists.size() > 1) {
        throw UsageError("more than one item list file given");
    }
    if (!lists.empty()) {
        if (lists.front().empty()) {
            throw UsageError("the item list file name is empty");
        }
        line.list_file = lists.front();
    }
    return line;
}

std::string HelpText() {
    std::string styles;
    for (std::size_t index = 1; index < kStyleEntries.size(); ++index) {
        styles +=
            std::string(index == 1 ? "" : ", ") + '"' + std::string(kStyleEntries[index]) + '"';
    }
    return std::string(R"(Usage: tolvane-build [OPTIONS] LIST
  or:  tolvane-build [OPTIONS] --scan SITE_DIR [LIST]
Builds a search page (engine.js, index.html, style.css) from an item list, from the web
pages of a site folder, or from both.

  LIST                an item list file; "-" reads standard input
  -o, --output DIR    folder to write the three files into; created, with its parents,
                      when missing; default: the current folder
  -t, --title TEXT    page title; default "Site Search"
  -b, --button TEXT   search button caption; default "Search"
      --tags FILE     additional tags, one line of HTML per line of FILE;
                      default: the search engine's credit line
  -s, --style STYLE   a style name or the path of any .css file; default ")") +
           std::string(kStyleEntries[kDefaultStyleIndex]) + R"("
                      styles: )" +
           styles + R"(
      --data DIR      folder holding system/ and Styles/; default: the program's folder,
                      else ../share/tolvane/ beside it (an installed program)
      --scan SITE_DIR one item for each web page (.html, .htm, .shtml, .xhtml) below
                      SITE_DIR, after the items of LIST when one is given; the caption
                      is the page's title, else its first <h1>, else its file name;
                      pages that cannot be read or are listed already are skipped and
                      counted on standard error
      --link-prefix TEXT
                      what the scanned pages' links begin with; default "../", which
                      reaches SITE_DIR from its "Tolvane Project" subfolder; "/" or
                      "https://example.com/" for a page put elsewhere
      --save-list FILE
                      also write the items the page is built from as a list file
                      (".til" is added to a new name without it, as in the window)
  -h, --help          show this text
      --version       show the program's version

The whole site in one line: the search page goes into the folder that the window's
export writes, and every result links to its page:

  tolvane-build --scan SITE_DIR -o "SITE_DIR/Tolvane Project"

Exit status: 0 when all three files are written, 1 on an error (also when only the style
sheet could not be loaded), 2 for bad usage.
)";
}

}  // namespace tolvane
