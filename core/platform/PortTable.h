#pragma once

#include "comm/SerialPort.h"

#include <array>
#include <memory>
#include <string>

namespace lumetra {

// Which device each port number COM1..COM16 stands for. By default the
// serial devices found on this machine, in a stable order and named by
// their /dev/serial/by-id links where those exist (they survive re-plugging);
// the user may map any number to any device, a TCP address included.
class PortTable {
public:
    static constexpr int kPortCount = 16;

    // Scans devRoot (normally "/dev") and sysRoot ("/sys") for serial devices.
    static PortTable detect(const std::string& devRoot = "/dev", const std::string& sysRoot = "/sys");

    void map(int portNumber, std::string device);
    // "1=/dev/ttyUSB0" or "COM1=/dev/ttyUSB0"; false when malformed.
    bool mapFromText(const std::string& mapping);
    // The device of COMn; empty when none.
    const std::string& device(int portNumber) const;

private:
    std::array<std::string, kPortCount> m_devices;
};

// The port object for a device: "tcp://host:port" or a device path.
// nullptr for an empty name.
std::unique_ptr<SerialPort> makeDevicePort(const std::string& device);

} // namespace lumetra
