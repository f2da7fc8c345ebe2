#pragma once

#include "VirtualLine.h"
#include "comm/CommSession.h"
#include "platform/PortTable.h"

#include <memory>
#include <string>

namespace lumetra::cli {

// Resolves what the user named with --port into the port provider of the
// session: "COM3" (by the port table), a device path, "tcp://host:port", or
// "sim:TYPE", a virtual unit of that type inside this process.
class LinePorts {
public:
    LinePorts(PortTable table, Host& host);

    // Sets up the choice; false with a message when it cannot be used.
    bool choose(const std::string& port, CommState& state, std::string& error);
    PortProvider provider();

    sim::VirtualLine* virtualLine() { return m_line.get(); }

private:
    PortTable m_table;
    Host& m_host;
    std::unique_ptr<sim::VirtualLine> m_line;
};

// Parses a number in decimal or hexadecimal ("0x0404"); false when malformed
// or outside [min, max].
bool parseNumber(const std::string& text, long min, long max, long& out);

} // namespace lumetra::cli
