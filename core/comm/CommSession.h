#pragma once

#include "CommState.h"
#include "FrameTrace.h"
#include "Host.h"
#include "SerialPort.h"
#include "text/StringTable.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lumetra {

// Makes the port object for a port number ("COM" + n); nullptr when the
// number is mapped to nothing.
using PortProvider = std::function<std::unique_ptr<SerialPort>(int commPort)>;

// The shared routines every exchange with a unit goes through: open the
// port, one read, one write, the finish command, a pause, and turning a
// result code into a message. Holds the communication state and the one
// port; reports through the host.
class CommSession {
public:
    CommSession(Host& host, const StringTable& strings, PortProvider portProvider);
    ~CommSession();
    CommSession(const CommSession&) = delete;
    CommSession& operator=(const CommSession&) = delete;

    CommState& state() { return m_state; }
    const CommState& state() const { return m_state; }
    Host& host() { return m_host; }
    const StringTable& strings() const { return m_strings; }

    int OpenCommPort();
    // Opens the port again after its line was lost, showing nothing: 0, or
    // the code OpenCommPort would give.
    int reopenPort();
    int ReadRegisters(int slaveId, std::uint16_t address, int count, std::string& replyText, Protocol protocol);
    int WriteRegister(int slaveId, std::uint16_t address, std::uint16_t value, Protocol protocol);
    void SendFinishCommand(int slaveId, Protocol protocol);
    // Pauses while events run. A pause with the port open ends as soon as its
    // line goes away and fails as a write on that line does (5); else 0.
    int PauseMs(int ms);
    void ShowCommError(int code);
    void UpdateCommStatus();
    void LockControls(FormId form);
    void UnlockControls(FormId form);

    // The same, addressed to DeviceId with the current protocol.
    int ReadRegisters(std::uint16_t address, int count, std::string& replyText);
    int WriteRegister(std::uint16_t address, std::uint16_t value);

    void closePort();
    bool portIsOpen() const;
    SerialPort* port() { return m_port.get(); }
    // The system's reason for the last refused open, for a detail line.
    const std::string& lastPortError() const { return m_lastPortError; }
    // True when the port closed itself because its line went away (a hang-up,
    // a closed peer) since it was opened; lineLossReason() tells why.
    bool lineLost() const;
    std::string lineLossReason() const;

    // Every frame sent and received goes to the observers.
    int addFrameObserver(FrameObserver observer);
    void removeFrameObserver(int handle);

private:
    enum class Kind { Read, Write };
    int transact(Kind kind, const Bytes& request, std::size_t rtuReplyLength, std::string& replyText,
                 Protocol protocol);
    enum class WaitEnd { Complete, Timeout, LineGone };
    // Reads bytes as they come until consume says the reply is complete, the
    // time-out passes or the line goes away; waits let events run.
    WaitEnd collect(const std::function<bool(const std::uint8_t*, std::size_t)>& consume);
    int receiveAscii(std::string& replyText);
    int receiveRtu(std::size_t expected, std::string& replyText);
    int portFailure(Kind kind);
    int openPort(bool report);
    void showCommError(int code, const std::string& detail);
    void sendFrame(const Bytes& request, Protocol protocol, bool& ok);
    void trace(FrameDirection direction, Bytes bytes);
    void drainLineEvents();

    Host& m_host;
    const StringTable& m_strings;
    PortProvider m_portProvider;
    CommState m_state;
    std::unique_ptr<SerialPort> m_port;
    std::string m_lastPortError;
    std::vector<std::pair<int, FrameObserver>> m_observers;
    int m_nextObserver = 1;
};

// Text of a serial line event for status panel 4 ("Frameing Error" ...);
// empty for conditions the settings window ignores.
std::string lineEventText(LineEvent event);

} // namespace lumetra
