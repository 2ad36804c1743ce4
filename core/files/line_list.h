#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/byte_block.h"

namespace tolvane {

// An ordered list of text lines (bytes, never converted) held in one block of memory: the
// lines are spans of that block. A list split from a file keeps the file's text as its block,
// so a million lines cost one allocation for the text and one for the spans, and moving or
// removing a line moves a span, never text.
//
// Replacing or adding a line appends its bytes to a second, growing block (a block split from
// a file is never written to: it may be the file itself, mapped read-only); the two are
// compacted into one when the bytes no line uses outgrow the live ones.
class LineList {
  public:
    LineList() = default;
    LineList(std::initializer_list<std::string_view> lines);
    explicit LineList(const std::vector<std::string>& lines);

    // Splits `text` by the list rules: the text ends at its first NUL byte; a line ends at
    // CR LF, at a CR not followed by LF, or at an LF; a line end at the very end adds no empty
    // line; nothing is trimmed. Takes the text as the list's block.
    static LineList Split(std::string text);
    static LineList Split(ByteBlock text);

    std::size_t size() const { return spans_.size(); }
    bool empty() const { return spans_.empty(); }
    std::string_view operator[](std::size_t index) const {
        const Span& span = spans_[index];
        // Offsets past the split block's end count on in the block of added lines.
        const std::size_t split_bytes = block_.size();
        const char* start = span.offset < split_bytes ? block_.data() + span.offset
                                                      : bytes_.data() + (span.offset - split_bytes);
        return std::string_view(start, span.length);
    }

    void PushBack(std::string_view line);
    void Replace(std::size_t index, std::string_view line);
    void Erase(std::size_t index);
    // Takes the line at `from` out and inserts it at `to`, counted after the taking out.
    void Move(std::size_t from, std::size_t to);
    void Clear();

    // Every line followed by `line_end`, in one block.
    std::string Joined(std::string_view line_end) const;
    // The sum of the lines' lengths.
    std::size_t TextBytes() const { return live_bytes_; }

    std::vector<std::string> ToVector() const;
    bool operator==(const LineList& other) const;

  private:
    struct Span {
        std::uint64_t offset;
        std::uint64_t length;
    };

    // Takes the lines of `text` (already cut at its NUL) as spans, counted from its start.
    void SplitSpans(std::string_view text);
    void ReserveSpans(std::string_view text);
    Span AppendBytes(std::string_view line);
    void CompactIfWasteful();

    ByteBlock block_;    // the text the list was split from, when it came as a block
    std::string bytes_;  // the text it was split from as a string, and every line added since
    std::vector<Span> spans_;
    std::size_t live_bytes_ = 0;
};

}  // namespace tolvane
