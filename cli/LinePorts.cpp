#include "LinePorts.h"

#include "LoopbackPort.h"

#include "platform/TcpPort.h"

#include <charconv>

namespace lumetra::cli {

LinePorts::LinePorts(PortTable table, Host& host) : m_table(std::move(table)), m_host(host) {}

bool parseNumber(const std::string& text, long min, long max, long& out)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    long value = 0;
    auto [p, ec] = std::from_chars(first, last, value, hex ? 16 : 10);
    if (ec != std::errc() || p != last || first == last || value < min || value > max)
        return false;
    out = value;
    return true;
}

bool LinePorts::choose(const std::string& port, CommState& state, std::string& error)
{
    if (port.rfind("sim:", 0) == 0) {
        sim::UnitType type{};
        if (!parseMachineType(port.substr(4), type)) {
            error = "unknown virtual unit type in '" + port + "' (use sim:DQ, sim:TQ, sim:CQ or sim:XQ)";
            return false;
        }
        m_line = std::make_unique<sim::VirtualLine>(state.protocol, state.portSettings());
        m_line->addUnit(state.DeviceId, type);
        m_table.map(state.CommPort, port);
        return true;
    }
    if (port.size() > 3 && (port.rfind("COM", 0) == 0 || port.rfind("com", 0) == 0)) {
        long n = 0;
        if (!parseNumber(port.substr(3), 1, PortTable::kPortCount, n)) {
            error = "port '" + port + "' is not one of COM1..COM16";
            return false;
        }
        state.CommPort = static_cast<int>(n);
        return true;
    }
    std::string host;
    std::string service;
    if (port.rfind("tcp://", 0) == 0 && !TcpPort::parseAddress(port, host, service)) {
        error = "'" + port + "' is not tcp://HOST:PORT with PORT 1..65535";
        return false;
    }
    m_table.map(state.CommPort, port);
    return true;
}

PortProvider LinePorts::provider()
{
    return [this](int commPort) -> std::unique_ptr<SerialPort> {
        const std::string& device = m_table.device(commPort);
        if (m_line && device.rfind("sim:", 0) == 0)
            return std::make_unique<sim::LoopbackPort>(*m_line, [this] { return m_host.tickMs(); }, device);
        return makeDevicePort(device);
    };
}

} // namespace lumetra::cli
