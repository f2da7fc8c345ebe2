#include "Frames.h"

#include "Crc16.h"

namespace lumetra {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::uint8_t hi8(std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); }
std::uint8_t lo8(std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); }
} // namespace

Bytes buildReadRequest(std::uint8_t slaveId, std::uint16_t address, std::uint8_t count)
{
    return {slaveId, FunctionCode::ReadHolding, hi8(address), lo8(address), 0x00, count};
}

Bytes buildWriteRequest(std::uint8_t slaveId, std::uint16_t address, std::uint16_t value)
{
    return {slaveId, FunctionCode::WriteSingle, hi8(address), lo8(address), hi8(value), lo8(value)};
}

Bytes buildFinishRequest(std::uint8_t slaveId)
{
    return {slaveId, FunctionCode::Finish, 0x00, 0x00, 0x00, 0x00};
}

std::string toHexText(const Bytes& bytes)
{
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        text += kHexDigits[b >> 4];
        text += kHexDigits[b & 0x0F];
    }
    return text;
}

std::uint8_t lrcOf(const Bytes& bytes)
{
    unsigned sum = 0;
    for (std::uint8_t b : bytes)
        sum += b;
    return static_cast<std::uint8_t>((256U - (sum % 256U)) % 256U);
}

bool parseHexByte(std::string_view text, std::size_t pos, std::uint8_t& out)
{
    if (pos + 2 > text.size())
        return false;
    const int h = hexValue(text[pos]);
    const int l = hexValue(text[pos + 1]);
    if (h < 0 || l < 0)
        return false;
    out = static_cast<std::uint8_t>(h << 4 | l);
    return true;
}

std::string BuildAsciiFrame(std::string_view requestHexText)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < requestHexText.size(); i += 2) {
        std::uint8_t b = 0;
        parseHexByte(requestHexText, i, b);
        bytes.push_back(b);
    }
    std::string frame = ":";
    frame += requestHexText;
    frame += toHexText({lrcOf(bytes)});
    frame += "\r\n";
    return frame;
}

Bytes buildRtuFrame(const Bytes& request)
{
    Bytes frame = request;
    const std::uint16_t crc = Crc16(request);
    frame.push_back(hi8(crc));
    frame.push_back(lo8(crc));
    return frame;
}

namespace {
// -1 when the text cannot be read, else 0 (right) or 1 (wrong).
int lrcCheck(std::string_view reply)
{
    if (reply.size() < 4)
        return -1;
    const std::size_t end = reply.size() - 4; // LRC, CR, LF follow
    unsigned sum = 0;
    for (std::size_t i = 1; i < end; i += 2) {
        std::uint8_t b = 0;
        if (!parseHexByte(reply, i, b))
            return -1;
        sum += b;
    }
    std::uint8_t received = 0;
    if (!parseHexByte(reply, end, received))
        return -1;
    const auto expected = static_cast<std::uint8_t>((256U - (sum % 256U)) % 256U);
    return expected == received ? 0 : 1;
}
} // namespace

int CheckLrc(std::string_view replyText)
{
    return lrcCheck(replyText) == 0 ? 0 : 1;
}

int exceptionResult(std::uint8_t exceptionCode)
{
    switch (exceptionCode) {
    case 1: return 28;
    case 2: return 29;
    default: return 23;
    }
}

int judgeAsciiReply(std::string_view replyText)
{
    const int lrc = lrcCheck(replyText);
    if (lrc < 0)
        return 3;
    if (lrc != 0)
        return 12;
    const std::string_view fn = replyText.substr(3, 2);
    if (fn == "83" || fn == "86") {
        std::uint8_t code = 0;
        if (!parseHexByte(replyText, 5, code))
            return 3;
        return exceptionResult(code);
    }
    return 0;
}

std::string rtuReplyToText(const Bytes& replyBytes)
{
    std::string text = ":";
    text += toHexText(replyBytes);
    text += toHexText({lrcOf(replyBytes)});
    text += "\r\n";
    return text;
}

bool registerFromReply(std::string_view replyText, int k, std::uint16_t& value)
{
    std::uint8_t hi = 0;
    std::uint8_t lo = 0;
    const auto pos = static_cast<std::size_t>(7 + 4 * k); // character 8+4k, counted from 1
    if (!parseHexByte(replyText, pos, hi) || !parseHexByte(replyText, pos + 2, lo))
        return false;
    value = static_cast<std::uint16_t>(hi << 8 | lo);
    return true;
}

} // namespace lumetra
