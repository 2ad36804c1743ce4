#pragma once

#include <string>

#include "core/build/text_buffer.h"
#include "core/files/line_list.h"
#include "core/items/item_list.h"

namespace tolvane {

// The marker at the head of the engine template's loop over the items.
inline constexpr std::string_view kEngineMarker = "for(var i=1; i<=Keyword[0];";

// Everything AssembleScript reads.
struct ScriptInputs {
    std::string program_folder;  // ends with a separator; templates are under system/
    const ItemList* items = nullptr;
    LineList tag_lines;  // the additional tags, one displayed row a line
};

// Builds the whole text of engine.js in `script`: the heading template, the count line, a caption
// and a link line per item, then the engine template with the additional-tags statement
// inserted before the marker. `engine` ends holding the edited engine text. Captions and links are
// written inside double-quoted strings with "\" and "\"" escaped; tags lines inside
// single-quoted strings with "\" and "'" escaped. Lines are copied whole.
// Errors: a template's "Cannot open file" error (the buffers then as TextBuffer leaves them),
// "Text exceeds memo capacity".
void AssembleScript(const ScriptInputs& inputs, TextBuffer& script, TextBuffer& engine);

}  // namespace tolvane
