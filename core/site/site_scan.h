#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/site/page_summary.h"

namespace tolvane {

// Finding the web pages of a site folder and making an item of each: the link is the page's
// path below the folder, with a prefix; the caption is what the page calls itself.

// Where the links of a scan point by default: the export writes the search page into the site
// folder's "Tolvane Project" subfolder, and from there "../" is the site's root.
inline constexpr std::string_view kDefaultLinkPrefix = "../";

// One page found: its item's link and caption, ready for the list.
struct SitePage {
    std::string link;
    std::string caption;
    bool operator==(const SitePage&) const = default;
};

// True for the names of web pages: .html, .htm, .shtml and .xhtml, in any letter case.
bool IsWebPageName(std::string_view name);

// `prefix` followed by `relative_path` (separated by "/") with every byte that a link cannot
// hold as it stands written as %XX: blanks, "#", "?", "%", "=" (it ends a link in the list
// file), quotes, control characters and every byte of a non-ASCII character.
std::string PageLink(std::string_view prefix, std::string_view relative_path);

// Scans folders and single pages into one list of pages, in a stable order: in each folder its
// index pages first, then folders and files together, sorted by the bytes of their names.
//
// Left out: hidden files and folders (names beginning with "."), a "Tolvane Project" folder and
// any folder that holds a generated engine.js beside an index.html (an earlier export),
// symbolic links that lead out of the scanned folder or back into a folder being scanned,
// and pages that ask not to be indexed. A page or folder below the scanned one that cannot be
// read is counted and left out. A scan only reads.
class SiteScanner {
  public:
    // Told between pages, so that a window can paint while a long scan runs.
    using Progress = std::function<void()>;

    explicit SiteScanner(std::string link_prefix, Progress between_pages = {});

    // Every page below `folder`, linked by its path relative to it. Errors: "Cannot open file
    // ..." with the folder's path when the folder itself cannot be read or is missing.
    void ScanFolder(const std::string& folder);
    // One page, linked by its file name; a file that is no web page is passed over.
    void ScanPageFile(const std::string& path);
    // Files and folders picked together (dropped on the window, say), in the order a folder's
    // entries take: each folder scanned as a site of its own, each page linked by its name.
    void ScanPaths(const std::vector<std::string>& paths);

    const std::vector<SitePage>& Pages() const { return pages_; }
    // Pages and folders that could not be read.
    int UnreadableCount() const { return unreadable_; }

  private:
    struct Entry;

    void ScanEntries(const std::string& folder, const std::string& relative,
                     std::vector<std::string>& open_folders);
    std::vector<Entry> ReadEntries(const std::string& folder);
    bool LeadsOutside(const std::string& path, const std::vector<std::string>& open_folders,
                      bool is_folder) const;
    void AddPage(const std::string& path, const std::string& relative, std::string_view name);

    std::string link_prefix_;
    Progress between_pages_;
    PageReader reader_;
    std::string root_;  // the real path of the folder being scanned
    std::vector<SitePage> pages_;
    int unreadable_ = 0;
};

}  // namespace tolvane
