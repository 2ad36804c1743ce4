#pragma once

// What the style tests on a desktop window and on a phone share: the styles to walk, the list
// that strains a layout, and the check that nothing scrolls sideways.

#include <QString>
#include <string>
#include <vector>

#include "core/build/search_build.h"
#include "core/files/line_list.h"

namespace tolvane::page {

inline const QString kNoSidewaysScroll =
    "document.documentElement.scrollWidth <= document.documentElement.clientWidth";

// Every style the Preview page offers, without its first entry (no style sheet chosen).
inline std::vector<std::string> StyleNames() {
    return {kStyleEntries.begin() + 1, kStyleEntries.end()};
}

// Long unbroken words and links, HTML in a caption, and enough hits for "Show more".
inline LineList SampleItems() {
    LineList items;
    items.PushBack(
        "https://example.org/a/very/long/address/without/any/break/points/at/all/"
        "index.html=<b>Garden</b> tools and supplies");
    items.PushBack("long.html=Gardenpartysupplieslistwithaveryveryverylongwordthatneverbreaks");
    for (int i = 1; i <= 60; ++i) {
        items.PushBack("g" + std::to_string(i) + ".html=Garden notes, part " + std::to_string(i));
    }
    return items;
}

}  // namespace tolvane::page
