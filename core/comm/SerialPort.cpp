#include "SerialPort.h"

#include <cctype>
#include <charconv>

namespace lumetra {

std::string PortSettings::toString() const
{
    return std::to_string(baud) + "," + parity + "," + std::to_string(dataBits) + "," + std::to_string(stopBits);
}

bool PortSettings::parse(const std::string& text, PortSettings& out)
{
    PortSettings s;
    const char* p = text.data();
    const char* end = p + text.size();
    auto number = [&](int& v) {
        auto [next, ec] = std::from_chars(p, end, v);
        if (ec != std::errc())
            return false;
        p = next;
        return true;
    };
    auto comma = [&] { return p < end && *p++ == ','; };
    if (!number(s.baud) || !comma() || p >= end)
        return false;
    s.parity = static_cast<char>(std::tolower(static_cast<unsigned char>(*p++)));
    if ((s.parity != 'n' && s.parity != 'o' && s.parity != 'e') || !comma() || !number(s.dataBits) || !comma()
        || !number(s.stopBits) || p != end)
        return false;
    if ((s.dataBits != 7 && s.dataBits != 8) || (s.stopBits != 1 && s.stopBits != 2) || s.baud <= 0)
        return false;
    out = s;
    return true;
}

} // namespace lumetra
