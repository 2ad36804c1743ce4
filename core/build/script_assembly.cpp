#include "core/build/script_assembly.h"

#include <charconv>
#include <string>
#include <string_view>

#include "core/files/encodings.h"

namespace tolvane {
namespace {

constexpr std::string_view kHeadingTemplate = "system/heading.txt";
constexpr std::string_view kEngineTemplate = "system/engine.txt";
constexpr std::string_view kCountLineStart = "Keyword [0] = ";
constexpr std::string_view kCaptionLineStart = "Keyword [";
constexpr std::string_view kLinkLineStart = "Address [";
constexpr std::string_view kValueStart = "] = \"";
constexpr std::string_view kValueEnd = "\"";
constexpr std::string_view kStatementStart = "MsgBox.document.write('";
constexpr std::string_view kTagSeparator = " '+ ' ";
constexpr std::string_view kStatementEnd = "<hr>');";

void AppendDecimal(std::string& out, std::size_t number) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    out.append(digits, result.ptr);
}

// `text` as the inside of a script string closed by `quote`: the backslash and the quote
// itself are written with a backslash in front, so a caption can never end the string early.
void AppendEscaped(std::string& out, std::string_view text, char quote) {
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' || text[i] == quote) {
            out.append(text.substr(run, i - run)).push_back('\\');
            run = i;
        }
    }
    out.append(text.substr(run));
}

// Whether `text` holds a backslash or `quote`; most texts hold neither, and two fast searches
// spare them the walk byte by byte.
bool NeedsEscape(std::string_view text, char quote) {
    return text.find('\\') != std::string_view::npos || text.find(quote) != std::string_view::npos;
}

// The same as a view: `text` itself when it needs no escape, else the escaped copy made in
// `scratch`.
std::string_view Escaped(std::string_view text, char quote, std::string& scratch) {
    if (!NeedsEscape(text, quote)) {
        return text;
    }
    scratch.clear();
    AppendEscaped(scratch, text, quote);
    return scratch;
}

// A caption or a link as the inside of a double-quoted script string: in UTF-8 (a text that is
// not is read as Windows-1252 and converted) and escaped. A view of `text` itself when it needs
// neither, else of a copy in one of the scratch texts.
std::string_view ScriptValue(std::string_view text, std::string& converted, std::string& escaped) {
    return Escaped(AsUtf8(text, converted), '"', escaped);
}

// `digits`, a decimal number, made one larger: cheaper than writing each item's index anew.
void IncrementDecimal(std::string& digits) {
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
        if (*digit != '9') {
            ++*digit;
            return;
        }
        *digit = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Two lines per item: "Keyword [i] = "caption"" and "Address [i] = "link"", written out piece by
// piece (so a million items allocate nothing per line).
void AppendItemLines(const ItemList& items, LineWriter& script) {
    const int count = items.ItemCount();
    std::string index = "0";
    std::string converted;
    std::string escaped;
    for (int row = 1; row <= count; ++row) {
        IncrementDecimal(index);
        // The caption and the link are parts of the item's line, which is split at an ASCII
        // "=": one look at the whole line nearly always spares both theirs.
        const std::string_view line = items.ItemLines()[static_cast<std::size_t>(row - 1)];
        const bool plain = !NeedsEscape(line, '"') && IsValidUtf8(line);
        const ItemList::ItemCells cells = items.CellsOfItem(row);
        script.AppendLine({kCaptionLineStart, index, kValueStart,
                           plain ? cells.caption : ScriptValue(cells.caption, converted, escaped),
                           kValueEnd});
        script.AppendLine({kLinkLineStart, index, kValueStart,
                           plain ? cells.link : ScriptValue(cells.link, converted, escaped),
                           kValueEnd});
    }
}

// MsgBox.document.write(' '+ ' A '+ ' B<hr>'); for the tags lines A and B.
std::string TagsStatement(const LineList& tag_lines) {
    std::string statement(kStatementStart);
    for (std::size_t i = 0; i < tag_lines.size(); ++i) {
        statement.append(kTagSeparator);
        AppendEscaped(statement, tag_lines[i], '\'');
    }
    statement.append(kStatementEnd);
    return statement;
}

// The engine text with the statement right before the first marker, or at its very start
// when it has none.
std::string WithStatement(const std::string& engine, std::string_view statement) {
    std::size_t at = engine.find(kEngineMarker);
    if (at == std::string::npos) {
        at = 0;
    }
    std::string edited;
    edited.reserve(engine.size() + statement.size());
    edited.append(engine, 0, at).append(statement).append(engine, at);
    return edited;
}

}  // namespace

ScriptAssembly::ScriptAssembly(const ScriptInputs& inputs) : items_(*inputs.items) {
    WithinMemoCapacity([&] {
        heading_.LoadFromFile(inputs.program_folder + std::string(kHeadingTemplate));
        engine_.LoadFromFile(inputs.program_folder + std::string(kEngineTemplate));
        engine_.SetText(WithStatement(engine_.Text(), TagsStatement(inputs.tag_lines)));
    });
}

void ScriptAssembly::WriteTo(ByteSink& script) const {
    WithinMemoCapacity([&] {
        LineWriter writer(script);
        writer.AppendText(heading_.Text());
        std::string count_line(kCountLineStart);
        AppendDecimal(count_line, static_cast<std::size_t>(items_.ItemCount()));
        writer.AppendLine(count_line);
        AppendItemLines(items_, writer);
        writer.AppendLinesOf(engine_.Text());
    });
}

}  // namespace tolvane
