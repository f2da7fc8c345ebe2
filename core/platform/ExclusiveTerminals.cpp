#include "ExclusiveTerminals.h"

#include <array>
#include <atomic>
#include <csignal>
#include <sys/ioctl.h>

namespace lumetra {

namespace {
// A signal handler can reach nothing but static storage; a few slots are
// plenty (one line per session). A slot holds the descriptor + 1, 0 when free.
std::array<std::atomic<int>, 8> g_terminals{};

extern "C" void releaseAndEnd(int signal)
{
    for (auto& s : g_terminals) {
        const int fd = s.load() - 1;
        if (fd >= 0)
            ::ioctl(fd, TIOCNXCL);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
} // namespace

void markExclusiveTerminal(int fd)
{
    for (auto& s : g_terminals) {
        int free = 0;
        if (s.compare_exchange_strong(free, fd + 1))
            return;
    }
}

void unmarkExclusiveTerminal(int fd)
{
    for (auto& s : g_terminals) {
        int mine = fd + 1;
        s.compare_exchange_strong(mine, 0);
    }
}

void releaseExclusiveTerminalsOnSignals()
{
    struct sigaction action {};
    action.sa_handler = releaseAndEnd;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

} // namespace lumetra
