#include "core/files/encodings.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace tolvane {
namespace {

// The characters of the bytes 0x80 to 0x9F; every other byte stands for its own code point.
constexpr std::array<char16_t, 32> kWindows1252High = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

// The length of the UTF-8 sequence that `lead` begins, 0 for a byte that begins none.
int SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// Whether the second byte fits the lead byte (no overlong forms, no surrogates, nothing past
// U+10FFFF); later bytes only need to be continuation bytes.
bool SecondByteFits(unsigned char lead, unsigned char second) {
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    return second >= low && second <= high;
}

constexpr std::uint64_t kHighBits = 0x8080808080808080u;

std::uint64_t WordAt(std::string_view bytes, std::size_t at) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + at, sizeof word);
    return word;
}

// Whether every byte is ASCII: the bytes or'ed together eight at a time, with no branch per word
// (the last word may overlap the one before). Most lists are ASCII throughout, so this is the
// whole check for nearly every line.
bool IsAscii(std::string_view bytes) {
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    std::uint64_t seen = 0;
    if (bytes.size() < kWord) {
        for (const char byte : bytes) {
            seen |= static_cast<unsigned char>(byte);
        }
        return (seen & kHighBits) == 0;
    }
    for (std::size_t i = 0; i + kWord <= bytes.size(); i += kWord) {
        seen |= WordAt(bytes, i);
    }
    seen |= WordAt(bytes, bytes.size() - kWord);
    return (seen & kHighBits) == 0;
}

// The index of the first byte at or after `from` that is not ASCII, or the text's size; eight
// bytes are looked at together while they are all ASCII.
std::size_t SkipAscii(std::string_view bytes, std::size_t from) {
    std::size_t i = from;
    while (i + sizeof(std::uint64_t) <= bytes.size() && (WordAt(bytes, i) & kHighBits) == 0) {
        i += sizeof(std::uint64_t);
    }
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) {
        ++i;
    }
    return i;
}

void AppendUtf8(std::string& out, char16_t character) {
    if (character < 0x80) {
        out.push_back(static_cast<char>(character));
    } else if (character < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (character >> 6)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (character >> 12)));
        out.push_back(static_cast<char>(0x80 | ((character >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    }
}

}  // namespace

bool IsValidUtf8(std::string_view bytes, bool may_be_cut) {
    if (IsAscii(bytes)) {
        return true;
    }
    std::size_t i = SkipAscii(bytes, 0);
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int length = SequenceLength(lead);
        if (length == 0) {
            return false;
        }
        for (int k = 1; k < length; ++k) {
            if (i + static_cast<std::size_t>(k) >= bytes.size()) {
                return may_be_cut;
            }
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            const bool fits = k == 1 ? SecondByteFits(lead, next) : (next & 0xC0) == 0x80;
            if (!fits) {
                return false;
            }
        }
        i = SkipAscii(bytes, i + static_cast<std::size_t>(length));
    }
    return true;
}

char16_t Windows1252Character(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kWindows1252High[byte - 0x80] : char16_t{byte};
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 2);
    for (const char byte : bytes) {
        AppendUtf8(text, Windows1252Character(static_cast<unsigned char>(byte)));
    }
    return text;
}

std::string_view AsUtf8(std::string_view bytes, std::string& scratch) {
    if (IsValidUtf8(bytes)) {
        return bytes;
    }
    scratch = Windows1252ToUtf8(bytes);
    return scratch;
}

}  // namespace tolvane
