#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFontInfo>
#include <QLineEdit>
#include <QTest>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/files/paths.h"
#include "gui/pages/database_page.h"
#include "gui/pages/help_page.h"
#include "gui/pages/preview_page.h"
#include "gui/services/web_browser.h"
#include "tests/app/window_fakes.h"
#include "tests/support/fault_env.h"
#include "tests/support/qt_waits.h"

namespace tolvane {
namespace {

using testing::FakeBrowser;
using testing::FakeMessages;
using testing::TempFolder;

// A program folder as the installed program has it: templates, a style sheet and temp/.
void MakeProgramFolder(const std::string& folder) {
    QDir().mkpath(QString::fromStdString(folder + "system"));
    QDir().mkpath(QString::fromStdString(folder + "Styles"));
    QDir().mkpath(QString::fromStdString(folder + "temp"));
    testing::PutFile(folder + "system/heading.txt", "// search data\r\n");
    testing::PutFile(folder + "system/engine.txt",
                     "function dolt() {\r\nfor(var i=1; i<=Keyword[0]; i++) {}\r\n}\r\n");
    testing::PutFile(folder + "Styles/Deadhunt.css", "body { color: black; }\r\n");
}

class WindowTest : public ::testing::Test {
  protected:
    WindowTest() {
        MakeProgramFolder(program.path());
        testing::FakeServices fakes = testing::MakeFakeServices();
        messages = fakes.messages;
        browser = fakes.browser;
        window = std::make_unique<MainWindow>(std::move(fakes.services));
        started_in = window->Preview().Builder().ProgramFolder();
        window->Preview().Builder().SetProgramFolder(program.path());
    }

