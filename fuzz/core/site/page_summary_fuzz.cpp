// Reads fuzzed bytes as a web page, whole and as a file read only in part. Whatever the bytes,
// the caption must fit one line of a list file as HTML text: no line break, tab or other
// control character, no blank at either end or two in a row, no raw "<" or ">", valid UTF-8,
// and every "&" the start of a reference the program wrote. A page read from a file, where
// the reader may stop at the end of its head, must give the whole page's caption when the page
// is ASCII and declares no charset (otherwise a <meta> that the parser moves into the head from
// after its end, or odd bytes past it, may change the encoding the caption is read in).

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/files/encodings.h"
#include "core/files/text_file.h"
#include "core/site/page_summary.h"
#include "fuzz/fuzz_rules.h"
#include "tests/support/fault_env.h"

namespace {

using tolvane::fuzz::Require;

bool IsAsciiWithoutCharset(std::string_view bytes) {
    std::string lower;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower.find("charset") == std::string::npos;
}

bool StartsAReference(std::string_view rest) {
    return rest.starts_with("&amp;") || rest.starts_with("&lt;") || rest.starts_with("&gt;");
}

void CheckCaption(std::string_view caption) {
    Require(tolvane::IsValidUtf8(caption, false), "caption is UTF-8");
    Require(caption.empty() || (caption.front() != ' ' && caption.back() != ' '),
            "caption trimmed");
    Require(caption.find("  ") == std::string_view::npos, "blanks collapsed");
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const auto c = static_cast<unsigned char>(caption[i]);
        Require(c != '\r' && c != '\n' && c != '\t' && c != '\f', "no line break or tab");
        Require(c != '<' && c != '>', "no raw angle bracket");
        Require(c != '&' || StartsAReference(caption.substr(i)), "every & starts a reference");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static tolvane::testing::TempFolder folder;
    static tolvane::PageReader reader;
    const std::string page(reinterpret_cast<const char*>(data), size);
    const tolvane::PageSummary whole = reader.Summarize(page);
    CheckCaption(whole.caption);

    const std::string path = folder / "page.html";
    tolvane::WriteText(path, page);
    const tolvane::PageSummary read = reader.ReadPage(path);
    CheckCaption(read.caption);
    Require(read.caption == whole.caption || !IsAsciiWithoutCharset(page),
            "a page read in part gives the whole page's caption");
    return 0;
}
