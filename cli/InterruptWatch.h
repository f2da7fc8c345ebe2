#pragma once

#include <csignal>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace lumetra::cli {

// Ctrl-C while a command runs: read through a descriptor between steps, so
// the command can stop cleanly (close the port, keep what it found).
class InterruptWatch {
public:
    InterruptWatch()
    {
        sigemptyset(&m_set);
        sigaddset(&m_set, SIGINT);
        sigaddset(&m_set, SIGTERM);
        sigprocmask(SIG_BLOCK, &m_set, &m_old);
        m_fd = signalfd(-1, &m_set, SFD_NONBLOCK | SFD_CLOEXEC);
    }
    ~InterruptWatch()
    {
        if (m_fd >= 0) {
            // Take the signals that came, or unblocking would deliver them now.
            signalfd_siginfo info{};
            while (::read(m_fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            }
            ::close(m_fd);
        }
        sigprocmask(SIG_SETMASK, &m_old, nullptr);
    }
    bool interrupted() const
    {
        pollfd p{m_fd, POLLIN, 0};
        return m_fd >= 0 && ::poll(&p, 1, 0) > 0;
    }

private:
    sigset_t m_set{};
    sigset_t m_old{};
    int m_fd = -1;
};

} // namespace lumetra::cli