    QAbstractButton& Tool(const char* name) {
        auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(name));
        EXPECT_NE(button, nullptr) << name;
        return *button;
    }
    QWidget& Widget(const char* name) {
        auto* widget = window->findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }
    QLineEdit& Field(const char* name) {
        auto* field = window->findChild<QLineEdit*>(QString::fromLatin1(name));
        EXPECT_NE(field, nullptr) << name;
        return *field;
    }
    std::string DownButton() {
        std::string down;
        for (const char* name : {"databaseButton", "previewButton", "helpButton", "exitButton"}) {
            if (Tool(name).isChecked()) {
                down += name;
            }
        }
        return down;
    }
    std::string VisiblePage() {
        std::string shown;
        for (const char* name : {"databasePage", "previewPage", "helpPage"}) {
            if (Widget(name).isVisibleTo(window.get())) {
                shown += name;
            }
        }
        return shown;
    }
    void ShowActive() {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    std::string PreviewAddress() const {
        return "Navigate file://" + program.path() + "temp/index.html";
    }

    TempFolder program;
    FakeBrowser* browser = nullptr;  // owned by the window
    FakeMessages* messages = nullptr;
    std::unique_ptr<MainWindow> window;
    std::string started_in;
};

TEST_F(WindowTest, StartsWithItsCaptionPlaceSizeAndTheDatabasePage) {
    EXPECT_EQ(window->objectName(), "mainWindow");
    EXPECT_EQ(window->windowTitle(), "Tolvane Builder v.1.3.00");
    EXPECT_EQ(window->pos(), QPoint(193, 117));
    EXPECT_EQ(window->size(), QSize(535, 300));
    EXPECT_EQ(DownButton(), "databaseButton");
    EXPECT_EQ(VisiblePage(), "databasePage");
    EXPECT_EQ(Widget("toolBar").geometry(), QRect(0, 0, 75, 300));
    for (const char* page : {"databasePage", "previewPage", "helpPage"}) {
        EXPECT_EQ(Widget(page).geometry(), QRect(75, 0, 460, 300)) << page;
    }
    // Start: the browser went home and the program folder is the program file's.
    EXPECT_EQ(browser->calls, std::vector<std::string>{"GoHome"});
    EXPECT_EQ(started_in, TrimToFolder(ProgramFilePath()));
    EXPECT_TRUE(messages->errors.empty());
}

TEST_F(WindowTest, ToolButtonsAreSquareMouseOnlyAndCaptionedUnderTheirGlyph) {
    const struct {
        const char* name;
        const char* caption;
        int top;
    } buttons[] = {{"databaseButton", "Database", 0},
                   {"previewButton", "Preview", 75},
                   {"helpButton", "Help", 150},
                   {"exitButton", "Exit", 225}};
    for (const auto& b : buttons) {
        QAbstractButton& button = Tool(b.name);
        EXPECT_EQ(button.text(), b.caption);
        EXPECT_EQ(button.geometry(), QRect(0, b.top, 75, 75)) << b.name;
        EXPECT_EQ(button.focusPolicy(), Qt::NoFocus) << b.name;
        EXPECT_TRUE(button.shortcut().isEmpty()) << b.name;
        EXPECT_EQ(button.parentWidget(), &Widget("toolBar"));
    }
}

TEST_F(WindowTest, ClickingAToolButtonPutsItDownAndShowsItsPage) {
    const struct {
        const char* button;
        const char* page;
    } steps[] = {{"helpButton", "helpPage"},         {"helpButton", "helpPage"},
                 {"databaseButton", "databasePage"}, {"databaseButton", "databasePage"},
                 {"previewButton", "previewPage"},   {"helpButton", "helpPage"},
                 {"databaseButton", "databasePage"}};
    for (const auto& step : steps) {
        QTest::mouseClick(&Tool(step.button), Qt::LeftButton);
        EXPECT_EQ(DownButton(), step.button);
        EXPECT_EQ(VisiblePage(), step.page) << "after " << step.button;
    }
    EXPECT_TRUE(messages->errors.empty());
}

TEST_F(WindowTest, AReleaseCountsAsAClickOnlyInsideTheButtonOrOnTheRowUnderIt) {
    QAbstractButton& help = Tool("helpButton");
    const struct {
        QPoint release;
        bool clicks;
    } cases[] = {
        {{80, 10}, false},  // right of it
        {{75, 10}, false},  // the column just right of it
        {{10, -1}, false},  // above it
        {{10, 76}, false},  // below the bottom edge row
        {{10, 75}, true},   // the bottom edge row counts as inside
    };
    for (const auto& c : cases) {
        QTest::mouseClick(&Tool("databaseButton"), Qt::LeftButton);
        QTest::mousePress(&help, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(&help, Qt::LeftButton, {}, c.release);
        EXPECT_EQ(DownButton(), c.clicks ? "helpButton" : "databaseButton")
            << c.release.x() << "," << c.release.y();
        EXPECT_EQ(VisiblePage(), c.clicks ? "helpPage" : "databasePage");
    }
}

TEST_F(WindowTest, PreviewSwitchesThenBuildsIntoTempAndShowsThePage) {
    QTest::mouseClick(&Tool("previewButton"), Qt::LeftButton);
    EXPECT_EQ(VisiblePage(), "previewPage");
    ASSERT_TRUE(messages->errors.empty()) << messages->errors.front();
    EXPECT_EQ(browser->calls.back(), PreviewAddress());
    // The window cannot respond while it builds: the wait cursor says so, and goes after.
    EXPECT_EQ(browser->navigate_cursor, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    for (const char* file : {"engine.js", "index.html", "style.css"}) {
        EXPECT_TRUE(FileExists(program.path() + "temp/" + file)) << file;
    }

    // Pressed again while down: it builds again.
    QTest::mouseClick(&Tool("previewButton"), Qt::LeftButton);
    EXPECT_EQ(browser->Count(PreviewAddress()), 2);
    EXPECT_EQ(DownButton(), "previewButton");
}

TEST_F(WindowTest, ADoubleClickOnPreviewBuildsTwice) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // Through the window system, which turns the second press into a double-click.
    QAbstractButton& preview = Tool("previewButton");
    const QPoint centre = preview.mapTo(window.get(), preview.rect().center());
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(browser->Count(PreviewAddress()), 2);

    // A double-click event in place of the second press, as some platforms send it.
    QTest::mousePress(&preview, Qt::LeftButton);
    QTest::mouseRelease(&preview, Qt::LeftButton);
    QTest::mouseDClick(&preview, Qt::LeftButton);
    QTest::mouseRelease(&preview, Qt::LeftButton);
    EXPECT_EQ(browser->Count(PreviewAddress()), 4);
    EXPECT_EQ(DownButton(), "previewButton");
}

TEST_F(WindowTest, AFailedPreviewBuildShowsTheErrorAndKeepsThePreviewPage) {
    QDir().remove(QString::fromStdString(program.path() + "system/heading.txt"));
    QTest::mouseClick(&Tool("previewButton"), Qt::LeftButton);
    EXPECT_EQ(VisiblePage(), "previewPage");
    EXPECT_EQ(DownButton(), "previewButton");
    ASSERT_EQ(messages->errors.size(), 1u);
    EXPECT_NE(messages->errors[0].find(program.path() + "system/heading.txt"), std::string::npos)
        << messages->errors[0];
    EXPECT_EQ(browser->Count(PreviewAddress()), 0);  // the view keeps what it showed
}

TEST_F(WindowTest, AFailedBrowserOperationAtStartSkipsTheRestAndTheWindowStillOpens) {
    testing::FakeServices fakes = testing::MakeFakeServices();
    fakes.browser->failing = "GoHome";
    FakeMessages& shown = *fakes.messages;
    MainWindow second(std::move(fakes.services));
    EXPECT_EQ(shown.errors, std::vector<std::string>{"The browser failed: GoHome"});
    EXPECT_EQ(second.Preview().Builder().ProgramFolder(), "");
    second.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&second));
}

TEST_F(WindowTest, SizeChangesAreRefusedWhileMovesWork) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->resize(800, 600);
    EXPECT_EQ(window->size(), QSize(535, 300));
    window->showMaximized();
    QTest::qWait(50);
    EXPECT_EQ(window->size(), QSize(535, 300));
    window->showNormal();
    QTest::qWait(50);
    EXPECT_EQ(window->size(), QSize(535, 300));
    window->move(300, 200);
    EXPECT_EQ(window->pos(), QPoint(300, 200));
}

