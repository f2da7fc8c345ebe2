#pragma once

#include "VirtualLine.h"

namespace lumetra::sim {

// The demonstration line: a unit of each type with settings that make its
// front panel move (DQ at 1, TQ at 2, CQ at 3, XQ at 4).
void populateDemoLine(VirtualLine& line);

} // namespace lumetra::sim
