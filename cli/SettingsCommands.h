#pragma once

#include "files/SettingsDocument.h"

#include <ostream>
#include <string>
#include <vector>

namespace lumetra::cli {

// The settings-file commands; each returns the exit status (0, or the
// result code whose message it printed to err; 64 for a malformed request).
int showSettings(const std::string& path, bool json, const StringTable& strings, std::ostream& out, std::ostream& err);
int newSettings(const std::string& type, int mode, const std::string& path, bool force, std::ostream& err);
int setSettings(const std::string& path, const std::vector<std::string>& assignments, const StringTable& strings,
                std::ostream& err);

} // namespace lumetra::cli
