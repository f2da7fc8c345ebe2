#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumetra {

class CommSession;

// Four bytes of packed BCD at addresses a..a+3 (a first).
using BcdBytes = std::array<std::uint8_t, 4>;

// Eight decimal digits c1..c8 → bytes: c7c8 at a, c5c6 at a+1, c3c4 at a+2,
// c1c2 at a+3 (each pair read as hexadecimal). A longer string uses its last
// eight characters, a shorter one is padded on the left with zeros.
BcdBytes eightDigitsToBytes(std::string_view eightDigits);

// d1..d6 → "d1 d2 d3 d4 0 0 d5 d6".
std::string SixDigitLayout(std::string_view sixDigits);
// The whole number, zero-padded to eight digits.
std::string plainLayout(long long value);

// Times (places 2, SixDigitLayout of dddd.dd) and prescale values (places 3,
// prescale layout iiii0fff) in mode 1; any other mode gives the plain layout
// of the rounded value. Returns the eight-digit string.
std::string FormatValue(int mode, std::string_view text, int places);

// Counter and tachometer set values with decimal point position p (0..3):
// the six digits (integer part and fraction) in SixDigitLayout. Empty for a
// position outside 0..3 (nothing is stored).
std::string EncodeCounterSetValue(int p, std::string_view text);

// Where a counter set value goes: target 0 (counter B) and 2 (second counter
// of the dual counter) by the counter's input mode (0, 1, 2, 6 → 0x0556;
// 3, 4, 5, 7 → 0x055A); target 1 (tachometer) always 0x0556. 0 for anything else.
std::uint16_t counterSetValueAddress(int target, int inputMode);

// The upload's decoder of a two-register read reply text, kinds 0..3
// (dddd.dd, 0dddddd, dd.ddd, dddddd). Empty when the text is too short or
// the kind unknown.
std::string decodeValueText(std::string_view replyText, int kind);

// Reads two registers at the address and decodes them; empty on failure.
std::string ReadValueText(CommSession& session, std::uint16_t address, int kind);

} // namespace lumetra
