#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFontInfo>
#include <QLineEdit>
#include <QTest>

#include "app/help_page.h"
#include "app/web_browser.h"
#include "builder/preview_page.h"
#include "files/paths.h"
#include "items/database_page.h"
#include "tests/app/app_fakes.h"
#include "tests/support/fault_env.h"

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
        testing::FakeServices fakes = testing::MakeFakeServices(browser, new QWidget);
        messages = fakes.messages;
        window = std::make_unique<TForm1>(std::move(fakes.services));
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
        for (const char* name : {"SpeedButton1", "SpeedButton3", "SpeedButton4", "SpeedButton5"}) {
            if (Tool(name).isChecked()) {
                down += name;
            }
        }
        return down;
    }
    std::string VisiblePage() {
        std::string shown;
        for (const char* name : {"DBPanel", "DPrePanel", "DHPanel"}) {
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
    FakeBrowser browser;
    FakeMessages* messages = nullptr;
    std::unique_ptr<TForm1> window;
    std::string started_in;
};

TEST_F(WindowTest, StartsWithItsCaptionPlaceSizeAndTheDatabasePage) {
    EXPECT_EQ(window->objectName(), "Form1");
    EXPECT_EQ(window->windowTitle(), "Tolvane Builder v.1.3.00");
    EXPECT_EQ(window->pos(), QPoint(193, 117));
    EXPECT_EQ(window->size(), QSize(535, 300));
    EXPECT_EQ(DownButton(), "SpeedButton1");
    EXPECT_EQ(VisiblePage(), "DBPanel");
    EXPECT_EQ(Widget("Panel1").geometry(), QRect(0, 0, 75, 300));
    for (const char* page : {"DBPanel", "DPrePanel", "DHPanel"}) {
        EXPECT_EQ(Widget(page).geometry(), QRect(75, 0, 460, 300)) << page;
    }
    // FormCreate: the browser went home and the program folder is the program file's.
    EXPECT_EQ(browser.calls, std::vector<std::string>{"GoHome"});
    EXPECT_EQ(started_in, TrimToFolder(ProgramFilePath()));
    EXPECT_TRUE(messages->errors.empty());
}

TEST_F(WindowTest, ToolButtonsAreSquareMouseOnlyAndCaptionedUnderTheirGlyph) {
    const struct {
        const char* name;
        const char* caption;
        int top;
    } buttons[] = {{"SpeedButton1", "Database", 0},
                   {"SpeedButton3", "Preview", 75},
                   {"SpeedButton4", "Help", 150},
                   {"SpeedButton5", "Exit", 225}};
    for (const auto& b : buttons) {
        QAbstractButton& button = Tool(b.name);
        EXPECT_EQ(button.text(), b.caption);
        EXPECT_EQ(button.geometry(), QRect(0, b.top, 75, 75)) << b.name;
        EXPECT_EQ(button.focusPolicy(), Qt::NoFocus) << b.name;
        EXPECT_TRUE(button.shortcut().isEmpty()) << b.name;
        EXPECT_EQ(button.parentWidget(), &Widget("Panel1"));
    }
}

TEST_F(WindowTest, ClickingAToolButtonPutsItDownAndShowsItsPage) {
    const struct {
        const char* button;
        const char* page;
    } steps[] = {{"SpeedButton4", "DHPanel"},   {"SpeedButton4", "DHPanel"},
                 {"SpeedButton1", "DBPanel"},   {"SpeedButton1", "DBPanel"},
                 {"SpeedButton3", "DPrePanel"}, {"SpeedButton4", "DHPanel"},
                 {"SpeedButton1", "DBPanel"}};
    for (const auto& step : steps) {
        QTest::mouseClick(&Tool(step.button), Qt::LeftButton);
        EXPECT_EQ(DownButton(), step.button);
        EXPECT_EQ(VisiblePage(), step.page) << "after " << step.button;
    }
    EXPECT_TRUE(messages->errors.empty());
}

TEST_F(WindowTest, AReleaseCountsAsAClickOnlyInsideTheButtonOrOnTheRowUnderIt) {
    QAbstractButton& help = Tool("SpeedButton4");
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
        QTest::mouseClick(&Tool("SpeedButton1"), Qt::LeftButton);
        QTest::mousePress(&help, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(&help, Qt::LeftButton, {}, c.release);
        EXPECT_EQ(DownButton(), c.clicks ? "SpeedButton4" : "SpeedButton1")
            << c.release.x() << "," << c.release.y();
        EXPECT_EQ(VisiblePage(), c.clicks ? "DHPanel" : "DBPanel");
    }
}

TEST_F(WindowTest, PreviewSwitchesThenBuildsIntoTempAndShowsThePage) {
    QTest::mouseClick(&Tool("SpeedButton3"), Qt::LeftButton);
    EXPECT_EQ(VisiblePage(), "DPrePanel");
    ASSERT_TRUE(messages->errors.empty()) << messages->errors.front();
    EXPECT_EQ(browser.calls.back(), PreviewAddress());
    // The window cannot respond while it builds: the wait cursor says so, and goes after.
    EXPECT_TRUE(browser.wait_cursor_while_navigating);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    for (const char* file : {"engine.js", "index.html", "style.css"}) {
        EXPECT_TRUE(FileExists(program.path() + "temp/" + file)) << file;
    }

    // Pressed again while down: it builds again.
    QTest::mouseClick(&Tool("SpeedButton3"), Qt::LeftButton);
    EXPECT_EQ(browser.Count(PreviewAddress()), 2);
    EXPECT_EQ(DownButton(), "SpeedButton3");
}

TEST_F(WindowTest, ADoubleClickOnPreviewBuildsTwice) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // Through the window system, which turns the second press into a double-click.
    QAbstractButton& preview = Tool("SpeedButton3");
    const QPoint centre = preview.mapTo(window.get(), preview.rect().center());
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(browser.Count(PreviewAddress()), 2);

    // A double-click event in place of the second press, as some platforms send it.
    QTest::mousePress(&preview, Qt::LeftButton);
    QTest::mouseRelease(&preview, Qt::LeftButton);
    QTest::mouseDClick(&preview, Qt::LeftButton);
    QTest::mouseRelease(&preview, Qt::LeftButton);
    EXPECT_EQ(browser.Count(PreviewAddress()), 4);
    EXPECT_EQ(DownButton(), "SpeedButton3");
}

