#include "core/build/script_assembly.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "core/build/search_build.h"
#include "core/files/error.h"
#include "tests/support/fault_env.h"

namespace tolvane {
namespace {

using testing::GetFile;
using testing::PutFile;
using testing::TempFolder;

// Makes `folder` a program folder holding the given templates (either may be left out).
void PutTemplates(const TempFolder& folder, const std::string* heading, const std::string* engine) {
    ::mkdir((folder / "system").c_str(), 0777);
    if (heading != nullptr) {
        PutFile(folder / "system/heading.txt", *heading);
    }
    if (engine != nullptr) {
        PutFile(folder / "system/engine.txt", *engine);
    }
}

const std::string kStatementNoTags = "MsgBox.document.write('<hr>');";

// The whole script as the assembly writes it out.
std::string AssembledText(const ScriptInputs& inputs) {
    std::string script;
    StringSink sink(script);
    ScriptAssembly(inputs).WriteTo(sink);
    return script;
}

TEST(AssembleScriptTest, WorkedExampleByteForByte) {
    const std::string golden = std::string(TOLVANE_SOURCE_DIR) + "/tests/core/build/golden/worked/";
    ItemList items;  // its start-up item
    TextBuffer script;
    script.SetText(AssembledText({golden, &items, LineList{kDefaultTagLine}}));
    EXPECT_EQ(script.Text(), GetFile(golden + "engine.js"));
    EXPECT_EQ(script.LineCount(), 7u);
}

// The templates lie in a fresh program folder; the tags are the tags editor's lines.
struct ScriptCase {
    std::string name;
    std::string heading;
    std::string engine;
    LineList items;
    LineList tags;
    std::string script;
};

void PrintTo(const ScriptCase& c, std::ostream* out) {
    *out << c.name;
}

class ScriptTest : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(ScriptTest, AssemblesTheExactBytes) {
    const ScriptCase& c = GetParam();
    TempFolder folder;
    PutTemplates(folder, &c.heading, &c.engine);
    ItemList items;
    items.SetItemLines(c.items);
    EXPECT_EQ(AssembledText({folder.path(), &items, c.tags}), c.script);
}

const std::string kLongLine(10000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, ScriptTest,
    ::testing::Values(
        ScriptCase{
            "EmptyListAndNoTags",
            "H\r\n",
            "for(var i=1; i<=Keyword[0]; i++)\r\n",
            {},
            {},
            "H\r\nKeyword [0] = 0\r\n" + kStatementNoTags + "for(var i=1; i<=Keyword[0]; i++)\r\n"},
        ScriptCase{"BlankItemAfterClearList",
                   "H\r\n",
                   "E\r\n",
                   {"="},
                   {},
                   "H\r\nKeyword [0] = 1\r\nKeyword [1] = \"\"\r\nAddress [1] = \"\"\r\n" +
                       kStatementNoTags + "E\r\n"},
        ScriptCase{"ItemsInListOrderWithEqualsInCaptions",
                   "",
                   "",
                   {"b=2=two", "a=1", "nolink"},
                   {},
                   "Keyword [0] = 3\r\nKeyword [1] = \"2=two\"\r\nAddress [1] = \"b\"\r\n"
                   "Keyword [2] = \"1\"\r\nAddress [2] = \"a\"\r\n"
                   "Keyword [3] = \"nolink\"\r\nAddress [3] = \"\"\r\n" +
                       kStatementNoTags + "\r\n"},
        ScriptCase{"HeadingWithoutFinalBreak",
                   "H1\r\nH2",
                   "E1\r\nE2\r\n",
                   {},
                   {},
                   "H1\r\nH2\r\nKeyword [0] = 0\r\n" + kStatementNoTags + "E1\r\nE2"},
        ScriptCase{"HeadingWithoutFinalBreakThenAnEmptyEngineLine",
                   "H",
                   "E1\r\n\r\nE2\r\n\r\nE3",
                   {},
                   {},
                   // The first empty line only ends the line before it; later ones stay.
                   "H\r\nKeyword [0] = 0\r\n" + kStatementNoTags + "E1\r\nE2\r\n\r\nE3\r\n"},
        ScriptCase{"EmptyEngineLeavesTheStatementLast",
                   "H\r\n",
                   "",
                   {},
                   {},
                   "H\r\nKeyword [0] = 0\r\n" + kStatementNoTags + "\r\n"},
        ScriptCase{"MarkerTwice",
                   "",
                   "a for(var i=1; i<=Keyword[0]; b\r\nfor(var i=1; i<=Keyword[0];",
                   {},
                   {"T"},
                   "Keyword [0] = 0\r\na MsgBox.document.write(' '+ ' T<hr>');for(var i=1; "
                   "i<=Keyword[0]; b\r\nfor(var i=1; i<=Keyword[0];\r\n"},
        // A near miss (other case, other spacing) is no marker.
        ScriptCase{"MarkerMissing",
                   "",
                   "E FOR(var i=1; i<=Keyword[0];\r\nfor(var i=1;i<=Keyword[0];",
                   {},
                   {},
                   "Keyword [0] = 0\r\n" + kStatementNoTags +
                       "E FOR(var i=1; i<=Keyword[0];\r\nfor(var i=1;i<=Keyword[0];\r\n"},
        ScriptCase{"LfOnlyAndCrOnlyTemplates",
                   "h1\nh2\n",
                   "e1\re2\r\rfor(var i=1; i<=Keyword[0];",
                   {},
                   {},
                   "h1\r\nh2\r\nKeyword [0] = 0\r\ne1\r\ne2\r\n\r\n" + kStatementNoTags +
                       "for(var i=1; i<=Keyword[0];\r\n"},
        ScriptCase{"NulEndsATemplate",
                   std::string("h\r\nx\0y\r\n", 8),
                   std::string("e\0for(var i=1; i<=Keyword[0];", 29),
                   {},
                   {},
                   "h\r\nx\r\nKeyword [0] = 0\r\n" + kStatementNoTags + "e"},
        ScriptCase{"TagsJoinedBySeparators",
                   "",
                   "for(var i=1; i<=Keyword[0];",
                   {},
                   {"A", "B", ""},
                   "Keyword [0] = 0\r\nMsgBox.document.write(' '+ ' A '+ ' B '+ ' <hr>');"
                   "for(var i=1; i<=Keyword[0];\r\n"},
        ScriptCase{"QuotesAndBackslashesCannotEndAString",
                   "",
                   "for(var i=1; i<=Keyword[0];",
                   {"a\\b\"c='x' \"y\" \\"},
                   {"it's \\ \"ok\""},
                   "Keyword [0] = 1\r\nKeyword [1] = \"'x' \\\"y\\\" \\\\\"\r\n"
                   "Address [1] = \"a\\\\b\\\"c\"\r\n"
                   "MsgBox.document.write(' '+ ' it\\'s \\\\ \"ok\"<hr>');"
                   "for(var i=1; i<=Keyword[0];\r\n"},
        ScriptCase{"QuoteWithoutBackslash",
                   "",
                   "",
                   {"a=say \"hi\""},
                   {"it's"},
                   "Keyword [0] = 1\r\nKeyword [1] = \"say \\\"hi\\\"\"\r\nAddress [1] = \"a\"\r\n"
                   "MsgBox.document.write(' '+ ' it\\'s<hr>');\r\n"},
        ScriptCase{"LongLinesCopiedWhole",
                   "",
                   kLongLine + "for(var i=1; i<=Keyword[0];" + kLongLine,
                   {"l=" + kLongLine},
                   {kLongLine},
                   "Keyword [0] = 1\r\nKeyword [1] = \"" + kLongLine +
                       "\"\r\nAddress [1] = \"l\"\r\n" + kLongLine +
                       "MsgBox.document.write(' '+ ' " + kLongLine +
                       "<hr>');for(var i=1; i<=Keyword[0];" + kLongLine + "\r\n"},
        // Each cell on its own: UTF-8 as it is, anything else read as Windows-1252 and written
        // in UTF-8, then escaped. The tags lines come from the window, in UTF-8 already.
        ScriptCase{"CellsThatAreNoUtf8AreConvertedFromWindows1252",
                   "",
                   "",
                   {"\xe9t\xe9=\xff\x01\t", "caf\xc3\xa9.html=caf\xe9 \"\x93x\x94\"", "=\x81\x9d",
                    "z.html=Z\xc3\xbcrich \xe6\x9d\xb1 \xf0\x9f\x98\x80"},
                   {"\x80"},
                   "Keyword [0] = 4\r\n"
                   "Keyword [1] = \"\xc3\xbf\x01\t\"\r\nAddress [1] = \"\xc3\xa9t\xc3\xa9\"\r\n"
                   "Keyword [2] = \"caf\xc3\xa9 \\\"\xe2\x80\x9cx\xe2\x80\x9d\\\"\"\r\n"
                   "Address [2] = \"caf\xc3\xa9.html\"\r\n"
                   "Keyword [3] = \"\xc2\x81\xc2\x9d\"\r\nAddress [3] = \"\"\r\n"
                   "Keyword [4] = \"Z\xc3\xbcrich \xe6\x9d\xb1 \xf0\x9f\x98\x80\"\r\n"
                   "Address [4] = \"z.html\"\r\n"
                   "MsgBox.document.write(' '+ ' \x80<hr>');\r\n"}),
    [](const ::testing::TestParamInfo<ScriptCase>& param) { return param.param.name; });

// Both templates are read before anything is written, so that a missing one stops the build
// before engine.js is touched.
class AssembleFailureTest : public ::testing::Test {
  protected:
    std::string OpenError(const std::string& name) {
        return "Cannot open file \"" + (folder / name) + "\". No such file or directory";
    }
    // The error of assembling into `script`, which holds "old script" before.
    std::string FailureMessage() {
        StringSink sink(script);
        try {
            ScriptAssembly({folder.path(), &items, {}}).WriteTo(sink);
        } catch (const Error& error) {
            return error.what();
        }
        return "no error";
    }

    TempFolder folder;
    ItemList items;
    std::string script = "old script";
};

TEST_F(AssembleFailureTest, MissingHeadingWritesNothing) {
    const std::string engine = "E\r\n";
    PutTemplates(folder, nullptr, &engine);
    EXPECT_EQ(FailureMessage(), OpenError("system/heading.txt"));
    EXPECT_EQ(script, "old script");
}

TEST_F(AssembleFailureTest, MissingEngineWritesNothing) {
    const std::string heading = "H\r\n";
    PutTemplates(folder, &heading, nullptr);
    EXPECT_EQ(FailureMessage(), OpenError("system/engine.txt"));
    EXPECT_EQ(script, "old script");
}

TEST_F(AssembleFailureTest, TheEditedEngineHoldsTheStatementBeforeTheMarker) {
    const std::string heading;
    const std::string engine = "a\nfor(var i=1; i<=Keyword[0];\n";
    PutTemplates(folder, &heading, &engine);
    EXPECT_EQ(ScriptAssembly({folder.path(), &items, {}}).EditedEngine(),
              "a\r\n" + kStatementNoTags + "for(var i=1; i<=Keyword[0];\r\n");
}

}  // namespace
}  // namespace tolvane
