#include "core/files/encodings.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace tolvane {
namespace {

using namespace std::string_literals;

// glibc's own table of the encoding: a second opinion for the 251 bytes it defines.
std::string IconvWindows1252(char byte) {
    const iconv_t converter = ::iconv_open("UTF-8", "WINDOWS-1252");
    char in_byte = byte;
    char* in = &in_byte;
    std::size_t in_left = 1;
    char out_bytes[8];
    char* out = out_bytes;
    std::size_t out_left = sizeof out_bytes;
    const std::size_t result = ::iconv(converter, &in, &in_left, &out, &out_left);
    ::iconv_close(converter);
    return result == static_cast<std::size_t>(-1) ? "" : std::string(out_bytes, out);
}

TEST(EncodingsTest, TellsWellFormedUtf8FromEverythingElse) {
    // Long ASCII runs before and after, so that every case also meets the eight-byte steps at
    // each offset.
    const struct {
        const char* kind;
        std::string bytes;
        bool valid;
    } cases[] = {
        {"empty", "", true},
        {"ASCII with controls", "\x01\x1F\x7F plain", true},
        {"two, three and four bytes", "caf\xC3\xA9 \xE6\x9D\xB1 \xF0\x9F\x98\x80", true},
        {"the last characters", "\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF", true},
        {"a Windows-1252 letter", "caf\xE9", false},
        {"a lone continuation byte", "\x80", false},
        {"overlong two bytes", "\xC0\x80", false},
        {"overlong three bytes", "\xE0\x80\x80", false},
        {"overlong four bytes", "\xF0\x80\x80\x80", false},
        {"a surrogate", "\xED\xA0\x80", false},
        {"past U+10FFFF", "\xF4\x90\x80\x80", false},
        {"a lead byte that begins nothing", "\xF5\x80\x80\x80", false},
        {"a lead byte without its continuation", "\xC3 x", false},
        {"a sequence cut off at the end", "\xE6\x9D", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid);
        for (std::size_t before = 0; before <= 9; ++before) {
            const std::string framed = std::string(before, 'a') + c.bytes + std::string(17, 'z');
            EXPECT_EQ(IsValidUtf8(framed), c.valid) << before << " bytes before";
        }
    }
    EXPECT_TRUE(IsValidUtf8("aaaaaaaaa\xE6\x9D", true));
    EXPECT_FALSE(IsValidUtf8("aaaaaaaaa\xE6\x9D", false));
    EXPECT_FALSE(IsValidUtf8("aaaaaaaaa\xE6 \x9D", true));
}

TEST(EncodingsTest, ReadsWindows1252AsTheWebDoes) {
    for (int byte = 0; byte <= 0xFF; ++byte) {
        const char c = static_cast<char>(byte);
        const std::string utf8 = Windows1252ToUtf8(std::string(1, c));
        SCOPED_TRACE(byte);
        EXPECT_TRUE(IsValidUtf8(utf8));
        const std::string glibc = IconvWindows1252(c);
        if (!glibc.empty()) {
            EXPECT_EQ(utf8, glibc);
        }
    }
    // The five bytes that glibc leaves undefined are control characters of the same number.
    EXPECT_EQ(Windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"),
              "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    EXPECT_EQ(Windows1252Character(0x80), u'\u20AC');
    EXPECT_EQ(Windows1252Character(0x9F), u'\u0178');
    EXPECT_EQ(Windows1252Character(0xE9), u'\u00E9');
    EXPECT_EQ(Windows1252ToUtf8("caf\xE9 \x93quoted\x94"s),
              "caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D");
}

TEST(EncodingsTest, AsUtf8KeepsUtf8AndConvertsTheRest) {
    std::string scratch;
    const std::string utf8 = "caf\xC3\xA9";
    const std::string_view kept = AsUtf8(utf8, scratch);
    EXPECT_EQ(kept.data(), utf8.data());
    EXPECT_TRUE(scratch.empty());
    EXPECT_EQ(AsUtf8("caf\xE9", scratch), "caf\xC3\xA9");
    // A text of both encodings is no valid UTF-8: all of it is read as Windows-1252.
    EXPECT_EQ(AsUtf8("\xC3\xA9\xE9", scratch), "\xC3\x83\xC2\xA9\xC3\xA9");
}

}  // namespace
}  // namespace tolvane
