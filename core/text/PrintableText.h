#pragma once

#include <string>
#include <string_view>

namespace lumetra {

// Text taken from a file, made safe to print on a terminal: control
// characters (C0, DEL and the C1 range, which terminals obey as escape
// sequences), bytes that are not UTF-8 and the bidirectional overrides
// become "\xHH" escapes, a backslash becomes "\\"; printable UTF-8 (the
// string table's Chinese texts) passes unchanged.
std::string printableText(std::string_view text);

// True for well-formed UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF).
bool isValidUtf8(std::string_view text);

// A JSON string literal of printableText(text): valid JSON and valid UTF-8
// whatever the bytes, and the same characters the text listing shows.
std::string jsonString(std::string_view text);

} // namespace lumetra
