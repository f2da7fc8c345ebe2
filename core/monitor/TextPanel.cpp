#include "TextPanel.h"

namespace lumetra {

namespace {
char cell(std::uint8_t code)
{
    if (code <= 9)
        return static_cast<char>('0' + code);
    return code == DigitCode::Minus ? '-' : ' ';
}

char separator(std::uint8_t code) { return code == 1 ? '.' : code == 2 ? ':' : ' '; }

std::string timeUnit(std::uint8_t code)
{
    switch (code) {
    case 2: return "h";
    case 3: return "min";
    case 4: return "s";
    case 5: return "h:min";
    case 6: return "min:s";
    default: return "";
    }
}

std::string direction(std::uint8_t code)
{
    switch (code) {
    case 1: return "UP";
    case 2: return "DOWN";
    case 3: return "UP/DN";
    default: return "";
    }
}

std::string lamps(const std::string& bits)
{
    std::string out;
    for (char b : bits)
        out += b == '1' ? "(*)" : "( )";
    return out;
}

std::string pad(std::string s, std::size_t width)
{
    if (s.size() < width)
        s.append(width - s.size(), ' ');
    return s;
}
} // namespace

std::string panelRow(const DigitRow& c, const std::array<std::uint8_t, 2>& dpCol, const std::array<std::uint8_t, 2>& dp)
{
    // Digit 0, digit 1, dpCol[0], digit 2, dp[0], digit 3, dpCol[1], digit 4, dp[1], digit 5;
    // a separator that shows nothing takes no room.
    std::string row;
    const auto sep = [&row](std::uint8_t code) {
        if (code)
            row += separator(code);
    };
    row += cell(c[0]);
    row += cell(c[1]);
    sep(dpCol[0]);
    row += cell(c[2]);
    sep(dp[0]);
    row += cell(c[3]);
    sep(dpCol[1]);
    row += cell(c[4]);
    sep(dp[1]);
    row += cell(c[5]);
    return pad(row, 8);
}

std::string textPanel(const PanelState& s, const std::string& title)
{
    const std::string onOff = s.onOff == 1 ? "OUT ON " : s.onOff == 0 ? "OUT OFF" : "       ";
    std::string text = "+-- " + pad(title + " ", 44) + "+\n";
    text += "| " + pad(std::string(s.au ? "AU " : "   ") + panelRow(s.charA, s.dpColA, s.dpA) + "  " + timeUnit(s.timerMode), 28)
        + pad(onOff + (s.kp ? "  KP" : ""), 19) + "|\n";
    text += "| " + pad(std::string(s.charSpB == "98" ? " - " : "   ") + panelRow(s.charB, s.dpColB, s.dpB), 28)
        + pad(direction(s.countDir) + (s.group ? "  G" + std::to_string(s.group) : ""), 19) + "|\n";
    text += "| " + pad(lamps(s.weekBits), 47) + "|\n";
    text += "+" + std::string(48, '-') + "+\n";
    return text;
}

} // namespace lumetra
