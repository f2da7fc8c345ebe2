#pragma once

#include "VirtualUnit.h"

#include <string>

namespace lumetra::sim {

// "3:TQ" → slave ID 3 of type TQ.
bool parseUnitSpec(const std::string& text, int& slaveId, UnitType& type);

// "3:silent", "3:exception=4", "3:garbage=5", "3:slow=4", "3:checksum",
// "3:no-lf" applied to the faults of a unit; false with a message when the
// text names no known fault.
bool applyFaultSpec(const std::string& text, int& slaveId, UnitFaults& faults, std::string& error);

} // namespace lumetra::sim
