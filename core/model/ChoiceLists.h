#pragma once

#include "text/Text.h"

#include <string>
#include <vector>

namespace lumetra {

class StringTable;

// One entry of a selection list: a string-table text, or a fixed text the
// form holds from its design (the same in every language).
struct Choice {
    Text stringId;
    const char* fixedText;
    std::string text(const StringTable& strings) const;
};

using ChoiceList = std::vector<Choice>;

// The selection lists of the editors, by what they select.
enum class ListId {
    // DQ editor
    DqTimeRange,
    TimeMode,
    DqTimerOutputMode,
    CounterInputMode,
    FirstCounterInputMode,
    DqDecimalPoint,
    CountingSpeed,
    CountingSpeedSlowOnly,
    CounterOutputMode,
    BatchCounterOutputMode,
    TachoOutputMode,
    Averaging,
    SelfHoldingOrOneShot,
    DqSignalWidth,
    NpnPnp,
    // TQ / CQ editor
    TqTimeRange,
    TqOutputMode,
    TwinStartMode,
    TwoStageOutputMode,
    SettingMethod,
    KeyProtectLevel,
    TqSignalWidth,
    CqDecimalPoint,
    CqCountingSpeed,
    CqCountingSpeedTacho,
    CqInputMode,
    CqOutputMode,
    BatchInputMode,
    DualInputMode,
    DualOutputMode,
    FreqOutputMode,
};

const ChoiceList& choiceList(ListId id);
std::vector<std::string> choiceTexts(ListId id, const StringTable& strings);

} // namespace lumetra
