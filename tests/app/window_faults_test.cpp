// The whole window under faults: a build that fails shows exactly its error box text, restores
// the cursor and leaves every page working; a build of a million items runs under the wait
// cursor to the end.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "app/main_window.h"
#include "core/services/messages.h"
#include "gui/pages/preview_page.h"
#include "tests/app/window_fakes.h"
#include "tests/support/fault_env.h"

namespace tolvane {
namespace {

using testing::FakeBrowser;
using testing::FakeChooser;
using testing::FakeMessages;
using testing::GetFile;
using testing::PutFile;
using testing::ScopedEnvironment;
using testing::TempFolder;

// The browser view, noting whether the wait cursor was up when a build asked it to show a page.
class CursorWatchingBrowser : public FakeBrowser {
  public:
    void Navigate(const std::string& address) override {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        waited.push_back(cursor != nullptr && cursor->shape() == Qt::WaitCursor);
        FakeBrowser::Navigate(address);
    }
    std::vector<bool> waited;
};

class WindowFaultsTest : public ::testing::Test {
  protected:
    WindowFaultsTest() {
        MakeProgramFolder();
        auto browser = std::make_unique<CursorWatchingBrowser>();
        browser_ = browser.get();
        testing::FakeServices fakes = testing::MakeFakeServices(std::move(browser));
        messages_ = fakes.messages;
        open_list_ = fakes.open_list;
        save_list_ = fakes.save_list;
        export_search_ = fakes.export_search;
        window_ = std::make_unique<MainWindow>(std::move(fakes.services));
        window_->Preview().Builder().SetProgramFolder(program_.path());
        browser_->calls.clear();
    }

    void MakeProgramFolder() {
        for (const char* folder : {"system", "Styles", "temp"}) {
            std::filesystem::create_directories(program_ / folder);
        }
        PutFile(program_ / "system/heading.txt", "var Keyword = new Array();\r\n");
        PutFile(program_ / "system/engine.txt",
                "function dolt() {\r\nfor(var i=1; i<=Keyword[0]; i++) {}\r\n}\r\n");
        PutFile(program_ / "Styles/Deadhunt.css", "body { color: black; }\r\n");
    }

    template <typename Widget>
    Widget& Find(const char* name) {
        auto* widget = window_->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }
    void Click(const char* name) {
        QTest::mouseClick(&Find<QAbstractButton>(name), Qt::LeftButton);
    }

    std::string PreviewAddress() const {
        return "Navigate file://" + program_.path() + "temp/index.html";
    }

    // The window works on: a build succeeds and the Database page adds an item.
    void ExpectUsable() {
        const std::size_t shown = browser_->Count(PreviewAddress());
        Click("previewButton");
        EXPECT_EQ(browser_->Count(PreviewAddress()), static_cast<int>(shown) + 1);
        Click("buildPreviewButton");
        EXPECT_EQ(browser_->Count(PreviewAddress()), static_cast<int>(shown) + 2);
        Click("databaseButton");
        const int items = window_->Items().ItemCount();
        Find<QLineEdit>("linkField").setText("after.html");
        Find<QLineEdit>("captionField").setText("After the fault");
        Click("addItemButton");
        EXPECT_EQ(window_->Items().ItemCount(), items + 1);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }

