#pragma once

#include "LoopbackPort.h"
#include "RecordingHost.h"

#include "comm/CommSession.h"

#include <vector>

namespace lumetra::test {

// A session wired to an in-process virtual line on a fake clock: requests
// reach the units at once, time moves only when the session waits.
struct LineRig {
    RecordingHost host;
    StringTable strings;
    sim::VirtualLine line;
    sim::LoopbackPort* lastPort = nullptr;
    int portsMade = 0;
    // While set, every port made is one whose line is gone (opening it fails).
    bool lineGone = false;
    std::vector<sim::LoggedRequest> requests;
    CommSession session{host, strings, [this](int n) -> std::unique_ptr<SerialPort> {
                            if (n != 1)
                                return nullptr;
                            auto port = std::make_unique<sim::LoopbackPort>(line, [this] { return host.now; });
                            if (lineGone)
                                port->unplug();
                            lastPort = port.get();
                            ++portsMade;
                            return port;
                        }};

    explicit LineRig(Protocol protocol = Protocol::Ascii) : line(protocol, PortSettings{})
    {
        session.state().protocol = protocol;
        line.setRequestObserver([this](const sim::LoggedRequest& r) { requests.push_back(r); });
    }
    sim::VirtualUnit& addUnit(int id, MachineType type) { return line.addUnit(id, type); }
};

} // namespace lumetra::test
