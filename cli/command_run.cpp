#include "cli/command_run.h"

#include <istream>
#include <ostream>
#include <string_view>
#include <utility>

#include "cli/command_line.h"
#include "core/build/search_build.h"
#include "core/files/error.h"
#include "core/files/folders.h"
#include "core/files/paths.h"
#include "core/files/text_file.h"
#include "core/items/list_file.h"
#include "core/services/messages.h"
#include "core/site/site_items.h"
#include "core/site/site_scan.h"

namespace tolvane {
namespace {

// Every line on standard error starts with the program's name, so that it reads right among the
// lines of a make or CI log.
void WriteErrorLine(std::ostream& errors, std::string_view text) {
    errors << "tolvane-build: " << text << '\n';
}

// The build's settings come from the command line; the notice goes to standard error; there
// is no export dialog and no browser view to show the page in.
class CommandLineHost : public BuildHost {
  public:
    CommandLineHost(const CommandLine& line, LineList tags, std::ostream& errors)
        : line_(line), tags_(std::move(tags)), errors_(errors) {}

    std::string PageTitle() const override { return line_.title; }
    std::string ButtonCaption() const override { return line_.button_caption; }
    LineList TagLines() const override { return tags_; }
    int StyleIndex() const override { return line_.style_index; }
    std::string StyleEntryText() const override {
        return std::string(kStyleEntries[static_cast<std::size_t>(line_.style_index)]);
    }
    std::string CustomStyleFile() const override { return line_.style_file; }
    void ShowNotice(std::string_view text) override {
        WriteErrorLine(errors_, text);
        notice_shown_ = true;
    }
    std::optional<std::string> ChooseExportFile() override { return std::nullopt; }
    void Navigate(const std::string&) override {}

    bool NoticeShown() const { return notice_shown_; }

  private:
    const CommandLine& line_;
    LineList tags_;
    std::ostream& errors_;
    bool notice_shown_ = false;
};

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

LineList ReadStandardInput(std::istream& input) {
    std::string text;
    char block[1 << 16];
    while (input.read(block, sizeof block) || input.gcount() > 0) {
        text.append(block, static_cast<std::size_t>(input.gcount()));
    }
    if (input.bad()) {
        throw Error("Cannot read the item list from standard input");
    }
    return LineList::Split(std::move(text));
}

// The items the page is built from: the list's, then the site's pages. Pages that could not
// be read or were listed already are told on `errors` in the window's words; they fail nothing.
void ReadItems(const CommandLine& line, std::istream& input, std::ostream& errors,
               ItemList& items) {
    if (!line.list_file.empty()) {
        items.SetItemLines(line.list_file == "-" ? ReadStandardInput(input)
                                                 : MapLines(line.list_file));
    } else {
        items.SetItemLines({});
    }
    if (line.site_folder) {
        SiteScanner scanner(line.link_prefix);
        scanner.ScanFolder(*line.site_folder);
        const PagesAdded added = AddPagesToList(items, scanner.Pages());
        if (added.already_listed > 0 || scanner.UnreadableCount() > 0) {
            WriteErrorLine(errors, ScanReportText(added, scanner.UnreadableCount()));
        }
    }
    if (line.saved_list_file) {
        SaveList(items, *line.saved_list_file);
    }
}

int Build(const CommandLine& line, const std::string& program_folder, std::istream& input,
          std::ostream& errors) {
    // The list is only read here, never edited: a list file is mapped rather than copied in.
    ItemList items;
    ReadItems(line, input, errors, items);
    LineList tags = line.tags_file ? ReadLines(*line.tags_file) : LineList{kDefaultTagLine};

    const std::string target = WithSeparator(line.output_folder);
    MakeFolderPath(target);
    CommandLineHost host(line, std::move(tags), errors);
    SearchBuilder builder(program_folder, items, host);
    if (line.data_folder) {
        builder.SetDataFolder(WithSeparator(*line.data_folder));
    }
    builder.BuildSearchFiles(target);
    return host.NoticeShown() ? kExitFailed : kExitBuilt;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, const std::string& program_folder,
                   std::istream& input, std::ostream& output, std::ostream& errors) {
    CommandLine line;
    try {
        line = ParseCommandLine(arguments);
    } catch (const UsageError& error) {
        WriteErrorLine(errors, std::string(error.what()) + " (see tolvane-build --help)");
        return kExitBadUsage;
    }
    if (line.show_help || line.show_version) {
        if (line.show_help) {
            output << HelpText();
        } else {
            output << "tolvane-build " << TOLVANE_VERSION << '\n';
        }
        // Text that never arrived (standard output on a full disk, say) is no success.
        if (!output.flush()) {
            WriteErrorLine(errors, ErrorBoxText("Stream write error"));
            return kExitFailed;
        }
        return kExitBuilt;
    }
    try {
        return Build(line, program_folder, input, errors);
    } catch (const std::exception& error) {
        WriteErrorLine(errors, ErrorBoxText(error.what()));
        return kExitFailed;
    }
}

}  // namespace tolvane
