#include "SimOptions.h"

#include <charconv>

namespace lumetra::sim {

namespace {
bool parseInt(const std::string& text, int& out)
{
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && p == text.data() + text.size();
}

bool splitId(const std::string& text, int& slaveId, std::string& rest)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos || !parseInt(text.substr(0, colon), slaveId) || slaveId < 1 || slaveId > 255)
        return false;
    rest = text.substr(colon + 1);
    return true;
}
} // namespace

bool parseUnitSpec(const std::string& text, int& slaveId, UnitType& type)
{
    std::string rest;
    return splitId(text, slaveId, rest) && parseMachineType(rest, type);
}

bool applyFaultSpec(const std::string& text, int& slaveId, UnitFaults& faults, std::string& error)
{
    std::string rest;
    if (!splitId(text, slaveId, rest)) {
        error = "expected ID:FAULT, e.g. 3:silent, got '" + text + "'";
        return false;
    }
    const auto eq = rest.find('=');
    const std::string name = rest.substr(0, eq);
    int value = 0;
    const bool hasValue = eq != std::string::npos;
    if (hasValue && !parseInt(rest.substr(eq + 1), value)) {
        error = "fault value must be a number in '" + text + "'";
        return false;
    }
    if (name == "silent") faults.silent = true;
    else if (name == "checksum") faults.wrongChecksum = true;
    else if (name == "no-lf") faults.missingLf = true;
    else if (name == "exception") faults.exceptionCode = hasValue ? value : 4;
    else if (name == "garbage") faults.garbageBytes = hasValue ? value : 3;
    else if (name == "slow") faults.slowPieces = hasValue ? value : 3;
    else if (name == "gap") faults.pieceGapMs = value;
    else if (name == "inhibit") faults.writeInhibit = true;
    else {
        error = "unknown fault '" + name + "' (silent, checksum, no-lf, exception=N, garbage=N, slow=N, gap=MS, inhibit)";
        return false;
    }
    return true;
}

} // namespace lumetra::sim
