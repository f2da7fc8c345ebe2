#include "UnitCheck.h"

#include "comm/CommSession.h"

#include <cstdio>

namespace lumetra {

int readRegister(CommSession& session, std::uint16_t address, std::uint16_t& value)
{
    std::string reply;
    if (const int rc = session.ReadRegisters(address, 1, reply))
        return rc;
    return registerFromReply(reply, 0, value) ? Result::Ok : Result::DataError;
}

int checkIdentification(CommSession& session)
{
    for (std::uint16_t address : {std::uint16_t{0x0400}, std::uint16_t{0x0402}}) {
        std::uint16_t value = 0;
        if (const int rc = readRegister(session, address, value))
            return rc;
        if ((value & 0xFF) != 0x25)
            return Result::MemoryAddressError;
    }
    return Result::Ok;
}

int readMachineType(CommSession& session, int& typeNumber, std::string& fourDigits)
{
    std::uint16_t value = 0;
    if (const int rc = readRegister(session, 0x0404, value))
        return rc;
    typeNumber = value >> 8;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", value);
    fourDigits = digits;
    return Result::Ok;
}

} // namespace lumetra
