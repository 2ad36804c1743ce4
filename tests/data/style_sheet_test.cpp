// The seven style sheets on a real page: readable contrast for every text the page shows, no
// sideways scrolling in a narrow window, visible focus, and seven distinct looks. Everything is
// read from the browser's computed styles.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <map>
#include <set>

#include "tests/data/driver/page_driver.h"
#include "tests/data/style_fixture.h"

namespace tolvane::page {
namespace {

// WCAG contrast of an element's text against what lies behind it. The backdrop is composed from
// the element's ancestors' background colours and gradient colour stops (every stop is tried),
// over the white canvas; the worst case counts.
const QString kContrastScript = R"js(
function tvColour(text) {
  var m = /rgba?\(([^)]+)\)/.exec(text);
  if (!m) return null;
  var p = m[1].split(/[\s,\/]+/).filter(Boolean).map(Number);
  return { r: p[0], g: p[1], b: p[2], a: p.length > 3 ? p[3] : 1 };
}
function tvOver(top, below) {
  return { r: top.r * top.a + below.r * (1 - top.a), g: top.g * top.a + below.g * (1 - top.a),
           b: top.b * top.a + below.b * (1 - top.a), a: 1 };
}
function tvLuminance(c) {
  function ch(v) { v /= 255; return v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4); }
  return 0.2126 * ch(c.r) + 0.7152 * ch(c.g) + 0.0722 * ch(c.b);
}
function tvRatio(a, b) {
  var x = tvLuminance(a), y = tvLuminance(b);
  return (Math.max(x, y) + 0.05) / (Math.min(x, y) + 0.05);
}
function tvBackdrops(element) {
  var chain = [];
  for (var e = element; e; e = e.parentElement) chain.unshift(getComputedStyle(e));
  var backdrops = [{ r: 255, g: 255, b: 255, a: 1 }];
  chain.forEach(function (style) {
    var colour = tvColour(style.backgroundColor);
    var stops = (style.backgroundImage.match(/rgba?\([^)]+\)/g) || []).map(tvColour);
    var next = [];
    backdrops.forEach(function (b) {
      var base = colour && colour.a > 0 ? tvOver(colour, b) : b;
      if (stops.length) stops.forEach(function (s) { next.push(tvOver(s, base)); });
      else next.push(base);
    });
    backdrops = next;
  });
  return backdrops;
}
function tvContrast(element) {
  var text = tvColour(getComputedStyle(element).color);
  return Math.min.apply(null, tvBackdrops(element).map(function (b) {
    return tvRatio(tvOver(text, b), b);
  }));
}
function tvFocusShows(element) {
  var look = function () {
    var s = getComputedStyle(element);
    return { outline: s.outlineStyle !== "none" && parseFloat(s.outlineWidth) >= 2,
             ring: s.outlineStyle + s.outlineWidth + s.outlineColor + s.boxShadow };
  };
  element.blur();
  var before = look();
  element.focus();
  var after = look();
  return document.activeElement === element && (after.outline || after.ring !== before.ring);
}
)js";

// The texts a visitor reads, by what they are.
const QString kReadScript = R"js(JSON.stringify((function () {
  var q = function (s) { return document.querySelector(s); };
  var out = {
    "additional tags": tvContrast(q(".tv-tags b")),
    "link in the additional tags": tvContrast(q(".tv-tags a")),
    "count line": tvContrast(q(".tv-status")),
    "result link": tvContrast(q("a.tv-link")),
    "highlight": tvContrast(q("a.tv-link mark")),
    "Show more": tvContrast(q(".tv-more")),
    "field": tvContrast(q(".text")),
    "button": tvContrast(q(".button"))
  };
  q("a.tv-link").focus();
  out["focused result link"] = tvContrast(q("a.tv-link"));
  return out;
})()))js";

const QString kFocusScript = R"js(JSON.stringify((function () {
  var q = function (s) { return document.querySelector(s); };
  return { field: tvFocusShows(q(".text")), button: tvFocusShows(q(".button")),
           "result link": tvFocusShows(q("a.tv-link")), "Show more": tvFocusShows(q(".tv-more")) };
})()))js";

