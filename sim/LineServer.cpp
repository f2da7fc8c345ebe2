#include "LineServer.h"

#include <cerrno>
#include <cmath>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace lumetra::sim {

namespace {
constexpr double kLongestWaitMs = 60'000;
} // namespace

LineServer::LineServer(VirtualLine& line) : m_line(line), m_wakeFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

LineServer::~LineServer()
{
    closeTcp();
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

double LineServer::nowMs() const
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

bool LineServer::servePty(const std::string& linkPath, std::string& error)
{
    if (!m_pty.create(error))
        return false;
    return linkPath.empty() || m_pty.linkTo(linkPath, error);
}

bool LineServer::serveTcp(int port, std::string& error)
{
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    if (m_listenFd < 0 || ::bind(m_listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0
        || ::listen(m_listenFd, 4) != 0) {
        error = std::string("cannot listen on TCP port ") + std::to_string(port) + ": " + std::strerror(errno);
        return false;
    }
    socklen_t len = sizeof addr;
    ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&addr), &len);
    m_tcpPort = ntohs(addr.sin_port);
    return true;
}

void LineServer::stop()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto n = ::write(m_wakeFd, &one, sizeof one);
}

void LineServer::hangUp() { m_pty.close(); }

void LineServer::closeTcp()
{
    for (int* fd : {&m_clientFd, &m_listenFd}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void LineServer::flushDue()
{
    const Bytes due = m_line.takeDue(nowMs());
    if (due.empty())
        return;
    // Replies go to whichever client spoke last; both ends are served alike.
    for (int fd : {m_pty.masterFd(), m_clientFd})
        if (fd >= 0)
            [[maybe_unused]] const auto n = ::write(fd, due.data(), due.size());
}

void LineServer::run()
{
    std::uint8_t buffer[1024];
    for (;;) {
        std::vector<pollfd> fds{{m_wakeFd, POLLIN, 0}, {m_stopFd, POLLIN, 0}};
        if (m_pty.masterFd() >= 0)
            fds.push_back({m_pty.masterFd(), POLLIN, 0});
        if (m_listenFd >= 0)
            fds.push_back({m_listenFd, POLLIN, 0});
        if (m_clientFd >= 0)
            fds.push_back({m_clientFd, POLLIN, 0});
        // Sleep until the next reply byte is due, to the microsecond; a wait
        // that no clock can express (a line without a speed) is capped, so
        // the stop signal is still heard.
        double due = m_line.msUntilNextDue(nowMs());
        if (!(due < kLongestWaitMs))
            due = kLongestWaitMs;
        timespec timeout{static_cast<time_t>(due / 1000), static_cast<long>(std::fmod(due, 1000.0) * 1e6)};
        ::ppoll(fds.data(), fds.size(), due < 0 ? nullptr : &timeout, nullptr);
        if ((fds[0].revents | fds[1].revents) & POLLIN)
            return;
        for (std::size_t i = 2; i < fds.size(); ++i) {
            if (!fds[i].revents)
                continue;
            if (fds[i].fd == m_listenFd) {
                const int client = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
                if (client >= 0) {
                    if (m_clientFd >= 0)
                        ::close(m_clientFd);
                    m_clientFd = client;
                    const int one = 1;
                    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                }
                continue;
            }
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                m_line.receive(buffer, static_cast<std::size_t>(n), nowMs());
            } else if (fds[i].fd == m_clientFd && (n == 0 || (errno != EAGAIN && errno != EINTR))) {
                ::close(m_clientFd);
                m_clientFd = -1;
            }
        }
        flushDue();
    }
}

} // namespace lumetra::sim
