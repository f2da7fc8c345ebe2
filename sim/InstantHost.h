#pragma once

#include "comm/Host.h"
#include "comm/SerialPort.h"

#include <string>

namespace lumetra::sim {

// Time that only moves when the core waits (pauses and time-outs cost
// nothing), every message answered with OK and the first one noted.
class InstantHost : public Host {
public:
    MessageAnswer showMessage(const Message& m) override
    {
        if (firstMessage.empty())
            firstMessage = m.text;
        return MessageAnswer::Ok;
    }
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
    std::string firstMessage;
};

} // namespace lumetra::sim
