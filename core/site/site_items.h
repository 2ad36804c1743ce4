#pragma once

#include <string>
#include <vector>

#include "core/items/item_list.h"
#include "core/site/site_scan.h"

namespace tolvane {

// What adding the pages of a scan to the item list did.
struct PagesAdded {
    int added = 0;
    int already_listed = 0;  // pages whose link the list held already
};

// Adds one item per page, in the scan's order, after the last item that is not blank (blank
// items after it make way), as one change of the list. A page whose link the list already holds
// is left out. The cursor stays on its row, as Add item leaves it; nothing changes when no page
// is new.
PagesAdded AddPagesToList(ItemList& list, const std::vector<SitePage>& pages);

// The line that tells the user what a scan added and what it skipped, e.g. "Added 12 pages;
// skipped 2 that could not be read."
std::string ScanReportText(const PagesAdded& result, int unreadable);

}  // namespace tolvane
