#pragma once

#include "Frames.h"
#include "SerialPort.h"

#include <array>
#include <string>

namespace lumetra {

inline constexpr std::array<int, 9> kBaudRates{1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 57600};

// The communication state every transaction reads; edited by the settings
// window, defaults as at start-up.
struct CommState {
    int CommPort = 1;
    int BaudIndex = 3;
    int ParityIndex = 0;
    int DataBitsIndex = 1;
    int StopBitsIndex = 0;
    Protocol protocol = Protocol::Ascii;
    int DeviceId = 1;
    int TimeoutMs = 1000;
    int CommDelayMs = 0;
    bool quietMode = false;
    int LastResult = 0;
    std::string CommSettingsText = "9600 , N , 8 , 1";

    int baudRate() const;
    // The port's settings as the string "9600,n,8,1".
    PortSettings portSettings() const;
    // "9600 , N , 8 , 1", as the status bar shows it.
    std::string buildCommSettingsText() const;
};

// Maps a baud rate to its index in kBaudRates; -1 if it is not one of them.
int baudIndexOf(int baud);

} // namespace lumetra
