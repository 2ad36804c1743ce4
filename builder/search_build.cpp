#include "builder/search_build.h"

#include <sys/stat.h>

#include <cerrno>
#include <utility>

#include "builder/script_assembly.h"
#include "files/error.h"
#include "files/paths.h"
#include "files/text_file.h"

namespace tolvane {
namespace {

// What a failed creation of the export folder says, by the operating system's error. The
// program words I/O failures by its own numbered texts (3 "Invalid filename", 4 "Too many open
// files", 5 "File access denied", 101 "Disk full"); a name already taken by a file is 183, and
// an error without a text of its own is shown as "I/O error " and its number.
struct FolderErrorEntry {
    int error_number;
    std::string_view text;
};
constexpr FolderErrorEntry kFolderErrors[] = {
    {ENOENT, "Invalid filename"},     // 3
    {ENOTDIR, "Invalid filename"},    // 3
    {EEXIST, "I/O error 183"},        // 183
    {EACCES, "File access denied"},   // 5
    {EPERM, "File access denied"},    // 5
    {EROFS, "File access denied"},    // 5
    {EMFILE, "Too many open files"},  // 4
    {ENFILE, "Too many open files"},  // 4
    {ENOSPC, "Disk full"},            // 101
};

// Creates `folder` (one level) unless it is already a folder; a file of that name does not
// count and makes the creation fail.
void MakeFolderIfMissing(const std::string& folder) {
    if (FolderExists(folder)) {
        return;
    }
    if (::mkdir(folder.c_str(), 0777) != 0) {
        throw Error(FolderErrorText(errno));
    }
}

}  // namespace

SearchBuilder::SearchBuilder(std::string program_folder, const ItemList& items, BuildHost& host)
    : program_folder_(std::move(program_folder)), items_(items), host_(host) {}

void SearchBuilder::SetProgramFolder(std::string program_folder) {
    program_folder_ = std::move(program_folder);
}

std::string SearchBuilder::PreviewFolder() const {
    return program_folder_ + "temp/";
}

void SearchBuilder::BuildSearchFiles(const std::string& target_folder) {
    const ScriptInputs inputs{program_folder_, &items_, host_.TagLines()};
    AssembleScript(inputs, dump_, doc_);
    WriteText(target_folder + "engine.js", dump_.Text());

    dump_.Clear();
    dump_.SetText(IndexPageText(host_.PageTitle(), host_.ButtonCaption()));
    WriteText(target_folder + "index.html", dump_.Text());

    // The style sheet is the one step whose failure does not stop the build: the page works
    // without it, so the user is told and still gets the preview.
    try {
        const int style = host_.StyleIndex();
        dump_.LoadFromFile(style != 0
                               ? program_folder_ + "Styles/" + host_.StyleEntryText() + ".css"
                               : host_.CustomStyleFile());
        WriteText(target_folder + "style.css", dump_.Text());
    } catch (const Error&) {
        host_.ShowNotice(kCssNotice);
    }

    host_.Navigate("file://" + target_folder + "index.html");
}

void SearchBuilder::PreviewBuild() {
    BuildSearchFiles(PreviewFolder());
}

void SearchBuilder::ExportBuild() {
    const std::optional<std::string> chosen = host_.ChooseExportFile();
    if (!chosen) {
        return;
    }
    const std::string folder = TrimToFolder(*chosen) + std::string(kExportFolderName);
    MakeFolderIfMissing(folder);
    BuildSearchFiles(folder + "/");
}

std::string IndexPageText(std::string_view title, std::string_view button_caption) {
    std::string page;
    page.reserve(334 + title.size() + button_caption.size());
    page += R"html(<link rel=stylesheet href="style.css" type="text/css"><html><head><title>)html";
    page += title;
    page += R"html(</title></head><body><script src="engine.js"></script>)html";
    page += R"html(<table><tr><td><form method="POST" name="form1"><p>)html";
    page += R"html(<input type="text" name="sub" size="20" class="text">)html";
    page += R"html(&nbsp;<input type="button" class="button" name="Search" value=")html";
    page += button_caption;
    page += R"html(" onClick="dolt()"></form></body></html>)html";
    return page;
}

std::string FolderErrorText(int error_number) {
    for (const FolderErrorEntry& entry : kFolderErrors) {
        if (entry.error_number == error_number) {
            return std::string(entry.text);
        }
    }
    return "I/O error " + std::to_string(error_number);
}

}  // namespace tolvane
