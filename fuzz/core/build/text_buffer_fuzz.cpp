// Loads fuzzed bytes into a text buffer. The text must be the file up to its first NUL byte with
// every line end made CR LF (nothing added, nothing trimmed); the line count and one appended
// line must follow the buffer's rules; saving must write the text's bytes exactly. The same text
// streamed in two pieces cut anywhere (even inside a CR LF) must take the appended line alike.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/build/text_buffer.h"
#include "core/files/byte_sink.h"
#include "fuzz/fuzz_rules.h"
#include "tests/support/fault_env.h"

using tolvane::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const tolvane::testing::TempFolder scratch;
    const std::string input(reinterpret_cast<const char*>(data), size);
    tolvane::testing::PutFile(scratch / "in.txt", input);

    tolvane::TextBuffer buffer;
    buffer.SetText("former text");
    buffer.LoadFromFile(scratch / "in.txt");
    const std::string expected = tolvane::fuzz::CrLfText(input);
    Require(buffer.Text() == expected, "loaded text is the file with CR LF line ends");
    Require(buffer.LineCount() == tolvane::fuzz::CrLfLines(expected).size(), "line count");

    buffer.SaveToFile(scratch / "out.txt");
    Require(tolvane::testing::GetFile(scratch / "out.txt") == expected, "saved bytes exactly");

    // The appended line starts a new line whether or not the text ended with a line break.
    buffer.AppendLine("appended");
    const bool ended = expected.empty() || expected.ends_with("\r\n");
    Require(buffer.Text() == (ended ? expected + "appended\r\n" : expected + "\r\nappended"),
            "append rule");

    std::string streamed;
    tolvane::StringSink sink(streamed);
    tolvane::LineWriter writer(sink);
    const std::size_t cut =
        size == 0 ? 0 : (std::size_t{data[0]} << 8 | data[size - 1]) % (expected.size() + 1);
    writer.AppendText(std::string_view(expected).substr(0, cut));
    writer.AppendText(std::string_view(expected).substr(cut));
    writer.AppendLine("appended");
    Require(streamed == buffer.Text(), "append rule on a text written in pieces");
    return 0;
}
