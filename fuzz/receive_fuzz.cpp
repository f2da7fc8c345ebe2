// Feeds both receive loops hostile replies in arbitrary pieces, over a fake
// port on a fake clock: whatever arrives, a transaction ends with one of its
// result codes and keeps no more than the longest reply there can be.
//
// Input: a flags byte (bit 0 RTU, bit 1 a write, bit 2 the last piece
// repeats for ever, bit 3 the line goes after the last piece), the register
// count, the time-out in 20 ms steps, then pieces of [gap ms][length][bytes].

#include "comm/CommSession.h"
#include "comm/Frames.h"
#include "comm/RtuReply.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace lumetra;

namespace {

struct Piece {
    int gapMs = 0;
    Bytes bytes;
};

struct Script {
    bool rtu = false;
    bool write = false;
    bool streams = false;
    bool lineGoes = false;
    int count = 1;
    int timeoutMs = 50;
    std::vector<Piece> pieces;
};

Script parse(const std::uint8_t* data, std::size_t size)
{
    Script s;
    if (size < 3)
        return s;
    s.rtu = data[0] & 1;
    s.write = data[0] & 2;
    s.streams = data[0] & 4;
    s.lineGoes = data[0] & 8;
    s.count = std::max<int>(1, data[1]);
    s.timeoutMs = 50 + 20 * data[2];
    std::size_t at = 3;
    int gap = 0;
    while (at + 2 <= size) {
        gap += data[at];
        const std::size_t length = std::min<std::size_t>(data[at + 1], size - at - 2);
        if (length > 0) // an empty piece is only a longer gap before the next
            s.pieces.push_back({gap, Bytes(data + at + 2, data + at + 2 + length)});
        at += 2 + length;
        gap = length > 0 ? 0 : gap;
    }
    return s;
}

// The clock moves only when the session waits, and a millisecond with
// every read, as bytes take their time on a line.
struct FakeHost : Host {
    std::int64_t now = 1'000'000;
    MessageAnswer showMessage(const Message&) override { return MessageAnswer::Ok; }
    void setStatusPanel(int, const std::string&) override {}
    void lockControls(FormId) override {}
    void unlockControls(FormId) override {}
    std::int64_t tickMs() override { return now; }
    void sleepMs(int ms) override { now += std::max(ms, 0); }
    void processEvents() override {}
    void runEventsFor(int ms) override { now += std::max(ms, 1); }
    void waitForPort(SerialPort& port, int ms) override
    {
        const long due = port.msUntilReadable();
        now += std::max<long>(1, due >= 0 && due < ms ? due : ms);
    }
};

// Answers every request with the script's pieces, each due its gap after
// the one before.
class ScriptedPort : public SerialPort {
public:
    ScriptedPort(FakeHost& host, const Script& script) : m_host(host), m_script(script) {}

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
        m_dueAt = m_host.now + gap();
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
        return m_host.now >= m_dueAt ? static_cast<long>(current().size() - m_offset) : 0;
    }
    long read(std::uint8_t* buffer, std::size_t max) override
    {
        const long waiting = bytesWaiting();
        if (waiting <= 0)
            return waiting;
        const std::size_t n = std::min(max, static_cast<std::size_t>(waiting));
        std::copy_n(current().begin() + static_cast<long>(m_offset), n, buffer);
        m_offset += n;
        m_host.now += 1;
        if (m_offset == current().size())
            next();
        return static_cast<long>(n);
    }
    long msUntilReadable() const override
    {
        if (m_piece >= m_script.pieces.size())
            return -1;
        return static_cast<long>(std::max<std::int64_t>(0, m_dueAt - m_host.now));
    }
    std::string lossReason() const override { return m_gone ? kLineClosedReason : ""; }
    std::string name() const override { return "scripted"; }

private:
    const Bytes& current() const { return m_script.pieces[m_piece].bytes; }
    int gap() const { return m_piece < m_script.pieces.size() ? m_script.pieces[m_piece].gapMs : 0; }
    void next()
    {
        m_offset = 0;
        // A streaming peer sends its last piece again and again.
        if (!(m_script.streams && m_piece + 1 == m_script.pieces.size()))
            ++m_piece;
        m_dueAt = m_host.now + gap();
    }

    FakeHost& m_host;
    const Script& m_script;
    bool m_open = false;
    bool m_gone = false;
    std::size_t m_piece = 0;
    std::size_t m_offset = 0;
    std::int64_t m_dueAt = 0;
};

bool isJudgement(int code)
{
    return code == 0 || code == 3 || code == 12 || code == 23 || code == 28 || code == 29;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Script script = parse(data, size);
    FakeHost host;
    StringTable strings;
    CommSession session(host, strings, [&](int) { return std::make_unique<ScriptedPort>(host, script); });
    session.state().protocol = script.rtu ? Protocol::Rtu : Protocol::Ascii;
    session.state().TimeoutMs = script.timeoutMs;
    session.state().quietMode = true;
    std::size_t kept = 0;
    Bytes received;
    session.addFrameObserver([&](const FrameRecord& r) {
        if (r.direction == FrameDirection::Received) {
            kept = std::max(kept, r.bytes.size());
            received = r.bytes;
        }
    });
    if (session.OpenCommPort() != 0)
        std::abort();

    std::string reply;
    const std::int64_t start = host.now;
    const int rc = script.write ? session.WriteRegister(0x0404, 0x1234)
                                : session.ReadRegisters(0x0404, script.count, reply);
    if (!isJudgement(rc))
        std::abort();
    // What the session keeps is bounded whatever the peer sends ...
    if (reply.size() > kLongestAsciiReply || kept > std::max(kLongestAsciiReply, rtuReadReplyLength(255) + 1))
        std::abort();
    // ... and so is the time it takes: the time-out and one read late at most.
    if (host.now - start > script.timeoutMs + 2)
        std::abort();
    // An accepted ASCII reply ends with its LF, unless the line went: then
    // what came is judged. An accepted RTU read carries its first register.
    if (rc == 0 && !script.rtu && !script.lineGoes && (received.empty() || received.back() != '\n'))
        std::abort();
    std::uint16_t value = 0;
    if (rc == 0 && script.rtu && !script.write && !registerFromReply(reply, 0, value))
        std::abort();

    // A pause right after: it drops what still comes and notices a line that goes.
    const int paused = session.PauseMs(script.timeoutMs / 4);
    if (paused != 0 && !(paused == Result::WriteFailed && script.lineGoes))
        std::abort();
    return 0;
}
