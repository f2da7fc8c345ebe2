#include "ChoiceLists.h"

#include "text/StringTable.h"

#include <map>

namespace lumetra {

std::string Choice::text(const StringTable& strings) const { return stringId != Text::None ? strings.text(stringId) : fixedText; }

namespace {
// The consecutive entries first..last of the string table.
ChoiceList ids(Text first, Text last)
{
    ChoiceList list;
    for (int id = static_cast<int>(first); id <= static_cast<int>(last); ++id)
        list.push_back({static_cast<Text>(id), nullptr});
    return list;
}

ChoiceList fixed(std::initializer_list<const char*> texts)
{
    ChoiceList list;
    for (const char* t : texts)
        list.push_back({Text::None, t});
    return list;
}

std::map<ListId, ChoiceList> buildLists()
{
    const ChoiceList cqOutput = fixed({"0 : N", "1 : F", "2 : C", "3 : R", "4 : K-1", "5 : P", "6 : Q", "7 : A"});
    ChoiceList dualOutput = cqOutput;
    for (const char* t : {"8 : K-2", "9 : D", "10 : L", "11 : H "})
        dualOutput.push_back({Text::None, t});
    return {
        {ListId::DqTimeRange, fixed({"0.01 ~ 9999.99 Sec", "1 ~ 999999  Sec", "1 ~ 999999  Min", "1 ~ 999999  Hour"})},
        {ListId::TimeMode, ids(Text::Up, Text::Down)},
        {ListId::DqTimerOutputMode, ids(Text::TimerOutputMode0, Text::TimerOutputMode7)},
        {ListId::CounterInputMode, ids(Text::InputModeCommandUp, Text::InputModeDecrement)},
        {ListId::FirstCounterInputMode, ids(Text::InputModeIndividualUp, Text::InputModeIndividualUp)}, // "1 : Individual (Up)" alone
        {ListId::DqDecimalPoint, fixed({"0 : - - - - - -", "1 : - - - - -.-", "2 : - - - -.- -", "3 : - - -.- - -"})},
        {ListId::CountingSpeed, fixed({"30 Hz", "100 Hz", "1K Hz", "5K Hz"})},
        {ListId::CountingSpeedSlowOnly, fixed({"30 Hz"})},
        {ListId::CounterOutputMode, fixed({"0 : N-1", "1 : F-1", "2 : C-1", "3 : R-1", "4 : K-1", "5 : P-1", "6 : N-2",
                                           "7 : F-2", "8 : C-2", "9 : R-2", "10 : K-2", "11 : P-2", "12 : Q-1", "13 : Q-2"})},
        {ListId::BatchCounterOutputMode, fixed({"0 : K-1", "1 : K-2", "2 : Q-1", "3 : Q-2"})},
        {ListId::TachoOutputMode, ids(Text::ChoiceOn, Text::ChoiceOff)},
        {ListId::Averaging, fixed({"OFF", "2 ", "4 ", "8 "})},
        {ListId::SelfHoldingOrOneShot, ids(Text::SelfHoldingOutput, Text::OneShotOutput)},
        {ListId::DqSignalWidth, fixed({"1 ms", "20 ms"})},
        {ListId::NpnPnp, fixed({"NPN", "PNP"})},
        {ListId::TqTimeRange, fixed({"0 : - - - - . - -  s", "1 : - - - - - . -  s", "2 : - - - - - -  s",
                                     "3 : - - - - : - -  ms", "4 : - - - - - . -  m", "5 : - - - - - -  m",
                                     "6 : - - - - : - -  hm", "7 : - - - - - . -  h", "8 : - - - - - -  h",
                                     "9 : - - - . - - -  s"})},
        {ListId::TqOutputMode, ids(Text::TqOutputModeA, Text::TqOutputModeZ)},
        {ListId::TwinStartMode, ids(Text::FlickerOffStart, Text::FlickerOnStart)},
        {ListId::TwoStageOutputMode, ids(Text::TqOutputModeAPowerOn, Text::TqOutputModeF1)},
        {ListId::SettingMethod, ids(Text::ForecastValue, Text::AbsoluteValue)},
        {ListId::KeyProtectLevel, fixed({"KP-1", "KP-2", "KP-3", "KP-4", "KP-5"})},
        {ListId::TqSignalWidth, fixed({"20 ms", "  1 ms"})},
        {ListId::CqDecimalPoint, fixed({"0 : - - - -", "1 : - - -.-", "2 : - -.- -", "3 : -.- - -"})},
        {ListId::CqCountingSpeed, fixed({"30 Hz", "5K Hz"})},
        {ListId::CqCountingSpeedTacho, fixed({"30 Hz", "10K Hz"})},
        {ListId::CqInputMode, fixed({"0 : Up", "1 : Down", "2 : Up / Down  A", "3 : Up / Down  B", "4 : Up / Down  C"})},
        {ListId::CqOutputMode, cqOutput},
        {ListId::BatchInputMode, fixed({"0:Up", "1:Down", "2:Up / Down  A", "3:Up / Down  B", "4:Up / Down  C"})},
        {ListId::DualInputMode, fixed({"0:ADD", "1:SUB"})},
        {ListId::DualOutputMode, dualOutput},
        {ListId::FreqOutputMode, fixed({"0 : HI_LO", "1 : AREA", "2 : HI_HI", "3 : LO_LO"})},
    };
}
} // namespace

const ChoiceList& choiceList(ListId id)
{
    static const std::map<ListId, ChoiceList> lists = buildLists();
    return lists.at(id);
}

std::vector<std::string> choiceTexts(ListId id, const StringTable& strings)
{
    std::vector<std::string> texts;
    for (const Choice& c : choiceList(id))
        texts.push_back(c.text(strings));
    return texts;
}

} // namespace lumetra
