#pragma once

#include "comm/Host.h"
#include "comm/SerialPort.h"

namespace lumetra::fuzz {

// A host whose clock moves only when the core waits: pauses and time-outs
// cost nothing, messages are taken and answered with OK.
class FuzzHost : public Host {
public:
    MessageAnswer showMessage(const Message&) override { return MessageAnswer::Ok; }
    void setStatusPanel(int, const std::string&) override {}
    void lockControls(FormId) override {}
    void unlockControls(FormId) override {}
    std::int64_t tickMs() override { return now; }
    void sleepMs(int ms) override { now += ms; }
    void processEvents() override {}
    void runEventsFor(int ms) override { now += ms; }
    void waitForPort(SerialPort& port, int ms) override
    {
        const long due = port.msUntilReadable();
        now += due >= 0 && due < ms ? due : ms;
    }

    std::int64_t now = 0;
};

} // namespace lumetra::fuzz
