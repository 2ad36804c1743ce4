// Assembles engine.js from fuzzed templates, items and additional-tags lines, and checks the
// result line by line: the heading's lines, the count line, a caption and a link line per item
// whose string literals decode to exactly the item's caption and link (in UTF-8), then the engine's
// lines with the tags statement before the marker, its literals decoding to the tags text. The
// number of lines follows the append rule, also for a heading without a final line break.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/build/script_assembly.h"
#include "core/files/byte_sink.h"
#include "core/files/encodings.h"
#include "core/items/item_list.h"
#include "fuzz/fuzz_rules.h"
#include "tests/support/fault_env.h"

namespace {

using tolvane::fuzz::CrLfLines;
using tolvane::fuzz::CrLfText;
using tolvane::fuzz::ReadStringLiteral;
using tolvane::fuzz::Require;

struct Case {
    std::string heading;
    std::string engine;
    std::string items;
    std::vector<std::string> tags;
};

Case ReadCase(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Case fuzzed;
    fuzzed.heading = input.ConsumeRandomLengthString(4096);
    fuzzed.engine = input.ConsumeRandomLengthString(4096);
    if (input.ConsumeBool()) {
        const std::size_t at = input.ConsumeIntegralInRange<std::size_t>(0, fuzzed.engine.size());
        fuzzed.engine.insert(at, tolvane::kEngineMarker);
    }
    fuzzed.items = input.ConsumeRandomLengthString(4096);
    // Tags lines are rows of a text box: they never hold a line break.
    const int tag_count = input.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < tag_count; ++i) {
        std::string line = input.ConsumeRandomLengthString(256);
        std::erase_if(line, [](char c) { return c == '\r' || c == '\n'; });
        fuzzed.tags.push_back(line);
    }
    return fuzzed;
}

// The decoded content of `line` = prefix + literal, or nothing when it has another form.
std::optional<std::string> DataLineContent(std::string_view line, const std::string& prefix) {
    if (!line.starts_with(prefix)) {
        return std::nullopt;
    }
    std::size_t at = prefix.size();
    std::optional<std::string> content = ReadStringLiteral(line, at);
    if (!content || at != line.size()) {
        return std::nullopt;
    }
    return content;
}

// The text the tags statement writes: "MsgBox.document.write(" then quoted pieces joined by "+",
// then ");". Nothing when it has another form or leaves a string before its end.
std::optional<std::string> StatementOutput(std::string_view statement) {
    constexpr std::string_view kHead = "MsgBox.document.write(";
    if (!statement.starts_with(kHead)) {
        return std::nullopt;
    }
    std::size_t at = kHead.size();
    std::string written;
    for (;;) {
        std::optional<std::string> piece = ReadStringLiteral(statement, at);
        if (!piece) {
            return std::nullopt;
        }
        written += *piece;
        if (statement.substr(at) == ");") {
            return written;
        }
        if (statement.substr(at, 2) != "+ ") {
            return std::nullopt;
        }
        at += 2;
    }
}

std::string ExpectedTagsOutput(const std::vector<std::string>& tags) {
    std::string written;
    for (const std::string& line : tags) {
        written += "  " + line;
    }
    return written + "<hr>";
}

// The edited engine must be the engine text with the statement inserted at the first marker (or at
// its start).
void CheckEditedEngine(const std::string& engine, const std::string& edited_engine,
                       const Case& fuzzed) {
    const std::size_t found = engine.find(tolvane::kEngineMarker);
    const std::size_t at = found == std::string::npos ? 0 : found;
    Require(edited_engine.size() >= engine.size(), "edited_engine holds the engine text");
    Require(edited_engine.compare(0, at, engine, 0, at) == 0,
            "engine text before the statement kept");
    const std::size_t tail = engine.size() - at;
    Require(edited_engine.compare(edited_engine.size() - tail, tail, engine, at, tail) == 0,
            "engine text from the marker on kept");
    const std::string statement = edited_engine.substr(at, edited_engine.size() - tail - at);
    Require(StatementOutput(statement) == ExpectedTagsOutput(fuzzed.tags),
            "tags stay inside the statement's strings");
}

void CheckScript(const std::string& heading, const std::vector<std::string>& edited_engine_lines,
                 const tolvane::ItemList& items, const std::string& script) {
    const std::vector<std::string> heading_lines = CrLfLines(heading);
    const std::vector<std::string> lines = CrLfLines(script);
    const std::size_t count = static_cast<std::size_t>(items.ItemCount());

    // A heading without a final line break makes the append rule put CR LF before each line, and
    // the first empty engine line then only ends the line before it.
    std::vector<std::string> engine_lines = edited_engine_lines;
    if (!heading.empty() && !heading.ends_with("\r\n")) {
        const auto empty = std::find(engine_lines.begin(), engine_lines.end(), "");
        if (empty != engine_lines.end()) {
            engine_lines.erase(empty);
        }
    }
    Require(lines.size() == heading_lines.size() + 1 + 2 * count + engine_lines.size(),
            "engine.js line count");

    std::size_t at = 0;
    for (const std::string& line : heading_lines) {
        Require(lines[at++] == line, "heading line");
    }
    Require(lines[at++] == "Keyword [0] = " + std::to_string(count), "count line");
    for (std::size_t i = 1; i <= count; ++i) {
        const std::string line(items.ItemLines()[i - 1]);
        const std::size_t equals = line.find('=');
        const std::string link = equals == std::string::npos ? "" : line.substr(0, equals);
        const std::string caption = equals == std::string::npos ? line : line.substr(equals + 1);
        const std::string index = std::to_string(i);
        // In UTF-8: a cell that is no valid UTF-8 was Windows-1252, one byte a character.
        Require(tolvane::IsValidUtf8(lines[at]) && tolvane::IsValidUtf8(lines[at + 1]),
                "item lines are UTF-8");
        std::string scratch;
        Require(DataLineContent(lines[at++], "Keyword [" + index + "] = ") ==
                    tolvane::AsUtf8(caption, scratch),
                "caption stays inside its string");
        Require(DataLineContent(lines[at++], "Address [" + index + "] = ") ==
                    tolvane::AsUtf8(link, scratch),
                "link stays inside its string");
    }
    for (const std::string& line : engine_lines) {
        Require(lines[at++] == line, "engine line");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const tolvane::testing::TempFolder program;
    std::filesystem::create_directories(program / "system");

    const Case fuzzed = ReadCase(data, size);
    tolvane::testing::PutFile(program / "system/heading.txt", fuzzed.heading);
    tolvane::testing::PutFile(program / "system/engine.txt", fuzzed.engine);
    tolvane::ItemList items;
    items.SetItemLines(tolvane::LineList::Split(fuzzed.items));

    const tolvane::ScriptAssembly assembly(
        tolvane::ScriptInputs{program.path(), &items, tolvane::LineList(fuzzed.tags)});
    std::string script;
    tolvane::StringSink sink(script);
    assembly.WriteTo(sink);

    CheckEditedEngine(CrLfText(fuzzed.engine), assembly.EditedEngine(), fuzzed);
    CheckScript(CrLfText(fuzzed.heading), CrLfLines(assembly.EditedEngine()), items, script);
    return 0;
}
