#pragma once

#include <cstdint>
#include <string>

namespace lumetra {

class CommSession;

// A single-register read of the unit at DeviceId; 0 or the transaction's
// code (already reported unless quiet mode is on).
int readRegister(CommSession& session, std::uint16_t address, std::uint16_t& value);

// The identification words 0x0400 and 0x0402 must have the low byte 0x25:
// 0, the code of a failed transaction, or 4 (not shown: callers do).
int checkIdentification(CommSession& session);

// The machine type register 0x0404: its type number (high byte) and its
// four hexadecimal digits.
int readMachineType(CommSession& session, int& typeNumber, std::string& fourDigits);

} // namespace lumetra
