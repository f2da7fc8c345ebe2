#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumetra {

// Speed, parity, data and stop bits: the "9600,n,8,1" settings string.
struct PortSettings {
    int baud = 9600;
    char parity = 'n'; // 'n', 'o' or 'e'
    int dataBits = 8;  // 7 or 8
    int stopBits = 1;  // 1 or 2

    std::string toString() const;
    // Parses "9600,n,8,1" (parity in either case); false when malformed.
    static bool parse(const std::string& text, PortSettings& out);
    // Bits one character takes on the wire: start + data + parity + stop.
    int bitsPerCharacter() const { return 1 + dataBits + (parity == 'n' ? 0 : 1) + stopBits; }
};

enum class OpenStatus { Opened, AlreadyOpen, Refused };

struct OpenResult {
    OpenStatus status = OpenStatus::Refused;
    std::string reason; // the system's reason, for a detail line
};

// Serial line conditions a backend may report; the settings window maps
// them to its status texts.
enum class LineEvent {
    Break = 1001,
    CtsTimeout = 1002,
    DsrTimeout = 1003,
    Framing = 1004,
    Overrun = 1006,
    CdTimeout = 1007,
    RxOverflow = 1008,
    Parity = 1009,
    TxFull = 1010,
    ConfigFailure = 1011,
};

// Why a port closed itself when its line hung up: an unplugged adapter, a
// peer that ended, a TCP connection the other side closed.
inline constexpr const char* kLineClosedReason = "the line was closed";

// The port object the transactions use. One instance is one line; a
// failure of the line itself (unplugged adapter, dropped connection)
// closes the port, so isOpen() turns false and the waiting transaction
// stops without a time-out.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual OpenResult open(const PortSettings& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // DTR and RTS on; backends without modem lines accept it silently.
    virtual void setDtrRts(bool on) = 0;
    // Drops everything in both directions; false when the line has failed.
    virtual bool discardBuffers() = 0;
    // Sends every byte; false when the line has failed.
    virtual bool write(const std::uint8_t* data, std::size_t size) = 0;
    // Waits until what was written has left the port (a frame that no reply
    // follows must not be discarded by the next transaction).
    virtual void drain() {}
    // Bytes waiting to be read, or -1 when the line has failed.
    virtual long bytesWaiting() = 0;
    // Reads up to max waiting bytes without blocking; -1 when the line has failed.
    virtual long read(std::uint8_t* buffer, std::size_t max) = 0;

    // A descriptor to block on until bytes arrive, or -1 for ports without one.
    virtual int pollFd() const { return -1; }
    // For ports without a descriptor: milliseconds until the next byte is
    // due, or -1 when none is expected.
    virtual long msUntilReadable() const { return -1; }

    // Line conditions seen since the last call.
    virtual std::vector<LineEvent> takeLineEvents() { return {}; }

    // Why the port closed itself (kLineClosedReason, or the system's error);
    // empty unless the line failed since the port was last opened.
    virtual std::string lossReason() const { return {}; }

    virtual std::string name() const = 0;
};

} // namespace lumetra
