// The generated search page in the browser engine the program embeds: built by the program's
// own build, driven like a visitor would (field, Enter, the button, ?q= addresses), and read
// back from the DOM.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPoint>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <utility>
#include <vector>

#include "core/files/paths.h"
#include "core/files/text_file.h"
#include "core/site/site_items.h"
#include "core/site/site_scan.h"
#include "tests/data/driver/page_driver.h"
#include "tests/support/site_fixture.h"

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tolvane::page {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// What the results region shows, read from the DOM.
struct Shown {
    QString status;
    QStringList links;     // href attributes, in order
    QStringList captions;  // visible text of each link
    QStringList marked;    // text of every mark, in order
    bool more = false;     // "Show more" visible
};

const QString kSnapshot = R"js(JSON.stringify((function () {
  var region = document.getElementById("tolvane-results");
  var links = region ? region.querySelectorAll("a.tv-link") : [];
  var more = region && region.querySelector(".tv-more");
  return {
    status: region ? region.querySelector(".tv-status").textContent : "",
    links: Array.prototype.map.call(links, function (a) { return a.getAttribute("href"); }),
    captions: Array.prototype.map.call(links, function (a) { return a.textContent; }),
    marked: Array.prototype.map.call(region ? region.querySelectorAll("mark") : [],
                                     function (m) { return m.textContent; }),
    more: !!more && !more.hidden
  };
})()))js";

QStringList Strings(const QJsonValue& value) {
    QStringList out;
    for (const QJsonValue& v : value.toArray())
        out << v.toString();
    return out;
}

// A JavaScript string literal for `text`.
QString JsString(const QString& text) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

LineList Items(std::initializer_list<std::string_view> lines) {
    return LineList(lines);
}

class SearchPageTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { view_ = new PageView(QSize(1024, 768)); }
    static void TearDownTestSuite() {
        delete view_;
        view_ = nullptr;
    }

    // Builds the page for `items` and opens it, with `query` as its ?q= part when given.
    void Open(const LineList& items, const PageSettings& settings = {},
              const QString& query = QString()) {
        QUrl url = site_.Build(items, settings);
        if (!query.isNull())
            url.setQuery("q=" + query);
        ASSERT_TRUE(view_->Load(url));
        ASSERT_TRUE(view_->WaitFor("document.getElementById('tolvane-results')"));
    }

    Shown Read() {
        const QJsonObject o = QJsonDocument::fromJson(view_->Text(kSnapshot).toUtf8()).object();
        return {o["status"].toString(), Strings(o["links"]), Strings(o["captions"]),
                Strings(o["marked"]), o["more"].toBool()};
    }

    // Types nothing: sets the field and presses the page's button through dolt().
    Shown Search(const QString& query) {
        view_->Run("document.forms.form1.sub.value = " + JsString(query) + "; dolt();");
        return Read();
    }

    QStringList Links(const QString& query) { return Search(query).links; }

    void FocusField() {
        view_->View().activateWindow();
        view_->View().setFocus();
        view_->Run("document.forms.form1.sub.focus()");
    }

    QString Focused() {
        return view_->Text(
            "(function (e) { return e.className || e.name || e.tagName; "
            "})(document.activeElement)");
    }

    PageSite site_;
    static PageView* view_;
};

PageView* SearchPageTest::view_ = nullptr;

TEST(PageTemplates, KeepTheirPromisesToTheBuild) {
    const std::string heading(ReadFileBytes(TOLVANE_DATA_DIR "/system/heading.txt").View());
    const std::string engine(ReadFileBytes(TOLVANE_DATA_DIR "/system/engine.txt").View());
    EXPECT_EQ(heading.substr(0, 3), "\xEF\xBB\xBF") << "the byte-order mark makes engine.js UTF-8";
    EXPECT_THAT(heading, HasSubstr("var Keyword"));
    EXPECT_THAT(heading, HasSubstr("var Address"));
    const std::string marker = "for(var i=1; i<=Keyword[0];";
    const std::size_t at = engine.find(marker);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(engine.find(marker, at + 1), std::string::npos) << "the marker must occur once";
}

