#include "CommSession.h"

#include "Crc16.h"
#include "RtuReply.h"

#include <algorithm>
#include <cstdio>

namespace lumetra {

CommSession::CommSession(Host& host, const StringTable& strings, PortProvider portProvider)
    : m_host(host), m_strings(strings), m_portProvider(std::move(portProvider))
{
}

CommSession::~CommSession() { closePort(); }

int CommSession::OpenCommPort() { return openPort(true); }

int CommSession::reopenPort()
{
    closePort();
    return openPort(false);
}

int CommSession::openPort(bool report)
{
    auto fail = [this, report](int code) {
        if (report)
            ShowCommError(code); // shown even in quiet mode
        return code;
    };
    m_lastPortError.clear();
    if (m_state.CommPort < 1)
        return fail(Result::CommError);
    if (m_port && m_port->isOpen()) {
        m_lastPortError = m_port->name() + " is open already.";
        return fail(Result::PortAlreadyOpen);
    }
    m_port = m_portProvider ? m_portProvider(m_state.CommPort) : nullptr;
    if (!m_port) {
        m_lastPortError = "COM" + std::to_string(m_state.CommPort) + " is not mapped to a device.";
        return fail(Result::CommError);
    }
    const OpenResult opened = m_port->open(m_state.portSettings());
    if (opened.status != OpenStatus::Opened) {
        m_lastPortError = opened.reason;
        if (opened.status == OpenStatus::AlreadyOpen)
            return fail(Result::PortAlreadyOpen);
        m_port->close();
        return fail(Result::CommError);
    }
    m_port->setDtrRts(true);
    return Result::Ok;
}

void CommSession::closePort()
{
    if (m_port && m_port->isOpen()) {
        m_host.interruptPortWaits();
        m_port->close();
    }
}

bool CommSession::portIsOpen() const { return m_port && m_port->isOpen(); }

bool CommSession::lineLost() const { return m_port && !m_port->isOpen() && !m_port->lossReason().empty(); }

std::string CommSession::lineLossReason() const { return lineLost() ? m_port->lossReason() : std::string(); }

int CommSession::ReadRegisters(int slaveId, std::uint16_t address, int count, std::string& replyText,
                               Protocol protocol)
{
    const Bytes request = buildReadRequest(static_cast<std::uint8_t>(slaveId), address, static_cast<std::uint8_t>(count));
    return transact(Kind::Read, request, rtuReadReplyLength(count), replyText, protocol);
}

int CommSession::WriteRegister(int slaveId, std::uint16_t address, std::uint16_t value, Protocol protocol)
{
    std::string replyText;
    const Bytes request = buildWriteRequest(static_cast<std::uint8_t>(slaveId), address, value);
    return transact(Kind::Write, request, kRtuWriteReplyLength, replyText, protocol);
}

int CommSession::ReadRegisters(std::uint16_t address, int count, std::string& replyText)
{
    return ReadRegisters(m_state.DeviceId, address, count, replyText, m_state.protocol);
}

int CommSession::WriteRegister(std::uint16_t address, std::uint16_t value)
{
    return WriteRegister(m_state.DeviceId, address, value, m_state.protocol);
}

int CommSession::transact(Kind kind, const Bytes& request, std::size_t rtuReplyLength, std::string& replyText,
                          Protocol protocol)
{
    m_host.setStatusPanel(StatusPanel::Transfer, kind == Kind::Write ? "Write..." : "Read...");
    replyText.clear();
    if (!m_port || !m_port->isOpen() || !m_port->discardBuffers())
        return portFailure(kind);
    bool sent = false;
    sendFrame(request, protocol, sent);
    if (!sent)
        return portFailure(kind);

    const int result = protocol == Protocol::Ascii ? receiveAscii(replyText) : receiveRtu(rtuReplyLength, replyText);
    m_state.LastResult = result;
    if (result != Result::Ok && !m_state.quietMode) {
        if (kind == Kind::Write) {
            m_host.setStatusPanel(StatusPanel::Transfer, "Write Error");
            showCommError(result, lineLossReason());
        } else {
            showCommError(result, lineLossReason());
            m_host.setStatusPanel(StatusPanel::Transfer, "Read Error");
        }
        closePort();
    }
    m_host.sleepMs(m_state.CommDelayMs);
    return result;
}

int CommSession::portFailure(Kind kind)
{
    const int code = kind == Kind::Read ? Result::Timeout : Result::WriteFailed;
    m_state.LastResult = code;
    if (!m_state.quietMode) {
        showCommError(code, lineLossReason());
        if (kind == Kind::Read)
            m_host.setStatusPanel(StatusPanel::Transfer, "Read Error");
        closePort();
    }
    return code;
}

void CommSession::sendFrame(const Bytes& request, Protocol protocol, bool& ok)
{
    Bytes frame;
    if (protocol == Protocol::Ascii) {
        const std::string text = BuildAsciiFrame(toHexText(request));
        frame.assign(text.begin(), text.end());
    } else {
        frame = buildRtuFrame(request);
    }
    ok = m_port->write(frame.data(), frame.size());
    trace(FrameDirection::Sent, std::move(frame));
}

CommSession::WaitEnd CommSession::collect(const std::function<bool(const std::uint8_t*, std::size_t)>& consume)
{
    const std::int64_t deadline = m_host.tickMs() + m_state.TimeoutMs;
    std::uint8_t buffer[600];
    while (m_port->isOpen()) {
        const std::int64_t now = m_host.tickMs();
        if (now > deadline)
            return WaitEnd::Timeout;
        const long waiting = m_port->bytesWaiting();
        drainLineEvents();
        if (waiting > 0) {
            const long n = m_port->read(buffer, sizeof buffer);
            if (n > 0 && consume(buffer, static_cast<std::size_t>(n)))
                return WaitEnd::Complete;
        } else if (waiting == 0) {
            m_host.waitForPort(*m_port, static_cast<int>(deadline - now + 1));
        } else {
            break;
        }
    }
    return WaitEnd::LineGone;
}

int CommSession::receiveAscii(std::string& replyText)
{
    // The reply ends with its LF; whatever follows belongs to nobody and the
    // next transaction discards it as it starts. A text that reaches the
    // longest reply there can be without its LF never completes: it ends
    // there, as a reply without its LF does (3), but at once.
    const WaitEnd end = collect([&](const std::uint8_t* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            replyText += static_cast<char>(data[i]);
            if (data[i] == '\n' || replyText.size() == kLongestAsciiReply)
                return true;
        }
        return false;
    });
    trace(FrameDirection::Received, Bytes(replyText.begin(), replyText.end()));
    if (end == WaitEnd::Timeout || (end == WaitEnd::Complete && replyText.back() != '\n'))
        return Result::Timeout;
    // A line that went away is judged on what came, as a closed port is.
    return judgeAsciiReply(replyText);
}

