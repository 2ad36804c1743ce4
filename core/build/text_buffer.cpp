#include "core/build/text_buffer.h"

#include <functional>
#include <utility>

#include "core/files/text_file.h"

namespace tolvane {
namespace {

constexpr std::string_view kLineBreak = LineWriter::kLineBreak;

// CR LF, a CR not followed by LF and a lone LF each become one CR LF.
std::string WithCrLfBreaks(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            result.append(kLineBreak);
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (c == '\n') {
            result.append(kLineBreak);
        } else {
            result.push_back(c);
        }
    }
    return result;
}

// Calls `visit` with every line of `text`: the pieces between CR LFs, without the empty piece
// after a final CR LF.
template <typename Visit>
void VisitLines(std::string_view text, Visit&& visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(kLineBreak, start);
        if (end == std::string_view::npos) {
            visit(text.substr(start));
            return;
        }
        visit(text.substr(start, end - start));
        start = end + kLineBreak.size();
    }
}

// True when `part` lies inside `text`'s bytes, so growing `text` would move it.
bool PointsInto(const std::string& text, std::string_view part) {
    const std::less_equal<const char*> not_after;
    return not_after(text.data(), part.data()) && not_after(part.data(), text.data() + text.size());
}

}  // namespace

LineWriter::LineWriter(ByteSink& sink, std::string_view written) : sink_(sink) {
    if (!written.empty()) {
        last_bytes_[0] = written.size() >= 2 ? written[written.size() - 2] : '\0';
        last_bytes_[1] = written.back();
        at_line_start_ = written.ends_with(kLineBreak);
    }
}

void LineWriter::AppendText(std::string_view text) {
    if (text.empty()) {
        return;
    }
    sink_.Append(text);
    last_bytes_[0] = text.size() >= 2 ? text[text.size() - 2] : last_bytes_[1];
    last_bytes_[1] = text.back();
    at_line_start_ = last_bytes_[0] == kLineBreak[0] && last_bytes_[1] == kLineBreak[1];
}

void LineWriter::AppendLinesOf(std::string_view text) {
    VisitLines(text, [this](std::string_view line) { AppendLine(line); });
}

void TextBuffer::LoadFromFile(const std::string& path) {
    // The file is read and converted aside, so a failure leaves the former text as it was.
    WithinMemoCapacity([&] { text_ = WithCrLfBreaks(ReadText(path)); });
}

void TextBuffer::SaveToFile(const std::string& path) const {
    WriteText(path, text_);
}

std::size_t TextBuffer::LineCount() const {
    std::size_t count = 0;
    VisitLines(text_, [&count](std::string_view) { ++count; });
    return count;
}

void TextBuffer::AppendLine(std::string_view line) {
    if (PointsInto(text_, line)) {
        const std::string copy(line);
        AppendLine(copy);
        return;
    }
    WithinMemoCapacity([&] {
        // Room first, so the two appends of the rule cannot fail halfway.
        text_.reserve(text_.size() + line.size() + kLineBreak.size());
        StringSink sink(text_);
        LineWriter(sink, text_).AppendLine(line);
    });
}

void TextBuffer::AppendLinesOf(const TextBuffer& other) {
    if (&other == this) {
        const TextBuffer copy = other;
        AppendLinesOf(copy);
        return;
    }
    // The lines of `other` add at most its own size and one line break.
    Reserve(other.text_.size() + kLineBreak.size());
    StringSink sink(text_);
    LineWriter(sink, text_).AppendLinesOf(other.text_);
}

void TextBuffer::SetText(std::string text) {
    text_ = std::move(text);
}

void TextBuffer::Clear() {
    text_.clear();
}

void TextBuffer::Reserve(std::size_t bytes) {
    WithinMemoCapacity([&] { text_.reserve(text_.size() + bytes); });
}

}  // namespace tolvane
