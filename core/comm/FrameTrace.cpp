#include "FrameTrace.h"

#include <cstdio>

namespace lumetra {

std::string formatFrameRecord(const FrameRecord& record, std::int64_t startTickMs, Protocol protocol)
{
    const std::int64_t ms = record.tickMs - startTickMs;
    char head[48];
    std::snprintf(head, sizeof head, "%lld.%03lld %s ", static_cast<long long>(ms / 1000),
                  static_cast<long long>(ms % 1000), record.direction == FrameDirection::Sent ? ">" : "<");
    std::string line = head;
    if (protocol == Protocol::Ascii) {
        for (std::uint8_t b : record.bytes) {
            if (b == '\r') line += "\\r";
            else if (b == '\n') line += "\\n";
            else if (b >= 0x20 && b < 0x7F) line += static_cast<char>(b);
            else {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\x%02X", b);
                line += esc;
            }
        }
    } else {
        for (std::size_t i = 0; i < record.bytes.size(); ++i) {
            char hex[4];
            std::snprintf(hex, sizeof hex, i ? " %02X" : "%02X", record.bytes[i]);
            line += hex;
        }
    }
    if (record.bytes.empty())
        line += "(nothing)";
    return line;
}

} // namespace lumetra
