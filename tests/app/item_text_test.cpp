// Item texts through the whole window, with real clicks on the grid and the buttons: lists saved
// on a Windows-1252 system keep every byte they hold unless the user edits it, and a link
// holding "=" (a query string) survives adding, saving, opening and building.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <filesystem>

#include "app/main_window.h"
#include "gui/pages/preview_page.h"
#include "gui/widgets/item_grid.h"
#include "tests/app/window_fakes.h"
#include "tests/support/fault_env.h"

namespace tolvane {
namespace {

using testing::GetFile;
using testing::PutFile;
using testing::TempFolder;

class ItemTextTest : public ::testing::Test {
  protected:
    ItemTextTest() {
        for (const char* folder : {"system", "Styles", "temp"}) {
            std::filesystem::create_directories(program_ / folder);
        }
        PutFile(program_ / "system/heading.txt", "var Keyword = new Array();\r\n");
        PutFile(program_ / "system/engine.txt",
                "function dolt() {\r\nfor(var i=1; i<=Keyword[0]; i++) {}\r\n}\r\n");
        PutFile(program_ / "Styles/Deadhunt.css", "body { color: black; }\r\n");
        testing::FakeServices fakes = testing::MakeFakeServices();
        messages_ = fakes.messages;
        open_list_ = fakes.open_list;
        save_list_ = fakes.save_list;
        window_ = std::make_unique<MainWindow>(std::move(fakes.services));
        window_->Preview().Builder().SetProgramFolder(program_.path());
        window_->show();
    }

    template <typename Widget>
    Widget& Find(const char* name) {
        auto* widget = window_->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }
    void Click(const char* button) {
        QTest::mouseClick(&Find<QAbstractButton>(button), Qt::LeftButton);
    }
    QLineEdit& Field(const char* name) { return Find<QLineEdit>(name); }
    // Types over the field's whole text.
    void Type(const char* field, const QString& text) {
        Field(field).setFocus(Qt::TabFocusReason);
        Field(field).selectAll();
        QTest::keyClicks(&Field(field), text);
    }

    // A click on the caption cell of `row`, scrolled into view first.
    void ClickRow(int row) {
        auto& grid = Find<ItemGrid>("itemGrid");
        grid.verticalScrollBar()->setValue(row - 1);
        const int x = grid.LinkColumnWidth() + 1 + grid.CaptionColumnWidth() / 2;
        const int y =
            (row - grid.FirstVisibleRow() + 1) * ItemGrid::kRowPitch + ItemGrid::kRowHeight / 2;
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(x, y));
        ASSERT_EQ(window_->Items().CursorRow(), row);
    }

    void OpenList(const std::string& file) {
        open_list_->answers = {file};
        Click("openListButton");
    }
    void SaveList(const std::string& file) {
        save_list_->answers = {file};
        Click("saveListButton");
    }

    TempFolder program_;
    testing::FakeMessages* messages_ = nullptr;
    testing::FakeChooser* open_list_ = nullptr;
    testing::FakeChooser* save_list_ = nullptr;
    std::unique_ptr<MainWindow> window_;
};

// Only the link is edited; the caption, saved on a Windows-1252 system, goes back as it came.
TEST_F(ItemTextTest, ReplacingOnlyTheLinkKeepsAWindows1252Caption) {
    PutFile(program_ / "old.til", "a.html=caf\xE9\r\nb.html=two\r\n");
    OpenList(program_ / "old.til");
    ClickRow(1);
    EXPECT_EQ(Field("captionField").text(), QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_EQ(Field("linkField").text(), "a.html");
    Type("linkField", "new.html");
    Click("replaceItemButton");
    SaveList(program_ / "saved.til");

    EXPECT_TRUE(messages_->errors.empty()) << messages_->errors.front();
    EXPECT_EQ(GetFile(program_ / "saved.til"), "new.html=caf\xE9\r\nb.html=two\r\n");

    // An edited caption is the user's new text, in UTF-8.
    ClickRow(1);
    Type("captionField", "th");
    QTest::sendKeyEvent(QTest::Click, &Field("captionField"), Qt::Key_Eacute,
                        QString::fromUtf8("\xC3\xA9"), Qt::NoModifier);
    Click("replaceItemButton");
    EXPECT_EQ(window_->Items().ItemLines()[0], "new.html=th\xC3\xA9");
}

// Every byte but NUL, in cells of either encoding: clicked and replaced unchanged, row by row,
// the list is saved back byte for byte.
TEST_F(ItemTextTest, EveryByteSurvivesClickAndReplaceOfEveryRow) {
    std::string list;
    for (int first = 0; first < 256; first += 16) {
        std::string link = "L";
        std::string caption = "C";
        for (int byte = std::max(first, 1); byte < first + 16; ++byte) {
            const char c = static_cast<char>(byte);
            if (c == '\r' || c == '\n') {
                continue;  // they are the list's line breaks
            }
            caption += c;
            if (c != '=') {
                link += c;
            }
        }
        list += link + "=" + caption + "\r\n";
    }
    list +=
        "caf\xC3\xA9 \xE6\x9D\xB1\xE4\xBA\xAC.html=Z\xC3\xBCrich \xF0\x9F\x98\x80\r\n"
        "caf\xC3\xA9.html=caf\xE9\r\n"
        "q&#61;1&x&#61;=a=b&#61;\r\n"
        "\x81\x8D\x8F\x90\x9D=\x80\xFF\r\n";
    PutFile(program_ / "every-byte.til", list);
    OpenList(program_ / "every-byte.til");
    const int rows = window_->Items().ItemCount();
    ASSERT_EQ(rows, 20);

    for (int row = 1; row <= rows; ++row) {
        SCOPED_TRACE(row);
        ClickRow(row);
        Click("replaceItemButton");
    }
    SaveList(program_ / "saved.til");
    EXPECT_TRUE(messages_->errors.empty()) << messages_->errors.front();
    EXPECT_TRUE(GetFile(program_ / "saved.til") == list);
}

TEST_F(ItemTextTest, ALinkWithEqualsSignsComesBackAsTyped) {
    Type("captionField", "Page three");
    Type("linkField", "page.php?id=3&x=4");
    Click("addItemButton");
    EXPECT_EQ(window_->Items().ItemLines()[1], "page.php?id&#61;3&x&#61;4=Page three");
    SaveList(program_ / "links.til");
    Click("clearListButton");
    OpenList(program_ / "links.til");
    ClickRow(2);
    EXPECT_EQ(Field("linkField").text(), "page.php?id=3&x=4");
    EXPECT_EQ(Field("captionField").text(), "Page three");

    Click("previewButton");
    EXPECT_TRUE(messages_->errors.empty()) << messages_->errors.front();
    EXPECT_NE(
        GetFile(program_ / "temp/engine.js")
            .find(
                "Keyword [2] = \"Page three\"\r\nAddress [2] = \"page.php?id&#61;3&x&#61;4\"\r\n"),
        std::string::npos);
}

}  // namespace
}  // namespace tolvane
