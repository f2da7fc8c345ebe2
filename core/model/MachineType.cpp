#include "MachineType.h"

#include <algorithm>
#include <cctype>

namespace lumetra {

bool machineTypeFromNumber(int number, MachineType& out)
{
    if (number < 1 || number > 4)
        return false;
    out = static_cast<MachineType>(number);
    return true;
}

bool parseMachineType(const std::string& text, MachineType& out)
{
    std::string t = text;
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (int n = 1; n <= 4; ++n) {
        if (machineTypeName(static_cast<MachineType>(n)) == t) {
            out = static_cast<MachineType>(n);
            return true;
        }
    }
    return false;
}

std::string machineTypeName(MachineType type)
{
    switch (type) {
    case MachineType::DQ: return "DQ";
    case MachineType::TQ: return "TQ";
    case MachineType::CQ: return "CQ";
    case MachineType::XQ: return "XQ";
    }
    return "?";
}

std::string machineTypeDisplayName(MachineType type)
{
    switch (type) {
    case MachineType::DQ: return "LT-96DQ Timer + Counter";
    case MachineType::TQ: return "LT-48TQ Timer";
    case MachineType::CQ: return "LT-48CQ Counter / Tachometer";
    case MachineType::XQ: return "LT-48XQ Timer / Counter";
    }
    return "?";
}

} // namespace lumetra
