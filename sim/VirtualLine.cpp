#include "VirtualLine.h"

#include "comm/Crc16.h"

#include <algorithm>
#include <cmath>

namespace lumetra::sim {

namespace {
constexpr std::size_t kRequestBytes = 6;
// ":" + 12 hex digits of request + 2 of LRC + CR LF
constexpr std::size_t kAsciiRequestLength = 1 + 2 * kRequestBytes + 2 + 2;
// A gap this long between bytes ends a partial frame (a master that gave up).
constexpr double kFrameResetGapMs = 500;
constexpr std::uint8_t kNoise[] = {0x00, 0xFF, 0x3F, 0x7E, 0xA5};
} // namespace

std::string toJsonLine(const LoggedRequest& r)
{
    std::string line = "{\"t\":" + std::to_string(r.timeMs) + ",\"id\":" + std::to_string(r.slaveId)
        + ",\"fn\":" + std::to_string(r.function) + ",\"addr\":" + std::to_string(r.address);
    if (r.function == FunctionCode::ReadHolding)
        line += ",\"count\":" + std::to_string(r.value);
    else if (r.function == FunctionCode::WriteSingle)
        line += ",\"value\":" + std::to_string(r.value);
    return line + "}";
}

VirtualLine::VirtualLine(Protocol protocol, PortSettings settings) : m_protocol(protocol), m_settings(settings) {}

VirtualUnit& VirtualLine::addUnit(int slaveId, UnitType type)
{
    auto& slot = m_units[slaveId];
    slot = std::make_unique<VirtualUnit>(type);
    return *slot;
}

VirtualUnit* VirtualLine::unit(int slaveId)
{
    const auto it = m_units.find(slaveId);
    return it == m_units.end() ? nullptr : it->second.get();
}

double VirtualLine::characterTimeMs() const
{
    return 1000.0 * m_settings.bitsPerCharacter() / m_settings.baud;
}

void VirtualLine::receive(const std::uint8_t* data, std::size_t size, double nowMs)
{
    if (!m_input.empty() && nowMs - m_lastInputMs > kFrameResetGapMs)
        m_input.clear();
    m_lastInputMs = nowMs;
    m_input.insert(m_input.end(), data, data + size);
    if (m_protocol == Protocol::Ascii)
        parseAscii(nowMs);
    else
        parseRtu(nowMs);
}

void VirtualLine::parseAscii(double nowMs)
{
    for (;;) {
        const auto colon = std::find(m_input.begin(), m_input.end(), ':');
        m_input.erase(m_input.begin(), colon); // noise before a frame
        const auto lf = std::find(m_input.begin(), m_input.end(), '\n');
        if (lf == m_input.end()) {
            if (m_input.size() < kAsciiRequestLength)
                return;
            // Longer than any request without its end: noise; look for the next ':'.
            m_input.erase(m_input.begin());
            continue;
        }
        const std::string frame(m_input.begin(), lf + 1);
        m_input.erase(m_input.begin(), lf + 1);
        if (frame.size() != kAsciiRequestLength || frame[frame.size() - 2] != '\r')
            continue;
        Bytes request;
        bool hex = true;
        for (std::size_t i = 1; request.size() < kRequestBytes; i += 2) {
            std::uint8_t b = 0;
            hex = hex && parseHexByte(frame, i, b);
            request.push_back(b);
        }
        std::uint8_t lrc = 0;
        if (!hex || !parseHexByte(frame, 1 + 2 * kRequestBytes, lrc) || lrc != lrcOf(request))
            continue; // a unit ignores a frame it cannot trust
        handleRequest(request, nowMs, frame.size());
    }
}

void VirtualLine::parseRtu(double nowMs)
{
    // Every request of this protocol is six bytes and a CRC.
    while (m_input.size() >= kRequestBytes + 2) {
        const Bytes request(m_input.begin(), m_input.begin() + kRequestBytes);
        const std::uint16_t crc = Crc16(request);
        if (m_input[6] != (crc >> 8) || m_input[7] != (crc & 0xFF)) {
            m_input.erase(m_input.begin()); // resynchronise on the next byte
            continue;
        }
        m_input.erase(m_input.begin(), m_input.begin() + kRequestBytes + 2);
        handleRequest(request, nowMs, kRequestBytes + 2);
    }
}

void VirtualLine::handleRequest(const Bytes& request, double nowMs, std::size_t wireLength)
{
    VirtualUnit* u = unit(request[0]);
    if (!u)
        return;
    if (m_observer) {
        LoggedRequest r{static_cast<std::int64_t>(nowMs), request[0], request[1], request[2] << 8 | request[3], request[4] << 8 | request[5]};
        m_observer(r);
    }
    const std::optional<Bytes> reply = u->handle(request, static_cast<std::int64_t>(nowMs));
    if (!reply || u->faults().silent)
        return;

    Bytes frame;
    if (m_protocol == Protocol::Ascii) {
        std::string text(1, ':');
        text += toHexText(*reply) + toHexText({lrcOf(*reply)});
        if (u->faults().wrongChecksum)
            text.back() = text.back() == '0' ? '1' : '0';
        text += u->faults().missingLf ? "\r" : "\r\n";
        frame.assign(text.begin(), text.end());
    } else {
        frame = buildRtuFrame(*reply);
        if (u->faults().wrongChecksum)
            frame.back() ^= 0xFF;
    }
    if (u->faults().garbageBytes > 0) {
        Bytes noise;
        for (int i = 0; i < u->faults().garbageBytes; ++i)
            noise.push_back(kNoise[static_cast<std::size_t>(i) % sizeof kNoise]);
        frame.insert(frame.begin(), noise.begin(), noise.end());
    }
    // A paced line delivers the request's last byte only after its wire time.
    const double startMs = nowMs + (m_pacing ? characterTimeMs() * static_cast<double>(wireLength) : 0.0);
    schedule(frame, u->faults(), startMs);
}

void VirtualLine::schedule(const Bytes& frame, const UnitFaults& faults, double startMs)
{
    const double charMs = m_pacing ? characterTimeMs() : 0.0;
    const std::size_t pieces = faults.slowPieces > 1 ? static_cast<std::size_t>(faults.slowPieces) : 1;
    const std::size_t pieceSize = (frame.size() + pieces - 1) / pieces;
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const double due = startMs + charMs * static_cast<double>(i + 1)
            + static_cast<double>(i / pieceSize) * faults.pieceGapMs * (pieces > 1 ? 1 : 0);
        m_outgoing.push_back({due, frame[i]});
    }
}

Bytes VirtualLine::takeDue(double nowMs)
{
    Bytes out;
    while (!m_outgoing.empty() && m_outgoing.front().dueMs <= nowMs) {
        out.push_back(m_outgoing.front().byte);
        m_outgoing.pop_front();
    }
    return out;
}

double VirtualLine::msUntilNextDue(double nowMs) const
{
    if (m_outgoing.empty())
        return -1;
    return std::max(0.0, m_outgoing.front().dueMs - nowMs);
}

} // namespace lumetra::sim
