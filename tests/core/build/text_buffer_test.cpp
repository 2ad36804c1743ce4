#include "core/build/text_buffer.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "core/files/error.h"
#include "tests/support/fault_env.h"

namespace tolvane {
namespace {

using testing::GetFile;
using testing::PutFile;
using testing::TempFolder;

struct LoadCase {
    std::string file;
    std::string text;
};

class LoadTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadTest, MakesEveryLineBreakCrLfAndStopsAtNul) {
    TempFolder dir;
    PutFile(dir / "t.txt", GetParam().file);
    TextBuffer buffer;
    buffer.SetText("former");
    buffer.LoadFromFile(dir / "t.txt");
    EXPECT_EQ(buffer.Text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadTest,
    ::testing::Values(LoadCase{"", ""}, LoadCase{"a", "a"}, LoadCase{"a\r\nb\r\n", "a\r\nb\r\n"},
                      LoadCase{"a\nb\n", "a\r\nb\r\n"}, LoadCase{"a\rb\r", "a\r\nb\r\n"},
                      LoadCase{"a\n\rb", "a\r\n\r\nb"}, LoadCase{"\r\r\n\n", "\r\n\r\n\r\n"},
                      LoadCase{" a \t", " a \t"}, LoadCase{std::string("a\nb\0c\nd", 7), "a\r\nb"},
                      LoadCase{std::string("\0a", 2), ""}));

TEST(TextBufferTest, FailedLoadKeepsTheTextAndNamesTheFile) {
    TempFolder dir;
    TextBuffer buffer;
    buffer.SetText("kept\r\n");
    try {
        buffer.LoadFromFile(dir / "missing.txt");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + (dir / "missing.txt") + "\". No such file or directory");
    }
    EXPECT_EQ(buffer.Text(), "kept\r\n");
}

TEST(TextBufferTest, CountsLinesWithoutTheEmptyPieceAfterAFinalBreak) {
    const std::pair<std::string, std::size_t> cases[] = {
        {"", 0},       {"a", 1},      {"a\r\n", 1},  {"a\r\n\r\n", 2},
        {"\r\n", 1},   {"a\r\nb", 2}, {"a\nb\r", 1},  // set text keeps lone breaks
        {"a\r\r\n", 1}};
    for (const auto& [text, lines] : cases) {
        TextBuffer buffer;
        buffer.SetText(text);
        EXPECT_EQ(buffer.LineCount(), lines) << ::testing::PrintToString(text);
    }
}

TEST(TextBufferTest, AppendLineEndsTheLineBeforeOrItself) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"", "L", "L\r\n"}, {"a\r\n", "L", "a\r\nL\r\n"}, {"a", "L", "a\r\nL"}, {"a", "", "a\r\n"},
        {"", "", "\r\n"},   {"a\r", "L", "a\r\r\nL"},
    };
    for (const auto& [before, line, after] : cases) {
        TextBuffer buffer;
        buffer.SetText(before);
        buffer.AppendLine(line);
        EXPECT_EQ(buffer.Text(), after) << ::testing::PrintToString(before);
    }
}

TEST(TextBufferTest, AppendsItsOwnLines) {
    TextBuffer buffer;
    buffer.SetText("one\r\ntwo");
    buffer.AppendLine(std::string_view(buffer.Text()).substr(0, 3));
    EXPECT_EQ(buffer.Text(), "one\r\ntwo\r\none");
    buffer.AppendLinesOf(buffer);
    EXPECT_EQ(buffer.Text(), "one\r\ntwo\r\none\r\none\r\ntwo\r\none");
}

TEST(TextBufferTest, AppendLinesOfCopiesLongLinesWhole) {
    const std::string long_line(10000, 'x');
    TextBuffer source;
    source.SetText(long_line + "\r\n\r\nend");
    TextBuffer target;
    target.AppendLinesOf(source);
    EXPECT_EQ(target.Text(), long_line + "\r\n\r\nend\r\n");
}

TEST(TextBufferTest, SavesExactlyItsBytes) {
    TempFolder dir;
    TextBuffer buffer;
    buffer.SetText(std::string("a\r\nb\n\0c", 7));
    buffer.SaveToFile(dir / "out.js");
    EXPECT_EQ(GetFile(dir / "out.js"), std::string("a\r\nb\n\0c", 7));
    buffer.Clear();
    EXPECT_EQ(buffer.Text(), "");
    EXPECT_EQ(buffer.LineCount(), 0u);
}

// A streamed text is appended in pieces; the rule must see a CR LF that two pieces make
// together, and a writer that starts on a text written before must go on as if it had written it.
TEST(LineWriterTest, FollowsTheAppendRuleAcrossPieces) {
    const struct {
        std::string written_before;
        std::vector<std::string> pieces;
        std::string text;
    } cases[] = {
        {"", {"a\r", "\n"}, "a\r\nL\r\n"},
        {"", {"a\r", "", "\n"}, "a\r\nL\r\n"},
        {"", {"a", "\r\n", "\n"}, "a\r\n\n\r\nL"},
        {"", {"\n"}, "\n\r\nL"},
        {"", {""}, "L\r\n"},
        {"x\r", {"\n"}, "x\r\nL\r\n"},
        {"x\r\n", {}, "x\r\nL\r\n"},
        {"x", {}, "x\r\nL"},
        {"\r", {"\n"}, "\r\nL\r\n"},
    };
    for (const auto& c : cases) {
        std::string text = c.written_before;
        StringSink sink(text);
        LineWriter writer(sink, text);
        for (const std::string& piece : c.pieces) {
            writer.AppendText(piece);
        }
        writer.AppendLine("L");
        EXPECT_EQ(text, c.text) << ::testing::PrintToString(c.pieces);
    }
}

TEST(TextBufferTest, RunningOutOfMemoryIsTextExceedsMemoCapacity) {
    TextBuffer buffer;
    buffer.SetText("a");
    try {
        buffer.Reserve(std::string().max_size());
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Text exceeds memo capacity");
    }
    EXPECT_EQ(buffer.Text(), "a");
    EXPECT_THROW(WithinMemoCapacity([] { throw std::bad_alloc(); }), Error);
}

}  // namespace
}  // namespace tolvane
