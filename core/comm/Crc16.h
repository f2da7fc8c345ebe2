#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace lumetra {

// Modbus CRC-16 (reflected 0xA001, preset 0xFFFF) by the two 256-entry lookup
// tables of the serial-line standard. InitCrcTables() fills them; it is cheap
// and idempotent, so every RTU open may call it.
class Crc16Tables {
public:
    Crc16Tables() { InitCrcTables(); }
    void InitCrcTables();

    // Returns hi * 256 + lo; hi goes on the wire first.
    std::uint16_t Crc16(std::span<const std::uint8_t> bytes) const;

    const std::array<std::uint8_t, 256>& highTable() const { return m_high; }
    const std::array<std::uint8_t, 256>& lowTable() const { return m_low; }

private:
    std::array<std::uint8_t, 256> m_high{};
    std::array<std::uint8_t, 256> m_low{};
};

// The one shared, read-only instance (filled at start, never written again).
const Crc16Tables& crcTables();

inline std::uint16_t Crc16(std::span<const std::uint8_t> bytes) { return crcTables().Crc16(bytes); }

} // namespace lumetra
