#pragma once

#include "VirtualUnit.h"
#include "comm/SerialPort.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>

namespace lumetra::sim {

// One request as the line saw it, for the JSON-lines log.
struct LoggedRequest {
    std::int64_t timeMs = 0;
    int slaveId = 0;
    int function = 0;
    int address = 0;
    int value = 0; // register count for a read
};

std::string toJsonLine(const LoggedRequest& request);

// A multi-drop line: the units on it, the framing they speak, and the bytes
// they send back, each due at a time. Requests are taken from the bytes the
// master sends; a unit answers only its own ID.
class VirtualLine {
public:
    VirtualLine(Protocol protocol, PortSettings settings);

    VirtualUnit& addUnit(int slaveId, UnitType type);
    VirtualUnit* unit(int slaveId);
    const std::map<int, std::unique_ptr<VirtualUnit>>& units() const { return m_units; }

    Protocol protocol() const { return m_protocol; }
    // Paces replies at the character time of the line (and the request's own
    // wire time before the reply starts), as a real line would.
    void setPacing(bool on) { m_pacing = on; }
    double characterTimeMs() const;

    // Called with each request as it is handled.
    void setRequestObserver(std::function<void(const LoggedRequest&)> observer) { m_observer = std::move(observer); }

    // Bytes from the master, arriving at nowMs.
    // Times are milliseconds with a fraction, so fast lines pace exactly.
    void receive(const std::uint8_t* data, std::size_t size, double nowMs);

    // Takes the reply bytes due by nowMs.
    Bytes takeDue(double nowMs);
    // Milliseconds until the next reply byte is due; -1 when none is pending.
    double msUntilNextDue(double nowMs) const;
    bool hasPending() const { return !m_outgoing.empty(); }
    // Bytes of a request still being collected (never more than one request).
    std::size_t pendingInput() const { return m_input.size(); }

private:
    void handleRequest(const Bytes& request, double nowMs, std::size_t wireLength);
    void schedule(const Bytes& frame, const UnitFaults& faults, double startMs);
    void parseAscii(double nowMs);
    void parseRtu(double nowMs);

    struct Chunk {
        double dueMs;
        std::uint8_t byte;
    };

    Protocol m_protocol;
    PortSettings m_settings;
    bool m_pacing = false;
    std::map<int, std::unique_ptr<VirtualUnit>> m_units;
    Bytes m_input;
    double m_lastInputMs = 0;
    std::deque<Chunk> m_outgoing;
    std::function<void(const LoggedRequest&)> m_observer;
};

} // namespace lumetra::sim
