#include "SummaryBytes.h"

namespace lumetra {

namespace {
void setHigh(std::uint8_t& b, int v) { b = static_cast<std::uint8_t>((b & 0x0F) | (v & 0x0F) << 4); }
void setLow(std::uint8_t& b, int v) { b = static_cast<std::uint8_t>((b & 0xF0) | (v & 0x0F)); }

// Batch counter: the second counter's output modes 4, 10, 12 and 13 as 0..3.
int batchOutputNibble(int outputMode)
{
    switch (outputMode) {
    case 4: return 0;
    case 10: return 1;
    case 12: return 2;
    case 13: return 3;
    default: return -1;
    }
}
} // namespace

int updateSummaryBytes(SummaryPart part, const DqSettings& s, const SummaryBytes& read, SummaryBytes& out)
{
    out = read;
    if (s.functionGroup == 0) {
        if (part != SummaryPart::ChannelB) {
            setHigh(out[0], 2 * s.cboCountModeA + s.cboCountDirectionA);
            setLow(out[0], 0);
            setHigh(out[1], s.cboSGWidth_All);
            setLow(out[1], s.cboOutputModeA);
        }
        if (part != SummaryPart::ChannelA) {
            const bool counter = s.channelBFunction == 0;
            setLow(out[2], s.channelBFunction);
            if (counter) {
                setHigh(out[2], s.cboCountInputModeB);
                setHigh(out[3], s.cboMaxFreqB);
                setLow(out[3], s.cboOutputModeB);
                setHigh(out[4], s.cboDotAdjB);
                setLow(out[4], s.cboInputMethod_All);
            } else {
                setHigh(out[3], s.cboMaxFreqB_F);
                setHigh(out[4], s.cboDotAdjB_F);
                setHigh(out[5], s.cboSampleAvgB_F);
                setLow(out[5], s.cboOutputModeB_F);
            }
        }
        return 0;
    }
    if (s.functionGroup != 1 || s.singleFunction > 2)
        return 1;
    setHigh(out[0], s.singleFunction);
    setLow(out[0], 1);
    switch (s.singleFunction) {
    case 0:
        setHigh(out[1], s.cboSGWidth_All);
        setLow(out[1], 2 * s.cboOutputMode_T_Dual_1 + s.cboOutputMode_T_Dual_0);
        break;
    case 1:
        setHigh(out[2], s.cboCountInputMode_C_Dual_1);
        setLow(out[2], s.dualCounterKind);
        setHigh(out[4], s.cboOutputMode_C_Dual_0);
        setLow(out[4], s.cboInputMethod_All);
        if (s.dualCounterKind == 0) {
            setHigh(out[3], s.cboMaxFreq_C_Dual_1);
            setLow(out[3], s.cboOutputMode_C_Dual_1);
        } else if (s.dualCounterKind == 1) {
            setHigh(out[3], s.cboMaxFreq_C_Dual_1);
            if (const int nibble = batchOutputNibble(s.cboOutputMode_C_Dual_1); nibble >= 0)
                setLow(out[5], nibble);
        } else {
            setLow(out[3], s.cboOutputMode_C_Dual_1);
        }
        break;
    default:
        setLow(out[1], 2 * s.cboOutputModeB_Dual_F + s.cboOutputModeA_Dual_F);
        setHigh(out[3], s.cboMaxFreqB_Dual_F);
        setHigh(out[5], s.cboSampleAvgB_Dual_F);
        break;
    }
    return 0;
}

} // namespace lumetra
