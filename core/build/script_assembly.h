#pragma once

#include <string>

#include "core/build/text_buffer.h"
#include "core/files/byte_sink.h"
#include "core/files/line_list.h"
#include "core/items/item_list.h"

namespace tolvane {

// The marker at the head of the engine template's loop over the items.
inline constexpr std::string_view kEngineMarker = "for(var i=1; i<=Keyword[0];";

// Everything a script assembly reads.
struct ScriptInputs {
    std::string program_folder;  // ends with a separator; templates are under system/
    const ItemList* items = nullptr;
    LineList tag_lines;  // the additional tags, one displayed row a line
};

// engine.js, made from the heading template, the count line, a caption and a link line per item,
// then the engine template with the additional-tags statement inserted before the marker.
// Captions and links are written inside double-quoted strings with "\" and "\"" escaped, in
// UTF-8: one that is not valid UTF-8 is read as Windows-1252 and converted, so a list saved on
// such a system shows its own characters (engine.js is UTF-8 by its byte-order mark). Tags lines
// go inside single-quoted strings with "\" and "'" escaped. Lines are copied whole.
//
// The templates are read when the assembly is made, so that their errors come before anything
// is written; the text itself is only ever written out, piece by piece, and never held whole.
class ScriptAssembly {
  public:
    // Reads the heading template, then the engine template, and inserts the tags statement into
    // the engine. `inputs.items` must outlive the assembly.
    // Errors: a template's "Cannot open file" error, "Text exceeds memo capacity".
    explicit ScriptAssembly(const ScriptInputs& inputs);

    // Appends the whole text of engine.js to `script`, by the text buffers' line rules.
    // Errors: "Text exceeds memo capacity", and whatever `script` raises.
    void WriteTo(ByteSink& script) const;

    // The engine template as it ends engine.js: CR LF line breaks, the statement inserted.
    const std::string& EditedEngine() const { return engine_.Text(); }

  private:
    const ItemList& items_;
    TextBuffer heading_;
    TextBuffer engine_;
};

}  // namespace tolvane
