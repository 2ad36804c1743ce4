#pragma once

#include <string>

#include "core/items/item_list.h"
#include "core/services/file_chooser.h"

namespace tolvane {

// Item list files (*.til): one line per item, each followed by CR LF, bytes unchanged.

// The file that "Save list" writes for the name chosen in the dialog: the name itself when
// such a file exists, or when it already ends in ".til" (any letter case); else name + ".til".
std::string ListSaveTarget(const std::string& chosen_name);

// Writes the list's lines to ListSaveTarget(chosen_name). Errors: "Cannot create file ...",
// "Stream write error"; the former file is never destroyed.
void SaveList(const ItemList& list, const std::string& chosen_name);

// Replaces the whole list by the lines of the file at `path`, as one change.
// Errors: "Cannot open file ..."; the list is then unchanged.
void OpenList(ItemList& list, const std::string& path);

// SaveList / OpenList: run the dialog, then save or open; cancelling does nothing.
void SaveListWithDialog(const ItemList& list, FileChooser& dialog);
void OpenListWithDialog(ItemList& list, FileChooser& dialog);

}  // namespace tolvane
