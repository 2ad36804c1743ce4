#pragma once

#include <cstddef>
#include <initializer_list>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/files/byte_sink.h"
#include "core/files/error.h"

namespace tolvane {

// Appends lines to a sink by the text buffers' rule: after a text that is empty or ends with
// CR LF, a line L goes in as L + CR LF; after any other text as CR LF + L, which leaves the line
// open. It keeps what the rule needs to know of the text so far (its last two bytes), so the
// text itself may already be on its way to a file.
class LineWriter {
  public:
    static constexpr std::string_view kLineBreak = "\r\n";

    // `written` is what `sink` already holds, or at least its end.
    explicit LineWriter(ByteSink& sink, std::string_view written = {});

    // Appends `text` exactly as it is.
    void AppendText(std::string_view text);
    void AppendLine(std::string_view line) { AppendLine({line}); }
    // Appends one line given in consecutive pieces, as AppendLine appends them joined: a line
    // goes out as it is put together, with no copy of its own.
    void AppendLine(std::initializer_list<std::string_view> pieces) {
        if (at_line_start_) {
            // The text then ends with this line break again: nothing else to note. (A million
            // items make two million lines, nearly all of them this way.)
            for (std::string_view piece : pieces) {
                sink_.Append(piece);
            }
            sink_.Append(kLineBreak);
            last_bytes_[0] = kLineBreak[0];
            last_bytes_[1] = kLineBreak[1];
        } else {
            AppendText(kLineBreak);
            for (std::string_view piece : pieces) {
                AppendText(piece);
            }
        }
    }
    // Appends every line of `text` (the pieces between CR LFs, without the empty piece after a
    // final CR LF), in order and whole, by AppendLine's rule.
    void AppendLinesOf(std::string_view text);

  private:
    ByteSink& sink_;
    char last_bytes_[2] = {};  // the text's last two bytes, NUL where it is shorter
    bool at_line_start_ = true;
};

// A multi-line text holder in which the builds assemble their output. Its line breaks are
// CR LF; it never wraps.
//
// Errors: Load raises the file's "Cannot open file" error and leaves the text unchanged;
// running out of memory raises "Text exceeds memo capacity".
class TextBuffer {
  public:
    // Reads the file's bytes; CR LF, lone CR and lone LF each become CR LF; the text ends at the
    // first NUL byte. Replaces the whole text.
    void LoadFromFile(const std::string& path);
    // Writes exactly the text's bytes (no final line break added).
    void SaveToFile(const std::string& path) const;

    // The number of lines: the text cut at each CR LF, without the empty piece after a final
    // CR LF (an empty text has none).
    std::size_t LineCount() const;
    // Appends L + CR LF when the text is empty or ends with CR LF, else CR LF + L.
    void AppendLine(std::string_view line);
    // Appends every line of `other`, in order and whole, by AppendLine's rule.
    void AppendLinesOf(const TextBuffer& other);

    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    void Clear();
    // Room for `bytes` more, so that a long run of appends builds the text in one block.
    void Reserve(std::size_t bytes);

  private:
    std::string text_;
};

inline constexpr std::string_view kMemoCapacityError = "Text exceeds memo capacity";

// Runs `step`; running out of memory on the way raises "Text exceeds memo capacity".
template <typename Step>
void WithinMemoCapacity(Step&& step) {
    try {
        step();
    } catch (const std::bad_alloc&) {
        throw Error(std::string(kMemoCapacityError));
    } catch (const std::length_error&) {
        throw Error(std::string(kMemoCapacityError));
    }
}

}  // namespace tolvane
