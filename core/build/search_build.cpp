#include "core/build/search_build.h"

#include <utility>

#include "core/build/script_assembly.h"
#include "core/build/text_buffer.h"
#include "core/files/error.h"
#include "core/files/folders.h"
#include "core/files/paths.h"
#include "core/files/program_folders.h"
#include "core/files/text_file.h"

namespace tolvane {

SearchBuilder::SearchBuilder(std::string program_folder, const ItemList& items, BuildHost& host)
    : items_(items), host_(host) {
    SetProgramFolder(std::move(program_folder));
}

void SearchBuilder::SetProgramFolder(std::string program_folder) {
    program_folder_ = std::move(program_folder);
    data_folder_ = DataFolderFor(program_folder_);
}

void SearchBuilder::SetDataFolder(std::string data_folder) {
    data_folder_ = std::move(data_folder);
}

std::string SearchBuilder::PreviewFolder() const {
    return PreviewFolderFor(program_folder_);
}

void SearchBuilder::BuildSearchFiles(const std::string& target_folder) {
    // The script goes to its file as it is made: at a million items it is larger than the list.
    const ScriptAssembly script(ScriptInputs{data_folder_, &items_, host_.TagLines()});
    WriteStreamed(target_folder + "engine.js", [&script](ByteSink& sink) { script.WriteTo(sink); });

    WriteText(target_folder + "index.html",
              IndexPageText(host_.PageTitle(), host_.ButtonCaption()));

    // The style sheet is the one step whose failure does not stop the build: the page works
    // without it, so the user is told and still gets the preview.
    try {
        const int style = host_.StyleIndex();
        TextBuffer style_sheet;
        style_sheet.LoadFromFile(style != 0
                                     ? data_folder_ + "Styles/" + host_.StyleEntryText() + ".css"
                                     : host_.CustomStyleFile());
        style_sheet.SaveToFile(target_folder + "style.css");
    } catch (const Error&) {
        host_.ShowNotice(kCssNotice);
    }

    host_.Navigate("file://" + target_folder + "index.html");
}

void SearchBuilder::PreviewBuild() {
    const std::string folder = PreviewFolder();
    MakeFolderPath(folder);
    BuildSearchFiles(folder);
}

void SearchBuilder::ExportBuild() {
    const std::optional<std::string> chosen = host_.ChooseExportFile();
    if (!chosen) {
        return;
    }
    const std::string folder = TrimToFolder(*chosen) + std::string(kExportFolderName);
    MakeFolder(folder);
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

}  // namespace tolvane
