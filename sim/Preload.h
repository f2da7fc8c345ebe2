#pragma once

#include "VirtualLine.h"

#include "files/SettingsDocument.h"

#include <string>

namespace lumetra::sim {

// Puts a settings file into a unit of the line the way a download would,
// running the real download over an in-process port on a clock that skips
// the pauses. Empty on success, otherwise why not (wrong file, wrong type,
// a value the download refuses).
std::string preloadUnit(VirtualLine& line, int slaveId, const std::string& settingsFile);
std::string preloadUnit(VirtualLine& line, int slaveId, SettingsDocument document);

} // namespace lumetra::sim
