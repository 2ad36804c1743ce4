#include "core/build/search_build.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "core/build/script_assembly.h"
#include "core/files/error.h"
#include "tests/support/core_fakes.h"
#include "tests/support/fault_env.h"

namespace tolvane {
namespace {

using testing::FakeBuildHost;
using testing::FolderListing;
using testing::GetFile;
using testing::MessageOf;
using testing::PutFile;
using testing::RunUnprivileged;
using testing::ScopedEnvironment;
using testing::SmallDisk;
using testing::TempFolder;

const std::string kDefaultPage =
    R"html(<link rel=stylesheet href="style.css" type="text/css"><html><head><title>Site Search</title></head><body><script src="engine.js"></script><table><tr><td><form method="POST" name="form1"><p><input type="text" name="sub" size="20" class="text">&nbsp;<input type="button" class="button" name="Search" value="Search" onClick="dolt()"></form></body></html>)html";

// A program folder (with a blank and a "#" in its name, as users' folders may have) holding
// small templates, two style sheets and the preview folder; the user's cache folder is
// cache/ beside it.
class SearchBuildTest : public ::testing::Test {
  protected:
    SearchBuildTest() : program_(root_ / "my tools #1/"), builder_(program_, items_, host_) {
        for (const char* folder : {"", "system", "Styles", "temp"}) {
            std::filesystem::create_directories(program_ + folder);
        }
        PutFile(program_ + "system/heading.txt", "var Keyword = new Array();\n");
        PutFile(program_ + "system/engine.txt",
                "function dolt() {}\n  for(var i=1; i<=Keyword[0]; i++) {}\n");
        PutFile(program_ + "Styles/Deadhunt.css", "body { color: red; }\n");
        PutFile(program_ + "Styles/Zergs.css", "a\nb\rc\r\nd\n\re");
    }

    std::string Preview() const { return program_ + "temp/"; }
    // What AssembleScript makes of the current inputs, for comparing with engine.js.
    std::string AssembledScript() const {
        std::string script;
        StringSink sink(script);
        ScriptAssembly(ScriptInputs{program_, &items_, host_.tags}).WriteTo(sink);
        return script;
    }

