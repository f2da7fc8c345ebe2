#pragma once

#include "DqSettings.h"

#include <array>

namespace lumetra {

// Which fields of the summary bytes a DQ download replaces.
enum class SummaryPart { All = 0, ChannelA = 1, ChannelB = 2 };

using SummaryBytes = std::array<std::uint8_t, 6>; // S0..S5 at 0x06F4..0x06F9

// The six bytes to write back, from the six bytes read: the fields of the
// part being downloaded are replaced, every other nibble stays as read.
// Returns 0, or 1 for a function group or single function outside its values.
int updateSummaryBytes(SummaryPart part, const DqSettings& s, const SummaryBytes& read, SummaryBytes& out);

} // namespace lumetra
