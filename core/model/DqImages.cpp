#include "DqImages.h"

#include "values/ValueText.h"

#include <array>
#include <cmath>

namespace lumetra {

namespace {
constexpr BcdBytes kPrescaleOne{0x00, 0x00, 0x01, 0x00};

BcdBytes timeBytes(const ValueDisplay& d) { return eightDigitsToBytes(FormatValue(1, pointTwoText(d), 2)); }
BcdBytes prescaleBytes(const ValueDisplay& d) { return eightDigitsToBytes(FormatValue(1, d.valueText(), 3)); }
// Whole-number set values: six digits in SixDigitLayout.
BcdBytes integerBytes(const ValueDisplay& d)
{
    return eightDigitsToBytes(SixDigitLayout(zeroPadded(std::llround(leadingNumber(d.valueText())), 6)));
}
} // namespace

std::string pointTwoText(const ValueDisplay& d)
{
    const std::string digits = d.digits();
    return digits.substr(0, 4) + "." + digits.substr(4, 2);
}

TimerSlot timerASlot(int timeCode)
{
    static constexpr std::array<TimerSlot, 8> kSlots{{
        {0x045C, 0x045C}, {0x0460, 0x0460}, {0x0464, 0x0466}, {0x046A, 0x046C},
        {0x0470, 0x0474}, {0x0478, 0x047C}, {0x0480, 0x0486}, {0x048A, 0x0490},
    }};
    return kSlots[static_cast<std::size_t>(timeCode & 7)];
}

void DqImages::convertTimerA(const DqSettings& s)
{
    timerA.reset();
    const int timeCode = 2 * s.cboCountModeA + s.cboCountDirectionA;
    timerA.storeCode(0x045A, timeCode);
    const TimerSlot slot = timerASlot(timeCode);
    for (std::uint16_t a = slot.zeroFrom; a < slot.value; ++a)
        timerA.storeByte(a, 0);
    const std::string text = s.lblTimerSettingA.valueText();
    timerA.storeBcd(slot.value, eightDigitsToBytes(FormatValue(s.cboCountModeA == 0 ? 1 : 0, text, 2)));
    timerA.storeBcd(0x0494, timeBytes(s.lblHoldTimeA));
    timerA.storeCode(0x0498, s.cboOutputModeA);
}

void DqImages::convertCounterB(const DqSettings& s)
{
    counterB.reset();
    counterB.storeCode(0x054C, s.cboMaxFreqB);
    counterB.storeBcd(0x0550, prescaleBytes(s.lblMagnificationB));
    counterB.storeCode(0x0554, s.cboDotAdjB);
    if (const std::uint16_t at = counterSetValueAddress(0, s.cboCountInputModeB))
        counterB.storeBcd(at, eightDigitsToBytes(EncodeCounterSetValue(s.cboDotAdjB, s.lblCounterSettingB.valueText())));
    counterB.storeCode(0x055E, s.cboCountInputModeB);
    counterB.storeCode(0x0560, s.cboOutputModeB);
    counterB.storeBcd(0x0562, timeBytes(s.lblHoldCounterB));
}

void DqImages::convertTachoB(const DqSettings& s)
{
    tachoB.reset();
    tachoB.storeCode(0x054C, s.cboMaxFreqB_F);
    tachoB.storeBcd(0x0550, prescaleBytes(s.lblMagnificationB_F));
    tachoB.storeCode(0x0554, s.cboDotAdjB_F);
    tachoB.storeBcd(0x0556, eightDigitsToBytes(EncodeCounterSetValue(s.cboDotAdjB_F, s.lblCounterSettingB_F.valueText())));
    tachoB.storeCode(0x055E, 0);
    tachoB.storeCode(0x0560, 0);
    tachoExtra.reset();
    tachoExtra.storeCode(0x0612, s.cboOutputModeB_F);
    tachoExtra.storeCode(0x0614, s.cboSampleAvgB_F);
    tachoExtra.storeBcd(0x0626, timeBytes(s.lblHoldCounterB_F));
}

void DqImages::convertTwoStageTimer(const DqSettings& s)
{
    twoStageTimer.reset();
    twoStageTimer.storeCode(0x0630, 0);
    twoStageTimer.storeBcd(0x0632, integerBytes(s.lblTimerSetting_T_Dual_0));
    twoStageTimer.storeBcd(0x0636, integerBytes(s.lblTimerSetting_T_Dual_1));
    twoStageTimer.storeCode(0x063A, s.cboOutputMode_T_Dual_0);
    twoStageTimer.storeCode(0x063C, s.cboOutputMode_T_Dual_1);
    twoStageTimer.storeBcd(0x063E, timeBytes(s.lblHoldTime_T_Dual_0));
    twoStageTimer.storeBcd(0x0642, timeBytes(s.lblHoldTime_T_Dual_1));
}

void DqImages::convertDualCounter(const DqSettings& s)
{
    counterA.reset();
    counterA.storeCode(0x0670, s.dualCounterKind);
    counterA.storeBcd(0x0672, integerBytes(s.lblCounterSetting_C_Dual_0));
    counterA.storeBcd(0x0676, timeBytes(s.lblHoldCounter_C_Dual_0));
    counterA.storeCode(0x067A, s.cboOutputMode_C_Dual_0);

    counterB.reset();
    counterB.storeCode(0x054C, s.cboMaxFreq_C_Dual_1);
    counterB.storeBcd(0x0550, kPrescaleOne);
    counterB.storeCode(0x0554, 0);
    if (const std::uint16_t at = counterSetValueAddress(2, s.cboCountInputMode_C_Dual_1))
        counterB.storeBcd(at, eightDigitsToBytes(EncodeCounterSetValue(0, s.lblCounterSetting_C_Dual_1.valueText())));
    counterB.storeCode(0x055E, s.cboCountInputMode_C_Dual_1);
    counterB.storeCode(0x0560, s.cboOutputMode_C_Dual_1);
    counterB.storeBcd(0x0562, timeBytes(s.lblHoldCounter_C_Dual_1));
}

void DqImages::convertTachoFunction(const DqSettings& s)
{
    tachoA.reset();
    tachoA.storeBcd(0x0690, integerBytes(s.lblCounterSettingA_Dual_F));
    tachoA.storeCode(0x0694, s.cboOutputModeA_Dual_F);

    tachoB.reset();
    tachoB.storeCode(0x054C, s.cboMaxFreqB_Dual_F);
    tachoB.storeBcd(0x0550, kPrescaleOne);
    tachoB.storeCode(0x0554, 0);
    tachoB.storeBcd(0x0556, eightDigitsToBytes(EncodeCounterSetValue(0, s.lblCounterSettingB_Dual_F.valueText())));
    tachoB.storeCode(0x055E, 0);
    tachoB.storeCode(0x0560, 0);
    tachoExtra.reset();
    tachoExtra.storeCode(0x0612, s.cboOutputModeB_Dual_F);
    tachoExtra.storeCode(0x0614, s.cboSampleAvgB_Dual_F);
    tachoExtra.storeBcd(0x0626, timeBytes(s.lblHoldCounterB_Dual_F));
}

} // namespace lumetra
