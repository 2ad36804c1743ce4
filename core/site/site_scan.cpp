#include "core/site/site_scan.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "core/build/search_build.h"
#include "core/files/error.h"
#include "core/files/paths.h"
#include "core/files/text_file.h"
#include "core/site/text_encoding.h"

namespace tolvane {

struct SiteScanner::Entry {
    std::string name;
    bool is_folder;
};

namespace {

constexpr std::array<std::string_view, 4> kPageExtensions = {".html", ".htm", ".shtml", ".xhtml"};
// The count line that every generated engine.js holds near its start.
constexpr std::string_view kGeneratedScriptMark = "Keyword [0] = ";
constexpr std::size_t kGeneratedScriptProbeBytes = 4096;

// The name without its extension (the part from the last "." on), unless that leaves nothing.
std::string_view Stem(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

bool IsLinkByte(unsigned char c) {
    constexpr std::string_view kKept = "-._~/!$()*+,;:@";
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c < 0x80 && kKept.find(static_cast<char>(c)) != std::string_view::npos);
}

// The real path of `path` (links resolved), or "" when it has none (a dangling link, a loop).
std::string RealPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : std::string();
}

bool IsInside(const std::string& path, const std::string& folder) {
    return path == folder || (path.starts_with(folder) && path[folder.size()] == '/');
}

// True when `folder` holds a search page that this program wrote: an index.html beside an
// engine.js that begins with the item arrays' count line.
bool HoldsEarlierExport(const std::string& folder) {
    if (!FileExists(folder + "/index.html") || !FileExists(folder + "/engine.js")) {
        return false;
    }
    try {
        FileReader script(folder + "/engine.js");
        std::string start;
        script.ReadMore(start, kGeneratedScriptProbeBytes);
        return start.find(kGeneratedScriptMark) != std::string::npos;
    } catch (const Error&) {
        return false;
    }
}

struct FolderCloser {
    void operator()(DIR* listing) const { ::closedir(listing); }
};

bool IsIndexPage(std::string_view name) {
    return IsWebPageName(name) && AsciiLowerCase(Stem(name)) == "index";
}

// The scan's order within a folder: index pages first, then everything by the bytes of its name.
bool ComesBefore(std::string_view a, bool a_is_folder, std::string_view b, bool b_is_folder) {
    const bool a_index = !a_is_folder && IsIndexPage(a);
    const bool b_index = !b_is_folder && IsIndexPage(b);
    return a_index != b_index ? a_index : a < b;
}

std::string_view FileName(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') {
        path.remove_suffix(1);
    }
    return path.substr(path.rfind('/') + 1);
}

}  // namespace

bool IsWebPageName(std::string_view name) {
    const std::string lower = AsciiLowerCase(name);
    return std::any_of(kPageExtensions.begin(), kPageExtensions.end(), [&](std::string_view ext) {
        return lower.size() > ext.size() && lower.ends_with(ext);
    });
}

std::string PageLink(std::string_view prefix, std::string_view relative_path) {
    constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string link(prefix);
    for (const char c : relative_path) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsLinkByte(byte)) {
            link += c;
        } else {
            link += '%';
            link += kHexDigits[byte >> 4];
            link += kHexDigits[byte & 0x0F];
        }
    }
    return link;
}

SiteScanner::SiteScanner(std::string link_prefix, Progress between_pages)
    : link_prefix_(std::move(link_prefix)), between_pages_(std::move(between_pages)) {}

void SiteScanner::ScanFolder(const std::string& folder) {
    root_ = RealPath(folder);
    if (root_.empty()) {
        ThrowOpenError(folder, errno);
    }
    std::string start = folder;
    while (start.size() > 1 && start.back() == '/') {
        start.pop_back();
    }
    std::vector<std::string> open_folders = {root_};
    ScanEntries(start, "", open_folders);
}

void SiteScanner::ScanPageFile(const std::string& path) {
    const std::string_view name = FileName(path);
    if (IsWebPageName(name)) {
        AddPage(path, std::string(name), name);
    }
}

void SiteScanner::ScanPaths(const std::vector<std::string>& paths) {
    struct Picked {
        std::string path;
        bool is_folder;
    };
    std::vector<Picked> picked;
    for (const std::string& path : paths) {
        picked.push_back({path, FolderExists(path)});
    }
    std::stable_sort(picked.begin(), picked.end(), [](const Picked& a, const Picked& b) {
        return ComesBefore(FileName(a.path), a.is_folder, FileName(b.path), b.is_folder);
    });
    for (const Picked& item : picked) {
        item.is_folder ? ScanFolder(item.path) : ScanPageFile(item.path);
    }
}

std::vector<SiteScanner::Entry> SiteScanner::ReadEntries(const std::string& folder) {
    const std::unique_ptr<DIR, FolderCloser> listing(::opendir(folder.c_str()));
    if (!listing) {
        ThrowOpenError(folder, errno);
    }
    std::vector<Entry> entries;
    while (const dirent* item = ::readdir(listing.get())) {
        const std::string name = item->d_name;
        if (name.starts_with('.')) {
            continue;  // ".", "..", and hidden files and folders
        }
        const std::string path = folder + "/" + name;
        unsigned char type = item->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) {
            struct stat info {};
            if (::stat(path.c_str(), &info) != 0) {
                continue;  // a dangling link or a loop of links
            }
            type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_DIR || (type == DT_REG && IsWebPageName(name))) {
            entries.push_back({name, type == DT_DIR});
        }
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return ComesBefore(a.name, a.is_folder, b.name, b.is_folder);
    });
    return entries;
}

bool SiteScanner::LeadsOutside(const std::string& path,
                               const std::vector<std::string>& open_folders, bool is_folder) const {
    const std::string real = RealPath(path);
    if (real.empty() || !IsInside(real, root_)) {
        return true;
    }
    // A folder that holds one of the folders being scanned would lead back into itself.
    return is_folder && std::any_of(open_folders.begin(), open_folders.end(),
                                    [&](const std::string& open) { return IsInside(open, real); });
}

void SiteScanner::ScanEntries(const std::string& folder, const std::string& relative,
                              std::vector<std::string>& open_folders) {
    std::vector<Entry> entries;
    if (relative.empty()) {
        entries = ReadEntries(folder);
    } else {
        try {
            entries = ReadEntries(folder);
        } catch (const Error&) {
            ++unreadable_;
            return;
        }
    }
    for (const Entry& entry : entries) {
        const std::string path = folder + "/" + entry.name;
        const std::string entry_relative = relative + entry.name;
        if (LeadsOutside(path, open_folders, entry.is_folder)) {
            continue;
        }
        if (!entry.is_folder) {
            AddPage(path, entry_relative, entry.name);
            continue;
        }
        if (entry.name == SearchBuilder::kExportFolderName || HoldsEarlierExport(path)) {
            continue;
        }
        open_folders.push_back(RealPath(path));
        ScanEntries(path, entry_relative + "/", open_folders);
        open_folders.pop_back();
    }
}

void SiteScanner::AddPage(const std::string& path, const std::string& relative,
                          std::string_view name) {
    if (between_pages_) {
        between_pages_();
    }
    PageSummary summary;
    try {
        summary = reader_.ReadPage(path);
    } catch (const Error&) {
        ++unreadable_;
        return;
    }
    if (summary.noindex) {
        return;
    }
    if (summary.caption.empty()) {
        summary.caption = EscapeHtmlText(CollapseWhitespace(Stem(name)));
    }
    pages_.push_back({PageLink(link_prefix_, relative), std::move(summary.caption)});
}

}  // namespace tolvane
