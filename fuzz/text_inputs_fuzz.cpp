// What a user types: port addresses (--port, --com, tcp://HOST:PORT),
// numbers, and the NAME=VALUE assignments of `set`. What a parser accepts
// must hold up: a TCP address has a host and a port 1..65535, a number lies
// in its range, and what `set` accepts saves a file that opens again with
// the same settings.

#include "InstantHost.h"
#include "LinePorts.h"

#include "files/SettingsListing.h"
#include "platform/TcpPort.h"
#include "text/StringTable.h"

#include <cstdlib>
#include <string>

using namespace lumetra;

namespace {

void portAddress(const std::string& text)
{
    std::string host;
    std::string port;
    if (TcpPort::parseAddress(text, host, port)) {
        if (host.empty() || port.empty() || port.size() > 5 || std::stol(port) < 1 || std::stol(port) > 65535)
            std::abort();
    }
    PortTable table;
    if (table.mapFromText(text)) {
        int mapped = 0;
        for (int n = 1; n <= PortTable::kPortCount; ++n)
            mapped += table.device(n).empty() ? 0 : 1;
        if (mapped != 1)
            std::abort(); // one number, one device
    }
    long number = 0;
    if (cli::parseNumber(text, 1, 255, number) && (number < 1 || number > 255))
        std::abort();
    sim::InstantHost host2;
    cli::LinePorts ports(PortTable{}, host2);
    CommState state;
    std::string error;
    if (ports.choose(text, state, error) != error.empty())
        std::abort(); // accepted without a message, or refused with one
    if (state.CommPort < 1 || state.CommPort > PortTable::kPortCount)
        std::abort();
}

void assignments(MachineType type, int mode, const std::string& text)
{
    SettingsDocument doc(type);
    doc.selectFunctionMode(mode);
    for (std::size_t start = 0; start <= text.size();) {
        const auto end = std::min(text.find('\n', start), text.size());
        doc.assign(text.substr(start, end - start));
        start = end + 1;
    }
    SettingsImage image;
    if (doc.write(image) != 0)
        return; // refused as set refuses it: nothing is saved
    SettingsDocument back;
    const StringTable strings;
    if (back.read(image, Result::OpenFailed) != 0 || settingsListingJson(back, strings) != settingsListingJson(doc, strings))
        std::abort(); // what set saves, show opens unchanged
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 0x80)
        portAddress(text);
    else
        assignments(static_cast<MachineType>(1 + (data[0] & 0x03)), (data[0] >> 2) % 10, text);
    return 0;
}