    TempFolder root_;
    ScopedEnvironment cache_home_{"XDG_CACHE_HOME", root_ / "cache"};
    std::string program_;
    ItemList items_;
    FakeBuildHost host_;
    SearchBuilder builder_;
};

TEST(IndexPageTextTest, JoinsTheFixedPiecesWithTitleAndCaptionUnescaped) {
    EXPECT_EQ(IndexPageText("Site Search", "Search"), kDefaultPage);
    EXPECT_EQ(kDefaultPage.size(), 351u);
    EXPECT_EQ(IndexPageText("", "").size(), 334u);
    const std::string page = IndexPageText("a</title>b", "say \"hi\"");
    EXPECT_NE(page.find("<title>a</title>b</title>"), std::string::npos);
    EXPECT_NE(page.find("value=\"say \"hi\"\" onClick"), std::string::npos);
}

TEST_F(SearchBuildTest, PreviewWritesTheThreeFilesAndShowsThePage) {
    host_.tags = LineList{"<i>banner</i>", "second"};
    builder_.PreviewBuild();

    EXPECT_EQ(FolderListing(Preview()), "engine.js index.html style.css");
    const std::string script = GetFile(Preview() + "engine.js");
    EXPECT_EQ(script, AssembledScript());
    EXPECT_NE(script.find("<i>banner</i>"), std::string::npos);
    EXPECT_EQ(GetFile(Preview() + "index.html"), kDefaultPage);
    EXPECT_EQ(GetFile(Preview() + "style.css"), "body { color: red; }\r\n");
    EXPECT_TRUE(host_.notices.empty());
    EXPECT_EQ(host_.addresses,
              std::vector<std::string>{"file://" + root_.path() + "my tools #1/temp/index.html"});
}

TEST_F(SearchBuildTest, StyleSheetLineBreaksBecomeCrLfAndTheTextEndsAtNul) {
    host_.style = 7;  // Zergs
    builder_.PreviewBuild();
    EXPECT_EQ(GetFile(Preview() + "style.css"), "a\r\nb\r\nc\r\nd\r\n\r\ne");

    PutFile(program_ + "Styles/Zergs.css", std::string("x\r\n\0y", 5));
    builder_.PreviewBuild();
    EXPECT_EQ(GetFile(Preview() + "style.css"), "x\r\n");
}

TEST_F(SearchBuildTest, CustomStyleSheetIsReadAtEveryBuild) {
    const std::string custom = root_ / "mine.css";
    PutFile(custom, "p { }\n");
    host_.style = 0;
    host_.custom_style = custom;
    builder_.PreviewBuild();
    EXPECT_EQ(GetFile(Preview() + "style.css"), "p { }\r\n");

    PutFile(custom, "");
    builder_.PreviewBuild();
    EXPECT_EQ(GetFile(Preview() + "style.css"), "");
    EXPECT_TRUE(host_.notices.empty());
}

TEST_F(SearchBuildTest, StyleFailuresGiveTheNoticeAndTheBuildGoesOn) {
    const struct {
        const char* name;
        int style;
        std::string custom;
        bool style_css_is_folder;
    } cases[] = {
        {"style file missing from Styles", 4, "", false},
        {"custom entry with no file chosen", 0, "", false},
        {"custom file gone", 0, root_ / "gone.css", false},
        {"custom name is a folder", 0, root_.path(), false},
        {"style.css cannot be written", kDefaultStyleIndex, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(Preview());
        std::filesystem::create_directories(Preview());
        if (c.style_css_is_folder) {
            std::filesystem::create_directories(Preview() + "style.css");
        } else {
            PutFile(Preview() + "style.css", "former");
        }
        host_.style = c.style;
        host_.custom_style = c.custom;
        host_.notices.clear();
        host_.addresses.clear();

        builder_.PreviewBuild();

        EXPECT_EQ(host_.notices, std::vector<std::string>{"Can't load CSS file!"});
        EXPECT_EQ(GetFile(Preview() + "index.html"), kDefaultPage);
        EXPECT_EQ(GetFile(Preview() + "engine.js"), AssembledScript());
        if (!c.style_css_is_folder) {
            EXPECT_EQ(GetFile(Preview() + "style.css"), "former");
        }
        EXPECT_EQ(host_.addresses.size(), 1u);
    }
}

TEST_F(SearchBuildTest, FailuresBeforeTheStyleStepStopTheBuild) {
    const struct {
        const char* name;
        std::function<void(const std::string& program)> arrange;
        std::string message;
        const char* written;
    } cases[] = {
        {"heading template missing",
         [](const std::string& program) {
             std::filesystem::remove(program + "system/heading.txt");
         },
         "Cannot open file \"" + program_ + "system/heading.txt\". No such file or directory", ""},
        {"engine template missing",
         [](const std::string& program) { std::filesystem::remove(program + "system/engine.txt"); },
         "Cannot open file \"" + program_ + "system/engine.txt\". No such file or directory", ""},
        {"index.html cannot be created",
         [](const std::string& program) {
             std::filesystem::create_directories(program + "temp/index.html");
         },
         "Cannot create file \"" + Preview() + "index.html\". Is a directory",
         "engine.js index.html"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder fresh;
        const std::string program = fresh / "p/";
        std::filesystem::copy(program_, program, std::filesystem::copy_options::recursive);
        c.arrange(program);
        builder_.SetProgramFolder(program);
        host_.addresses.clear();

        std::string expected = c.message;
        expected.replace(expected.find(program_), program_.size(), program);
        EXPECT_EQ(MessageOf([&] { builder_.PreviewBuild(); }), expected);
        EXPECT_EQ(FolderListing(program + "temp/"), c.written);
        EXPECT_TRUE(host_.addresses.empty());
        EXPECT_TRUE(host_.notices.empty());
    }
}

// An installed program's folder holds no temp/ (or one that this user may not write): the
// preview goes into the user's cache folder, made on first use.
TEST_F(SearchBuildTest, WithoutItsOwnPreviewFolderThePreviewGoesToTheUsersCache) {
    const std::string cached = root_ / "cache/tolvane/temp/";
    const struct {
        const char* temp;
        std::function<void()> arrange;
    } cases[] = {
        {"missing", [&] { std::filesystem::remove_all(Preview()); }},
        {"a file", [&] { PutFile(program_ + "temp", "in the way"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.temp);
        std::filesystem::remove_all(root_ / "cache");
        c.arrange();
        host_.addresses.clear();
        builder_.PreviewBuild();
        EXPECT_EQ(FolderListing(cached), "engine.js index.html style.css");
        EXPECT_EQ(GetFile(cached + "engine.js"), AssembledScript());
        EXPECT_EQ(host_.addresses, std::vector<std::string>{"file://" + cached + "index.html"});
    }
}

TEST_F(SearchBuildTest, NavigationFailureIsRaisedAfterAllFilesAreWritten) {
    host_.navigate_error = "The page cannot be shown";
    EXPECT_EQ(MessageOf([&] { builder_.PreviewBuild(); }), "The page cannot be shown");
    EXPECT_EQ(FolderListing(Preview()), "engine.js index.html style.css");
}

TEST_F(SearchBuildTest, ExportCreatesTheProjectFolderAndShowsTheExportedPage) {
    const std::string base = root_ / "site/";
    std::filesystem::create_directories(base);
    host_.export_choice = base + "whatever.html";
    builder_.ExportBuild();

    const std::string project = base + "Tolvane Project/";
    EXPECT_EQ(FolderListing(project), "engine.js index.html style.css");
    EXPECT_EQ(GetFile(project + "engine.js"), AssembledScript());
    EXPECT_EQ(GetFile(project + "style.css"), "body { color: red; }\r\n");
    EXPECT_EQ(FolderListing(Preview()), "");
    EXPECT_EQ(host_.addresses, std::vector<std::string>{"file://" + project + "index.html"});
}

TEST_F(SearchBuildTest, ExportOverwritesEarlierOutput) {
    const std::string project = root_ / "Tolvane Project/";
    std::filesystem::create_directories(project);
    for (const char* name : {"engine.js", "index.html", "style.css", "keep.txt"}) {
        PutFile(project + name, "earlier");
    }
    host_.export_choice = root_ / "index.html";
    builder_.ExportBuild();
    EXPECT_EQ(GetFile(project + "index.html"), kDefaultPage);
    EXPECT_EQ(GetFile(project + "engine.js"), AssembledScript());
    EXPECT_EQ(GetFile(project + "style.css"), "body { color: red; }\r\n");
    EXPECT_EQ(GetFile(project + "keep.txt"), "earlier");
}

TEST_F(SearchBuildTest, CancelledExportDoesNothing) {
    builder_.ExportBuild();
    EXPECT_EQ(host_.export_questions, 1);
    EXPECT_EQ(FolderListing(root_.path()), "my tools #1");
    EXPECT_EQ(FolderListing(Preview()), "");
    EXPECT_TRUE(host_.addresses.empty());
}

TEST_F(SearchBuildTest, ExportFolderFailuresWriteNothing) {
    PutFile(root_ / "Tolvane Project", "a file in the way");
    host_.export_choice = root_ / "index.html";
    EXPECT_EQ(MessageOf([&] { builder_.ExportBuild(); }), "I/O error 183");
    EXPECT_EQ(GetFile(root_ / "Tolvane Project"), "a file in the way");

    host_.export_choice = root_ / "no such folder/index.html";
    EXPECT_EQ(MessageOf([&] { builder_.ExportBuild(); }), "Invalid filename");
    EXPECT_FALSE(std::filesystem::exists(root_ / "no such folder"));

    EXPECT_TRUE(host_.addresses.empty());
    EXPECT_EQ(FolderListing(Preview()), "");
}

// Root is never refused a write, so the permission cases run as an unprivileged user. A
// preview folder that may not be written is passed over for the cache folder, whose creation
// fails here with the folder's error text.
TEST_F(SearchBuildTest, WithoutWriteAccessNothingIsWritten) {
    const std::string base = root_ / "locked/";
    std::filesystem::create_directories(base);
    ::chmod(base.c_str(), 0555);
    ::chmod(Preview().c_str(), 0555);
    host_.export_choice = base + "index.html";
    const ScopedEnvironment cache_home("XDG_CACHE_HOME", base + "cache");

    const std::string results = RunUnprivileged([&] {
        return MessageOf([&] { builder_.ExportBuild(); }) + "|" +
               MessageOf([&] { builder_.PreviewBuild(); });
    });
    EXPECT_EQ(results, "File access denied|File access denied");
    EXPECT_EQ(FolderListing(base), "");
    EXPECT_EQ(FolderListing(Preview()), "");
}

TEST_F(SearchBuildTest, FullDiskKeepsTheFormerFile) {
    SmallDisk disk(64 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << "mounting a small disk needs root";
    }
    for (int i = 0; i < 2000; ++i) {
        items_.AppendItem("page" + std::to_string(i) + ".html", "a caption long enough to fill");
    }
    PutFile(disk.path() + "engine.js", "former script");
    disk.Fill();
    EXPECT_EQ(MessageOf([&] { builder_.BuildSearchFiles(disk.path()); }), "Stream write error");
    EXPECT_EQ(GetFile(disk.path() + "engine.js"), "former script");
    EXPECT_EQ(FolderListing(disk.path()), "engine.js filler");
    EXPECT_TRUE(host_.addresses.empty());
}

}  // namespace
}  // namespace tolvane