TEST_F(WindowTest, AFailedPreviewBuildShowsTheErrorAndKeepsThePreviewPage) {
    QDir(QString::fromStdString(program.path() + "temp")).removeRecursively();
    QTest::mouseClick(&Tool("SpeedButton3"), Qt::LeftButton);
    EXPECT_EQ(VisiblePage(), "DPrePanel");
    EXPECT_EQ(DownButton(), "SpeedButton3");
    ASSERT_EQ(messages->errors.size(), 1u);
    EXPECT_NE(messages->errors[0].find(program.path() + "temp/"), std::string::npos)
        << messages->errors[0];
    EXPECT_EQ(browser.Count(PreviewAddress()), 0);  // the view keeps what it showed
}

TEST_F(WindowTest, AFailedBrowserOperationInFormCreateSkipsTheRestAndTheWindowStillOpens) {
    FakeBrowser failing;
    failing.failing = "GoHome";
    testing::FakeServices fakes = testing::MakeFakeServices(failing, new QWidget);
    FakeMessages& shown = *fakes.messages;
    TForm1 second(std::move(fakes.services));
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
    bool resize = true;
    window->FormCanResize(window.get(), 600, 400, resize);
    EXPECT_FALSE(resize);
}

TEST_F(WindowTest, StartsWithTheCaptionFieldFocusedAndItsTextSelected) {
    ShowActive();
    QLineEdit& caption = Field("Edit2");
    EXPECT_EQ(QApplication::focusWidget(), &caption);
    EXPECT_FALSE(caption.text().isEmpty());
    EXPECT_EQ(caption.selectedText(), caption.text());
}

TEST_F(WindowTest, AOneLineFieldSelectsAllUnlessFocusedByTheMouse) {
    ShowActive();
    QLineEdit& link = Field("Edit1");
    QLineEdit& caption = Field("Edit2");
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
    ASSERT_EQ(QApplication::focusWidget(), &Field("Edit2"));
    QTest::mouseClick(&Tool("SpeedButton4"), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), window.get());
    QTest::mouseClick(&Tool("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), window.get());

    // "Database" while it is down: the focused field of its page loses the focus too.
    Field("Edit1").setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(&Tool("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), window.get());
    EXPECT_EQ(VisiblePage(), "DBPanel");
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
                QTest::mouseClick(&Tool("SpeedButton5"), Qt::LeftButton);
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

// The whole road with the real browser view: "Preview" builds the page into temp/ and the view
// shows it, with the Preview page's title and button caption in its document.
TEST(WindowWithWebTest, PreviewShowsTheBuiltPageInTheBrowserView) {
    TempFolder program;
    MakeProgramFolder(program.path());
    auto* web = new WebBrowser;
    testing::FakeServices fakes = testing::MakeFakeServices(*web, web);
    FakeMessages& messages = *fakes.messages;
    TForm1 window(std::move(fakes.services));
    window.Preview().Builder().SetProgramFolder(program.path());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.findChild<WebBrowser*>("Web"), web);

    QTest::mouseClick(window.findChild<QAbstractButton*>("SpeedButton3"), Qt::LeftButton);
    ASSERT_TRUE(messages.errors.empty()) << messages.errors.front();
    ASSERT_TRUE(testing::WaitForLoad(*web));
    EXPECT_EQ(web->url().toLocalFile().toStdString(), program.path() + "temp/index.html");
    EXPECT_EQ(testing::RunScript(*web, "document.title").toString(), "Site Search");
    EXPECT_EQ(testing::RunScript(*web,
                                 "document.querySelector('input[type=button],"
                                 "input[type=submit],button').value")
                  .toString(),
              "Search");
}

}  // namespace
}  // namespace tolvane
