#include "core/site/site_items.h"

#include <string_view>
#include <unordered_set>

namespace tolvane {
namespace {

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

PagesAdded AddPagesToList(ItemList& list, const std::vector<SitePage>& pages) {
    LineList lines = list.ItemLines();
    std::unordered_set<std::string> links;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        links.emplace(ItemList::ReadBackLine(lines[i]).link);
    }
    PagesAdded result;
    std::vector<const SitePage*> fresh;
    for (const SitePage& page : pages) {
        if (links.insert(page.link).second) {
            fresh.push_back(&page);
        } else {
            ++result.already_listed;
        }
    }
    if (fresh.empty()) {
        return result;
    }
    while (!lines.empty() && ItemList::IsBlankLine(lines[lines.size() - 1])) {
        lines.Erase(lines.size() - 1);
    }
    for (const SitePage* page : fresh) {
        lines.PushBack(ItemList::ComposeLine(page->link, page->caption));
    }
    result.added = static_cast<int>(fresh.size());
    list.SetItemLines(std::move(lines));
    return result;
}

std::string ScanReportText(const PagesAdded& result, int unreadable) {
    std::string text = "Added " + Counted(result.added, "page", "pages");
    std::string skipped;
    if (result.already_listed > 0) {
        skipped = Counted(result.already_listed, "that was", "that were") + " already in the list";
    }
    if (unreadable > 0) {
        skipped += (skipped.empty() ? "" : " and ") + std::to_string(unreadable) +
                   " that could not be read";
    }
    return text + (skipped.empty() ? "" : "; skipped " + skipped) + ".";
}

}  // namespace tolvane
