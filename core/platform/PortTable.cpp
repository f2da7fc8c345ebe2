#include "PortTable.h"

#include "TcpPort.h"
#include "TermiosPort.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <vector>

namespace fs = std::filesystem;

namespace lumetra {

namespace {
// Natural order, so ttyUSB2 comes before ttyUSB10.
bool naturalLess(const std::string& a, const std::string& b)
{
    const auto split = [](const std::string& s) {
        const auto pos = s.find_last_not_of("0123456789");
        const std::string head = s.substr(0, pos + 1);
        const std::string digits = s.substr(pos + 1);
        return std::make_pair(head, digits.empty() ? -1L : std::stol(digits));
    };
    return split(a) < split(b);
}

std::vector<std::string> listDirectory(const fs::path& dir)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}
} // namespace

PortTable PortTable::detect(const std::string& devRoot, const std::string& sysRoot)
{
    std::vector<std::string> found;
    std::set<std::string> covered; // real devices already named by a by-id link
    std::error_code ec;

    const fs::path byId = fs::path(devRoot) / "serial" / "by-id";
    for (const std::string& name : listDirectory(byId)) {
        const fs::path link = byId / name;
        found.push_back(link.string());
        covered.insert(fs::weakly_canonical(link, ec).filename().string());
    }
    // Devices without a by-id link: USB and on-board ports bound to a driver.
    for (const std::string& name : listDirectory(fs::path(sysRoot) / "class" / "tty")) {
        const bool serialName = name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0
            || name.rfind("ttyAMA", 0) == 0 || name.rfind("ttyS", 0) == 0;
        if (!serialName || covered.count(name))
            continue;
        const fs::path device = fs::path(sysRoot) / "class" / "tty" / name / "device";
        if (!fs::exists(device / "driver", ec))
            continue;
        // The legacy ttyS placeholders hang off the "serial8250" platform
        // device; ports with hardware behind them hang off their own bus device.
        if (fs::weakly_canonical(device, ec).filename() == "serial8250")
            continue;
        found.push_back((fs::path(devRoot) / name).string());
    }

    PortTable table;
    for (std::size_t i = 0; i < found.size() && i < table.m_devices.size(); ++i)
        table.m_devices[i] = found[i];
    return table;
}

void PortTable::map(int portNumber, std::string device)
{
    if (portNumber >= 1 && portNumber <= kPortCount)
        m_devices[static_cast<std::size_t>(portNumber - 1)] = std::move(device);
}

bool PortTable::mapFromText(const std::string& mapping)
{
    const auto eq = mapping.find('=');
    if (eq == std::string::npos || eq + 1 == mapping.size())
        return false;
    std::string number = mapping.substr(0, eq);
    if (number.size() > 3 && (number.rfind("COM", 0) == 0 || number.rfind("com", 0) == 0))
        number = number.substr(3);
    if (number.empty() || number.size() > 2 || number.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int n = std::stoi(number);
    if (n < 1 || n > kPortCount)
        return false;
    map(n, mapping.substr(eq + 1));
    return true;
}

const std::string& PortTable::device(int portNumber) const
{
    static const std::string none;
    if (portNumber < 1 || portNumber > kPortCount)
        return none;
    return m_devices[static_cast<std::size_t>(portNumber - 1)];
}

std::unique_ptr<SerialPort> makeDevicePort(const std::string& device)
{
    if (device.empty())
        return nullptr;
    std::string host;
    std::string port;
    if (TcpPort::parseAddress(device, host, port))
        return std::make_unique<TcpPort>(host, port);
    return std::make_unique<TermiosPort>(device);
}

} // namespace lumetra