int CommSession::receiveRtu(std::size_t expected, std::string& replyText)
{
    RtuReplyCollector collector(expected);
    std::optional<int> result;
    const WaitEnd end = collect([&](const std::uint8_t* data, std::size_t size) {
        result = collector.feed(data, size);
        return result.has_value();
    });
    trace(FrameDirection::Received, collector.bytes());
    if (end != WaitEnd::Complete)
        return Result::Timeout;
    if (*result == Result::Ok)
        replyText = collector.replyText();
    return *result;
}

void CommSession::SendFinishCommand(int slaveId, Protocol protocol)
{
    if (!m_port || !m_port->isOpen())
        return;
    bool sent = false;
    sendFrame(buildFinishRequest(static_cast<std::uint8_t>(slaveId)), protocol, sent);
    if (sent)
        m_port->drain();
}

int CommSession::PauseMs(int ms)
{
    // The start is taken ms ahead, so the pause lasts twice its argument.
    const std::int64_t start = m_host.tickMs() + ms;
    std::uint8_t sink[600];
    for (;;) {
        const std::int64_t elapsed = m_host.tickMs() - start;
        if (elapsed >= ms)
            return Result::Ok;
        const int left = static_cast<int>(ms - elapsed);
        if (lineLost())
            return portFailure(Kind::Write);
        if (!portIsOpen()) {
            m_host.runEventsFor(left);
            continue;
        }
        // Waiting on the port rather than the clock alone wakes the pause
        // when the line goes away. Nobody awaits bytes now: they are dropped
        // as the next transaction would drop them.
        const long waiting = m_port->bytesWaiting();
        if (waiting < 0)
            return portFailure(Kind::Write);
        if (waiting == 0) {
            m_host.waitForPort(*m_port, left);
            continue;
        }
        const long n = m_port->read(sink, sizeof sink);
        if (n > 0)
            trace(FrameDirection::Received, Bytes(sink, sink + n));
    }
}

void CommSession::ShowCommError(int code)
{
    const bool refusedOpen = code == Result::CommError || code == Result::PortAlreadyOpen;
    showCommError(code, refusedOpen ? m_lastPortError : std::string());
}

void CommSession::showCommError(int code, const std::string& detail)
{
    const ResultMessage rm = resultMessage(code, m_strings);
    Message m;
    m.text = rm.text;
    m.title = rm.title;
    m.icon = rm.icon;
    m.detail = detail;
    m_host.showMessage(m);
}

void CommSession::UpdateCommStatus()
{
    char id[8];
    std::snprintf(id, sizeof id, "%02X", static_cast<unsigned>(m_state.DeviceId) & 0xFFU);
    m_host.setStatusPanel(StatusPanel::Port, "COM" + std::to_string(m_state.CommPort) + " , " + m_state.CommSettingsText);
    m_host.setStatusPanel(StatusPanel::SlaveId, std::string("Device ID(Hex) : ") + id);
}

void CommSession::LockControls(FormId form) { m_host.lockControls(form); }
void CommSession::UnlockControls(FormId form) { m_host.unlockControls(form); }

int CommSession::addFrameObserver(FrameObserver observer)
{
    m_observers.emplace_back(m_nextObserver, std::move(observer));
    return m_nextObserver++;
}

void CommSession::removeFrameObserver(int handle)
{
    std::erase_if(m_observers, [handle](const auto& o) { return o.first == handle; });
}

void CommSession::trace(FrameDirection direction, Bytes bytes)
{
    if (m_observers.empty())
        return;
    const FrameRecord record{m_host.tickMs(), direction, std::move(bytes)};
    for (const auto& o : m_observers)
        o.second(record);
}

void CommSession::drainLineEvents()
{
    for (LineEvent e : m_port->takeLineEvents()) {
        const std::string text = lineEventText(e);
        if (!text.empty())
            m_host.setStatusPanel(StatusPanel::Transfer, text);
    }
}

std::string lineEventText(LineEvent event)
{
    switch (event) {
    case LineEvent::Break: return "Receive Error";
    case LineEvent::CtsTimeout:
    case LineEvent::DsrTimeout:
    case LineEvent::CdTimeout: return "Timeout";
    case LineEvent::Framing: return "Frameing Error";
    case LineEvent::Overrun: return "Data lost";
    case LineEvent::RxOverflow: return "Receive buffer overflow";
    case LineEvent::Parity: return "Parity Error";
    case LineEvent::TxFull: return "Transmit buffer full";
    case LineEvent::ConfigFailure: return "Receive Error!";
    }
    return {};
}

} // namespace lumetra
