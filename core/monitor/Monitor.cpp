#include "Monitor.h"

#include "comm/CommSession.h"
#include "model/MachineType.h"

namespace lumetra {

Monitor::Monitor(CommSession& session) : m_session(session) {}

bool Monitor::readText(std::uint16_t address, int count, std::string& replyText)
{
    if (!m_running) {
        m_result = 1; // stopped while a reply was awaited: end quietly
        return false;
    }
    if (const int rc = m_session.ReadRegisters(address, count, replyText)) {
        m_result = rc;
        return false;
    }
    return true;
}

bool Monitor::read(std::uint16_t address, std::uint16_t& value)
{
    std::string reply;
    if (!readText(address, 1, reply))
        return false;
    if (!registerFromReply(reply, 0, value)) {
        m_result = Result::DataError;
        return false;
    }
    return true;
}

bool Monitor::readDigits(std::uint16_t address, int count, std::string& digits)
{
    std::string reply;
    if (!readText(address, count, reply))
        return false;
    const auto n = static_cast<std::size_t>(4 * count);
    if (reply.size() < 7 + n) {
        m_result = Result::DataError;
        return false;
    }
    digits = reply.substr(7, n);
    return true;
}

int Monitor::Monitor_All()
{
    const int id = m_session.state().DeviceId;
    if (id < 0 || id > 255) {
        m_session.host().setStatusPanel(StatusPanel::General, m_session.strings().text(Text::MsgWrongDeviceId));
        m_session.ShowCommError(Result::WrongDeviceId);
        return 1;
    }
    if (const int rc = m_session.OpenCommPort())
        return rc;
    m_session.state().quietMode = false;
    m_running = true;
    m_result = 0;
    for (std::uint16_t address : {std::uint16_t{0x0400}, std::uint16_t{0x0402}}) {
        std::uint16_t value = 0;
        if (!read(address, value))
            return m_result;
        if ((value & 0xFF) != 0x25) {
            m_session.ShowCommError(Result::MemoryAddressError);
            return 1;
        }
    }
    std::uint16_t type = 0;
    if (!read(0x0404, type))
        return m_result;
    m_sel.machineTypeCode = type >> 8;
    switch (m_sel.machineTypeCode) {
    case 1: return Monitor_DQ();
    case 2: return Monitor_TQ();
    case 3: return Monitor_CQ();
    case 4: {
        std::uint16_t function = 0;
        if (!read(0x0432, function))
            return m_result;
        m_sel.functionSelection = function & 0xFF;
        if (m_sel.functionSelection <= 2)
            return Monitor_TQ();
        if (m_sel.functionSelection <= 8)
            return Monitor_CQ();
        return 1; // a function the unit cannot have: refused without a message
    }
    default:
        m_session.ShowCommError(Result::WrongMachineType);
        return 1;
    }
}

std::string Monitor::typeLine() const
{
    MachineType type{};
    machineTypeFromNumber(m_sel.machineTypeCode, type);
    return m_session.strings().text(Text::TypePrefix) + " : " + machineTypeDisplayName(type) + "\r\n";
}

int Monitor::finishDescription(const std::string& a, const std::string* b)
{
    m_descriptionA = typeLine() + a;
    if (b)
        m_descriptionB = typeLine() + *b;
    m_session.state().quietMode = true;
    m_pollingEnabled = true;
    m_shown = m_work;
    return 0;
}

int Monitor::Timer1_monitor()
{
    if (m_inCycle || !m_pollingEnabled)
        return 0;
    m_inCycle = true;
    m_readFailed = false;
    int rc = Result::Timeout; // what a read on the lost line gives
    if (lineReady()) {
        rc = pollOnce();
        noticeLostLine();
    }
    if (rc != 0 && m_running)
        m_readFailed = true; // quiet mode: no message, the picture keeps its last state
    m_session.host().processEvents();
    m_inCycle = false;
    return rc;
}

int Monitor::pollOnce()
{
    if (m_sel.machineTypeCode == 1)
        return Display_DQ();
    if (m_sel.functionSelection <= 2)
        return Display_TQ();
    if (m_sel.functionSelection <= 8)
        return Display_CQ();
    return 0;
}

bool Monitor::lineReady()
{
    if (!m_lineLost)
        return true;
    const std::int64_t now = m_session.host().tickMs();
    if (now < m_nextReopen)
        return false;
    m_nextReopen = now + m_reopenIntervalMs;
    if (m_session.reopenPort() != 0)
        return false;
    m_lineLost = false;
    return true;
}

void Monitor::noticeLostLine()
{
    if (!m_running || !m_session.lineLost())
        return;
    m_lineLost = true;
    m_nextReopen = m_session.host().tickMs() + m_reopenIntervalMs;
    m_session.host().showLineNotice(kLineLostText, m_session.lineLossReason());
}

void Monitor::stop()
{
    m_pollingEnabled = false;
    m_running = false;
    // A read still waiting (the start's, whose messages are on) ends without
    // a message: the user stopped it.
    m_session.state().quietMode = true;
    m_lineLost = false;
    m_session.closePort();
}

void Monitor::copyAndDraw(bool channelBText)
{
    if (!m_running)
        return;
    m_shown = m_work;
    const PanelState& first = m_shown[0];
    const PanelState& second = m_shown[1];
    m_valueA = ValueText(first.charA, first.dpColA, first.dpA);
    m_valueB = channelBText ? ValueText(second.charA, second.dpColA, second.dpA) : std::string();
    if (onDraw)
        onDraw();
}

} // namespace lumetra