TEST_F(WindowTest, StartsWithTheCaptionFieldFocusedAndItsTextSelected) {
    ShowActive();
    QLineEdit& caption = Field("captionField");
    EXPECT_EQ(QApplication::focusWidget(), &caption);
    EXPECT_FALSE(caption.text().isEmpty());
    EXPECT_EQ(caption.selectedText(), caption.text());
}

TEST_F(WindowTest, AOneLineFieldSelectsAllUnlessFocusedByTheMouse) {
    ShowActive();
    QLineEdit& link = Field("linkField");
    QLineEdit& caption = Field("captionField");
    const struct {
        const char* how;
        std::function<void()> focus;
        bool selects_all;
    } cases[] = {
        {"program", [&] { link.setFocus(Qt::OtherFocusReason); }, true},
        {"tab", [&] { QTest::keyClick(&caption, Qt::Key_Tab); }, true},
        {"mouse", [&] { QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(4, 10)); }, false},
    };
    for (const auto& c : cases) {
        caption.setFocus(Qt::OtherFocusReason);
        link.deselect();
        c.focus();
        ASSERT_EQ(QApplication::focusWidget(), &link) << c.how;
        EXPECT_EQ(link.selectedText() == link.text(), c.selects_all) << c.how;
    }
}

TEST_F(WindowTest, AHiddenPageGivesItsFocusToTheWindowNotToTheNextPage) {
    ShowActive();
    ASSERT_EQ(QApplication::focusWidget(), &Field("captionField"));
    QTest::mouseClick(&Tool("helpButton"), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), window.get());
    QTest::mouseClick(&Tool("databaseButton"), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), window.get());

    // "Database" while it is down: the focused field of its page loses the focus too.
    Field("linkField").setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(&Tool("databaseButton"), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), window.get());
    EXPECT_EQ(VisiblePage(), "databasePage");
}

TEST_F(WindowTest, UsesTheBoldElevenPixelWindowFontAndEveryCaptionFits) {
    QFontInfo used(window->font());
    EXPECT_TRUE(used.bold());
    EXPECT_EQ(used.pixelSize(), 11);
    EXPECT_TRUE(used.family() == "MS Sans Serif" || used.family() == "Liberation Sans")
        << used.family().toStdString();
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!button->text().isEmpty()) {
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width() - 4)
                << button->objectName().toStdString();
        }
    }
}

TEST_F(WindowTest, ExitClosesTheWindowAndEveryCloseEndsTheProgram) {
    // Run as the program runs: "Exit" and the close box both end the message loop.
    for (const bool by_exit_button : {true, false}) {
        window->show();
        QTimer::singleShot(0, window.get(), [&] {
            if (by_exit_button) {
                QTest::mouseClick(&Tool("exitButton"), Qt::LeftButton);
            } else {
                window->close();
            }
        });
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
        EXPECT_EQ(QCoreApplication::exec(), 0);
        EXPECT_FALSE(window->isVisible());
        EXPECT_TRUE(messages->questions.empty());
    }
}

