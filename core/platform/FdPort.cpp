#include "FdPort.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace lumetra {

void FdPort::opened(int fd)
{
    m_fd = fd;
    m_lossReason.clear();
}

void FdPort::close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

void FdPort::fail(std::string reason)
{
    m_lossReason = std::move(reason);
    close();
}

void FdPort::failWithErrno(int error)
{
    // A terminal that was hung up answers EIO; a socket whose peer went, a
    // reset or a broken pipe.
    if (error == EIO || error == ENXIO || error == ENODEV || error == ECONNRESET || error == EPIPE)
        fail(kLineClosedReason);
    else
        fail(std::string("the line failed (") + std::strerror(error) + ")");
}

bool FdPort::write(const std::uint8_t* data, std::size_t size)
{
    std::size_t done = 0;
    while (m_fd >= 0 && done < size) {
        const ssize_t n = ::write(m_fd, data + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{m_fd, POLLOUT, 0};
            const int ready = ::poll(&p, 1, 1000);
            if (ready <= 0) {
                fail("the line takes nothing (write timed out)");
                return false;
            }
            if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) {
                fail(kLineClosedReason);
                return false;
            }
        } else {
            failWithErrno(n < 0 ? errno : EIO);
            return false;
        }
    }
    return m_fd >= 0;
}

long FdPort::bytesWaiting()
{
    if (m_fd < 0)
        return -1;
    int n = 0;
    if (::ioctl(m_fd, FIONREAD, &n) != 0) {
        failWithErrno(errno);
        return -1;
    }
    if (n > 0)
        return n;
    // Nothing waiting: tell an idle line from one that has gone away (a
    // hung-up terminal, or a socket whose peer closed: readable with 0 bytes).
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0)
        return 0;
    if (!(p.revents & (POLLERR | POLLHUP | POLLNVAL)) && ::ioctl(m_fd, FIONREAD, &n) == 0 && n > 0)
        return n; // bytes arrived in between
    fail(kLineClosedReason);
    return -1;
}

long FdPort::read(std::uint8_t* buffer, std::size_t max)
{
    if (m_fd < 0)
        return -1;
    const ssize_t n = ::read(m_fd, buffer, max);
    if (n >= 0)
        return n;
    if (errno == EAGAIN || errno == EINTR)
        return 0;
    failWithErrno(errno);
    return -1;
}

} // namespace lumetra
