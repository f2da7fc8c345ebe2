// Feeds both receive loops hostile replies in arbitrary pieces, over a
// scripted port on a fake clock: whatever arrives, a transaction ends with one of its
// result codes and keeps no more than the longest reply there can be.
//
// Input: a flags byte (bit 0 RTU, bit 1 a write, bit 2 the last piece
// repeats for ever, bit 3 the line goes after the last piece), the register
// count, the time-out in 20 ms steps, then pieces of [gap ms][length][bytes].

#include "ScriptedPort.h"

#include "comm/CommSession.h"
#include "comm/RtuReply.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace lumetra;

namespace {

struct Script {
    bool rtu = false;
    bool write = false;
    int count = 1;
    int timeoutMs = 50;
    test::PeerScript peer;
};

Script parse(const std::uint8_t* data, std::size_t size)
{
    Script s;
    if (size < 3)
        return s;
    s.rtu = data[0] & 1;
    s.write = data[0] & 2;
    s.peer.streams = data[0] & 4;
    s.peer.lineGoes = data[0] & 8;
    s.count = std::max<int>(1, data[1]);
    s.timeoutMs = 50 + 20 * data[2];
    std::size_t at = 3;
    int gap = 0;
    while (at + 2 <= size) {
        gap += data[at];
        const std::size_t length = std::min<std::size_t>(data[at + 1], size - at - 2);
        if (length > 0) { // an empty piece is only a longer gap before the next
            s.peer.pieces.push_back({gap, Bytes(data + at + 2, data + at + 2 + length)});
            gap = 0;
        }
        at += 2 + length;
    }
    return s;
}

// The clock moves only when the session waits (and with every read).
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
    CommSession session(host, strings, [&](int) { return std::make_unique<test::ScriptedPort>(host.now, script.peer); });
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
    if (rc == 0 && !script.rtu && !script.peer.lineGoes && (received.empty() || received.back() != '\n'))
        std::abort();
    std::uint16_t value = 0;
    if (rc == 0 && script.rtu && !script.write && !registerFromReply(reply, 0, value))
        std::abort();

    // A pause right after: it drops what still comes and notices a line that goes.
    const int paused = session.PauseMs(script.timeoutMs / 4);
    if (paused != 0 && !(paused == Result::WriteFailed && script.peer.lineGoes))
        std::abort();
    return 0;
}