// The controls the keyboard focus visits from `start` on, pressing `key` until the focus comes
// back, stays put (the grid keeps Tab for its own cells) or has gone round the window.
std::vector<QWidget*> FocusWalk(QWidget& start, Qt::Key key) {
    std::vector<QWidget*> visited{&start};
    start.setFocus(Qt::TabFocusReason);
    for (int step = 0; step < 40; ++step) {
        QWidget* before = QApplication::focusWidget();
        QTest::keyClick(before, key);
        QWidget* now = QApplication::focusWidget();
        if (now == nullptr || now == before || now == &start) {
            break;
        }
        visited.push_back(now);
    }
    return visited;
}

TEST_F(WindowTest, EveryControlTheTabKeyReachesHasANameForScreenReaders) {
    ShowActive();
    const struct {
        const char* tool_button;
        const char* first_control;
        std::set<std::string> controls;  // every control of the page that takes the focus
    } pages[] = {
        {"databaseButton",
         "captionField",
         {"captionField", "linkField", "addItemButton", "replaceItemButton", "deleteItemButton",
          "saveListButton", "openListButton", "clearListButton", "itemGrid", "moveUpButton",
          "moveDownButton", "moveToTopButton", "moveToBottomButton"}},
        {"previewButton",
         "titleField",
         {"titleField", "buttonCaptionField", "tagsEditor", "reloadButton", "homeButton",
          "buildPreviewButton", "exportSearchButton", "styleChooser"}},
        {"helpButton", "agreementText", {"agreementText"}},
    };
    for (const auto& page : pages) {
        QTest::mouseClick(&Tool(page.tool_button), Qt::LeftButton);
        std::set<std::string> reached;
        // Forwards, then backwards: the grid keeps Tab and Shift+Tab once it has the focus.
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            for (QWidget* control : FocusWalk(Widget(page.first_control), key)) {
                const std::string name = control->objectName().toStdString();
                reached.insert(name);
                EXPECT_FALSE(control->accessibleName().isEmpty()) << name;
            }
        }
        EXPECT_EQ(reached, page.controls) << page.tool_button;
    }
}

TEST_F(WindowTest, ButtonsWithoutCaptionSayWhatTheyDoInATipAndToScreenReaders) {
    const std::map<std::string, std::string> glyph_only = {
        {"moveUpButton", "Move up"},        {"moveDownButton", "Move down"},
        {"moveToTopButton", "Move to top"}, {"moveToBottomButton", "Move to bottom"},
        {"reloadButton", "Reload"},         {"homeButton", "Home page"},
    };
    std::map<std::string, std::string> found;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        EXPECT_FALSE(button->accessibleName().isEmpty()) << button->objectName().toStdString();
        if (button->text().isEmpty()) {
            EXPECT_EQ(button->toolTip(), button->accessibleName());
            found[button->objectName().toStdString()] = button->toolTip().toStdString();
        }
    }
    EXPECT_EQ(found, glyph_only);
}

// The whole road with the real browser view: "Preview" builds the page into temp/ and the view
// shows it, with the Preview page's title and button caption in its document.
TEST(WindowWithWebTest, PreviewShowsTheBuiltPageInTheBrowserView) {
    TempFolder program;
    MakeProgramFolder(program.path());
    auto* web = new WebBrowser;
    testing::FakeServices fakes = testing::MakeFakeServices(std::unique_ptr<BrowserWidget>(web));
    FakeMessages& messages = *fakes.messages;
    MainWindow window(std::move(fakes.services));
    window.Preview().Builder().SetProgramFolder(program.path());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.findChild<WebBrowser*>("browserView"), web);
    // The window is on screen before the web engine starts: the Database page needs none.
    EXPECT_FALSE(web->EngineStarted());

    QTest::mouseClick(window.findChild<QAbstractButton*>("previewButton"), Qt::LeftButton);
    ASSERT_TRUE(messages.errors.empty()) << messages.errors.front();
    ASSERT_TRUE(testing::WaitForLoad(web->Engine()));
    EXPECT_EQ(web->Engine().url().toLocalFile().toStdString(), program.path() + "temp/index.html");
    EXPECT_EQ(testing::RunScript(web->Engine(), "document.title").toString(), "Site Search");
    EXPECT_EQ(testing::RunScript(web->Engine(),
                                 "document.querySelector('input[type=button],"
                                 "input[type=submit],button').value")
                  .toString(),
              "Search");
}

}  // namespace
}  // namespace tolvane