class StyleSheetTest : public ::testing::TestWithParam<std::string> {
  protected:
    static void SetUpTestSuite() { view_ = new PageView(QSize(1024, 768)); }
    static void TearDownTestSuite() {
        delete view_;
        view_ = nullptr;
    }

    void OpenSearch(const QString& query) {
        PageSettings settings;
        settings.style = GetParam();
        settings.tag_lines.PushBack(R"(<a href="index.html">Back to the home page</a>)");
        QUrl url = site_.Build(SampleItems(), settings);
        url.setQuery("q=" + query);
        ASSERT_TRUE(view_->Load(url));
        ASSERT_TRUE(view_->WaitFor("document.querySelector('a.tv-link mark')"));
        view_->Run(kContrastScript);
        view_->Run("document.forms.form1.sub.value = 'Garden'");
    }

    std::map<std::string, QJsonValue> Read(const QString& script) {
        std::map<std::string, QJsonValue> out;
        const QJsonObject o = QJsonDocument::fromJson(view_->Text(script).toUtf8()).object();
        for (auto it = o.begin(); it != o.end(); ++it)
            out[it.key().toStdString()] = it.value();
        return out;
    }

    PageSite site_;
    static PageView* view_;
};

PageView* StyleSheetTest::view_ = nullptr;

TEST_P(StyleSheetTest, KeepsTextReadable) {
    for (const QString query : {"garden", "gardn"}) {  // the count line, then similar spellings
        OpenSearch(query);
        const auto ratios = Read(kReadScript);
        ASSERT_EQ(ratios.size(), 9u);
        for (const auto& [what, ratio] : ratios) {
            EXPECT_GE(ratio.toDouble(), 4.5) << what << " with " << query.toStdString();
        }
    }
}

TEST_P(StyleSheetTest, ShowsFocus) {
    OpenSearch("garden");
    for (const auto& [what, shows] : Read(kFocusScript)) {
        EXPECT_TRUE(shows.toBool()) << what;
    }
}

TEST_P(StyleSheetTest, NeverScrollsSidewaysInANarrowWindow) {
    view_->View().resize(360, 640);
    OpenSearch("garden");
    EXPECT_EQ(view_->Text("String(window.innerWidth)"), "360");
    EXPECT_TRUE(view_->Run(kNoSidewaysScroll)->toBool()) << "with results";
    view_->Run("document.querySelector('.tv-more').click()");
    EXPECT_TRUE(view_->Run(kNoSidewaysScroll)->toBool()) << "with all results";
    view_->Run(
        "document.forms.form1.sub.dispatchEvent(new KeyboardEvent('keydown', "
        "{key: 'Escape', bubbles: true}))");
    ASSERT_TRUE(view_->WaitFor("document.querySelector('.tv-idle')"));
    EXPECT_TRUE(view_->Run(kNoSidewaysScroll)->toBool()) << "with nothing shown";
    view_->View().resize(1024, 768);
}

INSTANTIATE_TEST_SUITE_P(Styles, StyleSheetTest, ::testing::ValuesIn(StyleNames()),
                         [](const ::testing::TestParamInfo<std::string>& style) {
                             std::string name;
                             for (char c : style.param) {
                                 if (c != ' ')
                                     name += c;
                             }
                             return name;
                         });

TEST(StyleSheets, LookDistinct) {
    PageView view;
    PageSite site;
    std::set<std::string> looks;
    for (const std::string& style : StyleNames()) {
        PageSettings settings;
        settings.style = style;
        QUrl url = site.Build(SampleItems(), settings);
        url.setQuery("q=garden");
        ASSERT_TRUE(view.Load(url));
        ASSERT_TRUE(view.WaitFor("document.querySelector('a.tv-link')"));
        looks.insert(view.Text("[getComputedStyle(document.body).backgroundColor, "
                               "getComputedStyle(document.querySelector('a.tv-link')).color, "
                               "getComputedStyle(document.querySelector('mark')).backgroundColor]"
                               ".join()")
                         .toStdString());
    }
    EXPECT_EQ(looks.size(), StyleNames().size());
}

}  // namespace
}  // namespace tolvane::page
