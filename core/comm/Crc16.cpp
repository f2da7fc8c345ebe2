#include "Crc16.h"

namespace lumetra {

void Crc16Tables::InitCrcTables()
{
    // Derive the tables from the bitwise CRC of each byte value: the published
    // tables are exactly the high and low bytes of these 256 remainders, with
    // the high table holding the byte that is XORed into the next "hi".
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1U) ? (crc >> 1) ^ 0xA001U : crc >> 1;
        m_high[i] = static_cast<std::uint8_t>(crc & 0xFFU);
        m_low[i] = static_cast<std::uint8_t>(crc >> 8);
    }
}

std::uint16_t Crc16Tables::Crc16(std::span<const std::uint8_t> bytes) const
{
    std::uint8_t hi = 0xFF;
    std::uint8_t lo = 0xFF;
    for (std::uint8_t b : bytes) {
        const std::uint8_t i = hi ^ b;
        hi = lo ^ m_high[i];
        lo = m_low[i];
    }
    return static_cast<std::uint16_t>(hi << 8 | lo);
}

const Crc16Tables& crcTables()
{
    static const Crc16Tables tables;
    return tables;
}

} // namespace lumetra
