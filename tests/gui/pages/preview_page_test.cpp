// The Preview page with real widgets and real input events: its defaults, the rows of the tags
// box, the style chooser by keyboard and mouse, and the builds into a program folder of the
// test's own, with fakes for the message boxes, the file dialogs and the browser view.
#include "gui/pages/preview_page.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "gui/widgets/style_chooser.h"
#include "tests/support/fault_env.h"
#include "tests/support/service_fakes.h"

namespace tolvane {
namespace {

using testing::CursorNotingChooser;
using testing::FakeBrowser;
using testing::FakeChooser;
using testing::FakeMessages;
using testing::GetFile;
using testing::PutFile;
using testing::TempFolder;
using Lines = std::vector<std::string>;

constexpr const char* kMarker = "for(var i=1; i<=Keyword[0];";

class PreviewPageTest : public ::testing::Test {
  protected:
    PreviewPageTest()
        : browser(*new FakeBrowser),
          page(items, messages, std::unique_ptr<BrowserWidget>(&browser), style_sheet_dialog,
               export_dialog) {}

    void SetUp() override {
        // A program folder with the templates, one style sheet and the preview folder.
        std::filesystem::create_directories(program / "system");
        std::filesystem::create_directories(program / "Styles");
        std::filesystem::create_directories(program / "temp");
        PutFile(program / "system/heading.txt", "// heading\r\n");
        PutFile(program / "system/engine.txt",
                std::string("function dolt() {}\r\n") + kMarker + " i++) {}\r\n");
        PutFile(program / "Styles/Deadhunt.css", "body { color: red; }\r\n");
        page.Builder().SetProgramFolder(program.path());

        page.show();
        page.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    }

    template <typename Widget = QWidget>
    Widget* Find(const char* name) {
        auto* widget = page.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QComboBox* StyleChooserBox() { return Find<QComboBox>("styleChooser"); }
    QPlainTextEdit* TagsEditorBox() { return Find<QPlainTextEdit>("tagsEditor"); }
    void Click(const char* button) { QTest::mouseClick(Find(button), Qt::LeftButton); }
    void Key(Qt::Key key) { QTest::keyClick(StyleChooserBox(), key); }
    void Type(const char* text) { QTest::keyClicks(StyleChooserBox(), text); }
    std::string Preview(const char* file) { return program / "temp/" + file; }

    // A word of `m`s just wider than `times` the width the tags box wraps at.
    QString WordWiderThan(double times) {
        const int width = TagsEditorBox()->viewport()->width() -
                          2 * static_cast<int>(TagsEditorBox()->document()->documentMargin());
        QString word = "m";
        while (TagsEditorBox()->fontMetrics().horizontalAdvance(word) <= width * times) {
            word += 'm';
        }
        return word;
    }
    Lines TagRows(const QString& text) {
        TagsEditorBox()->setPlainText(text);
        return page.TagLines().ToVector();
    }

    TempFolder program;
    ItemList items;
    FakeMessages messages;
    FakeBrowser& browser;  // owned by the page
    FakeChooser style_sheet_dialog;
    CursorNotingChooser export_dialog;
    PreviewPage page;
};

TEST_F(PreviewPageTest, StartsWithTheDesignedDefaults) {
    EXPECT_EQ(page.objectName(), "previewPage");
    EXPECT_EQ(page.PageTitle(), "Site Search");
    EXPECT_EQ(page.ButtonCaption(), "Search");
    EXPECT_EQ(page.TagLines().ToVector(), Lines{std::string(kDefaultTagLine)});
    EXPECT_EQ(page.StyleIndex(), 2);
    EXPECT_EQ(page.StyleEntryText(), "Deadhunt");
    EXPECT_EQ(page.CustomStyleFile(), "");
    ASSERT_EQ(StyleChooserBox()->count(), static_cast<int>(kStyleEntries.size()));
    for (int i = 0; i < StyleChooserBox()->count(); ++i) {
        EXPECT_EQ(StyleChooserBox()->itemText(i).toStdString(),
                  kStyleEntries[static_cast<size_t>(i)]);
    }
}

TEST_F(PreviewPageTest, LongTitlesAndCaptionsAreKeptWhole) {
    const std::string long_text(40000, 't');
    Find<QLineEdit>("titleField")->setText(QString::fromStdString(long_text));
    Find<QLineEdit>("buttonCaptionField")->setText(QString::fromStdString(long_text));
    EXPECT_EQ(page.PageTitle(), long_text);
    EXPECT_EQ(page.ButtonCaption(), long_text);
}

TEST_F(PreviewPageTest, ControlsSitWhereThePageDrawsThem) {
    const struct {
        const char* name;
        QRect bounds;
        const char* caption;
    } controls[] = {
        {"browserView", {1, 168, 458, 131}, nullptr},
        {"titleField", {40, 8, 121, 21}, nullptr},
        {"buttonCaptionField", {256, 8, 121, 21}, nullptr},
        {"tagsEditor", {0, 56, 457, 105}, nullptr},
        {"reloadButton", {408, 160, 25, 25}, ""},
        {"homeButton", {432, 160, 25, 25}, ""},
        {"buildPreviewButton", {384, 8, 67, 23}, "GO!"},
        {"exportSearchButton", {336, 160, 75, 25}, "Save"},
        {"styleChooser", {320, 32, 129, 22}, nullptr},
    };
    for (const auto& control : controls) {
        QWidget* widget = Find(control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), control.bounds) << control.name;
        EXPECT_EQ(widget->parentWidget(), &page) << control.name;
        if (auto* button = qobject_cast<QPushButton*>(widget); button && control.caption) {
            EXPECT_EQ(button->text(), control.caption) << control.name;
        }
    }
    EXPECT_EQ(Find("browserView"), &browser);
    // The buttons at top 160 lie above the browser view's top edge.
    EXPECT_EQ(page.childAt(420, 170), Find("reloadButton"));
    EXPECT_EQ(page.childAt(440, 170), Find("homeButton"));
    EXPECT_EQ(page.childAt(340, 170), Find("exportSearchButton"));

