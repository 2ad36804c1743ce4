#include "gui/services/web_browser.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QVariant>

#include "core/files/error.h"
#include "tests/support/qt_waits.h"

namespace tolvane {
namespace {

using testing::RunScript;
using testing::WaitForLoad;

TEST(WebBrowserTest, FileAddressesKeepBlanksHashesPercentsAndQuestionMarksInThePath) {
    for (const std::string folder :
         {"/tmp/plain/", "/tmp/a b/", "/tmp/dir#x/", "/tmp/100%/", "/tmp/why?/", "/tmp/%20/"}) {
        const QUrl url = WebBrowser::AddressUrl("file://" + folder + "index.html");
        EXPECT_TRUE(url.isLocalFile()) << folder;
        EXPECT_EQ(url.toLocalFile().toStdString(), folder + "index.html");
        EXPECT_TRUE(url.fragment().isEmpty()) << folder;
        EXPECT_TRUE(url.query().isEmpty()) << folder;
    }
}

TEST(WebBrowserTest, OtherAddressesAreUrlsAndAnAddressWithoutSchemeIsRefused) {
    EXPECT_EQ(WebBrowser::AddressUrl("about:blank"), QUrl("about:blank"));
    EXPECT_EQ(WebBrowser::AddressUrl("https://www.example.com/a?b#c"),
              QUrl("https://www.example.com/a?b#c"));
    EXPECT_THROW(WebBrowser::AddressUrl("index.html"), Error);
    EXPECT_THROW(WebBrowser::AddressUrl(""), Error);
    WebBrowser web;
    EXPECT_THROW(web.Navigate("no scheme"), Error);
}

TEST(WebBrowserTest, GoesHomeToABlankPageAndLoadsFilesFromFoldersWithAHash) {
    WebBrowser web;
    EXPECT_EQ(web.objectName(), "browserView");
    web.GoHome();
    ASSERT_TRUE(WaitForLoad(web.Engine()));
    EXPECT_EQ(web.Engine().url(), QUrl("about:blank"));

    const std::string folder = std::string(TOLVANE_BINARY_DIR) + "/web test #1 100%/";
    QDir().mkpath(QString::fromStdString(folder));
    QFile page(QString::fromStdString(folder + "index.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><head><title>Shown</title></head><body>x</body></html>");
    page.close();
    web.Navigate("file://" + folder + "index.html");
    ASSERT_TRUE(WaitForLoad(web.Engine()));
    EXPECT_EQ(RunScript(web.Engine(), "document.title").toString(), "Shown");

    web.Refresh();
    ASSERT_TRUE(WaitForLoad(web.Engine()));
    EXPECT_EQ(RunScript(web.Engine(), "document.title").toString(), "Shown");
}

// The engine's start-up is most of a second: it waits until the view is shown or asked to load
// a page, and going home before then is done first when it starts.
TEST(WebBrowserTest, TheEngineStartsWhenTheViewIsShownOrAskedToLoad) {
    WebBrowser shown;
    shown.GoHome();
    EXPECT_FALSE(shown.EngineStarted());
    EXPECT_EQ(shown.findChild<QWebEngineView*>(), nullptr);
    shown.resize(200, 100);
    shown.show();
    ASSERT_TRUE(shown.EngineStarted());
    ASSERT_TRUE(WaitForLoad(shown.Engine()));
    EXPECT_EQ(shown.Engine().url(), QUrl("about:blank"));

    const std::string folder = std::string(TOLVANE_BINARY_DIR) + "/web lazy/";
    QDir().mkpath(QString::fromStdString(folder));
    QFile page(QString::fromStdString(folder + "index.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><head><title>Loaded</title></head><body></body></html>");
    page.close();
    WebBrowser hidden;
    hidden.GoHome();
    EXPECT_THROW(hidden.Navigate("no scheme"), Error);
    EXPECT_FALSE(hidden.EngineStarted());
    hidden.Navigate("file://" + folder + "index.html");
    ASSERT_TRUE(hidden.EngineStarted());
    ASSERT_TRUE(WaitForLoad(hidden.Engine()));
    EXPECT_EQ(RunScript(hidden.Engine(), "document.title").toString(), "Loaded");
}

TEST(WebBrowserTest, APageAskingForNewWindowsLoadsThemInTheViewAndOpensNoWindow) {
    const std::string folder = std::string(TOLVANE_BINARY_DIR) + "/web popups/";
    QDir().mkpath(QString::fromStdString(folder));
    const auto put = [&folder](const char* name, const char* html) {
        QFile file(QString::fromStdString(folder + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(html);
    };
    put("start.html",
        "<html><head><title>Start</title></head><body>"
        "<a id='out' target='_blank' href='linked.html'>x</a></body></html>");
    put("opened.html", "<html><head><title>Opened</title></head><body></body></html>");
    put("linked.html", "<html><head><title>Linked</title></head><body></body></html>");

    WebBrowser web;
    web.resize(400, 200);
    web.show();
    const auto views_shown = [] {
        int shown = 0;
        for (const QWidget* w : QApplication::topLevelWidgets()) {
            const bool holds_view = qobject_cast<const QWebEngineView*>(w) != nullptr ||
                                    w->findChild<const QWebEngineView*>() != nullptr;
            shown += w->isVisible() && holds_view;
        }
        return shown;
    };
    const struct {
        const char* script;
        const char* title;
    } cases[] = {
        {"window.open('opened.html'); true", "Opened"},
        {"document.getElementById('out').click(); true", "Linked"},
    };
    for (const auto& c : cases) {
        web.Navigate("file://" + folder + "start.html");
        ASSERT_TRUE(WaitForLoad(web.Engine()));
        RunScript(web.Engine(), QString::fromLatin1(c.script));
        EXPECT_TRUE(WaitForLoad(web.Engine())) << c.script;
        EXPECT_EQ(RunScript(web.Engine(), "document.title").toString(), c.title);
        EXPECT_EQ(views_shown(), 1);
    }
}

}  // namespace
}  // namespace tolvane
