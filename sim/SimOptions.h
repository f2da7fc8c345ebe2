#pragma once

#include "VirtualUnit.h"

#include <string>

namespace lumetra::sim {

// "3:TQ" → slave ID 3 of type TQ.
bool parseUnitSpec(const std::string& text, int& slaveId, UnitType& type);

// "3:silent", "3:exception=4", "3:garbage=5", "3:slow=4", "3:gap=20",
// "3:checksum", "3:no-lf", "3:inhibit" applied to the faults of a unit;
// false with a message when the text names no known fault or a value is
// out of its range (exception 1..255, garbage 0..1000 bytes, slow 1..256
// pieces, gap 0..60000 ms).
bool applyFaultSpec(const std::string& text, int& slaveId, UnitFaults& faults, std::string& error);

// "[ID:]FILE" of --load: the slave ID 1..255 (1 when left out) and the
// file; false with a message.
bool parseLoadSpec(const std::string& text, int& slaveId, std::string& file, std::string& error);

} // namespace lumetra::sim
