#pragma once

#include "LineServer.h"

#include <string>
#include <thread>

namespace lumetra::test {

// A virtual line served on a real pseudo-terminal (and optionally TCP) by a
// server thread, for tests that go through the operating system's port.
// Configure line() before start(); read the units after stop().
class ServedLine {
public:
    explicit ServedLine(Protocol protocol, PortSettings settings = {}) : m_line(protocol, settings), m_server(m_line) {}
    ~ServedLine() { stop(); }

    sim::VirtualLine& line() { return m_line; }
    sim::LineServer& server() { return m_server; }

    void start(bool tcp = false)
    {
        std::string error;
        if (!m_server.servePty({}, error) || (tcp && !m_server.serveTcp(0, error)))
            throw std::runtime_error(error);
        m_thread = std::thread([this] { m_server.run(); });
    }
    void stop()
    {
        if (m_thread.joinable()) {
            m_server.stop();
            m_thread.join();
        }
    }
    std::string path() const { return m_server.ptyPath(); }
    std::string tcpAddress() const { return "tcp://127.0.0.1:" + std::to_string(m_server.tcpPort()); }

private:
    sim::VirtualLine m_line;
    sim::LineServer m_server;
    std::thread m_thread;
};

} // namespace lumetra::test