TEST_F(SearchPageTest, MatchesVisibleTextWhateverCaseAndAccents) {
    Open(Items({
        "cv.html=Mon <b>Résumé</b> &amp; lettre",
        "zurich.html=Guide to ZÜRICH",
        "fish.html=Fish &amp; Chips <span class=\"recipe\">tonight</span>",
        "tokyo.html=東京都の観光案内",
        "nyc.html=New York city walks",
        "york.html=York minster, new guide",
        "mail.html=Send an e-mail today",
        "nbsp.html=caf&eacute;&nbsp;cr&egrave;me",
        "dash.html=Dashboard tips",
    }));
    const struct {
        const char* query;
        QStringList links;
    } cases[] = {
        {"resume", {"cv.html"}},
        {"RÉSUMÉ lettre", {"cv.html"}},
        {"zurich", {"zurich.html"}},
        {"zürich", {"zurich.html"}},
        {"fish chips", {"fish.html"}},
        {"amp", {}},     // an entity's name is no text
        {"recipe", {}},  // nor is an attribute
        {"span", {}},    // nor a tag
        {"fish tonight", {"fish.html"}},
        {"観光", {"tokyo.html"}},
        {"東京 案内", {"tokyo.html"}},
        {"new york", {"nyc.html", "york.html"}},
        {"\"new york\"", {"nyc.html"}},
        {"york -minster", {"nyc.html"}},
        {"york -\"new guide\"", {"nyc.html"}},
        {"ork", {"york.html", "nyc.html"}},  // inside words, the nearer the start the better
        {"e-mail", {"mail.html"}},
        {"email", {"mail.html"}},  // one slip away from "mail"
        {"cafe creme", {"nbsp.html"}},
        {"board", {"dash.html"}},
        {"york nothinglikethis", {}},
        {"\"w york\"", {}},                // a phrase starts at a word start
        {"\"都の観光\"", {"tokyo.html"}},  // anywhere in a script without spaces
        {"\"ail tod\"", {}},
        {"-york",
         {"cv.html", "zurich.html", "fish.html", "tokyo.html", "mail.html", "nbsp.html",
          "dash.html"}},  // exclusions only: everything else, in list order
        {"-york -\"fish\" -東京",
         {"cv.html", "zurich.html", "mail.html", "nbsp.html", "dash.html"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Links(QString::fromUtf8(c.query)), c.links) << c.query;
    }
    QTest::qWait(300);  // the same once the list's words are gathered
    for (const auto& c : cases) {
        EXPECT_EQ(Links(QString::fromUtf8(c.query)), c.links) << c.query << ", later";
    }
}

TEST_F(SearchPageTest, RanksPhraseThenWholeWordsThenWordStartsThenInsideWords) {
    Open(Items({
        "inside.html=Grandmother's cookbook",
        "start1.html=Mothers and daughters",
        "whole.html=Day of the mother",
        "phrase.html=Mother day outing",
        "start2.html=Motherboard guide for the day",
        "whole2.html=The mother of the day",
    }));
    EXPECT_THAT(Links("mother"), ElementsAre("phrase.html", "whole2.html", "whole.html",
                                             "start1.html", "start2.html", "inside.html"));
    EXPECT_THAT(Links("mother day"),
                ElementsAre("phrase.html", "whole2.html", "whole.html", "start2.html"));
}

const QRegularExpression kFiller("^[rc]\\d\\.html$");

// Each list holds captions that differ in one respect only, the better one last in the list.
TEST_F(SearchPageTest, RanksWithinATierByHowWellTheCaptionMatches) {
    const struct {
        const char* rule;
        LineList items;
        const char* query;
        QStringList links;
    } cases[] = {
        {"a whole word beats a word start",
         Items({"start.html=keyboards for sshd", "whole.html=keyboards for ssh"}),
         "key ssh",
         {"whole.html", "start.html"}},
        {"a match near the start beats one further in",
         Items({"late.html=notes about the printf command", "early.html=printf command notes"}),
         "printf",
         {"early.html", "late.html"}},
        {"a short caption beats a long one",
         Items({"long.html=printf - formatted output conversion for the shell",
                "short.html=printf - format and print data"}),
         "printf",
         {"short.html", "long.html"}},
        {"the query's order beats another",
         Items({"other.html=key tips for ssh", "order.html=ssh tips for key"}),
         "ssh key",
         {"order.html", "other.html"}},
        {"words side by side beat scattered ones",
         Items({"apart.html=ssh tools and keys", "together.html=ssh keygen and tools"}),
         "ssh key",
         {"together.html", "apart.html"}},
        {"the rare word counts for more (car)",
         Items({"red.html=red carts", "car.html=redo car", "r1.html=red one", "r2.html=red two",
                "r3.html=red three"}),
         "red car",
         {"car.html", "red.html"}},
        {"the rare word counts for more (red)",
         Items({"car.html=redo car", "red.html=red carts", "c1.html=car one", "c2.html=car two",
                "c3.html=car three"}),
         "red car",
         {"red.html", "car.html"}},
        {"the list's order breaks exact ties",
         Items({"first.html=Same caption", "second.html=same CAPTION", "third.html=Same caption"}),
         "caption",
         {"first.html", "second.html", "third.html"}},
    };
    for (const auto& c : cases) {
        Open(c.items);
        QStringList links = Links(QString::fromUtf8(c.query));
        links.removeIf([](const QString& link) { return link.contains(kFiller); });
        EXPECT_EQ(links, c.links) << c.rule;
    }
}

// A tier far larger than the results on show is ordered only as far as they reach; each page
// of "Show more" continues the same order as sorting the whole tier would give.
TEST_F(SearchPageTest, ALargeTierShowsTheSameOrderPageByPage) {
    LineList items;
    std::vector<std::pair<int, int>> expected;  // (caption length, item number)
    for (int i = 1; i <= 5000; ++i) {
        const int padding = (i * 7919) % 41;
        items.PushBack("i" + std::to_string(i) + ".html=garden" + std::string(padding, 'z'));
        expected.emplace_back(padding, i);
    }
    std::sort(expected.begin(), expected.end());
    Open(items);
    Search("gard");
    for (int page = 0; page < 2; ++page)
        view_->Run("document.querySelector('.tv-more').click()");
    const QStringList links = Read().links;
    ASSERT_EQ(links.size(), 150);
    for (int k = 0; k < 150; ++k) {
        EXPECT_EQ(links[k].toStdString(),
                  "i" + std::to_string(expected[static_cast<std::size_t>(k)].second) + ".html")
            << k;
    }
}

// A letter that nearly every item holds: the page ranks the items where it starts a word (and
// a whole word first), marks it only there, and reaches the items holding it inside words
// through Show more.
TEST_F(SearchPageTest, AOneLetterSearchShowsWordStartsFirstAndInsideWordsAfter) {
    LineList items;
    for (int n = 10; n < 70; ++n)
        items.PushBack("bike" + std::to_string(n) + ".html=bike " + std::to_string(n));
    for (int n = 10; n < 70; ++n)
        items.PushBack("kite" + std::to_string(n) + ".html=kite " + std::to_string(n));
    items.PushBack("k.html=k");
    items.PushBack("kick.html=kick back");
    Open(items);
    QTest::qWait(500);
    Shown shown = Search("k");
    EXPECT_EQ(shown.status.toStdString(), "122 results for “k”");
    ASSERT_EQ(shown.links.size(), 50);
    EXPECT_EQ(shown.links[0], "k.html");
    EXPECT_EQ(shown.links[1], "kite10.html");
    EXPECT_EQ(shown.links[49], "kite58.html");
    view_->Run("document.querySelector('.tv-more').click()");
    view_->Run("document.querySelector('.tv-more').click()");
    shown = Read();
    ASSERT_EQ(shown.links.size(), 122);
    EXPECT_EQ(shown.links[60], "kite69.html");
    EXPECT_EQ(shown.links[61], "kick.html");
    EXPECT_EQ(shown.links[62], "bike10.html");
    EXPECT_EQ(shown.links[121], "bike69.html");
    EXPECT_FALSE(shown.more);
    EXPECT_EQ(view_->Text("document.querySelector('a[href=\"kick.html\"]').innerHTML"),
              "<mark>k</mark>ick back");
    EXPECT_EQ(view_->Text("document.querySelector('a[href=\"bike10.html\"]').innerHTML"),
              "bi<mark>k</mark>e 10");

    // A page of whole words: the word starts come after them, with Show more.
    for (int n = 10; n < 70; ++n)
        items.PushBack("k" + std::to_string(n) + ".html=k " + std::to_string(n));
    Open(items);
    QTest::qWait(500);
    shown = Search("k");
    EXPECT_EQ(shown.status.toStdString(), "182 results for “k”");
    EXPECT_EQ(shown.links[0], "k.html");
    EXPECT_EQ(shown.links[49], "k58.html");
    for (int page = 0; page < 3; ++page)
        view_->Run("document.querySelector('.tv-more').click()");
    shown = Read();
    ASSERT_EQ(shown.links.size(), 182);
    EXPECT_EQ(shown.links[60], "k69.html");
    EXPECT_EQ(shown.links[61], "kite10.html");
    EXPECT_EQ(shown.links[122], "bike10.html");
}

// The page's first search runs before the idle-time work (folding, the word counts) is done;
// it answers as a later one does.
TEST_F(SearchPageTest, ASearchBeforeTheIdleTimeWorkAnswersAsOneAfterIt) {
    LineList items =
        Items({"car.html=redo car", "red.html=red carts", "eth.html=Ethernetadressen",
               "tag.html=<b>Re</b>do CAR", "acc.html=Rédo cär", "ent.html=re&#100;o car"});
    for (int i = 1; i <= 3000; ++i) {
        items.PushBack("c" + std::to_string(i) + ".html=car " + std::to_string(i) + " address");
    }
    for (const char* query :
         {"red car", "adress", "\"red carts\"", "car -redo", "edo", "arts red", "r", "ca", "1"}) {
        Open(items, {}, query);
        const QString early = view_->Text("document.querySelector('.tv-status').textContent");
        const QStringList first = Read().links;
        QTest::qWait(500);
        const Shown later = Search(query);
        EXPECT_EQ(later.status, early) << query;
        EXPECT_EQ(later.links, first) << query;
    }
    EXPECT_EQ(Links("red car").mid(0, 2), QStringList({"red.html", "car.html"}));
    EXPECT_EQ(Links("edo").mid(0, 4),
              QStringList({"car.html", "tag.html", "acc.html", "ent.html"}));
}

TEST_F(SearchPageTest, AddsACommonWordOneSlipAwayFromAWordThatStartsNoWord) {
    Open(Items({
        "eth.html=Ethernetadressen einstellen",
        "ip.html=Change the IP address",
        "book.html=Address book export",
        "rules.html=Rules for the office and a mail address",
        "hot.html=Hotmaill setup",
    }));
    const Shown blended = Search("adress");
    EXPECT_EQ(blended.status.toStdString(),
              "4 results for “adress” … also showing results for “address”");
    EXPECT_THAT(blended.links, ElementsAre("eth.html", "book.html", "ip.html", "rules.html"))
        << "found as typed first";
    EXPECT_THAT(blended.marked, ElementsAre("adress", "Address", "address", "address"));

    EXPECT_EQ(view_->Text("document.querySelector('.tv-status a.tv-typed').textContent"),
              "“adress”");
    EXPECT_EQ(view_->Text("document.querySelector('.tv-status a.tv-typed').getAttribute('href')"),
              "?q=%22adress%22");
    view_->Run("document.querySelector('.tv-status a.tv-typed').click()");
    EXPECT_EQ(view_->Text("document.forms.form1.sub.value"), "\"adress\"");
    EXPECT_THAT(Read().links, ElementsAre("eth.html")) << "the word exactly as typed";

    EXPECT_THAT(Search("adress -rules").links, ElementsAre("eth.html", "book.html", "ip.html"));
    const Shown rare = Search("maill");
    EXPECT_EQ(rare.status.toStdString(), "1 result for “maill”") << "\"mail\" is no common word";
    EXPECT_THAT(Search("addres").links, ElementsAre("book.html", "ip.html", "rules.html"))
        << "a word start is no slip";
}

TEST_F(SearchPageTest, LinksDecodeNumericCharacterReferences) {
    Open(Items({
        "page.php?id&#61;3&x&#x3D;4&y&#X3d=Page three",
        "a&amp;b.html?q&#61&#1234567;=Other page",
    }));
    EXPECT_THAT(Links("page"), ElementsAre("page.php?id=3&x=4&y=", "a&amp;b.html?q=\ufffd"));
}

TEST_F(SearchPageTest, ALinkTypedWithEqualsSignsOpensAsTyped) {
    const std::string typed = "page.php?id=3&x=4";
    Open(Items({ItemList::ComposeLine(ItemList::StoredLink(typed), "Typed page")}));
    EXPECT_THAT(Links("typed"), ElementsAre(QString::fromStdString(typed)));
}

TEST_F(SearchPageTest, FallsBackToOneTypoPerWordAndSaysSo) {
    Open(Items({
        "cv.html=Résumé writing",
        "cover.html=Cover letters for a résumé",
        "other.html=Nothing related",
    }));
    const Shown near = Search("resmue wirting");
    EXPECT_THAT(near.links, ElementsAre("cv.html"));
    EXPECT_THAT(near.status.toStdString(), HasSubstr("similar spelling"));
    EXPECT_THAT(near.marked, ElementsAre("Résumé", "writing"));
    EXPECT_TRUE(
        view_->Text("document.getElementById('tolvane-results').className").contains("tv-fuzzy"));

    EXPECT_THAT(Search("resmue -cover").links, ElementsAre("cv.html"));
    EXPECT_THAT(Search("resmue letters").links, ElementsAre("cover.html"))
        << "a word found as typed and a word one slip away";

    const Shown none = Search("zzzzqqq");
    EXPECT_TRUE(none.links.isEmpty());
    EXPECT_THAT(none.status.toStdString(), HasSubstr("No results for"));
    EXPECT_THAT(none.status.toStdString(), HasSubstr("zzzzqqq"));
}

TEST_F(SearchPageTest, HighlightsTextOnlyAndKeepsTheCaptionsHtml) {
    Open(Items({
        R"(a.html=<img src="apple.png" alt="apple" title="apple"> Apple <em class="apple">pie</em>)",
        "b.html=<b>Ré</b>sumé of <i>pie</i>-making",
        "c.html=Apples &amp; pears",
    }));
    const Shown apple = Search("apple");
    EXPECT_THAT(apple.marked, ElementsAre("Apple", "Apple"));
    const QString first = view_->Text("document.querySelector('a.tv-link').innerHTML");
    EXPECT_EQ(first.toStdString(),
              R"(<img src="apple.png" alt="apple" title="apple"> <mark>Apple</mark> )"
              R"(<em class="apple">pie</em>)");

    const Shown split = Search("resume pie");
    EXPECT_THAT(split.links, ElementsAre("b.html"));
    EXPECT_THAT(split.marked, ElementsAre("Ré", "sumé", "pie"));
    EXPECT_EQ(view_->Text("document.querySelector('a.tv-link').innerHTML").toStdString(),
              "<b><mark>Ré</mark></b><mark>sumé</mark> of <i><mark>pie</mark></i>-making");

    EXPECT_THAT(Search("pears").captions, ElementsAre("Apples & pears"));
}

TEST_F(SearchPageTest, CaptionsLinksAndTagsWithQuotesAndBackslashesArriveIntact) {
    PageSettings settings;
    settings.tag_lines = LineList{R"(<p class="said">It's a \ test</p>)"};
    Open(Items({R"(dir\a"b.html=He said "hi" \ back\slash)"}), settings);
    const Shown shown = Search("hi");
    EXPECT_THAT(shown.links, ElementsAre(R"(dir\a"b.html)"));
    EXPECT_THAT(shown.captions, ElementsAre(R"(He said "hi" \ back\slash)"));
    EXPECT_EQ(view_->Text("document.querySelector('.tv-tags .said').textContent").toStdString(),
              R"(It's a \ test)");
}

TEST_F(SearchPageTest, AdditionalTagsAndRuleGoBelowTheFormAboveTheResultsOnEverySearch) {
    PageSettings settings;
    settings.tag_lines = LineList{"<h2 id=\"banner\">Our shop</h2>", "<i>since 1999</i>"};
    Open(Items({"a.html=alpha", "b.html=beta"}), settings);
    EXPECT_EQ(view_->Text("String(!!document.getElementById('banner'))"), "false")
        << "nothing before the first search";
    const QString order = R"js((function () {
      var region = document.getElementById("tolvane-results");
      var banner = document.getElementById("banner"), rule = region.querySelector(".tv-tags hr");
      var first = region.querySelector("a.tv-link");
      var before = function (a, b) { return !!(a.compareDocumentPosition(b) & 4); };
      var below = region.getBoundingClientRect().top >=
                  document.forms.form1.getBoundingClientRect().bottom;
      return [!!banner && region.contains(banner) && below, !!rule && before(banner, rule),
              !!first && before(rule, first),
              region.querySelector(".tv-tags").textContent].join("|");
    })())js";
    Search("alpha");
    EXPECT_EQ(view_->Text(order), "true|true|true|  Our shop  since 1999");
    Search("beta");
    EXPECT_EQ(view_->Text(order), "true|true|true|  Our shop  since 1999");
    Search("nothing here");
    EXPECT_EQ(view_->Text("document.querySelectorAll('#tolvane-results hr').length"), "1");
}

TEST_F(SearchPageTest, OpensTheSearchOfTheAddressAndKeepsTheQueryAsText) {
    const LineList items = Items({"cv.html=Résumé", "x.html=<b>bold</b> x"});
    Open(items, {}, "r%C3%A9sum%C3%A9");
    EXPECT_EQ(view_->Text("document.forms.form1.sub.value"), "résumé");
    EXPECT_THAT(Read().links, ElementsAre("cv.html"));

    const QString attack = R"(<img src=x onerror="window.hit=1"><script>window.hit=2</script>)";
    Open(items, {}, QUrl::toPercentEncoding(attack));
    ASSERT_TRUE(view_->WaitFor("document.querySelector('.tv-status').textContent"));
    EXPECT_EQ(view_->Text("document.forms.form1.sub.value"), attack);
    EXPECT_THAT(Read().status.toStdString(), HasSubstr(attack.toStdString()));
    EXPECT_EQ(view_->Text("String(window.hit)"), "undefined");
    EXPECT_EQ(view_->Text("document.querySelectorAll('img,script[src=x]').length"), "0");

    // The caption's markup is no text to find, and marks go inside it, never around it.
    Open(items, {}, QUrl::toPercentEncoding("<b>bold"));
    EXPECT_TRUE(Read().links.isEmpty());
    Open(items, {}, "bold");
    EXPECT_EQ(view_->Text("document.querySelector('a.tv-link').innerHTML"),
              "<b><mark>bold</mark></b> x");
}

TEST_F(SearchPageTest, ShowsTextInAnyLanguageWrittenInUtf8) {
    PageSettings settings;
    settings.title = "Recherche — café 東京";
    settings.button_caption = "Suchen…";
    Open(Items({"z.html=Zürich — 東京 — Ελλάδα — Москва"}), settings);
    EXPECT_EQ(view_->Text("document.title"), QString::fromStdString(settings.title));
    EXPECT_EQ(view_->Text("document.forms.form1.Search.value"),
              QString::fromStdString(settings.button_caption));
    EXPECT_THAT(Search("москва").captions, ElementsAre("Zürich — 東京 — Ελλάδα — Москва"));
    EXPECT_THAT(Search("ελλαδα").links, ElementsAre("z.html"));

    // Chromium guesses the page's encoding; when it guesses windows-1252, the engine reads the
    // title and the button caption again as UTF-8. Forced here with a declared charset.
    std::string page = site_.PageFile("index.html");
    page.insert(page.find("<title>"), R"(<meta charset="windows-1252">)");
    WriteText(site_.Folder() + "temp/forced.html", page);
    ASSERT_TRUE(view_->Load(
        QUrl::fromLocalFile(QString::fromStdString(site_.Folder() + "temp/forced.html"))));
    ASSERT_TRUE(view_->WaitFor("document.getElementById('tolvane-results')"));
    EXPECT_EQ(view_->Text("document.characterSet"), "windows-1252");
    EXPECT_EQ(view_->Text("document.title"), QString::fromStdString(settings.title));
    EXPECT_EQ(view_->Text("document.forms.form1.Search.value"),
              QString::fromStdString(settings.button_caption));
    EXPECT_THAT(Search("zurich").captions, ElementsAre("Zürich — 東京 — Ελλάδα — Москва"));
}

// A list saved on a Windows-1252 system: its captions reach the page as the characters they
// were there, found by their plain letters and shown whole.
TEST_F(SearchPageTest, FindsAndShowsCaptionsOfAWindows1252List) {
    Open(
        Items({"a.html=caf\xE9 \x93"
               "cr\xE8me\x94",
               "b.html=two", "c.html=caf\xC3\xA9 in UTF-8"}));
    const Shown found = Search("cafe");
    EXPECT_THAT(found.links, ElementsAre("a.html", "c.html"));
    EXPECT_THAT(found.captions, ElementsAre(QString::fromUtf8("caf\xC3\xA9 \xE2\x80\x9C"
                                                              "cr\xC3\xA8me\xE2\x80\x9D"),
                                            QString::fromUtf8("caf\xC3\xA9 in UTF-8")));
    EXPECT_THAT(Search("creme").links, ElementsAre("a.html"));
}

// The pages of the fixture site, scanned with the default link prefix, in a search page exported
// into the site's "Tolvane Project" folder: every result leads to a page of the site.
TEST_F(SearchPageTest, ResultsOfAScannedSiteOpenItsPagesFromTheExportFolder) {
    const testing::FixtureSite fixture;
    SiteScanner scanner{std::string(kDefaultLinkPrefix)};
    scanner.ScanFolder(fixture.Site());
    ItemList list;
    list.SetItemLines({});
    AddPagesToList(list, scanner.Pages());
    site_.Build(list.ItemLines());
    const std::string project = fixture.Site() + "/Tolvane Project/";
    for (const char* name : {"engine.js", "index.html", "style.css"}) {
        WriteText(project + name, site_.PageFile(name));
    }
    const QUrl page = QUrl::fromLocalFile(QString::fromStdString(project + "index.html"));
    ASSERT_TRUE(view_->Load(page));
    ASSERT_TRUE(view_->WaitFor("document.getElementById('tolvane-results')"));

    QStringList found;
    for (const char* query :
         {"fish", "about", "blog", "post", "grüße", "cafe", "broken", "naive", "unicode"}) {
        const QStringList links = Links(QString::fromUtf8(query));
        EXPECT_FALSE(links.isEmpty()) << query;
        for (const QString& link : links) {
            const std::string file = page.resolved(QUrl(link)).toLocalFile().toStdString();
            EXPECT_TRUE(FileExists(file)) << link.toStdString() << " -> " << file;
            if (!found.contains(link)) {
                found << link;
            }
        }
    }
    EXPECT_EQ(found.size(), static_cast<qsizetype>(testing::FixtureSitePages().size()));
}

TEST_F(SearchPageTest, CountsShowsFiftyAtATimeAndAnswersAnEmptyQuery) {
    LineList items;
    for (int i = 1; i <= 120; ++i)
        items.PushBack("p" + std::to_string(i) + ".html=Page " + std::to_string(i));
    Open(items);
    Shown shown = Search("page");
    EXPECT_EQ(shown.status.toStdString(), "120 results for “page”");
    EXPECT_EQ(shown.links.size(), 50);
    EXPECT_TRUE(shown.more);
    view_->Run("document.querySelector('.tv-more').click()");
    shown = Read();
    EXPECT_EQ(shown.links.size(), 100);
    EXPECT_EQ(shown.links[50], "p51.html");
    EXPECT_EQ(Focused(), "tv-link") << "focus moves to the first new result";
    view_->Run("document.querySelector('.tv-more').click()");
    shown = Read();
    EXPECT_EQ(shown.links.size(), 120);
    EXPECT_FALSE(shown.more);

    EXPECT_EQ(Search("page 7").status.toStdString(), "21 results for “page 7”");
    EXPECT_EQ(Search("page 120").status.toStdString(), "1 result for “page 120”");
    shown = Search("   ");
    EXPECT_EQ(shown.status.toStdString(), "Type a word to search for.");
    EXPECT_TRUE(shown.links.isEmpty());
    EXPECT_EQ(view_->Text("(function (s) { return [s.getAttribute('role'), "
                          "s.getAttribute('aria-live')].join(); })"
                          "(document.querySelector('.tv-status'))"),
              "status,polite");
}

TEST_F(SearchPageTest, EnterButtonAndTypingSearchWithoutReloadingThePage) {
    Open(Items({"a.html=alpha one", "b.html=beta two"}));
    view_->Run("window.stayed = true");
    const int loads = view_->LoadsStarted();
    FocusField();
    QTest::keyClicks(view_->InputTarget(), "beta");
    ASSERT_TRUE(view_->WaitFor("document.querySelectorAll('a.tv-link').length == 1"))
        << "typing searches after a short pause";
    EXPECT_THAT(Read().links, ElementsAre("b.html"));

    view_->Run("document.forms.form1.sub.value = 'alpha'");
    QTest::keyClick(view_->InputTarget(), Qt::Key_Return);
    ASSERT_TRUE(view_->WaitFor("document.querySelector('a.tv-link[href=\"a.html\"]')"));

    view_->Run("document.forms.form1.sub.value = 'two'");
    const QPoint button(
        view_->Run("Math.round(document.forms.form1.Search.getBoundingClientRect().left + 5)")
            ->toInt(),
        view_->Run("Math.round(document.forms.form1.Search.getBoundingClientRect().top + 5)")
            ->toInt());
    QTest::mouseClick(view_->InputTarget(), Qt::LeftButton, {}, button);
    ASSERT_TRUE(view_->WaitFor("document.querySelector('a.tv-link[href=\"b.html\"]')"));

    QTest::qWait(300);
    EXPECT_EQ(view_->Text("String(window.stayed)"), "true");
    EXPECT_EQ(view_->LoadsStarted(), loads);
}

TEST_F(SearchPageTest, ArrowsWalkTheResultsEscClearsAndTabReachesThem) {
    Open(Items({"a.html=item one", "b.html=item two", "c.html=item three"}));
    Search("item");
    FocusField();
    // Key events reach the page on their own way: wait for each one's effect.
    const auto press = [this](Qt::Key key, const char* focused) {
        QTest::keyClick(view_->InputTarget(), key);
        return view_->WaitFor(QString("(document.activeElement.getAttribute('href') || "
                                      "document.activeElement.className) == '%1'")
                                  .arg(focused),
                              3000);
    };
    EXPECT_TRUE(press(Qt::Key_Down, "a.html"));
    EXPECT_TRUE(press(Qt::Key_Down, "b.html"));
    EXPECT_TRUE(press(Qt::Key_Down, "c.html"));
    EXPECT_TRUE(press(Qt::Key_Down, "c.html")) << "stays on the last result";
    EXPECT_TRUE(press(Qt::Key_Up, "b.html"));
    EXPECT_TRUE(press(Qt::Key_Up, "a.html"));
    EXPECT_TRUE(press(Qt::Key_Up, "text"));
    EXPECT_TRUE(press(Qt::Key_Tab, "button"));
    EXPECT_TRUE(press(Qt::Key_Tab, "a.html"));
    EXPECT_TRUE(press(Qt::Key_Escape, "text"));
    EXPECT_EQ(view_->Text("document.forms.form1.sub.value"), "");
    EXPECT_TRUE(Read().links.isEmpty());
}

TEST_F(SearchPageTest, WorksWithAnEmptyListAndABlankItem) {
    Open(LineList{});
    EXPECT_EQ(Search("anything").status.toStdString(),
              "No results for “anything”. Check the "
              "spelling or try fewer words.");
    Open(LineList{""});
    EXPECT_TRUE(Search("anything").links.isEmpty());
}

}  // namespace
}  // namespace tolvane::page
