#include "VirtualUnit.h"

#include "PresentValues.h"


namespace lumetra::sim {

namespace {
constexpr std::uint8_t kIdentification = 0x25;

Bytes exceptionReply(const Bytes& request, int code)
{
    return {request[0], static_cast<std::uint8_t>(request[1] | 0x80), static_cast<std::uint8_t>(code)};
}
} // namespace

VirtualUnit::VirtualUnit(UnitType type) : m_type(type) { resetIdentity(); }

void VirtualUnit::resetIdentity()
{
    setRegister(0x0400, kIdentification);
    setRegister(0x0402, kIdentification);
    setRegister(0x0404, static_cast<std::uint16_t>(static_cast<int>(m_type) << 8 | 0x0A));
    setRegister(0x043E, 1); // writing permitted
}

bool VirtualUnit::contains(std::uint32_t address, std::uint32_t bytes) const
{
    return address >= kMemoryBase && address + bytes <= kMemoryBase + kMemorySize;
}

std::uint8_t VirtualUnit::byteAt(std::uint16_t address) const
{
    return contains(address, 1) ? m_memory[address - kMemoryBase] : 0;
}

void VirtualUnit::setByte(std::uint16_t address, std::uint8_t value)
{
    if (contains(address, 1))
        m_memory[address - kMemoryBase] = value;
}

std::uint16_t VirtualUnit::registerAt(std::uint16_t address) const
{
    return static_cast<std::uint16_t>(byteAt(static_cast<std::uint16_t>(address + 1)) << 8 | byteAt(address));
}

void VirtualUnit::setRegister(std::uint16_t address, std::uint16_t value)
{
    setByte(address, static_cast<std::uint8_t>(value & 0xFF));
    setByte(static_cast<std::uint16_t>(address + 1), static_cast<std::uint8_t>(value >> 8));
}

std::optional<Bytes> VirtualUnit::handle(const Bytes& request, std::int64_t nowMs)
{
    const std::uint8_t function = request[1];
    if (restarting(nowMs))
        return std::nullopt;
    if (!m_startMs)
        m_startMs = nowMs;
    if (function == FunctionCode::ReadHolding && m_presentValuesRun)
        updatePresentValues(*this, nowMs - *m_startMs);
    setRegister(0x043E, m_faults.writeInhibit ? 0 : 1); // the unit's own write permission
    const auto address = static_cast<std::uint16_t>(request[2] << 8 | request[3]);
    if (function == FunctionCode::Finish)
        return std::nullopt;
    if (m_faults.exceptionCode)
        return exceptionReply(request, m_faults.exceptionCode);

    if (function == FunctionCode::ReadHolding) {
        const int count = request[5];
        if (request[4] != 0 || count < 1 || !contains(address, 2U * static_cast<unsigned>(count)))
            return exceptionReply(request, 2);
        Bytes reply{request[0], function, static_cast<std::uint8_t>(2 * count)};
        for (int k = 0; k < count; ++k) {
            const std::uint16_t value = registerAt(static_cast<std::uint16_t>(address + 2 * k));
            reply.push_back(static_cast<std::uint8_t>(value >> 8));
            reply.push_back(static_cast<std::uint8_t>(value & 0xFF));
        }
        return reply;
    }
    if (function == FunctionCode::WriteSingle) {
        if (!contains(address, 2))
            return exceptionReply(request, 2);
        const auto value = static_cast<std::uint16_t>(request[4] << 8 | request[5]);
        setRegister(address, value);
        const std::uint16_t downloadEnd = m_type == UnitType::DQ ? 0x0500 : 0x0578;
        if (address == downloadEnd && value == 1) {
            m_restartUntil = nowMs + m_restartMs;
            ++m_restarts;
        }
        return Bytes(request.begin(), request.begin() + 6);
    }
    return exceptionReply(request, 1);
}

} // namespace lumetra::sim
