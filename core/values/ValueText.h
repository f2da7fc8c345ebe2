#pragma once

#include <string>
#include <string_view>

namespace lumetra {

// The number a text spells the way the settings code reads it: leading
// blanks, an optional sign, digits and at most one decimal point; reading
// stops at the first other character, and a text without digits is 0.
double leadingNumber(std::string_view text);

// Whole number padded on the left with zeros to the given width (the sign,
// if any, is dropped: the encoders only ever see digits).
std::string zeroPadded(long long value, int width);

} // namespace lumetra
