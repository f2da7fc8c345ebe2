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
    const bool hasValue = eq != std::string::npos;
    int* target = nullptr;
    int value = 0;
    int min = 0;
    int max = 0;
    if (name == "silent") faults.silent = true;
    else if (name == "checksum") faults.wrongChecksum = true;
    else if (name == "no-lf") faults.missingLf = true;
    else if (name == "inhibit") faults.writeInhibit = true;
    else if (name == "exception") { target = &faults.exceptionCode; value = 4; min = 1; max = 255; }
    else if (name == "garbage") { target = &faults.garbageBytes; value = 3; max = 1000; }
    else if (name == "slow") { target = &faults.slowPieces; value = 3; min = 1; max = 256; }
    else if (name == "gap") { target = &faults.pieceGapMs; value = 50; max = 60000; }
    else {
        error = "unknown fault '" + name + "' (silent, checksum, no-lf, exception=N, garbage=N, slow=N, gap=MS, inhibit)";
        return false;
    }
    if (hasValue && (!target || !parseInt(rest.substr(eq + 1), value) || value < min || value > max)) {
        error = target ? "the value of " + name + " must be a number " + std::to_string(min) + ".." + std::to_string(max) + " in '" + text + "'"
                       : "fault " + name + " takes no value, got '" + text + "'";
        return false;
    }
    if (target)
        *target = value;
    return true;
}

bool parseLoadSpec(const std::string& text, int& slaveId, std::string& file, std::string& error)
{
    const auto colon = text.find(':');
    slaveId = 1;
    file = text;
    // "12:unit.zqs" names an ID; a path with a colon elsewhere does not.
    if (colon != std::string::npos && colon > 0 && text.find_first_not_of("0123456789") == colon
        && !splitId(text, slaveId, file)) {
        error = "--load expects [ID:]FILE with ID 1..255, got '" + text + "'";
        return false;
    }
    if (file.empty()) {
        error = "--load names no file in '" + text + "'";
        return false;
    }
    return true;
}

} // namespace lumetra::sim
