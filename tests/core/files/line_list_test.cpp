#include "core/files/line_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using Lines = std::vector<std::string>;

struct SplitCase {
    std::string text;
    Lines lines;
};

void PrintTo(const SplitCase& c, std::ostream* out) {
    *out << ::testing::PrintToString(c.text);
}

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, FollowsTheListLineRules) {
    EXPECT_EQ(LineList::Split(GetParam().text).ToVector(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTest,
    ::testing::Values(SplitCase{"", {}}, SplitCase{"a", {"a"}}, SplitCase{"a\r\n", {"a"}},
                      SplitCase{"a\r\nb", {"a", "b"}}, SplitCase{"a\nb\n", {"a", "b"}},
                      SplitCase{"a\rb\r", {"a", "b"}}, SplitCase{"a\n\rb\n\r", {"a", "", "b", ""}},
                      SplitCase{"a\r\rb", {"a", "", "b"}}, SplitCase{"\r\n", {""}},
                      SplitCase{"\n\n", {"", ""}}, SplitCase{" a = b \t\r\n", {" a = b \t"}},
                      SplitCase{std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
                      SplitCase{std::string("\0abc", 4), {}},
                      SplitCase{"x\ny\r\nz\rw", {"x", "y", "z", "w"}}));

TEST(LineListTest, EditsKeepTheOtherLines) {
    LineList lines{"one", "two", "three"};
    lines.Replace(1, "TWO");
    lines.PushBack("four");
    lines.Move(0, 3);
    EXPECT_EQ(lines.ToVector(), (Lines{"TWO", "three", "four", "one"}));
    lines.Move(3, 0);
    lines.Erase(2);
    EXPECT_EQ(lines.ToVector(), (Lines{"one", "TWO", "four"}));
    EXPECT_EQ(lines.TextBytes(), 10u);
    EXPECT_EQ(lines.Joined("\r\n"), "one\r\nTWO\r\nfour\r\n");
}

TEST(LineListTest, ReplaceWithAViewOfItsOwnLineAndManyEditsStayCorrect) {
    LineList lines = LineList::Split("alpha\nbeta\n");
    for (int i = 0; i < 20000; ++i) {
        lines.Replace(0, lines[1]);
        lines.Replace(1, i % 2 ? "beta" : "alpha-long-enough-to-leave-garbage-behind");
    }
    EXPECT_EQ(lines.ToVector(), (Lines{"alpha-long-enough-to-leave-garbage-behind", "beta"}));
}

ByteBlock BlockOf(std::string_view text) {
    std::unique_ptr<char[]> bytes = std::make_unique<char[]>(text.size());
    std::copy(text.begin(), text.end(), bytes.get());
    return ByteBlock(std::move(bytes), text.size());
}

// A list split from a block (a file read or mapped) keeps the block unwritten: added and replaced
// lines go beside it, and a copy of the list edits only itself.
TEST(LineListTest, ABlockSplitListEditsBesideItsBlockAndCopiesStayApart) {
    EXPECT_EQ(LineList::Split(BlockOf(std::string("a\r\nb\0c", 6))).ToVector(), (Lines{"a", "b"}));
    EXPECT_TRUE(LineList::Split(ByteBlock()).empty());

    LineList lines = LineList::Split(BlockOf("alpha\r\nbeta\ngamma"));
    const LineList copy = lines;
    lines.PushBack("delta");
    lines.Replace(0, lines[2]);
    lines.Move(3, 0);
    EXPECT_EQ(lines.ToVector(), (Lines{"delta", "gamma", "beta", "gamma"}));
    EXPECT_EQ(copy.ToVector(), (Lines{"alpha", "beta", "gamma"}));
    for (int i = 0; i < 20000; ++i) {
        lines.Replace(1, lines[2]);
        lines.Replace(2, i % 2 ? "beta" : "beta-long-enough-to-leave-garbage-behind");
    }
    EXPECT_EQ(lines.ToVector(),
              (Lines{"delta", "beta-long-enough-to-leave-garbage-behind", "beta", "gamma"}));
    lines.Erase(0);
    EXPECT_EQ(lines.Joined("\n"), "beta-long-enough-to-leave-garbage-behind\nbeta\ngamma\n");
    EXPECT_EQ(copy, LineList({"alpha", "beta", "gamma"}));
}

}  // namespace
}  // namespace tolvane
