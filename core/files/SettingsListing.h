#pragma once

#include "SettingsDocument.h"

#include <string>

namespace lumetra {

// A settings document as readable text: machine type, function mode, and
// every setting the mode uses by control name, label and list or value
// text. What came from the file is escaped where it is not printable.
std::string settingsListingText(const SettingsDocument& document, const StringTable& strings);

// The same as one line of JSON (every stored setting, with its list index
// and whether the mode uses it); valid JSON and UTF-8 for any file.
std::string settingsListingJson(const SettingsDocument& document, const StringTable& strings);

} // namespace lumetra
