#include "core/site/text_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "core/files/encodings.h"

namespace tolvane {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
constexpr std::string_view kWindows1252Name = "WINDOWS-1252";

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsHtmlWhitespace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsHtmlWhitespace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The labels that the web reads as Windows-1252, and those of UTF-16 and UTF-8.
constexpr std::array<std::string_view, 14> kWindows1252Labels = {
    "ansi_x3.4-1968", "ascii",      "cp1252",     "cp819",       "csisolatin1",
    "ibm819",         "iso-8859-1", "iso-ir-100", "iso8859-1",   "iso88591",
    "iso_8859-1",     "latin1",     "us-ascii",   "windows-1252"};
constexpr std::array<std::string_view, 6> kUtf16Labels = {"utf-16",  "utf-16le", "utf-16be",
                                                          "unicode", "ucs-2",    "unicodefffe"};
constexpr std::array<std::string_view, 3> kUtf8Labels = {"utf-8", "utf8", "unicode-1-1-utf-8"};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& labels, std::string_view label) {
    return std::find(labels.begin(), labels.end(), label) != labels.end();
}

}  // namespace

std::string AsciiLowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

std::string ByteOrderMarkEncoding(std::string_view bytes, std::size_t& mark_length) {
    mark_length = 0;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        mark_length = 3;
        return "UTF-8";
    }
    if (bytes.starts_with("\xFF\xFE")) {
        mark_length = 2;
        return "UTF-16LE";
    }
    if (bytes.starts_with("\xFE\xFF")) {
        mark_length = 2;
        return "UTF-16BE";
    }
    return {};
}

std::string IconvEncodingName(std::string_view label) {
    const std::string lower = AsciiLowerCase(TrimBlanks(label));
    if (lower.empty()) {
        return {};
    }
    if (Contains(kWindows1252Labels, lower)) {
        return std::string(kWindows1252Name);
    }
    if (Contains(kUtf16Labels, lower) || Contains(kUtf8Labels, lower)) {
        return "UTF-8";
    }
    return lower;
}

bool IsUtf8Name(std::string_view encoding) {
    return encoding == "UTF-8";
}

std::string ContentTypeCharset(std::string_view content_type) {
    const std::string lower = AsciiLowerCase(content_type);
    const std::size_t at = lower.find("charset");
    if (at == std::string::npos) {
        return {};
    }
    std::string_view rest = TrimBlanks(std::string_view(content_type).substr(at + 7));
    if (!rest.starts_with('=')) {
        return {};
    }
    rest = TrimBlanks(rest.substr(1));
    if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
        const char quote = rest.front();
        rest.remove_prefix(1);
        return std::string(rest.substr(0, rest.find(quote)));
    }
    return std::string(rest.substr(0, rest.find_first_of("; \t\r\n\f")));
}

std::string ConvertToUtf8(std::string_view bytes, const std::string& encoding) {
    if (encoding == kWindows1252Name) {
        return Windows1252ToUtf8(bytes);
    }
    const iconv_t converter = ::iconv_open("UTF-8", encoding.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::string(bytes);
    }
    std::string converted;
    std::array<char, 4096> block{};
    char* in = const_cast<char*>(bytes.data());
    std::size_t in_left = bytes.size();
    while (in_left > 0) {
        char* out = block.data();
        std::size_t out_left = block.size();
        const std::size_t result = ::iconv(converter, &in, &in_left, &out, &out_left);
        converted.append(block.data(), block.size() - out_left);
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG) {
            continue;
        }
        // A byte that is no character of the encoding, or a character cut off at the end.
        converted += kReplacementCharacter;
        if (errno == EINVAL) {
            break;
        }
        ++in;
        --in_left;
    }
    ::iconv_close(converter);
    return converted;
}

}  // namespace tolvane
