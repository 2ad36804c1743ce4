#include "cli/command_line.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using Arguments = std::vector<std::string>;

TEST(ParseCommandLineTest, DefaultsWithOnlyAList) {
    const CommandLine line = ParseCommandLine({"items.til"});
    EXPECT_EQ(line.list_file, "items.til");
    EXPECT_EQ(line.output_folder, "");
    EXPECT_EQ(line.title, "Site Search");
    EXPECT_EQ(line.button_caption, "Search");
    EXPECT_FALSE(line.tags_file.has_value());
    EXPECT_EQ(line.style_index, kDefaultStyleIndex);
    EXPECT_EQ(line.style_file, "");
    EXPECT_FALSE(line.data_folder.has_value());
    EXPECT_FALSE(line.show_help || line.show_version);
}

TEST(ParseCommandLineTest, EveryOptionInEverySpelling) {
    const Arguments spellings[] = {
        {"-o", "out", "-t", "Find", "-b", "Go", "--tags", "t.txt", "-s", "Zergs", "--data", "d",
         "l.til"},
        {"--output", "out", "--title", "Find", "--button", "Go", "--tags", "t.txt", "--style",
         "Zergs", "--data", "d", "l.til"},
        {"--output=out", "--title=Find", "--button=Go", "--tags=t.txt", "--style=Zergs", "--data=d",
         "l.til"},
        {"l.til", "-oout", "-tFind", "-bGo", "--tags=t.txt", "-sZergs", "--data=d"},
    };
    for (const Arguments& arguments : spellings) {
        const CommandLine line = ParseCommandLine(arguments);
        EXPECT_EQ(line.list_file, "l.til");
        EXPECT_EQ(line.output_folder, "out");
        EXPECT_EQ(line.title, "Find");
        EXPECT_EQ(line.button_caption, "Go");
        EXPECT_EQ(line.tags_file, "t.txt");
        EXPECT_EQ(line.style_index, 7);
        EXPECT_EQ(line.data_folder, "d");
    }
}

TEST(ParseCommandLineTest, StyleNamesPickEntriesAnythingElseIsAFile) {
    const struct {
        const char* style;
        int index;
        const char* file;
    } cases[] = {
        {"Dark Style", 1, ""},    {"Deadhunt", 2, ""},
        {"Serious Style", 6, ""}, {"Zergs", 7, ""},
        {"zergs", 0, "zergs"},    {"[Select CSS]", 0, "[Select CSS]"},
        {"my.css", 0, "my.css"},  {"/abs/Dark Style.css", 0, "/abs/Dark Style.css"},
    };
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine({"-s", c.style, "l"});
        EXPECT_EQ(line.style_index, c.index) << c.style;
        EXPECT_EQ(line.style_file, c.file) << c.style;
    }
    // The last of a repeated option counts, also when it goes back to a named style.
    const CommandLine line = ParseCommandLine({"-s", "x.css", "--style", "Inferno", "l"});
    EXPECT_EQ(line.style_index, 3);
    EXPECT_EQ(line.style_file, "");
}

TEST(ParseCommandLineTest, ListNamesThatLookLikeOptions) {
    EXPECT_EQ(ParseCommandLine({"-"}).list_file, "-");
    EXPECT_EQ(ParseCommandLine({"--", "-x.til"}).list_file, "-x.til");
    EXPECT_EQ(ParseCommandLine({"-t", "-t", "l"}).title, "-t");
    EXPECT_EQ(ParseCommandLine({"--title=", "l"}).title, "");
    EXPECT_EQ(ParseCommandLine({"-b", "", "l"}).button_caption, "");
    EXPECT_EQ(ParseCommandLine({"--title=a=b", "l"}).title, "a=b");
}

TEST(ParseCommandLineTest, HelpAndVersionStopTheParsing) {
    EXPECT_TRUE(ParseCommandLine({"-h"}).show_help);
    EXPECT_TRUE(ParseCommandLine({"l", "--help", "--bogus"}).show_help);
    EXPECT_TRUE(ParseCommandLine({"--version", "a", "b"}).show_version);
}

TEST(ParseCommandLineTest, SiteScanWithOrWithoutAList) {
    CommandLine line = ParseCommandLine({"--scan", "site"});
    EXPECT_EQ(line.site_folder, "site");
    EXPECT_EQ(line.list_file, "");
    EXPECT_EQ(line.link_prefix, "../");
    EXPECT_FALSE(line.saved_list_file.has_value());

    line = ParseCommandLine({"--scan=old", "l.til", "--link-prefix=", "--save-list", "all.til",
                             "--scan", "site", "--link-prefix", "https://example.com/"});
    EXPECT_EQ(line.site_folder, "site");
    EXPECT_EQ(line.list_file, "l.til");
    EXPECT_EQ(line.link_prefix, "https://example.com/");
    EXPECT_EQ(line.saved_list_file, "all.til");
    EXPECT_EQ(ParseCommandLine({"--link-prefix=", "--scan=s"}).link_prefix, "");
}

TEST(ParseCommandLineTest, BadUsageNamesTheProblem) {
    const struct {
        Arguments arguments;
        const char* message;
    } cases[] = {
        {{}, "no item list file given"},
        {{"-t", "x"}, "no item list file given"},
        {{"a", "b"}, "more than one item list file given"},
        {{""}, "the item list file name is empty"},
        {{"--", ""}, "the item list file name is empty"},
        {{"-x", "l"}, "unknown option '-x'"},
        {{"--bogus=1", "l"}, "unknown option '--bogus'"},
        {{"--Title", "x", "l"}, "unknown option '--Title'"},
        {{"--help=1"}, "unknown option '--help'"},
        {{"-hx"}, "unknown option '-h'"},
        {{"l", "-o"}, "option '-o' needs a value"},
        {{"l", "--tags"}, "option '--tags' needs a value"},
        {{"-o", "", "l"}, "option '-o' needs a non-empty value"},
        {{"--data=", "l"}, "option '--data' needs a non-empty value"},
        {{"--style=", "l"}, "option '--style' needs a non-empty value"},
        {{"--link-prefix=/", "l", "--scan"}, "option '--scan' needs a value"},
        {{"--scan=", "l"}, "option '--scan' needs a non-empty value"},
        {{"--save-list=", "--scan=s"}, "option '--save-list' needs a non-empty value"},
        {{"--link-prefix=/"}, "no item list file given"},
        {{"--scan=s", "a", "b"}, "more than one item list file given"},
    };
    for (const auto& c : cases) {
        try {
            ParseCommandLine(c.arguments);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const UsageError& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
    }
}

}  // namespace
}  // namespace tolvane
