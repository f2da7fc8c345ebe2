#include "RtuReply.h"

#include "Crc16.h"

#include <algorithm>

namespace lumetra {

namespace {
bool isException(std::uint8_t functionCode) { return functionCode == 0x83 || functionCode == 0x86; }
} // namespace

std::optional<int> RtuReplyCollector::feed(const std::uint8_t* data, std::size_t size)
{
    // One byte past the expected length decides already (3): no more is kept.
    const std::size_t room = m_expected + 1 - std::min(m_buffer.size(), m_expected + 1);
    m_buffer.insert(m_buffer.end(), data, data + std::min(size, room));
    if (m_buffer.size() >= 2 && isException(m_buffer[1])) {
        m_expected = kRtuExceptionLength;
        if (m_buffer.size() > m_expected)
            m_buffer.resize(m_expected);
    }
    if (m_buffer.size() > m_expected)
        return 3;
    if (m_buffer.size() < m_expected)
        return std::nullopt;

    const std::size_t n = m_buffer.size();
    const std::uint16_t crc = Crc16(std::span(m_buffer.data(), n - 2));
    if ((crc >> 8) != m_buffer[n - 2] || (crc & 0xFF) != m_buffer[n - 1])
        return 12;
    if (isException(m_buffer[1]))
        return exceptionResult(m_buffer[2]);
    return 0;
}

std::string RtuReplyCollector::replyText() const
{
    Bytes body = m_buffer;
    if (body.size() >= 2)
        body.resize(body.size() - 2);
    return rtuReplyToText(body);
}

} // namespace lumetra
