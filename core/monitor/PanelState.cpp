#include "PanelState.h"

namespace lumetra {

void PanelState::setSeparators(std::array<std::uint8_t, 2> dpCol, std::array<std::uint8_t, 2> dp)
{
    dpColA = dpColB = dpCol;
    dpA = dpB = dp;
}

namespace {
std::string separatorText(std::uint8_t code)
{
    return code == 1 ? "." : code == 2 ? ":" : "";
}
} // namespace

std::string ValueText(const DigitRow& c, const std::array<std::uint8_t, 2>& dpCol, const std::array<std::uint8_t, 2>& dp)
{
    std::string text = c[0] == DigitCode::Minus ? "-" : std::to_string(c[0]);
    text += std::to_string(c[1]) + separatorText(dpCol[0]) + std::to_string(c[2]) + (dp[0] == 1 ? "." : "")
        + std::to_string(c[3]) + separatorText(dpCol[1]) + std::to_string(c[4]) + (dp[1] == 1 ? "." : "")
        + std::to_string(c[5]);
    return text;
}

std::uint8_t digitCode(char c) { return c >= '0' && c <= '9' ? static_cast<std::uint8_t>(c - '0') : DigitCode::Blank; }

DigitRow digitRow(std::string_view s)
{
    DigitRow row{};
    for (std::size_t i = 0; i < row.size(); ++i)
        row[i] = i < s.size() ? digitCode(s[i]) : DigitCode::Blank;
    return row;
}

Separators separatorsForDecimals(int d)
{
    switch (d) {
    case 1: return {{0, 0}, {0, 1}};
    case 2: return {{0, 1}, {0, 0}};
    case 3: return {{0, 0}, {1, 0}};
    case 4: return {{1, 0}, {0, 0}};
    default: return {{0, 0}, {0, 0}};
    }
}

} // namespace lumetra
