#include "TermiosPort.h"

#include "ExclusiveTerminals.h"

// termios2 lives in the kernel headers and clashes with glibc's <termios.h>,
// which is why this file uses the raw ioctls only.
#include <asm/termbits.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace lumetra {

TermiosPort::TermiosPort(std::string devicePath) : m_path(std::move(devicePath)) {}

std::string describeOpenError(const std::string& path, int error)
{
    std::string reason = path + ": " + std::strerror(error);
    if (error == EACCES || error == EPERM)
        reason += ". Add your user to the 'dialout' group (sudo usermod -aG dialout $USER) and log in again.";
    else if (error == ENOENT || error == ENODEV || error == ENXIO)
        reason += ". Is the adapter plugged in? 'lumetra-cli ports' lists the serial devices found.";
    return reason;
}

OpenResult TermiosPort::open(const PortSettings& settings)
{
    if (m_fd >= 0)
        return {OpenStatus::AlreadyOpen, m_path + " is open already."};
    const int fd = ::open(m_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return {error == EBUSY ? OpenStatus::AlreadyOpen : OpenStatus::Refused, describeOpenError(m_path, error)};
    }
    // The lock refuses whoever else uses the line right now and ends with
    // us, however we end.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return {OpenStatus::AlreadyOpen, m_path + " is in use by another program."};
    }

    termios2 tio{};
    if (::ioctl(fd, TCGETS2, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        return {OpenStatus::Refused, m_path + " is not a serial device (" + std::strerror(error) + ")."};
    }
    tio.c_iflag = settings.parity == 'n' ? 0 : INPCK;
    tio.c_oflag = 0;
    tio.c_lflag = 0;
    tio.c_cflag = CLOCAL | CREAD | (settings.dataBits == 7 ? CS7 : CS8) | (settings.stopBits == 2 ? CSTOPB : 0);
    if (settings.parity != 'n')
        tio.c_cflag |= PARENB | (settings.parity == 'o' ? PARODD : 0);
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = static_cast<speed_t>(settings.baud);
    tio.c_ospeed = static_cast<speed_t>(settings.baud);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::ioctl(fd, TCSETS2, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        return {OpenStatus::Refused, m_path + ": cannot apply " + settings.toString() + " (" + std::strerror(error) + ")."};
    }
    // Programs that take no lock are kept off the line by the terminal's
    // exclusive-use flag. Set last, so that no refusal above leaves it set.
    ::ioctl(fd, TIOCEXCL);
    markExclusiveTerminal(fd);
    opened(fd);
    serial_icounter_struct counters{};
    m_countersAvailable = ::ioctl(fd, TIOCGICOUNT, &counters) == 0;
    if (m_countersAvailable) {
        m_counters[0] = counters.brk;
        m_counters[1] = counters.frame;
        m_counters[2] = counters.overrun;
        m_counters[3] = counters.parity;
        m_counters[4] = counters.buf_overrun;
    }
    return {OpenStatus::Opened, {}};
}

void TermiosPort::close()
{
    // The flag belongs to the terminal, not to our descriptor: left set, it
    // refuses every later open by an ordinary user for as long as anything
    // else (a simulator, socat, another program) keeps the terminal open.
    if (m_fd >= 0) {
        ::ioctl(m_fd, TIOCNXCL);
        unmarkExclusiveTerminal(m_fd);
    }
    FdPort::close();
}

void TermiosPort::setDtrRts(bool on)
{
    if (m_fd < 0)
        return;
    int bits = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bits); // a pseudo-terminal has no modem lines
}

bool TermiosPort::discardBuffers()
{
    if (m_fd < 0)
        return false;
    if (::ioctl(m_fd, TCFLSH, TCIOFLUSH) != 0) {
        failWithErrno(errno); // a terminal that was hung up in between
        return false;
    }
    return true;
}

void TermiosPort::drain()
{
    if (m_fd >= 0)
        ::ioctl(m_fd, TCSBRK, 1); // tcdrain: blocks for the frame's wire time at most
}

std::vector<LineEvent> TermiosPort::takeLineEvents()
{
    std::vector<LineEvent> events;
    serial_icounter_struct c{};
    if (!m_countersAvailable || m_fd < 0 || ::ioctl(m_fd, TIOCGICOUNT, &c) != 0)
        return events;
    const int now[5] = {c.brk, c.frame, c.overrun, c.parity, c.buf_overrun};
    const LineEvent kinds[5] = {LineEvent::Break, LineEvent::Framing, LineEvent::Overrun, LineEvent::Parity,
                                LineEvent::RxOverflow};
    for (int i = 0; i < 5; ++i) {
        if (now[i] != m_counters[i])
            events.push_back(kinds[i]);
        m_counters[i] = now[i];
    }
    return events;
}

} // namespace lumetra
