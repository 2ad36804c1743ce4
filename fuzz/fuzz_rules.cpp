#include "fuzz/fuzz_rules.h"

#include <cstdio>
#include <cstdlib>

namespace tolvane::fuzz {

std::string CrLfText(std::string_view bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
        if (bytes[i] == '\r') {
            text += "\r\n";
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
        } else if (bytes[i] == '\n') {
            text += "\r\n";
        } else {
            text += bytes[i];
        }
    }
    return text;
}

std::vector<std::string> CrLfLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            ++i;
        } else {
            line += text[i];
            open = true;
        }
    }
    if (open) {
        lines.push_back(line);
    }
    return lines;
}

std::optional<std::string> ReadStringLiteral(std::string_view text, std::size_t& at) {
    if (at >= text.size() || (text[at] != '\'' && text[at] != '"')) {
        return std::nullopt;
    }
    const char quote = text[at];
    std::string content;
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == quote) {
            at = i + 1;
            return content;
        }
        if (c == '\r' || c == '\n') {
            return std::nullopt;
        }
        if (c == '\\') {
            if (i + 1 >= text.size()) {
                return std::nullopt;
            }
            const char escaped = text[++i];
            if (escaped != '\\' && escaped != '"' && escaped != '\'') {
                return std::nullopt;
            }
            content += escaped;
        } else {
            content += c;
        }
    }
    return std::nullopt;
}

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

}  // namespace tolvane::fuzz
