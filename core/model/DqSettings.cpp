#include "DqSettings.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace lumetra {

namespace {
using L = ListField<DqSettings>;
using V = ValueField<DqSettings>;
using S = DqSettings;
namespace B = DqBlock;

// In file order, so that a reader meets every selector before the values
// whose layout it decides.
const std::array<L, 28> kLists{{
    {"cboCountModeA", &S::cboCountModeA, 25, 'H', Text::NameTimeRange, B::TimerA},
    {"cboCountDirectionA", &S::cboCountDirectionA, 26, 'H', Text::NameTimeMode, B::TimerA},
    {"cboOutputModeA", &S::cboOutputModeA, 28, 'H', Text::NameOutputMode, B::TimerA},
    {"cboCountInputModeB", &S::cboCountInputModeB, 52, 'H', Text::NameInputMode, B::CounterB},
    {"cboDotAdjB", &S::cboDotAdjB, 53, 'H', Text::NameDecimalPointPosition, B::CounterB},
    {"cboMaxFreqB", &S::cboMaxFreqB, 54, 'H', Text::NameCountingSpeed, B::CounterB},
    {"cboOutputModeB", &S::cboOutputModeB, 55, 'H', Text::NameOutputMode, B::CounterB},
    {"cboSampleAvgB_F", &S::cboSampleAvgB_F, 91, 'H', Text::NameAverageProcessing, B::TachoB},
    {"cboDotAdjB_F", &S::cboDotAdjB_F, 92, 'H', Text::NameDecimalPointPosition, B::TachoB},
    {"cboMaxFreqB_F", &S::cboMaxFreqB_F, 93, 'H', Text::NameCountingSpeed, B::TachoB},
    {"cboOutputModeB_F", &S::cboOutputModeB_F, 94, 'H', Text::NameOutputMode, B::TachoB},
    {"cboOutputMode_T_Dual_0", &S::cboOutputMode_T_Dual_0, 131, 'H', Text::NameOutputMode, B::TwoStageTimer},
    {"cboOutputMode_T_Dual_1", &S::cboOutputMode_T_Dual_1, 151, 'H', Text::NameOutputMode, B::TwoStageTimerB},
    {"cboCountInputMode_C_Dual_0", &S::cboCountInputMode_C_Dual_0, -1, 'H', Text::NameInputMode, B::DualCounter},
    {"cboMaxFreq_C_Dual_0", &S::cboMaxFreq_C_Dual_0, -1, 'H', Text::NameCountingSpeed, B::DualCounter},
    {"cboOutputMode_C_Dual_0", &S::cboOutputMode_C_Dual_0, 172, 'H', Text::NameOutputMode, B::DualCounter},
    {"cboCountInputMode_C_Dual_1", &S::cboCountInputMode_C_Dual_1, 191, 'H', Text::NameInputMode, B::DualCounterB},
    {"cboMaxFreq_C_Dual_1", &S::cboMaxFreq_C_Dual_1, 192, 'H', Text::NameCountingSpeed, B::DualCounterB},
    {"cboOutputMode_C_Dual_1", &S::cboOutputMode_C_Dual_1, 193, 'H', Text::NameOutputMode, B::DualCounterB},
    {"cboOutputModeA_Dual_F", &S::cboOutputModeA_Dual_F, 221, 'H', Text::NameOutputMode, B::TachoFunction},
    {"cboSampleAvgB_Dual_F", &S::cboSampleAvgB_Dual_F, 231, 'H', Text::NameAverageProcessing, B::TachoFunctionB},
    {"cboMaxFreqB_Dual_F", &S::cboMaxFreqB_Dual_F, 232, 'H', Text::NameCountingSpeed, B::TachoFunctionB},
    {"cboOutputModeB_Dual_F", &S::cboOutputModeB_Dual_F, 233, 'H', Text::NameOutputMode, B::TachoFunctionB},
    {"cboSGWidth_All", &S::cboSGWidth_All, 251, 'D', Text::NameInputSignalWidth, B::All},
    {"cboInputMethod_All", &S::cboInputMethod_All, 252, 'D', Text::NameNpnPnpInputMode, B::All},
    // The whole-unit flags travel as lists of two entries ("0" off, "1" on).
    {"mKP", &S::keyProtection, 8, 'F', Text::KeyProtection, B::All},
    {"mPowerSaving", &S::powerSaving, 9, 'F', Text::PowerSaving, B::All},
    {"functionMode", nullptr, -1, 0, Text::NameFunctionSelection, B::All},
}};

const std::array<V, 19> kValues{{
    {"lblTimerSettingA", &S::lblTimerSettingA, 29, ValueForm::V7, Text::NameSetValue, B::TimerA, -1, -1},
    {"lblHoldTimeA", &S::lblHoldTimeA, 36, ValueForm::V7, Text::NameOutputTime, B::TimerA, 2, 2},
    {"lblMagnificationB", &S::lblMagnificationB, 57, ValueForm::P6, Text::NamePrescaleValue, B::CounterB, 3, 3},
    {"lblCounterSettingB", &S::lblCounterSettingB, 63, ValueForm::V7, Text::NameSetValue, B::CounterB, -1, -1},
    {"lblHoldCounterB", &S::lblHoldCounterB, 70, ValueForm::V7, Text::NameOutputTime, B::CounterB, 2, 2},
    {"lblMagnificationB_F", &S::lblMagnificationB_F, 95, ValueForm::P6, Text::NamePrescaleValue, B::TachoB, 3, 3},
    {"lblCounterSettingB_F", &S::lblCounterSettingB_F, 101, ValueForm::V7, Text::NameSetValue, B::TachoB, -1, -1},
    {"lblHoldCounterB_F", &S::lblHoldCounterB_F, 108, ValueForm::V7, Text::NameStartupTime, B::TachoB, 5, 2},
    {"lblTimerSetting_T_Dual_0", &S::lblTimerSetting_T_Dual_0, 132, ValueForm::V7, Text::NameSetValue1, B::TwoStageTimer, 0, 0},
    {"lblHoldTime_T_Dual_0", &S::lblHoldTime_T_Dual_0, 139, ValueForm::V7, Text::NameOutputTime1, B::TwoStageTimer, 2, 2},
    {"lblTimerSetting_T_Dual_1", &S::lblTimerSetting_T_Dual_1, 152, ValueForm::V7, Text::NameSetValue2, B::TwoStageTimerB, 0, 0},
    {"lblHoldTime_T_Dual_1", &S::lblHoldTime_T_Dual_1, 159, ValueForm::V7, Text::NameOutputTime2, B::TwoStageTimerB, 2, 2},
    {"lblCounterSetting_C_Dual_0", &S::lblCounterSetting_C_Dual_0, 173, ValueForm::V7, Text::NameSetValue1, B::DualCounter, 0, 0},
    {"lblHoldCounter_C_Dual_0", &S::lblHoldCounter_C_Dual_0, 180, ValueForm::V7, Text::NameOutputTime1, B::DualCounter, 2, 2},
    {"lblCounterSetting_C_Dual_1", &S::lblCounterSetting_C_Dual_1, 195, ValueForm::V7, Text::NameSetValue2, B::DualCounterB, 0, 0},
    {"lblHoldCounter_C_Dual_1", &S::lblHoldCounter_C_Dual_1, 202, ValueForm::V7, Text::NameOutputTime2, B::DualCounterB, 2, 2},
    {"lblCounterSettingA_Dual_F", &S::lblCounterSettingA_Dual_F, 222, ValueForm::V7, Text::NameSetValue1, B::TachoFunction, 0, 0},
    {"lblCounterSettingB_Dual_F", &S::lblCounterSettingB_Dual_F, 234, ValueForm::V7, Text::NameSetValue2, B::TachoFunctionB, 0, 0},
    {"lblHoldCounterB_Dual_F", &S::lblHoldCounterB_Dual_F, 241, ValueForm::V7, Text::NameStartupTime, B::TachoFunctionB, 5, 2},
}};

bool isBatchKind(int kind) { return kind == 1; }
} // namespace

