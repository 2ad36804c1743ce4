#include "core/items/list_file.h"

#include <cctype>
#include <string_view>

#include "core/files/paths.h"
#include "core/files/text_file.h"

namespace tolvane {
namespace {

constexpr std::string_view kListExtension = ".til";

bool HasListExtension(std::string_view name) {
    if (name.size() < kListExtension.size()) {
        return false;
    }
    const std::string_view tail = name.substr(name.size() - kListExtension.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(tail[i])) != kListExtension[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string ListSaveTarget(const std::string& chosen_name) {
    // An existing file is replaced as named; a new name gets the extension once, never twice.
    if (FileExists(chosen_name) || HasListExtension(chosen_name)) {
        return chosen_name;
    }
    return chosen_name + std::string(kListExtension);
}

void SaveList(const ItemList& list, const std::string& chosen_name) {
    WriteLines(ListSaveTarget(chosen_name), list.ItemLines());
}

void OpenList(ItemList& list, const std::string& path) {
    // The file is read and split completely before the list is touched, so a failed read
    // leaves the list as it was.
    list.SetItemLines(ReadLines(path));
}

void SaveListWithDialog(const ItemList& list, FileChooser& dialog) {
    if (const std::optional<std::string> name = dialog.Choose()) {
        SaveList(list, *name);
    }
}

void OpenListWithDialog(ItemList& list, FileChooser& dialog) {
    if (const std::optional<std::string> name = dialog.Choose()) {
        OpenList(list, *name);
    }
}

}  // namespace tolvane
