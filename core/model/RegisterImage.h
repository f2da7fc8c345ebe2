#pragma once

#include "Bcd.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace lumetra {

// The bytes wanted at a block of unit addresses lo..hi, with a write flag
// per byte. Only flagged bytes are written and compared.
class RegisterImage {
public:
    RegisterImage(std::uint16_t lo, std::uint16_t hi, std::uint8_t resetValue = 0xFF, bool resetFlag = false);

    std::uint16_t lo() const { return m_lo; }
    std::uint16_t hi() const { return m_hi; }
    bool contains(std::uint16_t address) const { return address >= m_lo && address <= m_hi; }

    // Back to the reset value and flag, as at the start of every conversion.
    void reset();

    void storeByte(std::uint16_t address, std::uint8_t value);
    // A 16-bit word at an even address: low byte at a, high byte at a + 1.
    void storeWord(std::uint16_t address, std::uint16_t value);
    // A code register: the list index in the low byte, 0 in the high byte.
    void storeCode(std::uint16_t address, int index) { storeWord(address, static_cast<std::uint16_t>(index & 0xFF)); }
    void storeBcd(std::uint16_t address, const BcdBytes& bytes);

    std::uint8_t value(std::uint16_t address) const;
    bool flag(std::uint16_t address) const;

    // (address, word) for every even address of lo..hi whose flag is set, ascending;
    // the word is value(a + 1) * 256 + value(a).
    std::vector<std::pair<std::uint16_t, std::uint16_t>> flaggedWords(std::uint16_t from, std::uint16_t to) const;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> flaggedWords() const { return flaggedWords(m_lo, m_hi); }
    // Every flagged byte address, ascending.
    std::vector<std::uint16_t> flaggedAddresses() const;

private:
    std::size_t index(std::uint16_t address) const { return static_cast<std::size_t>(address - m_lo); }

    std::uint16_t m_lo;
    std::uint16_t m_hi;
    std::uint8_t m_resetValue;
    bool m_resetFlag;
    std::vector<std::uint8_t> m_values;
    std::vector<bool> m_flags;
};

} // namespace lumetra
