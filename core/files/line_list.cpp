#include "core/files/line_list.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tolvane {

LineList::LineList(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) {
        PushBack(line);
    }
}

LineList::LineList(const std::vector<std::string>& lines) {
    std::size_t total = 0;
    for (const std::string& line : lines) {
        total += line.size();
    }
    bytes_.reserve(total);
    spans_.reserve(lines.size());
    for (const std::string& line : lines) {
        PushBack(line);
    }
}

LineList LineList::Split(std::string text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos) {
        text.resize(nul);
    }
    LineList result;
    result.SplitSpans(text);
    result.bytes_ = std::move(text);
    return result;
}

LineList LineList::Split(ByteBlock text) {
    const void* nul = text.empty() ? nullptr : std::memchr(text.data(), '\0', text.size());
    if (nul != nullptr) {
        text.Shorten(static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
    }
    LineList result;
    result.SplitSpans(text.View());
    result.block_ = std::move(text);
    return result;
}

void LineList::SplitSpans(std::string_view text) {
    ReserveSpans(text);
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* line = begin;
    while (line < end) {
        // Look for the next CR or LF; memchr for both keeps this one fast pass.
        const char* cr = static_cast<const char*>(std::memchr(line, '\r', end - line));
        const char* lf = static_cast<const char*>(std::memchr(line, '\n', (cr ? cr : end) - line));
        const char* stop = lf ? lf : cr;
        if (stop == nullptr) {
            spans_.push_back(
                {static_cast<std::uint64_t>(line - begin), static_cast<std::uint64_t>(end - line)});
            break;
        }
        // Between here and `cr` there may be many LF-ended lines: take them all.
        while (lf != nullptr) {
            spans_.push_back(
                {static_cast<std::uint64_t>(line - begin), static_cast<std::uint64_t>(lf - line)});
            line = lf + 1;
            lf = static_cast<const char*>(std::memchr(line, '\n', (cr ? cr : end) - line));
        }
        if (cr == nullptr) {
            continue;
        }
        spans_.push_back(
            {static_cast<std::uint64_t>(line - begin), static_cast<std::uint64_t>(cr - line)});
        line = cr + 1;
        if (line < end && *line == '\n') {
            ++line;
        }
    }
    live_bytes_ = 0;
    for (const Span& span : spans_) {
        live_bytes_ += span.length;
    }
}

void LineList::ReserveSpans(std::string_view text) {
    // Estimated from the line breaks of the text's start (a CR LF counts twice): a list of a
    // million lines then takes its spans' room at once instead of growing it twenty times,
    // copying it and touching new memory each time. Too much room costs only address space:
    // memory never written to is not taken.
    const std::string_view sample = text.substr(0, 64 * 1024);
    const auto breaks = static_cast<std::size_t>(std::count(sample.begin(), sample.end(), '\n') +
                                                 std::count(sample.begin(), sample.end(), '\r'));
    spans_.reserve((breaks + 1) * (text.size() / std::max<std::size_t>(sample.size(), 1) + 1));
}

LineList::Span LineList::AppendBytes(std::string_view line) {
    const Span span{block_.size() + bytes_.size(), line.size()};
    bytes_.append(line);
    return span;
}

void LineList::PushBack(std::string_view line) {
    spans_.push_back(AppendBytes(line));
    live_bytes_ += line.size();
    CompactIfWasteful();
}

void LineList::Replace(std::size_t index, std::string_view line) {
    live_bytes_ -= spans_[index].length;
    // `line` may be a view into this list's own block: append it before anything moves.
    spans_[index] = AppendBytes(line);
    live_bytes_ += line.size();
    CompactIfWasteful();
}

void LineList::Erase(std::size_t index) {
    live_bytes_ -= spans_[index].length;
    spans_.erase(spans_.begin() + static_cast<std::ptrdiff_t>(index));
    if (spans_.empty()) {
        Clear();
    }
}

void LineList::Move(std::size_t from, std::size_t to) {
    if (from == to) {
        return;
    }
    const auto first = spans_.begin();
    const auto from_it = first + static_cast<std::ptrdiff_t>(from);
    const auto to_it = first + static_cast<std::ptrdiff_t>(to);
    if (from < to) {
        std::rotate(from_it, from_it + 1, to_it + 1);
    } else {
        std::rotate(to_it, from_it, from_it + 1);
    }
}

void LineList::Clear() {
    block_ = ByteBlock();
    bytes_.clear();
    spans_.clear();
    live_bytes_ = 0;
}

void LineList::CompactIfWasteful() {
    constexpr std::size_t kSlack = 64 * 1024;
    if (block_.size() + bytes_.size() <= 2 * live_bytes_ + kSlack) {
        return;
    }
    std::string packed;
    packed.reserve(live_bytes_);
    for (std::size_t i = 0; i < spans_.size(); ++i) {
        const std::uint64_t offset = packed.size();
        packed.append((*this)[i]);
        spans_[i].offset = offset;
    }
    block_ = ByteBlock();
    bytes_ = std::move(packed);
}

std::string LineList::Joined(std::string_view line_end) const {
    std::string text;
    text.reserve(live_bytes_ + spans_.size() * line_end.size());
    for (std::size_t i = 0; i < spans_.size(); ++i) {
        text.append((*this)[i]);
        text.append(line_end);
    }
    return text;
}

std::vector<std::string> LineList::ToVector() const {
    std::vector<std::string> lines;
    lines.reserve(spans_.size());
    for (std::size_t i = 0; i < spans_.size(); ++i) {
        lines.emplace_back((*this)[i]);
    }
    return lines;
}

bool LineList::operator==(const LineList& other) const {
    if (size() != other.size()) {
        return false;
    }
    for (std::size_t i = 0; i < size(); ++i) {
        if ((*this)[i] != other[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace tolvane
