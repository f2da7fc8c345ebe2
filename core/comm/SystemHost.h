#pragma once

#include "Host.h"

namespace lumetra {

// Real time, no window: waits block on the port's descriptor with poll().
// Front ends without an event loop (the command line, integration tests)
// derive from it and add how messages and status texts are shown.
class SystemHost : public Host {
public:
    std::int64_t tickMs() override;
    void sleepMs(int ms) override;
    void processEvents() override {}
    void runEventsFor(int ms) override { sleepMs(ms); }
    void waitForPort(SerialPort& port, int ms) override;
    void lockControls(FormId) override {}
    void unlockControls(FormId) override {}
};

// Blocks until the port is readable or ms have passed; shared by hosts
// whose waiting needs no event loop.
void blockOnPort(SerialPort& port, int ms);

} // namespace lumetra
