#pragma once

#include "Frames.h"

#include <optional>

namespace lumetra {

// Collects RTU reply bytes as they arrive and judges them once enough are in.
// A read of n registers expects 2n + 5 bytes, a write 8; an exception reply
// (second byte 0x83 or 0x86) is cut to 5 bytes as soon as it shows itself.
class RtuReplyCollector {
public:
    explicit RtuReplyCollector(std::size_t expectedLength) : m_expected(expectedLength) {}

    // Appends bytes; returns the result code once the reply is complete
    // (0, 12, 23, 28, 29, or 3 when more bytes came than the reply holds).
    // Keeps at most one byte more than the reply holds.
    std::optional<int> feed(const std::uint8_t* data, std::size_t size);

    const Bytes& bytes() const { return m_buffer; }
    std::size_t expectedLength() const { return m_expected; }

    // The reply without its CRC, as the ASCII-style reply text.
    std::string replyText() const;

private:
    std::size_t m_expected;
    Bytes m_buffer;
};

inline std::size_t rtuReadReplyLength(int count) { return static_cast<std::size_t>(2 * count + 5); }
inline constexpr std::size_t kRtuWriteReplyLength = 8;
inline constexpr std::size_t kRtuExceptionLength = 5;

} // namespace lumetra
