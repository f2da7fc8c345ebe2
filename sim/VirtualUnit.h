#pragma once

#include "comm/Frames.h"
#include "model/MachineType.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace lumetra::sim {

using UnitType = MachineType;

// Misbehaviour a unit can be told to show, each switchable on its own.
struct UnitFaults {
    bool silent = false;           // never answers
    bool wrongChecksum = false;    // LRC or CRC of every reply is off
    int exceptionCode = 0;         // answers every request with this exception
    int garbageBytes = 0;          // noise bytes sent before each reply
    bool missingLf = false;        // ASCII replies end in CR only
    int slowPieces = 0;            // reply split into this many pieces ...
    int pieceGapMs = 50;           // ... this far apart
    bool writeInhibit = false;     // 0x043E says writing is not permitted
};

// A unit's parameter memory, addressed by byte: register a is byte a (low)
// and byte a + 1 (high). Reads at odd addresses follow the same rule.
class VirtualUnit {
public:
    static constexpr std::uint16_t kMemoryBase = 0x0400;
    static constexpr std::size_t kMemorySize = 0x0600; // 0x0400..0x09FF

    explicit VirtualUnit(UnitType type);

    UnitType type() const { return m_type; }
    UnitFaults& faults() { return m_faults; }
    const UnitFaults& faults() const { return m_faults; }

    bool contains(std::uint32_t address, std::uint32_t bytes) const;
    std::uint8_t byteAt(std::uint16_t address) const;
    void setByte(std::uint16_t address, std::uint8_t value);
    std::uint16_t registerAt(std::uint16_t address) const;
    void setRegister(std::uint16_t address, std::uint16_t value);

    // Answers one request (slave ID, function, 4 data bytes) arriving at
    // nowMs with the reply bytes without checksum, or nothing: for the
    // finish command, and while the unit restarts after a download.
    std::optional<Bytes> handle(const Bytes& request, std::int64_t nowMs = 0);

    // A download ends with a write of 1 to 0x0500 (DQ) or 0x0578 (TQ, CQ,
    // XQ); the unit then restarts and answers nothing for this long.
    void setRestartMs(int ms) { m_restartMs = ms; }
    bool restarting(std::int64_t nowMs) const { return nowMs < m_restartUntil; }
    int restartCount() const { return m_restarts; }

    // Present values run by default; frozen, they keep what was stored.
    void setPresentValuesRunning(bool on) { m_presentValuesRun = on; }


    // Restores identification, machine type and write permission.
    void resetIdentity();

private:
    UnitType m_type;
    UnitFaults m_faults;
    int m_restartMs = 1500;
    std::int64_t m_restartUntil = 0;
    int m_restarts = 0;
    bool m_presentValuesRun = true;
    std::optional<std::int64_t> m_startMs; // when the unit first heard anything: its present values run from there
    std::array<std::uint8_t, kMemorySize> m_memory{};
};

} // namespace lumetra::sim