DqSettings::DqSettings() { arrangeDisplays(); }

std::span<const ListField<DqSettings>> DqSettings::listFields() { return kLists; }
std::span<const ValueField<DqSettings>> DqSettings::valueFields() { return kValues; }

const ListField<DqSettings>* DqSettings::findList(const std::string& name)
{
    for (const auto& f : kLists)
        if (name == f.name)
            return &f;
    return nullptr;
}

const ValueField<DqSettings>* DqSettings::findValue(const std::string& name)
{
    for (const auto& f : kValues)
        if (name == f.name)
            return &f;
    return nullptr;
}

int DqSettings::functionMode() const
{
    if (functionGroup == 0)
        return channelBFunction == 0 ? 0 : 1;
    switch (singleFunction) {
    case 0: return 5;
    case 1: return 2 + dualCounterKind;
    default: return 6;
    }
}

void DqSettings::selectFunctionMode(int mode)
{
    if (mode < 0 || mode >= kFunctionModes)
        return;
    functionGroup = mode <= 1 ? 0 : 1;
    if (mode <= 1) {
        channelBFunction = static_cast<std::uint8_t>(mode);
    } else if (mode <= 4) {
        const auto kind = static_cast<std::uint8_t>(mode - 2);
        if (isBatchKind(kind) != isBatchKind(dualCounterKind)) // the second counter's output list is rebuilt
            cboOutputMode_C_Dual_1 = isBatchKind(kind) ? kBatchOutputCodes[0] : 0;
        singleFunction = 1;
        dualCounterKind = kind;
    } else {
        singleFunction = mode == 5 ? 0 : 2;
    }
}

