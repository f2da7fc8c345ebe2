#include "TqCqImages.h"

#include "comm/Frames.h"

namespace lumetra {

namespace {
// Plain layout: two zeros and the six cells, read as packed BCD.
BcdBytes plainBytes(const std::string& digits) { return eightDigitsToBytes("00" + digits); }

std::uint8_t bcdPair(char tens, char units)
{
    std::uint8_t b = 0;
    const char pair[2] = {tens, units};
    parseHexByte(std::string_view(pair, 2), 0, b);
    return b;
}

// A counter set value that may show "-" in its first cell: the sign goes to
// its sign register and the digit is taken as 0.
void storeSigned(RegisterImage& image, std::uint16_t address, const ValueDisplay& d, std::uint16_t signRegister)
{
    std::string digits = d.digits();
    const bool negative = digits[0] == '-';
    if (negative)
        digits[0] = '0';
    image.storeBcd(address, plainBytes(digits));
    image.storeCode(signRegister, negative ? 1 : 0);
}

// Auto-zero and startup times: cells 4, 5 at the even address, cells 2, 3 at the odd one.
void storeShortTime(RegisterImage& image, std::uint16_t address, const ValueDisplay& d)
{
    image.storeByte(address, bcdPair(d.cell(4), d.cell(5)));
    image.storeByte(static_cast<std::uint16_t>(address + 1), bcdPair(d.cell(2), d.cell(3)));
}

constexpr std::uint16_t kSign1 = 0x06C6;
constexpr std::uint16_t kSign2 = 0x06C8;
} // namespace

void TqImage::convert(const TqCqSettings& s)
{
    image.reset();
    image.storeWord(0x0432, static_cast<std::uint16_t>(s.functionMode));
    image.storeCode(0x0434, s.cboSGWidth_All_TQ);
    image.storeCode(0x0436, s.cboInputMethod_All_TQ);
    image.storeCode(0x0438, s.cboKP_All_TQ);
    image.storeCode(0x043C, s.keyProtection);
    image.storeCode(0x0440, s.cboTimerRange_A_TQ);
    image.storeCode(0x0442, s.cboTimerDirection_A_TQ);
    image.storeCode(0x0444, s.cboOutputMode_A_TQ);
    image.storeBcd(0x0446, plainBytes(s.lblHoldTime_A_TQ.digits()));
    image.storeBcd(0x044A, plainBytes(s.lblTimerSetting_A_TQ.digits())); // the cycle time in output mode 9
    // The duty ratio's three digits: the last two as one BCD byte, the first below it.
    const ValueDisplay& duty = s.lblDutyRatio_A_TQ;
    image.storeByte(0x044E, bcdPair(duty.cell(1), duty.cell(2)));
    image.storeByte(0x044F, bcdPair('0', duty.cell(0)));
    image.storeCode(0x0460, s.cboTimerRangeOFF_B_TQ);
    image.storeCode(0x0462, s.cboTimerRangeON_B_TQ);
    image.storeCode(0x0464, s.cboTimerDirection_B_TQ);
    image.storeCode(0x0466, s.cboOutputMode_B_TQ);
    image.storeBcd(0x0468, plainBytes(s.lblSettingValueOFF_B_TQ.digits()));
    image.storeBcd(0x046C, plainBytes(s.lblSettingValueON_B_TQ.digits()));
    image.storeCode(0x0480, s.cboSettingMode_C_TQ);
    image.storeCode(0x0482, s.cboTimerRange_C_TQ);
    image.storeCode(0x0484, s.cboOutputMode_C_TQ);
    image.storeBcd(0x0486, plainBytes(s.lblSV1_C_TQ.digits()));
    image.storeBcd(0x048A, plainBytes(s.lblSV2_C_TQ.digits()));
}

void CqImages::convert(const TqCqSettings& s)
{
    common.reset();
    function.reset();
    common.storeWord(0x0432, static_cast<std::uint16_t>(s.functionMode));
    common.storeCode(0x0434, s.cboSGWidth_Comm_CQ);
    common.storeCode(0x0436, s.cboInputMethod_Comm_CQ);
    common.storeCode(0x0438, s.cboKP_Comm_CQ);
    common.storeCode(0x043C, s.keyProtection);
    function.storeCode(0x06A4, s.cboMaxFreq_Comm_CQ);
    function.storeCode(0x06A6, s.cboDotAdj_Comm_CQ);
    function.storeBcd(0x06A8, plainBytes(s.lblMagnification_Comm_CQ.digits()));

    switch (s.functionMode) {
    case 3:
    case 5:
        function.storeCode(0x06A0, s.cboCountInputMode_1st_CQ);
        function.storeCode(0x06A2, s.cboOutputMode_1st_CQ);
        storeSigned(function, 0x06AC, s.lblCounterSetting_1st_CQ, kSign1);
        function.storeBcd(0x06B4, plainBytes(s.lblHoldCounter_1st_CQ.digits()));
        break;
    case 4:
        function.storeCode(0x06A0, s.cboCountInputMode_2nd_CQ);
        function.storeCode(0x06A2, s.cboOutputMode_2nd_CQ);
        storeSigned(function, 0x06AC, s.lblCounterSetting_2nd_1_CQ, kSign1);
        storeSigned(function, 0x06B0, s.lblCounterSetting_2nd_2_CQ, kSign2);
        function.storeBcd(0x06B4, plainBytes(s.lblHoldCounter_2nd_1_CQ.digits()));
        function.storeBcd(0x06B8, plainBytes(s.lblHoldCounter_2nd_2_CQ.digits()));
        break;
    case 6:
        function.storeCode(0x06A0, s.cboCountInputMode_batch_CQ);
        function.storeCode(0x06A2, s.cboOutputMode_batch_CQ);
        storeSigned(function, 0x06AC, s.lblCounterSetting_batch_1_CQ, kSign1);
        storeSigned(function, 0x06B0, s.lblCounterSetting_batch_2_CQ, kSign2);
        function.storeBcd(0x06B4, plainBytes(s.lblHoldCounter_batch_CQ.digits()));
        break;
    case 7:
        function.storeCode(0x06A0, 3);
        function.storeCode(0x06A2, s.cboOutputMode_batch_CQ);
        storeSigned(function, 0x06AC, s.lblCounterSetting_batch_1_CQ, kSign1);
        function.storeBcd(0x06B4, plainBytes(s.lblHoldCounter_batch_CQ.digits()));
        function.storeCode(0x06BC, s.cboCountInputMode_batch_CQ);
        break;
    case 8:
        function.storeCode(0x06A0, 3);
        storeSigned(function, 0x06AC, s.lblCounterSetting_freq_1_CQ, kSign1);
        // Both tachometer set values report their sign in the first register.
        storeSigned(function, 0x06B0, s.lblCounterSetting_freq_2_CQ, kSign1);
        function.storeCode(0x06BE, s.cboOutputMode_freq_CQ);
        function.storeCode(0x06C0, s.cboSampleAvg_freq_CQ);
        storeShortTime(function, 0x06C2, s.lblAuto2ZeroTime_freq_CQ);
        storeShortTime(function, 0x06C4, s.lblDelay2StartTime_freq_CQ);
        break;
    default:
        break;
    }
}

} // namespace lumetra
