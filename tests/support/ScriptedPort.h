#pragma once

#include "comm/Frames.h"
#include "comm/SerialPort.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace lumetra::test {

// What a scripted peer sends after every request: pieces (none empty), each
// due its gap after the one before. It may send its last piece again and again (a slave
// or device server gone mad), or go away after its last piece.
struct PeerScript {
    struct Piece {
        int gapMs = 0;
        Bytes bytes;
    };
    std::vector<Piece> pieces;
    bool streams = false;
    bool lineGoes = false;
};

// A port whose peer follows a script, on a fake clock that moves a
// millisecond with every read, as bytes take their time on a line.
class ScriptedPort : public SerialPort {
public:
    ScriptedPort(std::int64_t& now, PeerScript script) : m_now(now), m_script(std::move(script)) {}

    OpenResult open(const PortSettings&) override
    {
        m_open = true;
        return {OpenStatus::Opened, {}};
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void setDtrRts(bool) override {}
    bool discardBuffers() override { return m_open; }
    bool write(const std::uint8_t*, std::size_t) override
    {
        m_piece = 0;
        m_offset = 0;
        m_dueAt = m_now + gap();
        return m_open;
    }
    long bytesWaiting() override
    {
        if (!m_open)
            return -1;
        if (m_piece >= m_script.pieces.size()) {
            if (!m_script.lineGoes || m_script.pieces.empty())
                return 0;
            m_open = false;
            m_gone = true;
            return -1;
        }
        return m_now >= m_dueAt ? static_cast<long>(current().size() - m_offset) : 0;
    }
    long read(std::uint8_t* buffer, std::size_t max) override
    {
        const long waiting = bytesWaiting();
        if (waiting <= 0)
            return waiting;
        const std::size_t n = std::min(max, static_cast<std::size_t>(waiting));
        std::copy_n(current().begin() + static_cast<long>(m_offset), n, buffer);
        m_offset += n;
        handedOut += n;
        m_now += 1;
        if (m_offset == current().size())
            next();
        return static_cast<long>(n);
    }
    long msUntilReadable() const override
    {
        if (m_piece >= m_script.pieces.size())
            return -1;
        return static_cast<long>(std::max<std::int64_t>(0, m_dueAt - m_now));
    }
    std::string lossReason() const override { return m_gone ? kLineClosedReason : ""; }
    std::string name() const override { return "scripted"; }

    std::size_t handedOut = 0;

private:
    const Bytes& current() const { return m_script.pieces[m_piece].bytes; }
    int gap() const { return m_piece < m_script.pieces.size() ? m_script.pieces[m_piece].gapMs : 0; }
    void next()
    {
        m_offset = 0;
        if (!(m_script.streams && m_piece + 1 == m_script.pieces.size()))
            ++m_piece;
        m_dueAt = m_now + gap();
    }

    std::int64_t& m_now;
    PeerScript m_script;
    bool m_open = false;
    bool m_gone = false;
    std::size_t m_piece = 0;
    std::size_t m_offset = 0;
    std::int64_t m_dueAt = 0;
};

} // namespace lumetra::test
