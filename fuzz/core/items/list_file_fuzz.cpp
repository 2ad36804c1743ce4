// Opens fuzzed bytes as an item list file and saves the list again. The saved file must be the
// input up to its first NUL byte with every line end made CR LF and a CR LF after the last line;
// every line must become one item that reads back by the first "=".

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/items/item_list.h"
#include "core/items/list_file.h"
#include "fuzz/fuzz_rules.h"
#include "tests/support/fault_env.h"

namespace {

using tolvane::fuzz::Require;

std::string ExpectedSavedFile(std::string_view input) {
    std::string text = tolvane::fuzz::CrLfText(input);
    if (!text.empty() && !text.ends_with("\r\n")) {
        text += "\r\n";
    }
    return text;
}

void CheckItems(const tolvane::ItemList& list, std::string_view saved) {
    const std::vector<std::string> lines = tolvane::fuzz::CrLfLines(saved);
    Require(list.ItemCount() == static_cast<int>(lines.size()), "one item per line");
    Require(list.RowCount() == std::max(list.ItemCount(), 1) + 1, "row count");
    for (int row = 1; row <= list.ItemCount(); ++row) {
        const std::string& line = lines[static_cast<std::size_t>(row - 1)];
        const std::size_t equals = line.find('=');
        const std::string link = equals == std::string::npos ? "" : line.substr(0, equals);
        const std::string caption = equals == std::string::npos ? line : line.substr(equals + 1);
        Require(list.CellText(0, row) == link, "link is the text before the first =");
        Require(list.CellText(1, row) == caption, "caption is the text after the first =");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const tolvane::testing::TempFolder scratch;
    const std::string input(reinterpret_cast<const char*>(data), size);
    tolvane::testing::PutFile(scratch / "in.til", input);

    tolvane::ItemList list;
    tolvane::OpenList(list, scratch / "in.til");
    tolvane::SaveList(list, scratch / "out.til");

    const std::string saved = tolvane::testing::GetFile(scratch / "out.til");
    Require(saved == ExpectedSavedFile(input), "saved file is the input with CR LF line ends");
    CheckItems(list, saved);
    return 0;
}
