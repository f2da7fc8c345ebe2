#pragma once

#include "VirtualUnit.h"

namespace lumetra::sim {

// Brings a unit's present-value registers up to the time since it started:
// timers run in their time range and direction toward their set values,
// counters count, tachometers show a rate, outputs switch and the lamp
// bits follow them. What each unit runs follows its settings in memory, so
// a download changes what the monitor shows.
void updatePresentValues(VirtualUnit& unit, std::int64_t elapsedMs);

} // namespace lumetra::sim
