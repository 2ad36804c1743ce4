// Builds against a hostile file system and odd inputs: a disk that fills up at each of the three
// output files, output files the user may not write (checked as an unprivileged user), links,
// templates and style sheets that are empty, binary, huge, unreadable or folders, and item
// lists far from the usual. Each failure shows its exact message and keeps every former file.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/build/search_build.h"
#include "core/files/error.h"
#include "core/items/item_list.h"
#include "tests/support/core_fakes.h"
#include "tests/support/fault_env.h"

namespace tolvane {
namespace {

using namespace std::string_literals;
using testing::FakeBuildHost;
using testing::FolderListing;
using testing::GetFile;
using testing::MessageOf;
using testing::PutFile;
using testing::RunUnprivileged;
using testing::ScopedEnvironment;
using testing::SmallDisk;
using testing::TempFolder;

const std::string kHeading = "var Keyword = new Array();\r\nvar Address = new Array();\r\n";
const std::string kEngine = "function dolt() {\r\n  for(var i=1; i<=Keyword[0]; i++) {}\r\n}\r\n";
const std::string kStyle = "body { color: red; }\r\n";

// A program folder with both templates, one style sheet and the preview folder.
// Public, so that the cases' arrange steps can reach it.
class BuildFaultsTest : public ::testing::Test {
  public:
    BuildFaultsTest() : builder_(program_.path(), items_, host_) {
        host_.tags = LineList{"tags"};
        std::filesystem::create_directories(program_ / "system");
        std::filesystem::create_directories(program_ / "Styles");
        MakePreviewFolder();
        PutFile(program_ / "system/heading.txt", kHeading);
        PutFile(program_ / "system/engine.txt", kEngine);
        PutFile(program_ / "Styles/Deadhunt.css", kStyle);
    }

    // Empty, and writable by the unprivileged user too.
    void MakePreviewFolder() {
        std::filesystem::remove_all(program_ / "temp");
        std::filesystem::create_directories(Preview());
        ::chmod(Preview().c_str(), 0777);
    }

    std::string Preview() const { return program_ / "temp/"; }

    // engine.js for the start-up item and the tags line "tags", around the given templates.
    static std::string ScriptFor(const std::string& heading, const std::string& engine_before,
                                 const std::string& engine_after) {
        return heading +
               "Keyword [0] = 1\r\nKeyword [1] = \"First record\"\r\n"
               "Address [1] = \"index.shtml\"\r\n" +
               engine_before + "MsgBox.document.write(' '+ ' tags<hr>');" + engine_after;
    }
    static std::string DefaultScript() {
        return ScriptFor(kHeading, "function dolt() {\r\n  ",
                         "for(var i=1; i<=Keyword[0]; i++) {}\r\n}\r\n");
    }

    void PutFormerOutput(const std::string& folder) {
        for (const char* name : {"engine.js", "index.html", "style.css"}) {
            PutFile(folder + name, std::string("former ") + name);
            ::chmod((folder + name).c_str(), 0666);
        }
    }
    // What each output file holds: "former" or "new" (as this build would write it).
    std::string States(const std::string& folder) {
        std::string states;
        for (const char* name : {"engine.js", "index.html", "style.css"}) {
            const std::string content = GetFile(folder + name);
            states += std::string(states.empty() ? "" : " ") +
                      (content == std::string("former ") + name ? "former" : "new");
        }
        return states;
    }

