#include "cli/command_run.h"

#include <sys/stat.h>

#include <cerrno>
#include <istream>
#include <ostream>
#include <utility>

#include "app/messages.h"
#include "builder/search_build.h"
#include "cli/command_line.h"
#include "files/error.h"
#include "files/paths.h"
#include "files/text_file.h"

namespace tolvane {
namespace {

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
        errors_ << text << '\n';
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

// Creates `folder` (ending with a separator) and every missing folder above it. Failures are
// reported with the words of the export folder's creation.
void MakeFolders(const std::string& folder) {
    for (std::size_t end = folder.find('/', 1); end != std::string::npos;
         end = folder.find('/', end + 1)) {
        const std::string prefix = folder.substr(0, end);
        if (FolderExists(prefix)) {
            continue;
        }
        if (::mkdir(prefix.c_str(), 0777) != 0) {
            const int error_number = errno;
            if (error_number != EEXIST || !FolderExists(prefix)) {
                throw Error(FolderErrorText(error_number));
            }
        }
    }
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

int Build(const CommandLine& line, const std::string& program_folder, std::istream& input,
          std::ostream& errors) {
    ItemList items;
    items.SetItemLines(line.list_file == "-" ? ReadStandardInput(input)
                                             : ReadLines(line.list_file));
    LineList tags = line.tags_file ? ReadLines(*line.tags_file) : LineList{kDefaultTagLine};

    const std::string target = WithSeparator(line.output_folder);
    MakeFolders(target);
    CommandLineHost host(line, std::move(tags), errors);
    SearchBuilder builder(WithSeparator(line.data_folder.value_or(program_folder)), items, host);
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
        errors << "tolvane-build: " << error.what() << " (see tolvane-build --help)\n";
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
            errors << ErrorBoxText("Stream write error") << '\n';
            return kExitFailed;
        }
        return kExitBuilt;
    }
    try {
        return Build(line, program_folder, input, errors);
    } catch (const std::exception& error) {
        errors << ErrorBoxText(error.what()) << '\n';
        return kExitFailed;
    }
}

}  // namespace tolvane
