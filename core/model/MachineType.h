#pragma once

#include <cstdint>
#include <string>

namespace lumetra {

// The four kinds of unit; the value is the type number, the high byte of
// the machine-type code and of the unit's register 0x0404.
enum class MachineType { DQ = 1, TQ = 2, CQ = 3, XQ = 4 };

// 0x010A, 0x020A, 0x030A, 0x040A.
inline std::uint16_t machineTypeCode(MachineType type) { return static_cast<std::uint16_t>(static_cast<int>(type) << 8 | 0x0A); }
inline int typeNumber(MachineType type) { return static_cast<int>(type); }

// Type number 1..4 → type; false for any other number.
bool machineTypeFromNumber(int number, MachineType& out);
// "DQ", "tq" ... → type; false for anything else.
bool parseMachineType(const std::string& text, MachineType& out);
std::string machineTypeName(MachineType type);
// The product name the user sees wherever a type is named (type selection,
// found units, monitor description).
std::string machineTypeDisplayName(MachineType type);

} // namespace lumetra