    TempFolder program_;
    // The user's cache folder, where a preview goes when temp/ will not do.
    TempFolder cache_;
    ScopedEnvironment cache_home_{"XDG_CACHE_HOME", cache_.path()};
    ItemList items_;
    FakeBuildHost host_;
    SearchBuilder builder_;
};

TEST_F(BuildFaultsTest, AFullDiskAtEachOutputFileKeepsItsFormerContent) {
    const struct {
        const char* fault;
        std::function<void(BuildFaultsTest&)> make_too_big;
        std::string message;
        std::string states;
        std::vector<std::string> notices;
    } cases[] = {
        {"engine.js",
         [](BuildFaultsTest& t) { t.items_.AppendItem("big.html", std::string(2 << 20, 'x')); },
         "Stream write error",
         "former former former",
         {}},
        {"index.html",
         [](BuildFaultsTest& t) { t.host_.title = std::string(2 << 20, 't'); },
         "Stream write error",
         "new former former",
         {}},
        {"style.css",
         [](BuildFaultsTest& t) {
             PutFile(t.program_ / "Styles/Deadhunt.css", std::string(2 << 20, 's'));
         },
         "no error",
         "new new former",
         {"Can't load CSS file!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        if (!testing::IsRoot()) {
            GTEST_SKIP() << "mounting a small disk needs root";
        }
        SmallDisk disk(1 << 20);
        ASSERT_TRUE(disk.mounted());
        items_.SetItemLines(LineList{ItemList::kInitialLine});
        host_ = FakeBuildHost();
        host_.tags = LineList{"tags"};
        PutFile(program_ / "Styles/Deadhunt.css", kStyle);
        PutFormerOutput(disk.path());
        c.make_too_big(*this);

        EXPECT_EQ(MessageOf([&] { builder_.BuildSearchFiles(disk.path()); }), c.message);
        EXPECT_EQ(States(disk.path()), c.states);
        EXPECT_EQ(host_.notices, c.notices);
        EXPECT_EQ(host_.addresses.size(), c.message == "no error" ? 1u : 0u);
        EXPECT_EQ(FolderListing(disk.path()), "engine.js index.html style.css");
    }
}

TEST_F(BuildFaultsTest, ReadOnlyOutputFilesAsAnUnprivilegedUser) {
    const struct {
        const char* file;
        std::string message;
        std::string states;
        std::string notices;
    } cases[] = {
        {"engine.js", "Cannot create file \"" + Preview() + "engine.js\". Permission denied",
         "former former former", ""},
        {"index.html", "Cannot create file \"" + Preview() + "index.html\". Permission denied",
         "new former former", ""},
        {"style.css", "no error", "new new former", "Can't load CSS file!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        PutFormerOutput(Preview());
        ::chmod((Preview() + c.file).c_str(), 0444);
        const std::string seen = RunUnprivileged([&] {
            const std::string message = MessageOf([&] { builder_.PreviewBuild(); });
            return message + "|" + (host_.notices.empty() ? "" : host_.notices[0]);
        });
        EXPECT_EQ(seen, c.message + "|" + c.notices);
        EXPECT_EQ(States(Preview()), c.states);
        ::chmod((Preview() + c.file).c_str(), 0644);
    }
}

// A shared web folder: the user may write its files but not the folder itself, so the files
// are written in place. On a full disk that is still a write error.
TEST_F(BuildFaultsTest, WritableOutputFilesInAClosedFolderAsAnUnprivilegedUser) {
    if (!testing::IsRoot()) {
        GTEST_SKIP() << "mounting a small disk needs root";
    }
    SmallDisk disk(1 << 20);
    ASSERT_TRUE(disk.mounted());
    const std::string shared = disk.path() + "shared/";
    for (const bool disk_full : {false, true}) {
        SCOPED_TRACE(disk_full ? "full disk" : "room enough");
        std::filesystem::create_directories(shared);
        ::chmod(shared.c_str(), 0777);
        PutFormerOutput(shared);
        ::chmod(shared.c_str(), 0555);
        items_.SetItemLines(LineList{ItemList::kInitialLine});
        if (disk_full) {
            items_.AppendItem("big.html", std::string(2 << 20, 'x'));
        }
        const std::string seen =
            RunUnprivileged([&] { return MessageOf([&] { builder_.BuildSearchFiles(shared); }); });
        EXPECT_EQ(seen, disk_full ? "Stream write error" : "no error");
        EXPECT_EQ(FolderListing(shared), "engine.js index.html style.css");
        if (!disk_full) {
            EXPECT_EQ(States(shared), "new new new");
            EXPECT_EQ(GetFile(shared + "engine.js"), DefaultScript());
            EXPECT_EQ(GetFile(shared + "style.css"), kStyle);
        }
        ::chmod(shared.c_str(), 0777);
        std::filesystem::remove_all(shared);
    }
}

TEST_F(BuildFaultsTest, LinkedOutputFilesAreWrittenThroughAndStayLinks) {
    std::filesystem::create_directories(program_ / "site");
    for (const char* name : {"engine.js", "index.html", "style.css"}) {
        PutFile(program_ / "site/" + name, "former");
        ::symlink((program_ / "site/" + name).c_str(), (Preview() + name).c_str());
    }
    builder_.PreviewBuild();
    EXPECT_EQ(GetFile(program_ / "site/engine.js"), DefaultScript());
    EXPECT_EQ(GetFile(program_ / "site/style.css"), kStyle);
    EXPECT_TRUE(std::filesystem::is_symlink(Preview() + "index.html"));
    EXPECT_EQ(host_.addresses.size(), 1u);
}

TEST_F(BuildFaultsTest, UnusableFoldersAndTemplatesStopTheBuildBeforeAnyWrite) {
    const struct {
        const char* fault;
        std::function<void(BuildFaultsTest&)> arrange;
        std::string message;
        bool unprivileged;
    } cases[] = {
        {"the preview folder is a file, and so is the cache folder",
         [](BuildFaultsTest& t) {
             std::filesystem::remove_all(t.Preview());
             PutFile(t.program_ / "temp", "a file");
             PutFile(t.cache_ / "tolvane", "a file");
         },
         "I/O error 183", false},
        {"the heading template is a folder",
         [](BuildFaultsTest& t) {
             std::filesystem::remove(t.program_ / "system/heading.txt");
             std::filesystem::create_directory(t.program_ / "system/heading.txt");
         },
         "Cannot open file \"" + program_.path() + "system/heading.txt\". Is a directory", false},
        {"the engine template cannot be read",
         [](BuildFaultsTest& t) { ::chmod((t.program_ / "system/engine.txt").c_str(), 0); },
         "Cannot open file \"" + program_.path() + "system/engine.txt\". Permission denied", true},
        {"the program folder is gone",
         [](BuildFaultsTest& t) { t.builder_.SetProgramFolder(t.program_ / "moved/"); },
         "Cannot open file \"" + program_.path() + "moved/system/heading.txt\". " +
             "No such file or directory",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        c.arrange(*this);
        auto build = [&] { return MessageOf([&] { builder_.PreviewBuild(); }); };
        EXPECT_EQ(c.unprivileged ? RunUnprivileged(build) : build(), c.message);
        EXPECT_TRUE(host_.addresses.empty());
        if (std::filesystem::is_directory(Preview())) {
            EXPECT_EQ(FolderListing(Preview()), "");
        }
        // Put the program folder back for the next case.
        builder_.SetProgramFolder(program_.path());
        MakePreviewFolder();
        std::filesystem::remove_all(cache_ / "tolvane");
        std::filesystem::remove_all(program_ / "system/heading.txt");
        PutFile(program_ / "system/heading.txt", kHeading);
        ::chmod((program_ / "system/engine.txt").c_str(), 0644);
    }
}

TEST_F(BuildFaultsTest, EmptyBinaryAndHugeTemplatesAndStyleSheetsAreCopiedByTheRules) {
    const std::string huge_line(40 << 20, 'h');
    const std::string binary = "\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s;
    const struct {
        const char* kind;
        std::string heading;
        std::string engine;
        std::string style;
        std::string script;
        std::string style_css;
    } cases[] = {
        {"empty", "", "", "", ScriptFor("", "", "\r\n"), ""},
        {"binary", binary, binary, binary,
         ScriptFor("\x89PNG\r\n\x1A\r\n", "", "\x89PNG\r\n\x1A\r\n"), "\x89PNG\r\n\x1A\r\n"},
        {"huge", huge_line + "\n", huge_line + "\n", huge_line,
         ScriptFor(huge_line + "\r\n", "", huge_line + "\r\n"), huge_line},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        PutFile(program_ / "system/heading.txt", c.heading);
        PutFile(program_ / "system/engine.txt", c.engine);
        PutFile(program_ / "Styles/Deadhunt.css", c.style);
        builder_.PreviewBuild();
        EXPECT_TRUE(GetFile(Preview() + "engine.js") == c.script);
        EXPECT_TRUE(GetFile(Preview() + "style.css") == c.style_css);
        EXPECT_TRUE(host_.notices.empty());
    }
}

TEST_F(BuildFaultsTest, AStyleSheetThatCannotBeReadGivesTheNoticeAsAnUnprivilegedUser) {
    PutFile(Preview() + "style.css", "former");
    ::chmod((program_ / "Styles/Deadhunt.css").c_str(), 0);
    const std::string seen = RunUnprivileged([&] {
        const std::string message = MessageOf([&] { builder_.PreviewBuild(); });
        return message + "|" + (host_.notices.empty() ? "" : host_.notices[0]);
    });
    EXPECT_EQ(seen, "no error|Can't load CSS file!");
    EXPECT_EQ(GetFile(Preview() + "style.css"), "former");
    EXPECT_EQ(GetFile(Preview() + "engine.js"), DefaultScript());
}

// Lists as users have them build like any other: every item reaches engine.js.
TEST_F(BuildFaultsTest, HugeAndOddListsBuild) {
    LineList million;
    for (int i = 1; i <= 1'000'000; ++i) {
        million.PushBack("p" + std::to_string(i) + ".html=Caption " + std::to_string(i));
    }
    const std::string long_caption(100 << 20, 'c');
    const struct {
        const char* kind;
        LineList lines;
        std::string last_lines;
    } cases[] = {
        {"1,000,000 items", million,
         "Keyword [1000000] = \"Caption 1000000\"\r\nAddress [1000000] = \"p1000000.html\"\r\n"},
        {"a 100 MB caption", LineList{"big.html=" + long_caption},
         "Keyword [1] = \"" + long_caption + "\"\r\nAddress [1] = \"big.html\"\r\n"},
        // What is no UTF-8 is read as Windows-1252, where every byte is a character.
        {"bytes of other encodings", LineList{"\xEF\xBB\xBFp.html=\xFF\xFE\xC3\x28", "\x89PNG"},
         "Keyword [1] = \"\xC3\xBF\xC3\xBE\xC3\x83\x28\"\r\n"
         "Address [1] = \"\xEF\xBB\xBFp.html\"\r\n"
         "Keyword [2] = \"\xE2\x80\xB0PNG\"\r\nAddress [2] = \"\"\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        items_.SetItemLines(c.lines);
        builder_.PreviewBuild();
        const std::string script = GetFile(Preview() + "engine.js");
        const std::string count_line = "Keyword [0] = " + std::to_string(c.lines.size()) + "\r\n";
        EXPECT_EQ(script.compare(0, kHeading.size() + count_line.size(), kHeading + count_line), 0);
        const std::size_t data_end = script.find("function dolt()");
        ASSERT_NE(data_end, std::string::npos);
        EXPECT_TRUE(
            script.compare(data_end - c.last_lines.size(), c.last_lines.size(), c.last_lines) == 0);
        EXPECT_EQ(host_.addresses.size(), 1u);
        host_.addresses.clear();
    }
}

}  // namespace
}  // namespace tolvane
