#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// The two encodings in which the program reads the bytes of a list: UTF-8, and Windows-1252 for
// lists saved on systems of that code page. Bytes that are valid UTF-8 are read as UTF-8; any
// others as Windows-1252, where every byte is a character, so nothing is lost on the way.

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past
// U+10FFFF). A sequence cut off at the very end counts as well formed when `may_be_cut` is set,
// for a text read only in part. Cheap for ASCII: its bytes are looked at eight at a time.
bool IsValidUtf8(std::string_view bytes, bool may_be_cut = false);

// The character a Windows-1252 byte stands for, as the web reads that encoding (the WHATWG
// index): ASCII and 0xA0 to 0xFF as themselves, 0x80 to 0x9F mostly punctuation and letters,
// and the five bytes that encoding leaves free (0x81, 0x8D, 0x8F, 0x90, 0x9D) as the control
// characters of the same number. Every one lies in the Basic Multilingual Plane.
char16_t Windows1252Character(unsigned char byte);

// `bytes` read as Windows-1252, written as UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

// `bytes` as UTF-8 text: `bytes` themselves when they are valid UTF-8, else their Windows-1252
// characters converted into `scratch`.
std::string_view AsUtf8(std::string_view bytes, std::string& scratch);

}  // namespace tolvane
