#include "core/site/site_scan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <ostream>

#include "core/site/page_summary.h"
#include "core/site/site_items.h"
#include "tests/support/fault_env.h"
#include "tests/support/site_fixture.h"

namespace tolvane {

void PrintTo(const SitePage& page, std::ostream* out) {
    *out << page.link << "=" << page.caption;
}

namespace {

using testing::FixtureSite;
using testing::FixtureSitePages;
using testing::MessageOf;
using testing::PutFile;
using testing::TempFolder;

std::vector<SitePage> ScanPages(const std::string& folder,
                                std::string_view prefix = kDefaultLinkPrefix) {
    SiteScanner scanner{std::string(prefix)};
    scanner.ScanFolder(folder);
    return scanner.Pages();
}

TEST(SiteScanTest, FixtureSiteGivesEveryPageInTheStableOrder) {
    const FixtureSite fixture;
    SiteScanner scanner{std::string(kDefaultLinkPrefix)};
    scanner.ScanFolder(fixture.Site());
    EXPECT_EQ(scanner.Pages(), FixtureSitePages());
    EXPECT_EQ(scanner.UnreadableCount(), 0);
    // A trailing separator names the same folder.
    EXPECT_EQ(ScanPages(fixture.Site() + "/"), FixtureSitePages());
}

TEST(SiteScanTest, LinkPrefixStandsBeforeEveryLink) {
    const FixtureSite fixture;
    for (const std::string prefix : {"/", "https://example.com/", ""}) {
        const std::vector<SitePage> pages = ScanPages(fixture.Site(), prefix);
        ASSERT_EQ(pages.size(), FixtureSitePages().size());
        EXPECT_EQ(pages[4].link, prefix + "blog/Old%20Post%20%231.html");
    }
}

TEST(SiteScanTest, ScanWritesNothing) {
    const FixtureSite fixture;
    const auto listing = [&] {
        std::string names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(fixture.Parent())) {
            names += entry.path().string() + "\n";
        }
        return names;
    };
    const std::string before = listing();
    ScanPages(fixture.Site());
    EXPECT_EQ(listing(), before);
}

TEST(SiteScanTest, MissingOrUnreadableFolderRaisesTheOpenError) {
    const TempFolder dir;
    PutFile(dir / "page.html", "<title>A page</title>");
    EXPECT_EQ(MessageOf([&] { ScanPages(dir / "missing"); }),
              "Cannot open file \"" + dir.path() + "missing\". No such file or directory");
    EXPECT_EQ(MessageOf([&] { ScanPages(dir / "page.html"); }),
              "Cannot open file \"" + dir.path() + "page.html\". Not a directory");
    std::filesystem::create_directory(dir / "closed");
    ::chmod((dir / "closed").c_str(), 0);
    EXPECT_EQ(testing::RunUnprivileged([&] {
                  ScanPages(dir / "closed");
                  return std::string("no error");
              }),
              "error: Cannot open file \"" + dir.path() + "closed\". Permission denied");
}

TEST(SiteScanTest, UnreadablePagesAndFoldersAreCountedAndSkipped) {
    const TempFolder dir;
    PutFile(dir / "a.html", "<title>Readable</title>");
    PutFile(dir / "b.html", "<title>Closed</title>");
    std::filesystem::create_directory(dir / "shut");
    PutFile(dir / "shut/c.html", "<title>Inside a closed folder</title>");
    ::chmod((dir / "b.html").c_str(), 0);
    ::chmod((dir / "shut").c_str(), 0);
    const std::string result = testing::RunUnprivileged([&] {
        SiteScanner scanner("/");
        scanner.ScanFolder(dir.path());
        std::string text;
        for (const SitePage& page : scanner.Pages()) {
            text += page.link + "=" + page.caption + ";";
        }
        return text + std::to_string(scanner.UnreadableCount());
    });
    EXPECT_EQ(result, "/a.html=Readable;2");
}

TEST(SiteScanTest, SinglePageFilesAreLinkedByTheirName) {
    const FixtureSite fixture;
    SiteScanner scanner("../");
    scanner.ScanPageFile(fixture.Site() + "/blog/Old Post #1.html");
    scanner.ScanPageFile(fixture.Site() + "/notes.txt");
    scanner.ScanPageFile(fixture.Site() + "/private.html");
    EXPECT_EQ(scanner.Pages(),
              (std::vector<SitePage>{{"../Old%20Post%20%231.html", "Old post number one"}}));
}

TEST(SiteScanTest, PickedFilesAndFoldersComeInTheScansOrder) {
    const FixtureSite fixture;
    SiteScanner scanner("../");
    scanner.ScanPaths({fixture.Site() + "/blog/", fixture.Site() + "/notes.txt",
                       fixture.Site() + "/about.html", fixture.Site() + "/index.html",
                       fixture.Parent() + "missing.html"});
    EXPECT_EQ(scanner.Pages(),
              (std::vector<SitePage>{{"../index.html", FixtureSitePages()[0].caption},
                                     {"../about.html", "About us"},
                                     {"../index.htm", "The Blog"},
                                     {"../2024/post.shtml", "post"},
                                     {"../Old%20Post%20%231.html", "Old post number one"}}));
    EXPECT_EQ(scanner.UnreadableCount(), 1);  // the missing page
}

TEST(PageLinkTest, EncodesWhatALinkCannotHold) {
    const struct {
        const char* path;
        const char* link;
    } cases[] = {
        {"a/b-c_d.e~f.html", "a/b-c_d.e~f.html"},
        {"with blank.html", "with%20blank.html"},
        {"q?x#y%z.html", "q%3Fx%23y%25z.html"},
        {"a=b&c'd\"e.html", "a%3Db%26c%27d%22e.html"},
        {"caf\xC3\xA9.html", "caf%C3%A9.html"},
        {"tab\there\\x.html", "tab%09here%5Cx.html"},
        {"keep!$()*+,;:@.html", "keep!$()*+,;:@.html"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PageLink("../", c.path), std::string("../") + c.link) << c.path;
    }
}

TEST(PageNameTest, WebPagesByExtensionInAnyCase) {
    for (const char* name : {"a.html", "b.HTM", "c.Shtml", "d.xhtml", "index.HTML"}) {
        EXPECT_TRUE(IsWebPageName(name)) << name;
    }
    for (const char* name : {"a.txt", "html", ".html", "a.html~", "a.xml", "a.html.bak"}) {
        EXPECT_FALSE(IsWebPageName(name)) << name;
    }
}

// Captions as a browser shows the page's title, from whole pages in memory.
TEST(PageSummaryTest, CaptionIsWhatABrowserShowsAsTheTitle) {
    const struct {
        const char* name;
        std::string page;
        std::string caption;
    } cases[] = {
        {"plain", "<title>Hello</title>", "Hello"},
        {"whitespace runs", "<title> \t A \n\n  b \f</title>", "A b"},
        {"references decoded, then written as HTML",
         "<title>&lt;i&gt; &amp;amp; &copy; &#8364; &#x1F600; &xyz; R&D</title>",
         "&lt;i&gt; &amp;amp; \xC2\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 &amp;xyz; R&amp;D"},
        {"no-break space kept", "<title>a&nbsp;b</title>",
         "a\xC2\xA0"
         "b"},
        {"markup inside a title is text", "<title>a <b>b</b></title>", "a &lt;b&gt;b&lt;/b&gt;"},
        {"missing end tag runs to the end", "<title>Cut\noff", "Cut off"},
        {"comment and script hold no title",
         "<!-- <title>x</title> --><script>'<title>y</title>'</script><title>z</title>", "z"},
        {"title in the body counts", "<body><p>Text</p><title>Late</title></body>", "Late"},
        {"first title wins", "<title>One</title><title>Two</title>", "One"},
        {"svg title is no page title",
         "<body><svg><title>Icon</title></svg><h1>Heading</h1></body>", "Heading"},
        {"template content is no part of the page",
         "<template><title>T</title></template><h1>H</h1>", "H"},
        {"empty title falls back to the heading", "<title>  </title><h1>Head</h1>", "Head"},
        {"heading text through its elements", "<h1>The <em>new</em>\n<a href=x>site</a></h1>",
         "The new site"},
        {"neither", "<p>Nothing</p>", ""},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF<title>Marked</title>", "Marked"},
        {"UTF-16 big-endian byte-order mark",
         std::string("\xFE\xFF\0<\0t\0i\0t\0l\0e\0>\0\xE9\0!", 20), "\xC3\xA9!"},
        {"meta charset", "<meta charset=\"windows-1252\"><title>\x80 5</title>", "\xE2\x82\xAC 5"},
        {"http-equiv charset",
         "<meta http-equiv=content-type content='text/html;charset=\"ISO-8859-15\"'>"
         "<title>\xA4</title>",
         "\xE2\x82\xAC"},
        {"latin1 label means Windows-1252", "<meta charset=latin1><title>\x93q\x94</title>",
         "\xE2\x80\x9Cq\xE2\x80\x9D"},
        {"legacy bytes with references",
         "<meta charset=windows-1252><title>\xE9&amp;&eacute;</title>", "\xC3\xA9&amp;\xC3\xA9"},
        {"undeclared invalid UTF-8 is Windows-1252", "<title>na\xEFve</title>", "na\xC3\xAFve"},
        {"undeclared valid UTF-8 stays", "<title>na\xC3\xAFve</title>", "na\xC3\xAFve"},
        {"unknown charset reads as UTF-8", "<meta charset=x-nothing><title>ok</title>", "ok"},
    };
    PageReader reader;
    for (const auto& c : cases) {
        EXPECT_EQ(reader.Summarize(c.page).caption, c.caption) << c.name;
    }
}

TEST(PageSummaryTest, RobotsNoIndex) {
    const struct {
        std::string page;
        bool noindex;
    } cases[] = {
        {"<meta name=robots content=noindex>", true},
        {"<meta name=\"Robots\" content=\"NOFOLLOW, NoIndex\">", true},
        {"<meta name=robots content=none>", true},
        {"<meta name=robots content=\"index, follow\">", false},
        {"<meta name=googlebot content=noindex>", false},
        {"<meta name=description content=noindex>", false},
    };
    PageReader reader;
    for (const auto& c : cases) {
        EXPECT_EQ(reader.Summarize("<head>" + c.page + "<title>t</title></head>").noindex,
                  c.noindex)
            << c.page;
    }
}

// Pages read from files, where only their beginning may be read: the result must be the same
// as for the whole page.
TEST(PageSummaryTest, PagesReadInPartGiveTheWholePagesCaption) {
    const TempFolder dir;
    const std::string filler(20000, 'x');
    const struct {
        const char* name;
        std::string page;
        std::string caption;
        bool noindex;
    } cases[] = {
        {"title early, body long", "<head><title>Early</title></head><body>" + filler, "Early",
         false},
        {"long head before the title",
         "<head><style>" + filler + "</style><title>After style</title></head>", "After style",
         false},
        {"noindex after the title",
         "<head><title>T</title><script>" + filler +
             "</script><meta name=robots content=noindex></head>",
         "T", true},
        {"heading after long text", "<body><p>" + filler + "</p><h1>Far down</h1>", "Far down",
         false},
        {"title cut by the first read", "<head><title>" + filler + "</title>", filler, false},
        {"end of head inside a script",
         "<head><script>var s = '</head><body>';</script>" + filler + "<title>Real</title></head>",
         "Real", false},
        {"end of head inside a comment",
         "<head><!-- </head> --><meta name=robots content=noindex><title>T</title></head>" + filler,
         "T", true},
        {"empty title, heading after the head",
         "<head><title> </title></head><body><p>" + filler + "</p><h1>Heading</h1>", "Heading",
         false},
        {"noindex moved into the head from after its end",
         "<head><title>T</title></head>\n<meta name=robots content=noindex><body>" + filler, "T",
         true},
        {"no end of head at all", "<title>Only</title><p>" + filler, "Only", false},
        // An undeclared encoding is judged on the part read: head and title.
        {"an odd byte beyond the part read",
         "<title>na\xC3\xAFve</title></head><body>" + filler + "\xEF</body>", "na\xC3\xAFve",
         false},
    };
    PageReader reader;
    for (const auto& c : cases) {
        PutFile(dir / "page.html", c.page);
        const PageSummary summary = reader.ReadPage(dir / "page.html");
        EXPECT_EQ(summary.caption, c.caption) << c.name;
        EXPECT_EQ(summary.noindex, c.noindex) << c.name;
    }
    EXPECT_EQ(MessageOf([&] { reader.ReadPage(dir / "none.html"); }),
              "Cannot open file \"" + dir.path() + "none.html\". No such file or directory");
}

TEST(AddPagesToListTest, PagesGoAfterTheLastItemThatIsNotBlank) {
    const struct {
        const char* name;
        LineList before;
        LineList after;
    } cases[] = {
        {"after the items", {"a=A", "b=B"}, {"a=A", "b=B", "x=X", "y=Y"}},
        {"trailing blanks make way",
         {"a=A", "", "=", "b=B", "=", ""},
         {"a=A", "", "=", "b=B", "x=X", "y=Y"}},
        {"cleared list", {"="}, {"x=X", "y=Y"}},
        {"empty list", {}, {"x=X", "y=Y"}},
        {"links held already are left out",
         {"y=Old caption", "a=A"},
         {"y=Old caption", "a=A", "x=X"}},
    };
    for (const auto& c : cases) {
        ItemList list;
        list.SetItemLines(c.before);
        int changes = 0;
        list.SetChangeListener([&] { ++changes; });
        AddPagesToList(list, {{"x", "X"}, {"y", "Y"}, {"x", "Duplicate"}});
        EXPECT_EQ(list.ItemLines(), c.after) << c.name;
        EXPECT_EQ(changes, 1) << c.name;
    }
}

TEST(AddPagesToListTest, CountsAndCursorAsAddItemLeavesThem) {
    ItemList list;
    list.SetItemLines({"a=A", "b=B", "c=C"});
    list.MoveRequest(1, 2);
    int selections = 0;
    list.SetSelectionHandler([&](int, int, bool&) { ++selections; });
    const PagesAdded added = AddPagesToList(list, {{"b", "B again"}, {"d", "D"}});
    EXPECT_EQ(added.added, 1);
    EXPECT_EQ(added.already_listed, 1);
    EXPECT_EQ(list.CursorRow(), 2);
    EXPECT_EQ(selections, 0);

    int changes = 0;
    list.SetChangeListener([&] { ++changes; });
    EXPECT_EQ(AddPagesToList(list, {{"a", "A"}}).already_listed, 1);
    EXPECT_EQ(changes, 0);
}

TEST(ScanReportTextTest, SaysWhatWasAddedAndSkipped) {
    const struct {
        PagesAdded added;
        int unreadable;
        const char* text;
    } cases[] = {
        {{12, 0}, 0, "Added 12 pages."},
        {{1, 0}, 0, "Added 1 page."},
        {{0, 0}, 0, "Added 0 pages."},
        {{12, 0}, 2, "Added 12 pages; skipped 2 that could not be read."},
        {{3, 1}, 0, "Added 3 pages; skipped 1 that was already in the list."},
        {{0, 4},
         1,
         "Added 0 pages; skipped 4 that were already in the list and 1 that could not be read."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScanReportText(c.added, c.unreadable), c.text);
    }
}

}  // namespace
}  // namespace tolvane
