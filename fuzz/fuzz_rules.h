#pragma once

// Reference versions of the program's text rules, written the slow and obvious way, one byte at
// a time, so that a fuzz target can compare the real code against them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::fuzz {

// The text up to its first NUL byte with every CR LF, lone CR and lone LF written as CR LF.
std::string CrLfText(std::string_view bytes);

// The text cut at each CR LF, without the empty piece after a final CR LF.
std::vector<std::string> CrLfLines(std::string_view text);

// Reads the script string literal that starts at `text[at]` (a ' or a "): its decoded content,
// with `at` moved past the closing quote. Nothing when the literal does not close, holds a raw
// line break or an escape other than \\, \" and \'.
std::optional<std::string> ReadStringLiteral(std::string_view text, std::size_t& at);

// Stops the fuzzer with `what` when `condition` is false.
void Require(bool condition, const char* what);

}  // namespace tolvane::fuzz
