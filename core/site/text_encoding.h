#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// Text encodings of web pages, for their captions: everything the program keeps is UTF-8.

// The five characters HTML counts as whitespace: blank, tab, line feed, form feed, return.
constexpr bool IsHtmlWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// `text` with the ASCII letters A to Z in lower case, every other byte as it is.
std::string AsciiLowerCase(std::string_view text);

// The encoding a byte-order mark at the start of `bytes` names ("UTF-8", "UTF-16LE",
// "UTF-16BE"), or "" when there is none; `mark_length` is set to the mark's length.
std::string ByteOrderMarkEncoding(std::string_view bytes, std::size_t& mark_length);

// The name glibc's iconv knows for an encoding label of a page (<meta charset>, the charset
// parameter of a Content-Type), following the web's rules: labels are matched without case and
// surrounding blanks; "latin1", "iso-8859-1" and "us-ascii" mean Windows-1252, and a page that
// claims UTF-16 without a byte-order mark is UTF-8. "" for an empty label.
std::string IconvEncodingName(std::string_view label);

// True for an UTF-8 name as IconvEncodingName gives it ("UTF-8").
bool IsUtf8Name(std::string_view encoding);

// The charset parameter of a Content-Type value ("text/html; charset=windows-1252"), or "".
std::string ContentTypeCharset(std::string_view content_type);

// `bytes` in `encoding` converted to UTF-8: Windows-1252 by the program's own table (as the web
// reads it, every byte a character), any other encoding with glibc's iconv, where a byte that
// does not convert becomes U+FFFD. An encoding iconv does not know leaves the bytes as they are.
std::string ConvertToUtf8(std::string_view bytes, const std::string& encoding);

}  // namespace tolvane