    const struct {
        const char* name;
        int size;
    } glyphs[] = {{"reloadButton", 20}, {"homeButton", 16}, {"exportSearchButton", 16}};
    for (const auto& glyph : glyphs) {
        auto* button = Find<QPushButton>(glyph.name);
        EXPECT_FALSE(button->icon().isNull()) << glyph.name;
        EXPECT_EQ(button->iconSize(), QSize(glyph.size, glyph.size)) << glyph.name;
    }
    EXPECT_TRUE(Find<QPushButton>("buildPreviewButton")->icon().isNull());
}

TEST_F(PreviewPageTest, TabVisitsTheControlsInOrder) {
    const QStringList expected = {"titleField",         "buttonCaptionField", "tagsEditor",
                                  "reloadButton",       "homeButton",         "buildPreviewButton",
                                  "exportSearchButton", "styleChooser"};
    Find("titleField")->setFocus(Qt::TabFocusReason);
    QStringList visited = {QApplication::focusWidget()->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(PreviewPageTest, TagLinesAreTheDisplayedRows) {
    EXPECT_EQ(TagRows(""), Lines{});
    EXPECT_EQ(TagRows("<b>a</b>\n<i>b</i>\n"), (Lines{"<b>a</b>", "<i>b</i>"}));
    EXPECT_EQ(TagRows("a\n\n"), (Lines{"a", ""}));
    EXPECT_EQ(TagRows("\n"), Lines{""});

    // Two words that do not fit on one row: the box wraps between them.
    const QString half = WordWiderThan(0.6);
    const std::string word = half.toStdString();
    EXPECT_EQ(TagRows(half + " " + half), (Lines{word + " ", word}));
    // A line break typed with Shift+Enter ends a row without becoming part of it.
    EXPECT_EQ(TagRows(QString("a") + QChar::LineSeparator + "b"), (Lines{"a", "b"}));
}

TEST_F(PreviewPageTest, APageNeverShownGivesTheRowsItWouldShow) {
    const QString half = WordWiderThan(0.6);
    const QString text = half + " " + half;
    PreviewPage hidden(items, messages, std::make_unique<FakeBrowser>(), style_sheet_dialog,
                       export_dialog);
    hidden.findChild<QPlainTextEdit*>("tagsEditor")->setPlainText(text);
    EXPECT_EQ(hidden.TagLines().ToVector(), TagRows(text));
    EXPECT_EQ(hidden.TagLines().size(), 2u);
}

TEST_F(PreviewPageTest, AWordWiderThanTheBoxIsNeverCut) {
    // Typed, with marks after which Qt's own word wrap would break the word.
    const QString wide = "http://www.example.com/a-b?c=" + WordWiderThan(1.2);
    TagsEditorBox()->clear();
    TagsEditorBox()->setFocus();
    QTest::keyClicks(TagsEditorBox(), "see " + wide + " here");
    const Lines rows = page.TagLines().ToVector();
    std::string joined;
    int rows_with_word = 0;
    for (const std::string& row : rows) {
        joined += row;
        rows_with_word += row.find(wide.toStdString()) != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(rows_with_word, 1) << "the word stays whole on one row";
    EXPECT_GE(rows.size(), 2u);
    EXPECT_EQ(joined, "see " + wide.toStdString() + " here") << "no text lost or added";
    // The box scrolls sideways to show the word.
    QApplication::processEvents();
    EXPECT_GT(TagsEditorBox()->horizontalScrollBar()->maximum(), 0);

    TagsEditorBox()->setPlainText("short words only");
    QApplication::processEvents();
    EXPECT_EQ(TagsEditorBox()->horizontalScrollBar()->maximum(), 0);
}

TEST_F(PreviewPageTest, ArrowKeysChangeTheStyleAndEntryZeroOpensTheDialog) {
    StyleChooserBox()->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Down);
    EXPECT_EQ(page.StyleEntryText(), "Inferno");
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    EXPECT_EQ(style_sheet_dialog.shown(), 0);

    style_sheet_dialog.answers = {"/styles/mine.css"};
    Key(Qt::Key_Up);
    EXPECT_EQ(page.StyleIndex(), 0);
    EXPECT_EQ(style_sheet_dialog.shown(), 1);
    EXPECT_EQ(page.CustomStyleFile(), "/styles/mine.css");

    // Cancelling later keeps the name chosen before, and the selection on entry 0.
    Key(Qt::Key_Down);
    Key(Qt::Key_Home);
    EXPECT_EQ(style_sheet_dialog.shown(), 2);
    EXPECT_EQ(page.StyleIndex(), 0);
    EXPECT_EQ(page.CustomStyleFile(), "/styles/mine.css");

    Key(Qt::Key_Up);  // already on the first entry: no change, no dialog
    EXPECT_EQ(style_sheet_dialog.shown(), 2);
    EXPECT_TRUE(messages.errors.empty());
}

TEST_F(PreviewPageTest, TypingSelectsByPrefixWithAHalfSecondPause) {
    StyleChooserBox()->setFocus(Qt::TabFocusReason);
    Type("p");
    EXPECT_EQ(page.StyleEntryText(), "Pink Angel");
    Type("Z");  // in any letter case, and typed soon after: "pz" begins nothing
    EXPECT_EQ(page.StyleEntryText(), "Pink Angel");
    QTest::qWait(StyleChooser::kPrefixPauseMs + 100);
    Type("se");
    EXPECT_EQ(page.StyleEntryText(), "Serious Style");
    QTest::qWait(StyleChooser::kPrefixPauseMs + 100);
    Type("d");
    EXPECT_EQ(page.StyleEntryText(), "Dark Style");
    Type("e");  // "de"
    EXPECT_EQ(page.StyleEntryText(), "Deadhunt");
    EXPECT_EQ(style_sheet_dialog.shown(), 0);

    QTest::qWait(StyleChooser::kPrefixPauseMs + 100);
    Type("[");
    EXPECT_EQ(page.StyleIndex(), 0);
    EXPECT_EQ(style_sheet_dialog.shown(), 1);
}

TEST_F(PreviewPageTest, TheOpenListShowsEveryEntryInSixteenPixelRows) {
    StyleChooserBox()->showPopup();
    QAbstractItemView* view = StyleChooserBox()->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    for (int row = 0; row < StyleChooserBox()->count(); ++row) {
        const QRect rect = view->visualRect(StyleChooserBox()->model()->index(row, 0));
        EXPECT_EQ(rect.height(), StyleChooser::kRowHeight) << row;
        EXPECT_TRUE(view->viewport()->rect().contains(rect)) << row << " is shown";
    }
    // A mouse choice of entry 0 opens the dialog; the popup ignores a release right after it
    // opened, as it would be the release of the click that opened it.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const QRect first = view->visualRect(StyleChooserBox()->model()->index(0, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(page.StyleIndex(), 0);
    EXPECT_EQ(style_sheet_dialog.shown(), 1);
}

TEST_F(PreviewPageTest, TypingInTheOpenListMovesToTheEntryAndEnterChoosesIt) {
    StyleChooserBox()->showPopup();
    QAbstractItemView* view = StyleChooserBox()->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    QTest::keyClicks(view, "se");
    EXPECT_EQ(view->currentIndex().row(), 6);
    EXPECT_EQ(page.StyleIndex(), 2) << "nothing is chosen before Enter";
    QTest::qWait(StyleChooser::kPrefixPauseMs + 100);
    QTest::keyClicks(view, "[");
    EXPECT_EQ(view->currentIndex().row(), 0);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(page.StyleIndex(), 0);
    EXPECT_EQ(style_sheet_dialog.shown(), 1);
}

TEST_F(PreviewPageTest, GoBuildsIntoThePreviewFolderAndShowsIt) {
    items.SetItemLines(LineList{"a.html=Alpha"});
    Click("buildPreviewButton");

    EXPECT_TRUE(messages.errors.empty()) << messages.errors.front();
    EXPECT_TRUE(messages.notices.empty());
    EXPECT_EQ(browser.calls, Lines{"Navigate file://" + Preview("index.html")});
    EXPECT_EQ(GetFile(Preview("index.html")), IndexPageText("Site Search", "Search"));
    EXPECT_EQ(GetFile(Preview("style.css")), "body { color: red; }\r\n");
    EXPECT_NE(GetFile(Preview("engine.js")).find("Alpha"), std::string::npos);
    EXPECT_EQ(browser.navigate_cursor, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PreviewPageTest, ALongAddressReachesThePageWhole) {
    // Qt's own word wrap would break this after "/" and "-"; the box wraps only at blanks.
    const std::string address =
        "href=\"http://www.example.com/long-path/" + WordWiderThan(0.8).toStdString() + "\">";
    TagsEditorBox()->setPlainText(QString::fromStdString("Visit <a " + address + " now"));
    page.BuildPreview();
    EXPECT_NE(GetFile(Preview("engine.js")).find(address), std::string::npos);
    EXPECT_EQ(page.TagLines().ToVector(), (Lines{"Visit <a ", address + " ", "now"}));
}

TEST_F(PreviewPageTest, AMissingStyleSheetGivesTheNoticeAndTheBuildGoesOn) {
    const struct {
        const char* what;
        int style_index;
    } cases[] = {{"a style sheet missing from Styles", 2}, {"entry 0 with no file ever chosen", 0}};
    std::filesystem::remove(program / "Styles/Deadhunt.css");
    for (const auto& failing : cases) {
        messages.notices.clear();
        browser.calls.clear();
        std::filesystem::remove(Preview("index.html"));
        StyleChooserBox()->setCurrentIndex(failing.style_index);
        Click("buildPreviewButton");
        EXPECT_EQ(messages.notices, Lines{"Can't load CSS file!"}) << failing.what;
        EXPECT_EQ(messages.notice_cursors.back(), Qt::ArrowCursor) << failing.what;
        EXPECT_TRUE(messages.errors.empty()) << failing.what;
        EXPECT_TRUE(std::filesystem::exists(Preview("index.html"))) << failing.what;
        EXPECT_FALSE(std::filesystem::exists(Preview("style.css"))) << failing.what;
        EXPECT_EQ(browser.calls.size(), 1u) << failing.what;
    }
}

TEST_F(PreviewPageTest, AFailedBuildShowsTheErrorAndStaysPut) {
    std::filesystem::remove(program / "system/engine.txt");
    EXPECT_THROW(page.BuildPreview(), Error);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    Click("buildPreviewButton");
    ASSERT_EQ(messages.errors.size(), 1u);
    EXPECT_EQ(messages.errors[0].rfind("Cannot open file", 0), 0u) << messages.errors[0];
    EXPECT_NE(messages.errors[0].find("engine.txt"), std::string::npos) << messages.errors[0];
    EXPECT_TRUE(browser.calls.empty());
}

TEST_F(PreviewPageTest, SaveExportsIntoTheProjectFolder) {
    std::filesystem::create_directories(program / "site");
    export_dialog.answers = {program / "site/whatever.html", std::nullopt};
    Click("exportSearchButton");
    const std::string project = program / "site/Tolvane Project/";
    EXPECT_TRUE(messages.errors.empty());
    EXPECT_EQ(export_dialog.cursors, std::vector<Qt::CursorShape>{Qt::ArrowCursor});
    EXPECT_TRUE(std::filesystem::exists(project + "engine.js"));
    EXPECT_EQ(browser.calls, Lines{"Navigate file://" + project + "index.html"});

    Click("exportSearchButton");  // cancelled
    EXPECT_EQ(export_dialog.shown(), 2);
    EXPECT_EQ(browser.calls.size(), 1u);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PreviewPageTest, ReloadAndHomeDriveTheBrowserView) {
    Click("reloadButton");
    Click("homeButton");
    EXPECT_EQ(browser.calls, (Lines{"Refresh", "GoHome"}));

    browser.failing = "";
    Click("reloadButton");
    Click("homeButton");
    EXPECT_EQ(messages.errors,
              (Lines{"The browser failed: Refresh", "The browser failed: GoHome"}));
}

}  // namespace
}  // namespace tolvane
