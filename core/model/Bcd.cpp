#include "Bcd.h"

#include "comm/CommSession.h"
#include "comm/Frames.h"
#include "values/ValueText.h"

#include <algorithm>
#include <cmath>

namespace lumetra {

BcdBytes eightDigitsToBytes(std::string_view eightDigits)
{
    std::string s(eightDigits.size() > 8 ? eightDigits.substr(eightDigits.size() - 8) : eightDigits);
    s.insert(0, 8 - s.size(), '0');
    BcdBytes bytes{};
    for (std::size_t i = 0; i < 4; ++i) {
        std::uint8_t b = 0;
        parseHexByte(s, 6 - 2 * i, b); // c7c8 first
        bytes[i] = b;
    }
    return bytes;
}

std::string SixDigitLayout(std::string_view sixDigits)
{
    const std::string d(sixDigits);
    return d.substr(0, 4) + "00" + d.substr(4, 2);
}

std::string plainLayout(long long value) { return zeroPadded(value, 8); }

namespace {
// The text before the point read as a number, zero-padded.
std::string integerPart(std::string_view text, std::size_t point, int width)
{
    // Held within what a long long takes: a crafted text may spell any number of digits.
    return zeroPadded(static_cast<long long>(std::clamp(std::trunc(leadingNumber(text.substr(0, point))), -1e18, 1e18)), width);
}

// The first `count` fraction characters, missing ones filled with "0".
std::string fractionDigits(std::string_view text, std::size_t point, std::size_t count)
{
    std::string fraction = point == std::string_view::npos ? "" : std::string(text.substr(point + 1, count));
    fraction.append(count - fraction.size(), '0');
    return fraction;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}
} // namespace

std::string FormatValue(int mode, std::string_view rawText, int places)
{
    const std::string_view text = trimmed(rawText);
    if (mode != 1)
        return plainLayout(std::llround(leadingNumber(text)));
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos)
        return integerPart(text, point, 4) + "0000";
    std::string fraction(text.substr(point + 1));
    if (fraction.empty())
        fraction.push_back('0');
    const std::string head = integerPart(text, point, 4);
    if (places == 2)
        return head + "00" + fractionDigits("." + fraction, 0, 2);
    return head + "0" + fractionDigits("." + fraction, 0, 3);
}

std::string EncodeCounterSetValue(int p, std::string_view text)
{
    if (p < 0 || p > 3)
        return {};
    const std::size_t point = text.find('.');
    const auto fractionCount = static_cast<std::size_t>(p);
    const std::string six = integerPart(text, point, 6 - p) + fractionDigits(text, point, fractionCount);
    return SixDigitLayout(six);
}

std::uint16_t counterSetValueAddress(int target, int inputMode)
{
    if (target == 1)
        return 0x0556;
    if (target != 0 && target != 2)
        return 0;
    switch (inputMode) {
    case 0: case 1: case 2: case 6: return 0x0556;
    case 3: case 4: case 5: case 7: return 0x055A;
    default: return 0;
    }
}

std::string decodeValueText(std::string_view reply, int kind)
{
    if (reply.size() < 15)
        return {};
    // Characters 8..15 of the reply: first register hi, lo, second register hi, lo.
    const std::string_view h1 = reply.substr(7, 2), l1 = reply.substr(9, 2);
    const std::string_view h2 = reply.substr(11, 2), l2 = reply.substr(13, 2);
    const auto join = [](std::initializer_list<std::string_view> parts) {
        std::string s;
        for (auto p : parts)
            s += p;
        return s;
    };
    switch (kind) {
    case 0: return join({h2, l2, ".", l1});
    case 1: return join({"0", l2, h1, l1});
    case 2: return join({l2, ".", h1.substr(1), l1});
    case 3: return join({h2, l2, l1});
    default: return {};
    }
}

std::string ReadValueText(CommSession& session, std::uint16_t address, int kind)
{
    std::string reply;
    if (session.ReadRegisters(address, 2, reply) != 0)
        return {};
    return decodeValueText(reply, kind);
}

} // namespace lumetra
