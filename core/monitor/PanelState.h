#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumetra {

namespace DigitCode {
inline constexpr std::uint8_t Minus = 98;
inline constexpr std::uint8_t Blank = 99;
}

// What one front-panel picture shows: indicator picture codes, two rows of
// six digit codes with their separators, and the suffixes of the T/B mark,
// the special character and the lamp row.
struct PanelState {
    std::uint8_t au = 0;
    std::uint8_t onOff = 0;
    std::uint8_t spare = 0;
    std::uint8_t group = 0;
    std::uint8_t countDir = 0;
    std::uint8_t kp = 0;
    std::uint8_t rangeMode = 0;
    std::uint8_t timerMode = 0;
    std::array<std::uint8_t, 6> charA{99, 99, 99, 99, 99, 99};
    std::array<std::uint8_t, 6> charB{99, 99, 99, 99, 99, 99};
    std::array<std::uint8_t, 2> dpColA{};
    std::array<std::uint8_t, 2> dpColB{};
    std::array<std::uint8_t, 2> dpA{};
    std::array<std::uint8_t, 2> dpB{};
    std::string tbName = "0";
    std::string charSpB = "99";
    std::string weekBits = "0000000";

    bool operator==(const PanelState&) const = default;

    // Both rows take the same separators.
    void setSeparators(std::array<std::uint8_t, 2> dpCol, std::array<std::uint8_t, 2> dp);
};

using DigitRow = std::array<std::uint8_t, 6>;

// "0012.34" from digits 0 0 1 2 3 4, dpCol (0, 1), dp (0, 0); a leading 98
// is the minus sign.
std::string ValueText(const DigitRow& digits, const std::array<std::uint8_t, 2>& dpCol, const std::array<std::uint8_t, 2>& dp);

// A digit code for a character of a BCD reading: '0'..'9', anything else blank.
std::uint8_t digitCode(char c);
// Six digit codes from six characters.
DigitRow digitRow(std::string_view sixCharacters);

// Separators for d decimals (0..4) on a six-digit row: the point stands
// before the last d digits.
struct Separators {
    std::array<std::uint8_t, 2> dpCol;
    std::array<std::uint8_t, 2> dp;
};
Separators separatorsForDecimals(int decimals);

} // namespace lumetra
