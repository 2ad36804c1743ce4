#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/files/line_list.h"
#include "core/items/item_list.h"

namespace tolvane {

// The entries of the style chooser: entry 0 asks for a style sheet file of the user's choice;
// every other entry names a file "Styles/" + entry + ".css" under the program folder.
inline constexpr std::array<std::string_view, 8> kStyleEntries = {
    "[Select CSS]", "Dark Style", "Deadhunt",      "Inferno",
    "Military",     "Pink Angel", "Serious Style", "Zergs"};
inline constexpr int kDefaultStyleIndex = 2;  // "Deadhunt"

// The additional tags a new page starts with: one line crediting the search engine.
inline constexpr std::string_view kDefaultTagLine = "<b>Search engine by Brakmoor Tolvane</b><br>";

// What a build needs from outside the core: the Preview page's settings, the notice, the
// export dialog and the browser view. The window binds it to its controls; the command line
// and the tests bind their own.
class BuildHost {
  public:
    virtual ~BuildHost() = default;
    virtual std::string PageTitle() const = 0;        // the title field
    virtual std::string ButtonCaption() const = 0;    // the button caption field
    virtual LineList TagLines() const = 0;            // the tags editor, one displayed row a line
    virtual int StyleIndex() const = 0;               // the style chooser's selected index
    virtual std::string StyleEntryText() const = 0;   // ... and its entry text
    virtual std::string CustomStyleFile() const = 0;  // the style sheet file last chosen
    virtual void ShowNotice(std::string_view text) = 0;
    // The export dialog: the chosen file name, or nothing when cancelled.
    virtual std::optional<std::string> ChooseExportFile() = 0;
    // The browser view's Navigate; may raise the view's error.
    virtual void Navigate(const std::string& address) = 0;
};

// The two builds and their shared sequence. Errors are `tolvane::Error`s with the texts the
// user sees; only the style step turns its own errors into the notice "Can't load CSS file!".
class SearchBuilder {
  public:
    static constexpr std::string_view kCssNotice = "Can't load CSS file!";
    static constexpr std::string_view kExportFolderName = "Tolvane Project";

    // `program_folder` is the folder of the program's file, ending with a separator (or
    // empty); the templates and styles are looked for from there (DataFolderFor).
    SearchBuilder(std::string program_folder, const ItemList& items, BuildHost& host);

    // Sets the program's folder and the data folder found from it.
    void SetProgramFolder(std::string program_folder);
    const std::string& ProgramFolder() const { return program_folder_; }
    // The folder holding system/ and Styles/, ending with a separator; set it to override the
    // one found from the program's folder.
    void SetDataFolder(std::string data_folder);
    const std::string& DataFolder() const { return data_folder_; }
    // PreviewFolderFor(ProgramFolder()), worked out anew for each preview build.
    std::string PreviewFolder() const;

    // Writes engine.js, index.html and style.css into `target_folder` (ending with a
    // separator), then navigates the browser view to "file://" + target + "index.html".
    void BuildSearchFiles(const std::string& target_folder);
    // The preview build: creates PreviewFolder() when missing, then builds into it.
    void PreviewBuild();
    // The export build: asks for a location, creates "Tolvane Project" there when missing, builds
    // into it. Cancelling does nothing.
    void ExportBuild();

  private:
    std::string program_folder_;
    std::string data_folder_;
    const ItemList& items_;
    BuildHost& host_;
};

// The one-line index.html for a page title and a search button caption, unescaped.
std::string IndexPageText(std::string_view title, std::string_view button_caption);

}  // namespace tolvane
