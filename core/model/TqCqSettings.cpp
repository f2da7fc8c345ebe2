#include "TqCqSettings.h"

#include <array>

namespace lumetra {

namespace {
using L = ListField<TqCqSettings>;
using V = ValueField<TqCqSettings>;
using S = TqCqSettings;
namespace B = TqCqBlock;

const std::array<L, 30> kLists{{
    {"cboKP_All_TQ", &S::cboKP_All_TQ, 10, 'D', Text::NameKeyProtectLevel, B::TimerCommon},
    {"cboSGWidth_All_TQ", &S::cboSGWidth_All_TQ, 11, 'D', Text::NameInputSignalWidth, B::TimerCommon},
    {"cboInputMethod_All_TQ", &S::cboInputMethod_All_TQ, 12, 'D', Text::NameNpnPnpInputMode, B::TimerCommon},
    {"mKP", &S::keyProtection, 13, 'F', Text::KeyProtection, B::TimerCommon},
    {"cboTimerRange_A_TQ", &S::cboTimerRange_A_TQ, 32, 'D', Text::NameTimeRange, B::Timer},
    {"cboTimerDirection_A_TQ", &S::cboTimerDirection_A_TQ, 33, 'D', Text::NameTimeMode, B::Timer},
    {"cboOutputMode_A_TQ", &S::cboOutputMode_A_TQ, 34, 'D', Text::NameOutputMode, B::Timer},
    {"cboTimerRangeOFF_B_TQ", &S::cboTimerRangeOFF_B_TQ, 81, 'D', Text::NameOffTimeRange, B::TwinTimer},
    {"cboTimerRangeON_B_TQ", &S::cboTimerRangeON_B_TQ, 82, 'D', Text::NameOnTimeRange, B::TwinTimer},
    {"cboTimerDirection_B_TQ", &S::cboTimerDirection_B_TQ, 83, 'D', Text::NameTimeMode, B::TwinTimer},
    {"cboOutputMode_B_TQ", &S::cboOutputMode_B_TQ, 84, 'D', Text::NameOnOffStartMode, B::TwinTimer},
    {"cboSettingMode_C_TQ", &S::cboSettingMode_C_TQ, 121, 'D', Text::NameSettingMethod, B::TwoStageTimer},
    {"cboTimerRange_C_TQ", &S::cboTimerRange_C_TQ, 122, 'D', Text::NameTimeRange, B::TwoStageTimer},
    {"cboOutputMode_C_TQ", &S::cboOutputMode_C_TQ, 123, 'D', Text::NameOutputMode, B::TwoStageTimer},
    {"cboKP_Comm_CQ", &S::cboKP_Comm_CQ, 10, 'D', Text::NameKeyProtectLevel, B::CounterCommon},
    {"cboDotAdj_Comm_CQ", &S::cboDotAdj_Comm_CQ, 11, 'D', Text::NameDecimalPointPosition, B::CounterCommon},
    {"cboInputMethod_Comm_CQ", &S::cboInputMethod_Comm_CQ, 12, 'D', Text::NameNpnPnpInputMode, B::CounterCommon},
    {"cboMaxFreq_Comm_CQ", &S::cboMaxFreq_Comm_CQ, 19, 'D', Text::NameCountingSpeed, B::CounterCommon},
    {"cboSGWidth_Comm_CQ", &S::cboSGWidth_Comm_CQ, 20, 'D', Text::NameInputSignalWidth, B::CounterCommon},
    {"mKP", &S::keyProtection, 21, 'F', Text::KeyProtection, B::CounterCommon},
    {"cboCountInputMode_1st_CQ", &S::cboCountInputMode_1st_CQ, 32, 'D', Text::NameInputMode, B::OneStage},
    {"cboOutputMode_1st_CQ", &S::cboOutputMode_1st_CQ, 33, 'H', Text::NameOutputMode, B::OneStage},
    {"cboCountInputMode_2nd_CQ", &S::cboCountInputMode_2nd_CQ, 81, 'D', Text::NameInputMode, B::TwoStage},
    {"cboOutputMode_2nd_CQ", &S::cboOutputMode_2nd_CQ, 82, 'H', Text::NameOutputMode, B::TwoStage},
    {"cboCountInputMode_batch_CQ", &S::cboCountInputMode_batch_CQ, 131, 'D', Text::NameInputMode, B::BatchDual},
    {"cboOutputMode_batch_CQ", &S::cboOutputMode_batch_CQ, 132, 'H', Text::NameOutputMode, B::BatchDual},
    {"cboOutputMode_freq_CQ", &S::cboOutputMode_freq_CQ, 181, 'H', Text::NameOutputMode, B::Tacho},
    {"cboSampleAvg_freq_CQ", &S::cboSampleAvg_freq_CQ, 183, 'D', Text::NameAverageProcessing, B::Tacho},
    {"functionMode", nullptr, -1, 0, Text::NameFunctionSelection, B::TimerCommon},
    {"functionMode", nullptr, -1, 0, Text::NameFunctionSelection, B::CounterCommon},
}};

const std::array<V, 21> kValues{{
    {"lblTimerSetting_A_TQ", &S::lblTimerSetting_A_TQ, 35, ValueForm::V6, Text::NameSetValue, B::Timer, -1, 0},
    {"lblHoldTime_A_TQ", &S::lblHoldTime_A_TQ, 41, ValueForm::V6, Text::NameOutputTime, B::Timer, -1, 0},
    {"lblDutyRatio_A_TQ", &S::lblDutyRatio_A_TQ, 47, ValueForm::V6, Text::NameOnDutyRatio, B::Timer, -1, 0},
    {"lblSettingValueOFF_B_TQ", &S::lblSettingValueOFF_B_TQ, 85, ValueForm::V6, Text::NameOffSetValue, B::TwinTimer, -1, 0},
    {"lblSettingValueON_B_TQ", &S::lblSettingValueON_B_TQ, 91, ValueForm::V6, Text::NameOnSetValue, B::TwinTimer, -1, 0},
    {"lblSV1_C_TQ", &S::lblSV1_C_TQ, 124, ValueForm::V6, Text::NameSetValueSv1, B::TwoStageTimer, -1, 0},
    {"lblSV2_C_TQ", &S::lblSV2_C_TQ, 130, ValueForm::V6, Text::NameForecastSetValueSv2, B::TwoStageTimer, -1, 0},
    {"lblMagnification_Comm_CQ", &S::lblMagnification_Comm_CQ, 13, ValueForm::V6, Text::NamePrescaleValue, B::CounterCommon, -1, 0},
    {"lblHoldCounter_1st_CQ", &S::lblHoldCounter_1st_CQ, 36, ValueForm::V6, Text::NameOutputTime, B::OneStage, -1, 0},
    {"lblCounterSetting_1st_CQ", &S::lblCounterSetting_1st_CQ, 42, ValueForm::V6, Text::NameSetValue, B::OneStage, -1, 0},
    {"lblHoldCounter_2nd_1_CQ", &S::lblHoldCounter_2nd_1_CQ, 85, ValueForm::V6, Text::NameOutputTime1, B::TwoStage, -1, 0},
    {"lblHoldCounter_2nd_2_CQ", &S::lblHoldCounter_2nd_2_CQ, 91, ValueForm::V6, Text::NameOutputTime2, B::TwoStage, -1, 0},
    {"lblCounterSetting_2nd_1_CQ", &S::lblCounterSetting_2nd_1_CQ, 97, ValueForm::V6, Text::NameSetValue1, B::TwoStage, -1, 0},
    {"lblCounterSetting_2nd_2_CQ", &S::lblCounterSetting_2nd_2_CQ, 103, ValueForm::V6, Text::NameSetValue2, B::TwoStage, -1, 0},
    {"lblHoldCounter_batch_CQ", &S::lblHoldCounter_batch_CQ, 135, ValueForm::V6, Text::NameOutputTime, B::BatchDual, -1, 0},
    {"lblCounterSetting_batch_1_CQ", &S::lblCounterSetting_batch_1_CQ, 141, ValueForm::V6, Text::NameSetValue, B::BatchDual, -1, 0},
    {"lblCounterSetting_batch_2_CQ", &S::lblCounterSetting_batch_2_CQ, 147, ValueForm::V6, Text::NameSetValueBatch, B::BatchDual, -1, 0},
    {"lblAuto2ZeroTime_freq_CQ", &S::lblAuto2ZeroTime_freq_CQ, 184, ValueForm::V6, Text::NameAutoZeroTime, B::Tacho, -1, 0},
    {"lblDelay2StartTime_freq_CQ", &S::lblDelay2StartTime_freq_CQ, 190, ValueForm::V6, Text::NameStartupTime, B::Tacho, -1, 0},
    {"lblCounterSetting_freq_1_CQ", &S::lblCounterSetting_freq_1_CQ, 196, ValueForm::V6, Text::NameSetValue1, B::Tacho, -1, 0},
    {"lblCounterSetting_freq_2_CQ", &S::lblCounterSetting_freq_2_CQ, 202, ValueForm::V6, Text::NameSetValue2, B::Tacho, -1, 0},
}};
} // namespace

TqCqSettings::TqCqSettings(MachineType type) : machineType(type) {}

std::span<const ListField<TqCqSettings>> TqCqSettings::listFields() { return kLists; }
std::span<const ValueField<TqCqSettings>> TqCqSettings::valueFields() { return kValues; }

const ListField<TqCqSettings>* TqCqSettings::findList(const std::string& name)
{
    for (const auto& f : kLists)
        if (name == f.name)
            return &f;
    return nullptr;
}

const ValueField<TqCqSettings>* TqCqSettings::findValue(const std::string& name)
{
    for (const auto& f : kValues)
        if (name == f.name)
            return &f;
    return nullptr;
}

bool TqCqSettings::offersMode(int mode) const
{
    switch (machineType) {
    case MachineType::TQ: return isTimerMode(mode);
    case MachineType::CQ: return isCounterMode(mode);
    case MachineType::XQ: return isTimerMode(mode) || isCounterMode(mode);
    case MachineType::DQ: break;
    }
    return false;
}

bool TqCqSettings::selectFunctionMode(int mode)
{
    if (!offersMode(mode))
        return false;
    if (mode == 6 || mode == 7) {
        // The batch and dual counters load their own input and output lists.
        cboCountInputMode_batch_CQ = 0;
        cboOutputMode_batch_CQ = 0;
    }
    functionMode = mode;
    applyStepRules();
    return true;
}

bool TqCqSettings::blockActive(int block) const
{
    switch (functionMode) {
    case 0: return block == B::TimerCommon || block == B::Timer;
    case 1: return block == B::TimerCommon || block == B::TwinTimer;
    case 2: return block == B::TimerCommon || block == B::TwoStageTimer;
    case 3:
    case 5: return block == B::CounterCommon || block == B::OneStage;
    case 4: return block == B::CounterCommon || block == B::TwoStage;
    case 6:
    case 7: return block == B::CounterCommon || block == B::BatchDual;
    case 8: return block == B::CounterCommon || block == B::Tacho;
    default: return false;
    }
}

bool TqCqSettings::shows(const ListField<TqCqSettings>& field) const
{
    if (!blockActive(field.block))
        return false;
    return !(field.member == &S::cboSGWidth_Comm_CQ && functionMode == 8); // the tachometer has no input signal width
}

bool TqCqSettings::shows(const ValueField<TqCqSettings>& field) const
{
    if (!blockActive(field.block))
        return false;
    return !(field.member == &S::lblCounterSetting_batch_2_CQ && functionMode == 7); // the dual counter counts no batches
}

bool TqCqSettings::enables(const ValueField<TqCqSettings>& field) const
{
    if (field.member == &S::lblDutyRatio_A_TQ)
        return cboOutputMode_A_TQ == 9; // "Z : ON/OFF-duty adjustable flicker"
    if (field.member == &S::lblHoldTime_A_TQ)
        return cboOutputMode_A_TQ <= 5; // the modes from "d : Signal OFF delay" on have no output time
    return true;
}

Text TqCqSettings::labelOf(const ValueField<TqCqSettings>& field) const
{
    if (field.member == &S::lblTimerSetting_A_TQ && cboOutputMode_A_TQ == 9)
        return Text::NameCycleTime;
    return field.labelId;
}

Text TqCqSettings::panelTitleId(int block) const
{
    if (isCommonBlock(block))
        return Text::Settings;
    // A panel that serves two functions takes the title of the one shown.
    if (blockActive(block))
        return tqcqFunctionTitleId(functionMode);
    static constexpr Text firstTitles[] = {Text::None,        Text::TitleTimerTq,         Text::TitleTwinTimer,
                                           Text::Title2StageTimer, Text::None,          Text::Title1StageCounterCq,
                                           Text::Title2StageCounter, Text::TitleBatchCounter, Text::TitleTachometerCq};
    return firstTitles[block];
}

ListId TqCqSettings::listOf(const ListField<TqCqSettings>& field) const
{
    const auto m = field.member;
    if (m == &S::cboKP_All_TQ || m == &S::cboKP_Comm_CQ) return ListId::KeyProtectLevel;
    if (m == &S::cboSGWidth_All_TQ || m == &S::cboSGWidth_Comm_CQ) return ListId::TqSignalWidth;
    if (m == &S::cboInputMethod_All_TQ || m == &S::cboInputMethod_Comm_CQ) return ListId::NpnPnp;
    if (m == &S::cboTimerRange_A_TQ || m == &S::cboTimerRangeOFF_B_TQ || m == &S::cboTimerRangeON_B_TQ
        || m == &S::cboTimerRange_C_TQ)
        return ListId::TqTimeRange;
    if (m == &S::cboTimerDirection_A_TQ || m == &S::cboTimerDirection_B_TQ) return ListId::TimeMode;
    if (m == &S::cboOutputMode_A_TQ) return ListId::TqOutputMode;
    if (m == &S::cboOutputMode_B_TQ) return ListId::TwinStartMode;
    if (m == &S::cboSettingMode_C_TQ) return ListId::SettingMethod;
    if (m == &S::cboOutputMode_C_TQ) return ListId::TwoStageOutputMode;
    if (m == &S::cboDotAdj_Comm_CQ) return ListId::CqDecimalPoint;
    if (m == &S::cboMaxFreq_Comm_CQ) return functionMode == 8 ? ListId::CqCountingSpeedTacho : ListId::CqCountingSpeed;
    if (m == &S::cboCountInputMode_batch_CQ)
        return functionMode == 7 ? ListId::DualInputMode : functionMode == 6 ? ListId::BatchInputMode : ListId::CqInputMode;
    if (m == &S::cboOutputMode_batch_CQ) return functionMode == 7 ? ListId::DualOutputMode : ListId::CqOutputMode;
    if (m == &S::cboCountInputMode_1st_CQ || m == &S::cboCountInputMode_2nd_CQ) return ListId::CqInputMode;
    if (m == &S::cboOutputMode_freq_CQ) return ListId::FreqOutputMode;
    if (m == &S::cboSampleAvg_freq_CQ) return ListId::Averaging;
    return ListId::CqOutputMode; // cboOutputMode_1st_CQ, cboOutputMode_2nd_CQ
}

bool TqCqSettings::setList(const ListField<TqCqSettings>& field, int index)
{
    if (!field.member)
        return selectFunctionMode(index);
    const auto size = static_cast<int>(field.fileClass == 'F' ? 2 : choiceList(listOf(field)).size());
    if (index < 0 || index >= size)
        return false;
    this->*field.member = static_cast<std::uint8_t>(index);
    applyStepRules();
    return true;
}

int TqCqSettings::listIndex(const ListField<TqCqSettings>& field) const
{
    if (!field.member)
        return functionMode;
    return this->*field.member;
}

void TqCqSettings::applyStepRules()
{
    const auto sixty = [](int range) { return range == 3 || range == 6 ? StepRule::SixtyTens : StepRule::Plain; };
    lblTimerSetting_A_TQ.setStepRule(sixty(cboTimerRange_A_TQ));
    lblSettingValueOFF_B_TQ.setStepRule(sixty(cboTimerRangeOFF_B_TQ));
    lblSettingValueON_B_TQ.setStepRule(sixty(cboTimerRangeON_B_TQ));
    lblSV1_C_TQ.setStepRule(sixty(cboTimerRange_C_TQ));
    lblSV2_C_TQ.setStepRule(sixty(cboTimerRange_C_TQ));
    lblCounterSetting_1st_CQ.setStepRule(cboOutputMode_1st_CQ >= 8 ? StepRule::SignedFirstCell : StepRule::Plain);
}

void TqCqSettings::setOnChanged(const std::function<void()>& onChanged)
{
    for (const auto& f : kValues)
        (this->*f.member).setOnChanged(onChanged);
}

Text tqcqFunctionModeStringId(int mode)
{
    const int first = mode <= 2 ? static_cast<int>(Text::FunctionNameTimer) + mode
                                : static_cast<int>(Text::FunctionName1StageCounter) + (mode - 3);
    return static_cast<Text>(first);
}

Text tqcqFunctionTitleId(int mode)
{
    const int first = mode <= 2 ? static_cast<int>(Text::TitleTimerTq) + mode
                                : static_cast<int>(Text::Title1StageCounterCq) + (mode - 3);
    return static_cast<Text>(first);
}

} // namespace lumetra
