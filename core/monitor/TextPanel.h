#pragma once

#include "PanelState.h"

#include <string>

namespace lumetra {

// A digit row as the panel shows it: blanks as spaces, the minus sign,
// decimal points and colons between the digits where the separators are.
std::string panelRow(const DigitRow& digits, const std::array<std::uint8_t, 2>& dpCol, const std::array<std::uint8_t, 2>& dp);

// One panel picture as a few lines of text: both rows and the indicators.
std::string textPanel(const PanelState& state, const std::string& title);

} // namespace lumetra
