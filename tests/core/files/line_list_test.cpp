#include "core/files/line_list.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tolvane
