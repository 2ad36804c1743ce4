// Every style on a phone, as the browser engine emulates one (360 by 740 CSS pixels at scale 3,
// touch): the page is laid out at the phone's width, the field's text is large enough to read
// without zooming in, and nothing scrolls sideways. A narrow desktop window shows none of this,
// since only a phone lays out a page without a viewport declaration 980 pixels wide.
#include <gtest/gtest.h>

#include <memory>

#include "core/files/text_file.h"
#include "tests/data/driver/devtools_session.h"
#include "tests/data/driver/page_driver.h"
#include "tests/data/style_fixture.h"

namespace tolvane::page {
namespace {

// One browser view for the whole process, its page emulating a phone. The debugging port must be
// open before the engine starts, with the process's first view.
class PhoneBrowser : public ::testing::Environment {
  public:
    void SetUp() override {
        EnableRemoteDebugging();
        view_ = std::make_unique<PageView>(QSize(1024, 768));
        site_ = std::make_unique<PageSite>();
        const QUrl start = site_->Build(SampleItems());
        ASSERT_TRUE(view_->Load(start));
        session_ = std::make_unique<DevToolsSession>(start.toString());
        ASSERT_TRUE(session_->Connected());
        ASSERT_TRUE(session_->EmulatePhone());
    }
    void TearDown() override {
        session_.reset();
        site_.reset();
        view_.reset();
    }

    static PageView& View() { return *view_; }
    static PageSite& Site() { return *site_; }

  private:
    static std::unique_ptr<PageView> view_;
    static std::unique_ptr<PageSite> site_;
    static std::unique_ptr<DevToolsSession> session_;
};

std::unique_ptr<PageView> PhoneBrowser::view_;
std::unique_ptr<PageSite> PhoneBrowser::site_;
std::unique_ptr<DevToolsSession> PhoneBrowser::session_;
::testing::Environment* const kPhoneBrowser = ::testing::AddGlobalTestEnvironment(new PhoneBrowser);

class PhoneLayoutTest : public ::testing::TestWithParam<std::string> {
  protected:
    void OpenSearch(const std::string& style) {
        PageSettings settings;
        settings.style = style;
        QUrl url = PhoneBrowser::Site().Build(SampleItems(), settings);
        url.setQuery("q=garden");
        ASSERT_TRUE(view_.Load(url));
        ASSERT_TRUE(view_.WaitFor("document.querySelector('a.tv-link mark')"));
    }

    PageView& view_ = PhoneBrowser::View();
    PageSite& site_ = PhoneBrowser::Site();
};

TEST_P(PhoneLayoutTest, ReadsWellOnAPhone) {
    OpenSearch(GetParam());
    EXPECT_EQ(view_.Run("window.innerWidth")->toInt(), 360) << "laid out at the phone's width";
    EXPECT_GE(view_.Run("parseFloat(getComputedStyle(document.querySelector('.text')).fontSize)")
                  ->toDouble(),
              16.0)
        << "the field's text";
    EXPECT_TRUE(view_.Run(kNoSidewaysScroll)->toBool()) << "with results";
    view_.Run("document.querySelector('.tv-more').click()");
    EXPECT_TRUE(view_.Run(kNoSidewaysScroll)->toBool()) << "with all results";
}

INSTANTIATE_TEST_SUITE_P(Styles, PhoneLayoutTest, ::testing::ValuesIn(StyleNames()),
                         [](const ::testing::TestParamInfo<std::string>& style) {
                             std::string name;
                             for (char c : style.param) {
                                 if (c != ' ')
                                     name += c;
                             }
                             return name;
                         });

// What the emulation is worth: the same page without the engine, so without its viewport
// declaration, is laid out 980 pixels wide.
TEST_F(PhoneLayoutTest, EmulatesAPhoneThatNeedsTheViewportDeclaration) {
    OpenSearch("Deadhunt");
    ASSERT_EQ(view_.Text("matchMedia('(pointer: coarse)').matches + ',' + devicePixelRatio"),
              "true,3");
    std::string page = site_.PageFile("index.html");
    const std::string script = R"(<script src="engine.js"></script>)";
    ASSERT_NE(page.find(script), std::string::npos);
    page.erase(page.find(script), script.size());
    WriteText(site_.Folder() + "temp/bare.html", page);
    ASSERT_TRUE(
        view_.Load(QUrl::fromLocalFile(QString::fromStdString(site_.Folder() + "temp/bare.html"))));
    EXPECT_EQ(view_.Run("window.innerWidth")->toInt(), 980);
}

}  // namespace
}  // namespace tolvane::page