bool DqSettings::blockActive(int block) const
{
    switch (functionMode()) {
    case 0: return block == DqBlock::All || block == DqBlock::TimerA || block == DqBlock::CounterB;
    case 1: return block == DqBlock::All || block == DqBlock::TimerA || block == DqBlock::TachoB;
    case 5: return block == DqBlock::All || block == DqBlock::TwoStageTimer || block == DqBlock::TwoStageTimerB;
    case 6: return block == DqBlock::All || block == DqBlock::TachoFunction || block == DqBlock::TachoFunctionB;
    default: return block == DqBlock::All || block == DqBlock::DualCounter || block == DqBlock::DualCounterB;
    }
}

bool DqSettings::shows(const ListField<DqSettings>& field) const
{
    if (!blockActive(field.block))
        return false;
    if (field.member == &S::cboCountInputMode_C_Dual_0 || field.member == &S::cboMaxFreq_C_Dual_0)
        return functionMode() == 4; // two 1-stage counters only
    return true;
}

bool DqSettings::shows(const ValueField<DqSettings>& field) const { return blockActive(field.block); }

Text DqSettings::panelTitleId(int block)
{
    switch (block) {
    case B::TimerA: return Text::TitleTimer;
    case B::CounterB: return Text::Title1StageCounter;
    case B::TachoB: return Text::TitleTachometer;
    case B::TwoStageTimer: case B::TwoStageTimerB: return Text::Title2StageTimer;
    case B::DualCounter: case B::DualCounterB: return Text::TitleDualCounter;
    case B::TachoFunction: case B::TachoFunctionB: return Text::TitleTachometerCq;
    default: return Text::Settings;
    }
}

std::array<Text, 2> DqSettings::channelTitleIds(int mode)
{
    static constexpr std::array<std::array<Text, 2>, kFunctionModes> titles{
        {{Text::TitleTimer, Text::FunctionName1StageCounter}, {Text::TitleTimer, Text::TitleTachometer}, {Text::FunctionNameTotalCounter, Text::FunctionName1StageCounter}, {Text::FunctionNameBatchCounter, Text::FunctionName1StageCounter}, {Text::FunctionName1StageCounter, Text::FunctionName1StageCounter}, {Text::FunctionName2StageTimer, Text::FunctionName2StageTimer}, {Text::TitleTachometer, Text::TitleTachometer}}};
    return titles[static_cast<std::size_t>(std::clamp(mode, 0, kFunctionModes - 1))];
}

