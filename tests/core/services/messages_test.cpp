#include "core/services/messages.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(ErrorBoxTextTest, AppendsAPeriodAfterCharactersAboveIt) {
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"Disk full", "Disk full."},
        {"Clear list?", "Clear list?."},
        {"I/O error 183", "I/O error 183."},
        {"a:", "a:."},
        {"Done.", "Done."},
        {"Can't load CSS file!", "Can't load CSS file!"},
        {"(x)", "(x)"},
        {"ends with blank ", "ends with blank "},
        {"quoted\"", "quoted\""},
        {"a,", "a,"},
        {"a-", "a-"},
        {"", ""},
        {"caf\xc3\xa9", "caf\xc3\xa9."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorBoxText(c.message), c.shown) << c.message;
    }
}

TEST(ApplicationTitleTest, TakesTheNameCutAtItsFirstPointInLowerCase) {
    EXPECT_EQ(ApplicationTitle("C:\\Tools\\MYTOOL.EXE"), "Mytool");
    EXPECT_EQ(ApplicationTitle("/opt/x/tool.new.exe"), "tool");
    EXPECT_EQ(ApplicationTitle("/home/u/Tolvane/Tolvane"), "Tolvane");
    EXPECT_EQ(ApplicationTitle("TOLVANE"), "Tolvane");
}

TEST(ApplicationErrorTextTest, NamesTypeModuleAddressAndMessageOnTwoLines) {
    EXPECT_EQ(ApplicationErrorText("tolvane::Error", "Tolvane", 0x1a2b, "No browser"),
              "Exception tolvane::Error in module Tolvane at 00001A2B.\r\nNo browser.\r\n");
    EXPECT_EQ(ApplicationErrorText("E", "Tolvane", 0x123456789a, "Done."),
              "Exception E in module Tolvane at 123456789A.\r\nDone.\r\n");
    // Unlike the error box, only an empty message or a final "." goes without the point.
    EXPECT_EQ(ApplicationErrorText("E", "m", 0, "Failed!"),
              "Exception E in module m at 00000000.\r\nFailed!.\r\n");
    EXPECT_EQ(ApplicationErrorText("E", "m", 0, ""),
              "Exception E in module m at 00000000.\r\n\r\n");
}

}  // namespace
}  // namespace tolvane
