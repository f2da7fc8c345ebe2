#include "DqChecks.h"

#include "DqImages.h"
#include "comm/ResultCodes.h"
#include "values/CheckRange.h"
#include "values/ValueText.h"

#include <cmath>

namespace lumetra {

namespace {
bool fails(int decimalClass, const std::string& text, bool narrow = false) { return CheckRange(decimalClass, narrow, text) != 0; }
bool outputTimeApplies(int counterOutputMode) { return (counterOutputMode >= 3 && counterOutputMode <= 5) || (counterOutputMode >= 9 && counterOutputMode <= 13); }
} // namespace

int checkTimerA(const DqSettings& s)
{
    if (fails(s.cboCountModeA == 0 ? 2 : 0, s.lblTimerSettingA.valueText()))
        return Result::BadTimerValue;
    if (s.cboOutputModeA != 0 && s.cboOutputModeA != 5 && fails(2, pointTwoText(s.lblHoldTimeA)))
        return Result::BadOutputTime;
    return Result::Ok;
}

int checkChannelB(const DqSettings& s)
{
    if (s.channelBFunction == 0) {
        if (fails(s.cboDotAdjB, s.lblCounterSettingB.valueText()))
            return Result::BadCounterValue;
        if (outputTimeApplies(s.cboOutputModeB) && fails(2, pointTwoText(s.lblHoldCounterB)))
            return Result::BadOutputTime;
        if (fails(3, s.lblMagnificationB.valueText(), true))
            return Result::BadPrescale;
        return Result::Ok;
    }
    if (fails(s.cboDotAdjB_F, s.lblCounterSettingB_F.valueText()))
        return Result::BadTachoValue;
    if (fails(5, pointTwoText(s.lblHoldCounterB_F)))
        return Result::BadStartupTime;
    if (fails(3, s.lblMagnificationB_F.valueText(), true))
        return Result::BadPrescale;
    return Result::Ok;
}

int checkTwoStageTimer(const DqSettings& s)
{
    const std::string stage0 = s.lblTimerSetting_T_Dual_0.valueText();
    const std::string stage1 = s.lblTimerSetting_T_Dual_1.valueText();
    if (fails(0, stage0) || fails(0, stage1))
        return Result::BadTimerValue;
    if (std::llround(leadingNumber(stage1)) < std::llround(leadingNumber(stage0)))
        return Result::TimerOrder;
    if (s.cboOutputMode_T_Dual_0 == 1 && fails(2, pointTwoText(s.lblHoldTime_T_Dual_0)))
        return Result::BadOutputTime;
    if (s.cboOutputMode_T_Dual_1 == 1 && fails(2, pointTwoText(s.lblHoldTime_T_Dual_1)))
        return Result::BadOutputTime;
    return Result::Ok;
}

int checkDualCounter(const DqSettings& s)
{
    if (fails(0, s.lblCounterSetting_C_Dual_0.valueText()))
        return Result::BadCounterValue;
    if (s.cboOutputMode_C_Dual_0 == 1 && fails(2, pointTwoText(s.lblHoldCounter_C_Dual_0)))
        return Result::BadOutputTime;
    if (fails(0, s.lblCounterSetting_C_Dual_1.valueText()))
        return Result::BadCounterValue;
    if (outputTimeApplies(s.cboOutputMode_C_Dual_1) && fails(2, pointTwoText(s.lblHoldCounter_C_Dual_1)))
        return Result::BadOutputTime;
    return Result::Ok;
}

int checkTachoFunction(const DqSettings& s)
{
    if (fails(0, s.lblCounterSettingA_Dual_F.valueText()) || fails(0, s.lblCounterSettingB_Dual_F.valueText()))
        return Result::BadTachoValue;
    if (fails(5, pointTwoText(s.lblHoldCounterB_Dual_F)))
        return Result::BadStartupTime;
    return Result::Ok;
}

int checkDqSelection(const DqSettings& s)
{
    if (s.functionGroup == 0) {
        if (const int rc = checkTimerA(s))
            return rc;
        return checkChannelB(s);
    }
    switch (s.singleFunction) {
    case 0: return checkTwoStageTimer(s);
    case 1: return checkDualCounter(s);
    default: return checkTachoFunction(s);
    }
}

} // namespace lumetra
