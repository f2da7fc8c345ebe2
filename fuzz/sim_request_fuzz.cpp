// Bytes from a master reach the simulator's line in pieces of any size:
// requests are found in any noise, the line never holds more than one
// request's bytes, and every reply is a frame the master accepts (no fault
// is switched on).

#include "VirtualLine.h"

#include "comm/Crc16.h"
#include "comm/Frames.h"

#include <cstdlib>

using namespace lumetra;
using namespace lumetra::sim;

namespace {

void checkAsciiReplies(const Bytes& out, std::string& partial)
{
    partial.append(out.begin(), out.end());
    for (auto lf = partial.find('\n'); lf != std::string::npos; lf = partial.find('\n')) {
        const std::string frame = partial.substr(0, lf + 1);
        partial.erase(0, lf + 1);
        const int rc = judgeAsciiReply(frame);
        if (rc != 0 && rc != exceptionResult(1) && rc != exceptionResult(2) && rc != exceptionResult(4))
            std::abort();
    }
}

// RTU replies: read (5 + byte count), write echo (8), exception (5).
void checkRtuReplies(const Bytes& out, Bytes& partial)
{
    partial.insert(partial.end(), out.begin(), out.end());
    while (partial.size() >= 5) {
        const std::size_t length = partial[1] & 0x80 ? 5 : partial[1] == FunctionCode::ReadHolding ? 5u + partial[2] : 8u;
        if (partial.size() < length)
            return;
        const Bytes body(partial.begin(), partial.begin() + static_cast<long>(length) - 2);
        const std::uint16_t crc = Crc16(body);
        if (partial[length - 2] != (crc >> 8) || partial[length - 1] != (crc & 0xFF))
            std::abort();
        partial.erase(partial.begin(), partial.begin() + static_cast<long>(length));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const Protocol protocol = data[0] & 1 ? Protocol::Rtu : Protocol::Ascii;
    VirtualLine line(protocol, PortSettings{});
    line.addUnit(1, UnitType::DQ);
    line.addUnit(2, UnitType::TQ);
    line.addUnit(3, UnitType::CQ);
    line.addUnit(0x3A, UnitType::XQ); // ':' as a slave ID
    for (auto& [id, unit] : line.units())
        unit->setRestartMs(0);
    std::string asciiPartial;
    Bytes rtuPartial;
    double now = 0;
    // Each piece: a length byte, then that many bytes of the request stream.
    for (std::size_t pos = 1; pos < size;) {
        const std::size_t length = std::min<std::size_t>(1 + data[pos] % 32, size - pos - 1);
        line.receive(data + pos + 1, length, now);
        pos += 1 + length;
        if (line.pendingInput() > (protocol == Protocol::Ascii ? 17u : 7u))
            std::abort();
        now += data[pos - 1] & 0x40 ? 600 : 1; // now and then a gap that ends a partial frame
        const Bytes out = line.takeDue(now + 1e9);
        if (protocol == Protocol::Ascii)
            checkAsciiReplies(out, asciiPartial);
        else
            checkRtuReplies(out, rtuPartial);
    }
    return 0;
}