    TempFolder program_;
    // The user's cache folder, where the preview goes when temp/ will not do.
    ScopedEnvironment cache_home_{"XDG_CACHE_HOME", program_ / "cache"};
    CursorWatchingBrowser* browser_ = nullptr;  // owned by the window
    FakeMessages* messages_ = nullptr;
    FakeChooser* open_list_ = nullptr;
    FakeChooser* save_list_ = nullptr;
    FakeChooser* export_search_ = nullptr;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(WindowFaultsTest, AFailedBuildShowsItsErrorAndLeavesTheWindowUsable) {
    const std::string program = program_.path();
    const struct {
        const char* fault;
        std::function<void()> make;
        std::function<void()> mend;
        std::string box_text;
    } cases[] = {
        {"heading template missing",
         [&] { std::filesystem::remove(program + "system/heading.txt"); },
         [&] { PutFile(program + "system/heading.txt", "var Keyword = new Array();\r\n"); },
         "Cannot open file \"" + program + "system/heading.txt\". No such file or directory."},
        {"preview folder missing and the cache folder a file",
         [&] {
             std::filesystem::remove_all(program + "temp");
             PutFile(program + "cache", "in the way");
         },
         [&] {
             std::filesystem::remove(program + "cache");
             std::filesystem::create_directories(program + "temp");
         },
         "I/O error 183."},
        {"index.html is a folder",
         [&] {
             std::filesystem::remove(program + "temp/index.html");
             std::filesystem::create_directories(program + "temp/index.html");
         },
         [&] { std::filesystem::remove_all(program + "temp/index.html"); },
         "Cannot create file \"" + program + "temp/index.html\". Is a directory."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        c.make();
        messages_->errors.clear();
        browser_->calls.clear();
        for (const char* button : {"previewButton", "buildPreviewButton"}) {
            Click(button);
        }
        ASSERT_EQ(messages_->errors.size(), 2u);
        for (const std::string& error : messages_->errors) {
            EXPECT_EQ(ErrorBoxText(error), c.box_text);
        }
        EXPECT_TRUE(browser_->calls.empty());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

        c.mend();
        messages_->errors.clear();
        ExpectUsable();
        EXPECT_TRUE(messages_->errors.empty());
    }
}

TEST_F(WindowFaultsTest, AFailedExportShowsItsErrorAndWritesNothing) {
    const std::string program = program_.path();
    PutFile(program + "Tolvane Project", "a file in the way");
    const struct {
        std::string chosen;
        std::string box_text;
    } cases[] = {
        {program + "index.html", "I/O error 183."},
        {program + "no such folder/index.html", "Invalid filename."},
    };
    Click("previewButton");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        export_search_->answers = {c.chosen};
        messages_->errors.clear();
        browser_->calls.clear();
        Click("exportSearchButton");
        ASSERT_EQ(messages_->errors.size(), 1u);
        EXPECT_EQ(ErrorBoxText(messages_->errors[0]), c.box_text);
        EXPECT_TRUE(browser_->calls.empty());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(GetFile(program + "Tolvane Project"), "a file in the way");
    EXPECT_FALSE(std::filesystem::exists(program + "no such folder"));
    messages_->errors.clear();
    ExpectUsable();
    EXPECT_TRUE(messages_->errors.empty());
}

TEST_F(WindowFaultsTest, AFailedOpenOrSaveShowsItsErrorAndKeepsTheList) {
    const std::string program = program_.path();
    window_->Items().SetItemLines(LineList{"a.html=First", "b.html=Second"});
    PutFile(program + "brief.til", "brief=1\r\n");
    open_list_->answers = {program + "brief.til"};
    std::filesystem::remove(program + "brief.til");  // gone between the dialog and the read
    save_list_->answers = {program + "no folder/list"};

    Click("openListButton");
    Click("saveListButton");
    ASSERT_EQ(messages_->errors.size(), 2u);
    EXPECT_EQ(ErrorBoxText(messages_->errors[0]),
              "Cannot open file \"" + program + "brief.til\". No such file or directory.");
    EXPECT_EQ(ErrorBoxText(messages_->errors[1]), "Cannot create file \"" + program +
                                                      "no folder/list.til\". No such file or "
                                                      "directory.");
    EXPECT_EQ(window_->Items().ItemLines().ToVector(),
              (std::vector<std::string>{"a.html=First", "b.html=Second"}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    messages_->errors.clear();
    ExpectUsable();
    EXPECT_TRUE(messages_->errors.empty());
}

TEST_F(WindowFaultsTest, AFullDiskShowsStreamWriteErrorAndKeepsTheFormerPage) {
    if (!testing::IsRoot()) {
        GTEST_SKIP() << "mounting a small disk needs root";
    }
    testing::SmallDisk disk(256 * 1024);
    ASSERT_TRUE(disk.mounted());
    // The preview folder lies on the small disk.
    std::filesystem::remove_all(program_ / "temp");
    std::filesystem::create_directory_symlink(disk.path(), program_ / "temp");
    PutFile(disk.path() + "engine.js", "former script");
    window_->Items().AppendItem("big.html", std::string(512 * 1024, 'x'));

    Click("previewButton");
    ASSERT_EQ(messages_->errors.size(), 1u);
    EXPECT_EQ(ErrorBoxText(messages_->errors[0]), "Stream write error.");
    EXPECT_EQ(GetFile(disk.path() + "engine.js"), "former script");
    EXPECT_TRUE(browser_->calls.empty());

    window_->Items().SetItemLines(LineList{ItemList::kInitialLine});
    messages_->errors.clear();
    ExpectUsable();
    EXPECT_TRUE(messages_->errors.empty());
}

TEST_F(WindowFaultsTest, AMillionItemsOpenAndBuildUnderTheWaitCursor) {
    std::string million;
    for (int i = 1; i <= 1'000'000; ++i) {
        million += "page" + std::to_string(i) + ".html=Caption " + std::to_string(i) + "\r\n";
    }
    PutFile(program_ / "million.til", million);
    open_list_->answers = {program_ / "million.til"};

    Click("openListButton");
    ASSERT_EQ(window_->Items().ItemCount(), 1'000'000);
    EXPECT_EQ(window_->Items().RowCount(), 1'000'001);
    Click("previewButton");

    EXPECT_TRUE(messages_->errors.empty()) << messages_->errors.front();
    EXPECT_EQ(browser_->waited, std::vector<bool>{true});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    const std::string script = GetFile(program_ / "temp/engine.js");
    EXPECT_NE(script.find("Keyword [0] = 1000000\r\n"), std::string::npos);
    EXPECT_NE(script.find("Keyword [1000000] = \"Caption 1000000\"\r\n"), std::string::npos);
    EXPECT_EQ(GetFile(program_ / "temp/style.css"), "body { color: black; }\r\n");
}

// A 100 MB line goes through every step of the window whole: the fields show all of it,
// "Save list" writes it back byte for byte, and the build writes it into engine.js.
TEST_F(WindowFaultsTest, AHundredMegabyteLineOpensShowsSavesAndBuilds) {
    const std::string caption(100 << 20, 'x');
    const std::string file = "big.html=" + caption + "\r\n";
    PutFile(program_ / "big.til", file);
    // The grid cursor below the new list's end makes the grid select the new item, so the
    // fields show it.
    window_->Items().SetItemLines(LineList{"a=1", "b=2"});
    window_->Items().MoveRequest(1, 2);
    open_list_->answers = {program_ / "big.til"};
    save_list_->answers = {program_ / "again.til"};

    Click("openListButton");
    EXPECT_EQ(Find<QLineEdit>("captionField").text().size(),
              static_cast<qsizetype>(caption.size()));
    EXPECT_EQ(Find<QLineEdit>("linkField").text(), "big.html");
    Click("saveListButton");
    EXPECT_TRUE(GetFile(program_ / "again.til") == file);
    Click("previewButton");
    EXPECT_TRUE(messages_->errors.empty()) << messages_->errors.front();
    EXPECT_NE(GetFile(program_ / "temp/engine.js").find("Keyword [1] = \"" + caption + "\"\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace tolvane
