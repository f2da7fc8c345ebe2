#include "TcpPort.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumetra {

TcpPort::TcpPort(std::string host, std::string port, int connectTimeoutMs)
    : m_host(std::move(host)), m_port(std::move(port)), m_connectTimeoutMs(connectTimeoutMs)
{
}

bool TcpPort::parseAddress(const std::string& address, std::string& host, std::string& port)
{
    const std::string scheme = "tcp://";
    if (address.rfind(scheme, 0) != 0)
        return false;
    const std::string rest = address.substr(scheme.size());
    const auto colon = rest.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == rest.size())
        return false;
    host = rest.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    port = rest.substr(colon + 1);
    if (port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int number = std::stoi(port);
    return number >= 1 && number <= 65535;
}

OpenResult TcpPort::open(const PortSettings&)
{
    if (m_fd >= 0)
        return {OpenStatus::AlreadyOpen, name() + " is open already."};
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int rc = ::getaddrinfo(m_host.c_str(), m_port.c_str(), &hints, &found); rc != 0)
        return {OpenStatus::Refused, name() + ": " + ::gai_strerror(rc)};
    std::string reason = name() + ": no address";
    for (addrinfo* ai = found; ai; ai = ai->ai_next) {
        const int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0)
            continue;
        int error = 0;
        if (::connect(fd, ai->ai_addr, ai->ai_addrlen) != 0) {
            error = errno;
            if (error == EINPROGRESS) {
                pollfd p{fd, POLLOUT, 0};
                socklen_t len = sizeof error;
                error = ::poll(&p, 1, m_connectTimeoutMs) == 1 ? 0 : ETIMEDOUT;
                if (!error)
                    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len);
            }
        }
        if (!error) {
            const int one = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            opened(fd);
            break;
        }
        reason = name() + ": " + std::strerror(error);
        ::close(fd);
    }
    ::freeaddrinfo(found);
    if (m_fd < 0)
        return {OpenStatus::Refused, reason};
    return {OpenStatus::Opened, {}};
}

bool TcpPort::discardBuffers()
{
    // What is waiting now and no more: a peer that keeps sending must not
    // keep the discard going.
    long left = bytesWaiting();
    std::uint8_t sink[4096];
    while (left > 0) {
        const long n = read(sink, std::min(sizeof sink, static_cast<std::size_t>(left)));
        if (n < 0)
            return false;
        if (n == 0)
            break;
        left -= n;
    }
    return left >= 0;
}

} // namespace lumetra
