#pragma once

#include "TransferProgress.h"

#include "files/SettingsDocument.h"

#include <cstdint>
#include <string>

namespace lumetra {

class CommSession;
class StringTable;

// Compares the unit on the line with the settings, byte by byte as a
// download would write them, stopping at the first difference. Returns 0
// when the comparison came to an answer (then a report or "the same" has
// been shown; differingAddress is 0 for the same), or 24.
int Compare_All(CommSession& session, const SettingsDocument& document, std::uint16_t& differingAddress,
                TransferProgress& progress);

// "Program different :" + the name of the setting at the address.
std::string compareReport(MachineType type, std::uint16_t address, const StringTable& strings);

} // namespace lumetra
