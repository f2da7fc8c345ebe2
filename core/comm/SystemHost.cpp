#include "SystemHost.h"

#include "SerialPort.h"

#include <chrono>
#include <thread>

#include <poll.h>

namespace lumetra {

std::int64_t SystemHost::tickMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemHost::sleepMs(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void blockOnPort(SerialPort& port, int ms)
{
    if (ms <= 0)
        return;
    const int fd = port.pollFd();
    if (fd >= 0) {
        pollfd p{fd, POLLIN, 0};
        ::poll(&p, 1, ms);
        return;
    }
    const long due = port.msUntilReadable();
    std::this_thread::sleep_for(std::chrono::milliseconds(due >= 0 && due < ms ? due : ms));
}

void SystemHost::waitForPort(SerialPort& port, int ms) { blockOnPort(port, ms); }

} // namespace lumetra
