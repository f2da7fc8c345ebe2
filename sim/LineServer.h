#pragma once

#include "VirtualLine.h"
#include "platform/Pty.h"

#include <string>

namespace lumetra::sim {

// Serves a virtual line to a real client: on a pseudo-terminal, on a TCP
// port, or both. One poll() loop, no busy waiting; replies leave when due.
class LineServer {
public:
    explicit LineServer(VirtualLine& line);
    ~LineServer();
    LineServer(const LineServer&) = delete;
    LineServer& operator=(const LineServer&) = delete;

    // Creates the pseudo-terminal; its slave path is what clients open.
    bool servePty(const std::string& linkPath, std::string& error);
    const std::string& ptyPath() const { return m_pty.slavePath(); }

    // Listens on 127.0.0.1:port (0 picks a free port; see tcpPort()).
    bool serveTcp(int port, std::string& error);
    int tcpPort() const { return m_tcpPort; }

    // Runs until stop() is called (from any thread) or the stop descriptor
    // (e.g. a signalfd) becomes readable.
    void run();
    void stop();
    void stopWhenReadable(int fd) { m_stopFd = fd; }

    // Closes the pseudo-terminal or the TCP side (not while run() runs):
    // clients see the line vanish.
    void hangUp();
    void closeTcp();

private:
    double nowMs() const;
    void flushDue();

    VirtualLine& m_line;
    Pty m_pty;
    int m_listenFd = -1;
    int m_clientFd = -1;
    int m_tcpPort = 0;
    int m_wakeFd = -1;
    int m_stopFd = -1;
};

} // namespace lumetra::sim
