#include "RegisterImage.h"

namespace lumetra {

RegisterImage::RegisterImage(std::uint16_t lo, std::uint16_t hi, std::uint8_t resetValue, bool resetFlag)
    : m_lo(lo), m_hi(hi), m_resetValue(resetValue), m_resetFlag(resetFlag)
{
    reset();
}

void RegisterImage::reset()
{
    const std::size_t size = static_cast<std::size_t>(m_hi - m_lo + 1);
    m_values.assign(size, m_resetValue);
    m_flags.assign(size, m_resetFlag);
}

void RegisterImage::storeByte(std::uint16_t address, std::uint8_t value)
{
    if (!contains(address))
        return;
    m_values[index(address)] = value;
    m_flags[index(address)] = true;
}

void RegisterImage::storeWord(std::uint16_t address, std::uint16_t value)
{
    storeByte(address, static_cast<std::uint8_t>(value & 0xFF));
    storeByte(static_cast<std::uint16_t>(address + 1), static_cast<std::uint8_t>(value >> 8));
}

void RegisterImage::storeBcd(std::uint16_t address, const BcdBytes& bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i)
        storeByte(static_cast<std::uint16_t>(address + i), bytes[i]);
}

std::uint8_t RegisterImage::value(std::uint16_t address) const
{
    return contains(address) ? m_values[index(address)] : m_resetValue;
}

bool RegisterImage::flag(std::uint16_t address) const { return contains(address) && m_flags[index(address)]; }

std::vector<std::pair<std::uint16_t, std::uint16_t>> RegisterImage::flaggedWords(std::uint16_t from, std::uint16_t to) const
{
    std::vector<std::pair<std::uint16_t, std::uint16_t>> words;
    for (unsigned a = from & ~1U; a <= to; a += 2) {
        const auto address = static_cast<std::uint16_t>(a);
        if (contains(address) && flag(address))
            words.emplace_back(address, static_cast<std::uint16_t>(value(static_cast<std::uint16_t>(a + 1)) << 8 | value(address)));
    }
    return words;
}

std::vector<std::uint16_t> RegisterImage::flaggedAddresses() const
{
    std::vector<std::uint16_t> addresses;
    for (unsigned a = m_lo; a <= m_hi; ++a)
        if (m_flags[index(static_cast<std::uint16_t>(a))])
            addresses.push_back(static_cast<std::uint16_t>(a));
    return addresses;
}

} // namespace lumetra
