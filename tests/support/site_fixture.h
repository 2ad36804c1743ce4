#pragma once

// The small web site of tests/core/site/fixture/ in a temporary copy, with the symbolic links
// that git cannot be trusted to keep made at run time: one back up into the site (a loop), one
// page and one folder that lead out of it, and one page that points at another page inside.

#include <filesystem>
#include <string>
#include <vector>

#include "core/site/site_scan.h"
#include "tests/support/fault_env.h"

namespace tolvane::testing {

class FixtureSite {
  public:
    FixtureSite() {
        namespace fs = std::filesystem;
        fs::copy(std::string(TOLVANE_SOURCE_DIR) + "/tests/core/site/fixture", folder_.path(),
                 fs::copy_options::recursive);
        fs::create_directory_symlink("..", Site() + "/blog/loop");
        fs::create_directory_symlink("..", Site() + "/away");
        fs::create_symlink("../outside.html", Site() + "/elsewhere.html");
        fs::create_symlink("about.html", Site() + "/same-about.html");
    }

    // The site folder, without a trailing separator.
    std::string Site() const { return folder_.path() + "site"; }
    // The folder that holds the site and the page outside it.
    const std::string& Parent() const { return folder_.path(); }

  private:
    TempFolder folder_;
};

// The items a scan of the fixture site makes with the default link prefix, in their order.
inline std::vector<SitePage> FixtureSitePages() {
    return {
        {"../index.html", "Fish &amp; Chips \xC3\xA9t\xC3\xA9 &lt;b&gt;"},
        {"../about.html", "About us"},
        {"../blog/index.htm", "The Blog"},
        {"../blog/2024/post.shtml", "post"},
        {"../blog/Old%20Post%20%231.html", "Old post number one"},
        {"../latin.htm",
         "Gr\xC3\xBC\xC3\x9F"
         "e"},
        {"../legacy.html", "Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D &amp; more"},
        {"../same-about.html", "About us"},
        {"../tricky.HTML", "Broken &lt;b&gt;markup"},
        {"../undeclared.html", "Na\xC3\xAFve page"},
        {"../unicode.xhtml",
         "\xC3\x9Cn\xC3\xAF"
         "code \xE2\x98\xBA"},
    };
}

}  // namespace tolvane::testing