ListId DqSettings::listOf(const ListField<DqSettings>& field) const
{
    const auto m = field.member;
    if (m == &S::cboCountModeA) return ListId::DqTimeRange;
    if (m == &S::cboCountDirectionA) return ListId::TimeMode;
    if (m == &S::cboOutputModeA) return ListId::DqTimerOutputMode;
    if (m == &S::cboCountInputModeB || m == &S::cboCountInputMode_C_Dual_1) return ListId::CounterInputMode;
    if (m == &S::cboCountInputMode_C_Dual_0) return ListId::FirstCounterInputMode;
    // Its one input mode, "1 : Individual (Up)", counts at every speed the second counter offers for it.
    if (m == &S::cboMaxFreq_C_Dual_0) return ListId::CountingSpeed;
    if (m == &S::cboDotAdjB || m == &S::cboDotAdjB_F) return ListId::DqDecimalPoint;
    if (m == &S::cboMaxFreqB || m == &S::cboMaxFreqB_F || m == &S::cboMaxFreqB_Dual_F) return ListId::CountingSpeed;
    if (m == &S::cboMaxFreq_C_Dual_1)
        return cboCountInputMode_C_Dual_1 <= 1 ? ListId::CountingSpeed : ListId::CountingSpeedSlowOnly;
    if (m == &S::cboOutputModeB) return ListId::CounterOutputMode;
    if (m == &S::cboOutputMode_C_Dual_1)
        return isBatchKind(dualCounterKind) ? ListId::BatchCounterOutputMode : ListId::CounterOutputMode;
    if (m == &S::cboOutputModeB_F || m == &S::cboOutputModeA_Dual_F || m == &S::cboOutputModeB_Dual_F)
        return ListId::TachoOutputMode;
    if (m == &S::cboSampleAvgB_F || m == &S::cboSampleAvgB_Dual_F) return ListId::Averaging;
    if (m == &S::cboOutputMode_T_Dual_0 || m == &S::cboOutputMode_T_Dual_1 || m == &S::cboOutputMode_C_Dual_0)
        return ListId::SelfHoldingOrOneShot;
    if (m == &S::cboSGWidth_All) return ListId::DqSignalWidth;
    return ListId::NpnPnp; // cboInputMethod_All and the two-state flags
}

bool DqSettings::setList(const ListField<DqSettings>& field, int index)
{
    if (!field.member) {
        if (index < 0 || index >= kFunctionModes)
            return false;
        selectFunctionMode(index);
        return true;
    }
    const auto size = static_cast<int>(field.fileClass == 'F' ? 2 : choiceList(listOf(field)).size());
    if (index < 0 || index >= size)
        return false;
    const bool batchCodes = field.member == &S::cboOutputMode_C_Dual_1 && isBatchKind(dualCounterKind);
    return setStored(field, batchCodes ? kBatchOutputCodes[static_cast<std::size_t>(index)] : index);
}

bool DqSettings::setStored(const ListField<DqSettings>& field, int value)
{
    if (!field.member)
        return setList(field, value);
    const std::uint8_t before = this->*field.member;
    this->*field.member = static_cast<std::uint8_t>(value);
    if (value < 0 || value > 0xFF || listIndex(field) < 0) {
        this->*field.member = before;
        return false;
    }
    if (field.member == &S::cboCountInputMode_C_Dual_1 && before != value)
        cboMaxFreq_C_Dual_1 = 0; // every input mode rebuilds its counting speed list
    arrangeDisplays();
    return true;
}

int DqSettings::listIndex(const ListField<DqSettings>& field) const
{
    if (!field.member)
        return functionMode();
    const int value = this->*field.member;
    if (field.member == &S::cboOutputMode_C_Dual_1 && isBatchKind(dualCounterKind)) {
        for (std::size_t i = 0; i < kBatchOutputCodes.size(); ++i)
            if (kBatchOutputCodes[i] == value)
                return static_cast<int>(i);
        return -1;
    }
    const auto size = static_cast<int>(field.fileClass == 'F' ? 2 : choiceList(listOf(field)).size());
    return value < size ? value : -1;
}

void DqSettings::arrangeDisplays()
{
    for (const auto& f : kValues) {
        int point = f.point;
        if (f.member == &S::lblTimerSettingA)
            point = cboCountModeA == 0 ? 2 : 0;
        else if (f.member == &S::lblCounterSettingB)
            point = cboDotAdjB;
        else if (f.member == &S::lblCounterSettingB_F)
            point = cboDotAdjB_F;
        (this->*f.member).ArrangeDecimalPoint(point);
    }
}

int DqSettings::decimalClass(const ValueField<DqSettings>& field) const
{
    if (field.member == &S::lblTimerSettingA)
        return cboCountModeA == 0 ? 2 : 0;
    if (field.member == &S::lblCounterSettingB)
        return cboDotAdjB;
    if (field.member == &S::lblCounterSettingB_F)
        return cboDotAdjB_F;
    return field.decimalClass;
}

void DqSettings::setOnChanged(const std::function<void()>& onChanged)
{
    for (const auto& f : kValues)
        (this->*f.member).setOnChanged(onChanged);
}

Text dqFunctionModeStringId(int mode) { return static_cast<Text>(static_cast<int>(Text::FunctionTimerCounter) + mode); }

} // namespace lumetra
