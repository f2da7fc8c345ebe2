#include "LoopbackPort.h"

#include <algorithm>
#include <cmath>

namespace lumetra::sim {

LoopbackPort::LoopbackPort(VirtualLine& line, Clock clock, std::string name)
    : m_line(line), m_clock(std::move(clock)), m_name(std::move(name))
{
}

OpenResult LoopbackPort::open(const PortSettings&)
{
    if (m_open)
        return {OpenStatus::AlreadyOpen, m_name + " is open already."};
    if (m_unplugged)
        return {OpenStatus::Refused, m_name + " is gone."};
    m_open = true;
    return {OpenStatus::Opened, {}};
}

bool LoopbackPort::lineThere()
{
    if (m_unplugged)
        m_open = false; // a port finds its line gone and closes itself
    return m_open;
}

bool LoopbackPort::discardBuffers()
{
    if (!lineThere())
        return false;
    collect();
    m_received.clear();
    return true;
}

bool LoopbackPort::write(const std::uint8_t* data, std::size_t size)
{
    if (!lineThere())
        return false;
    m_line.receive(data, size, static_cast<double>(m_clock()));
    return true;
}

void LoopbackPort::collect()
{
    const Bytes due = m_line.takeDue(static_cast<double>(m_clock()));
    m_received.insert(m_received.end(), due.begin(), due.end());
}

long LoopbackPort::bytesWaiting()
{
    if (!lineThere())
        return -1;
    collect();
    return static_cast<long>(m_received.size());
}

long LoopbackPort::read(std::uint8_t* buffer, std::size_t max)
{
    if (bytesWaiting() < 0)
        return -1;
    const std::size_t n = std::min(max, m_received.size());
    std::copy_n(m_received.begin(), n, buffer);
    m_received.erase(m_received.begin(), m_received.begin() + static_cast<long>(n));
    return static_cast<long>(n);
}

long LoopbackPort::msUntilReadable() const
{
    const double due = m_line.msUntilNextDue(static_cast<double>(m_clock()));
    return due < 0 ? -1 : static_cast<long>(std::ceil(due));
}

} // namespace lumetra::sim
