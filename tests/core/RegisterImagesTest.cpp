#include "model/DqChecks.h"
#include "model/OutputPictures.h"
#include "model/DqImages.h"
#include "model/SummaryBytes.h"
#include "model/TqCqImages.h"

#include "comm/ResultCodes.h"

#include <gtest/gtest.h>

using namespace lumetra;

namespace {
std::vector<std::uint16_t> range(std::uint16_t from, std::uint16_t to)
{
    std::vector<std::uint16_t> r;
    for (unsigned a = from; a <= to; ++a)
        r.push_back(static_cast<std::uint16_t>(a));
    return r;
}
std::vector<std::uint16_t> join(std::initializer_list<std::vector<std::uint16_t>> parts)
{
    std::vector<std::uint16_t> r;
    for (const auto& p : parts)
        r.insert(r.end(), p.begin(), p.end());
    return r;
}
BcdBytes bytesAt(const RegisterImage& image, std::uint16_t a)
{
    return {image.value(a), image.value(static_cast<std::uint16_t>(a + 1)), image.value(static_cast<std::uint16_t>(a + 2)),
            image.value(static_cast<std::uint16_t>(a + 3))};
}
} // namespace

TEST(DqImages, TimerAFillsOnlyTheSlotOfItsTimeCode)
{
    DqSettings s;
    s.cboCountModeA = 2;
    s.cboCountDirectionA = 1;
    s.arrangeDisplays();
    DqImages images;
    images.convertTimerA(s);
    EXPECT_EQ(images.timerA.flaggedAddresses(), join({range(0x045A, 0x045B), range(0x0478, 0x047F), range(0x0494, 0x0499)}));
    EXPECT_EQ(images.timerA.value(0x045A), 5);
    EXPECT_EQ(images.timerA.value(0x045C), 0xFF);
    EXPECT_FALSE(images.timerA.flag(0x049A)); // the input signal width goes by a direct write
    const auto words = images.timerA.flaggedWords();
    EXPECT_EQ(words.front(), std::make_pair(std::uint16_t{0x045A}, std::uint16_t{5}));
    EXPECT_EQ(words.size(), 8u);
}

TEST(DqImages, TimerASetValueInTimeRangeZeroAndOne)
{
    DqSettings s;
    s.lblTimerSettingA.setDigits("001230");
    DqImages images;
    images.convertTimerA(s);
    EXPECT_EQ(bytesAt(images.timerA, 0x045C), (BcdBytes{0x30, 0x00, 0x12, 0x00}));
    s.cboCountModeA = 1;
    s.arrangeDisplays();
    s.lblTimerSettingA.setDigits("999999");
    images.convertTimerA(s);
    EXPECT_EQ(bytesAt(images.timerA, 0x0466), (BcdBytes{0x99, 0x99, 0x99, 0x00}));
    EXPECT_EQ(images.timerA.value(0x0464), 0);
    EXPECT_TRUE(images.timerA.flag(0x0465));
}

TEST(DqImages, CounterBPlacesItsSetValueByCountingDirection)
{
    DqSettings s;
    s.cboCountInputModeB = 4; // Individual (Down)
    s.cboDotAdjB = 1;
    s.arrangeDisplays();
    s.lblCounterSettingB.setDigits("123456");
    s.lblMagnificationB.setDigits("001000"); // 001.000
    DqImages images;
    images.convertCounterB(s);
    EXPECT_EQ(bytesAt(images.counterB, 0x055A), (BcdBytes{0x56, 0x00, 0x34, 0x12}));
    EXPECT_FALSE(images.counterB.flag(0x0556));
    EXPECT_EQ(bytesAt(images.counterB, 0x0550), (BcdBytes{0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(images.counterB.value(0x055E), 4);
}

TEST(DqImages, SingleFunctionsFillTheirBlocks)
{
    DqSettings s;
    s.selectFunctionMode(4);
    s.lblCounterSetting_C_Dual_0.setDigits("000120");
    s.cboCountInputMode_C_Dual_1 = 7; // decrement: the down slot
    DqImages images;
    images.convertDualCounter(s);
    EXPECT_EQ(images.counterA.value(0x0670), 2);
    EXPECT_EQ(bytesAt(images.counterA, 0x0672), (BcdBytes{0x20, 0x00, 0x01, 0x00}));
    EXPECT_EQ(bytesAt(images.counterB, 0x0550), (BcdBytes{0x00, 0x00, 0x01, 0x00}));
    EXPECT_TRUE(images.counterB.flag(0x055A));
    images.convertTachoFunction(s);
    EXPECT_EQ(images.tachoExtra.flaggedAddresses(), join({range(0x0612, 0x0615), range(0x0626, 0x0629)}));
    EXPECT_EQ(images.tachoB.value(0x055E), 0);
}

TEST(DqChecks, RangesAndTheStageOrder)
{
    DqSettings s;
    EXPECT_EQ(checkTimerA(s), Result::BadTimerValue); // 0000.00 in range 0
    s.lblTimerSettingA.setDigits("000001");
    EXPECT_EQ(checkTimerA(s), Result::Ok); // output mode 0: no output time check
    s.cboOutputModeA = 5;
    EXPECT_EQ(checkTimerA(s), Result::Ok);
    s.cboOutputModeA = 1;
    EXPECT_EQ(checkTimerA(s), Result::BadOutputTime);
    s.cboCountModeA = 1;
    s.arrangeDisplays();
    s.lblHoldTimeA.setDigits("000050");
    EXPECT_EQ(checkTimerA(s), Result::Ok); // 1 is the least in range 1
    s.lblTimerSettingA.setDigits("000000");
    EXPECT_EQ(checkTimerA(s), Result::BadTimerValue);

    s.selectFunctionMode(5);
    s.lblTimerSetting_T_Dual_0.setDigits("000500");
    s.lblTimerSetting_T_Dual_1.setDigits("000500");
    EXPECT_EQ(checkDqSelection(s), Result::Ok);
    s.lblTimerSetting_T_Dual_1.setDigits("000499");
    EXPECT_EQ(checkDqSelection(s), Result::TimerOrder);

    s.selectFunctionMode(0);
    s.lblTimerSettingA.setDigits("000001");
    s.lblCounterSettingB.setDigits("000001");
    EXPECT_EQ(checkChannelB(s), Result::BadPrescale); // 000.000
    s.lblMagnificationB.setDigits("100000");
    EXPECT_EQ(checkChannelB(s), Result::BadPrescale); // 100.000 is above 99.999
    s.lblMagnificationB.setDigits("099999");
    EXPECT_EQ(checkDqSelection(s), Result::Ok);
    s.selectFunctionMode(1);
    EXPECT_EQ(checkChannelB(s), Result::BadTachoValue);
}

TEST(SummaryBytes, EachPartReplacesOnlyItsFields)
{
    DqSettings s;
    s.cboCountModeA = 3;
    s.cboCountDirectionA = 1;
    s.cboOutputModeA = 6;
    s.cboSGWidth_All = 1;
    s.cboCountInputModeB = 5;
    s.cboMaxFreqB = 2;
    s.cboOutputModeB = 11;
    s.cboDotAdjB = 3;
    s.cboInputMethod_All = 1;
    const SummaryBytes read{0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    SummaryBytes out{};
    ASSERT_EQ(updateSummaryBytes(SummaryPart::ChannelA, s, read, out), 0);
    EXPECT_EQ(out, (SummaryBytes{0x70, 0x16, 0xAA, 0xAA, 0xAA, 0xAA}));
    ASSERT_EQ(updateSummaryBytes(SummaryPart::ChannelB, s, read, out), 0);
    EXPECT_EQ(out, (SummaryBytes{0xAA, 0xAA, 0x50, 0x2B, 0x31, 0xAA}));
    s.selectFunctionMode(1); // tachometer keeps the counter's nibbles
    s.cboMaxFreqB_F = 1;
    s.cboDotAdjB_F = 2;
    s.cboSampleAvgB_F = 3;
    s.cboOutputModeB_F = 1;
    ASSERT_EQ(updateSummaryBytes(SummaryPart::All, s, read, out), 0);
    EXPECT_EQ(out, (SummaryBytes{0x70, 0x16, 0xA1, 0x1A, 0x2A, 0x31}));
}

TEST(SummaryBytes, SingleFunctionsAndTheBatchNibble)
{
    DqSettings s;
    const SummaryBytes read{0x55, 0x55, 0x55, 0x55, 0x55, 0x55};
    SummaryBytes out{};
    s.selectFunctionMode(5);
    s.cboOutputMode_T_Dual_0 = 1;
    s.cboOutputMode_T_Dual_1 = 1;
    ASSERT_EQ(updateSummaryBytes(SummaryPart::All, s, read, out), 0);
    EXPECT_EQ(out, (SummaryBytes{0x01, 0x03, 0x55, 0x55, 0x55, 0x55}));
    s.selectFunctionMode(3);
    EXPECT_EQ(s.cboOutputMode_C_Dual_1, 4); // the batch list's first entry, K-1
    s.cboOutputMode_C_Dual_1 = 12;
    s.cboMaxFreq_C_Dual_1 = 3;
    ASSERT_EQ(updateSummaryBytes(SummaryPart::All, s, read, out), 0);
    EXPECT_EQ(out, (SummaryBytes{0x11, 0x55, 0x01, 0x35, 0x00, 0x52}));
    s.singleFunction = 3;
    EXPECT_EQ(updateSummaryBytes(SummaryPart::All, s, read, out), 1);
}

TEST(TqCqImages, TimerImageHoldsEveryFunction)
{
    TqCqSettings s(MachineType::TQ);
    s.selectFunctionMode(0);
    s.lblTimerSetting_A_TQ.setDigits("000150");
    s.lblSV2_C_TQ.setDigits("000007");
    s.lblDutyRatio_A_TQ.setDigits("050000");
    TqImage tq;
    tq.convert(s);
    EXPECT_EQ(bytesAt(tq.image, 0x044A), (BcdBytes{0x50, 0x01, 0x00, 0x00}));
    EXPECT_EQ(bytesAt(tq.image, 0x048A), (BcdBytes{0x07, 0x00, 0x00, 0x00}));
    EXPECT_TRUE(tq.image.flag(0x0460));
    EXPECT_EQ(tq.image.value(0x044E), 0x50);
    EXPECT_EQ(tq.image.value(0x044F), 0x00);
    EXPECT_FALSE(tq.image.flag(0x043A));
    std::vector<std::pair<std::uint16_t, std::uint16_t>> written;
    for (const AddressRun& run : kTqRuns)
        for (const auto& w : tq.image.flaggedWords(run.from, run.to))
            written.push_back(w);
    EXPECT_EQ(written.size(), 5u + 8u + 8u + 7u);
}

TEST(TqCqImages, CounterFunctionBlockAndSignRegisters)
{
    TqCqSettings s(MachineType::CQ);
    s.selectFunctionMode(4);
    s.lblCounterSetting_2nd_2_CQ.setDigits("-00100");
    CqImages cq;
    cq.convert(s);
    EXPECT_EQ(cq.function.value(0x06C8), 1);
    EXPECT_EQ(cq.function.value(0x06C6), 0);
    EXPECT_EQ(bytesAt(cq.function, 0x06B0), (BcdBytes{0x00, 0x01, 0x00, 0x00}));
    EXPECT_EQ(cq.function.flaggedAddresses().size(), 0x2Au); // every byte of the block
    EXPECT_EQ(cq.common.value(0x0432), 4);
    s.selectFunctionMode(8);
    s.lblAuto2ZeroTime_freq_CQ.setDigits("001234");
    cq.convert(s);
    EXPECT_EQ(cq.function.value(0x06A0), 3);
    EXPECT_EQ(cq.function.value(0x06C2), 0x34);
    EXPECT_EQ(cq.function.value(0x06C3), 0x12);
}

TEST(OutputPictures, FileNamesByModeAndSelections)
{
    SettingsDocument dq(MachineType::DQ);
    dq.selectFunctionMode(0);
    dq.dq().cboOutputModeA = 3;
    dq.dq().cboCountInputModeB = 5;
    dq.dq().cboOutputModeB = 12;
    auto pictures = outputPictures(dq);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0].file, "Picture/PicC/Output_ST/image_Ind_Timer_Out_3_0.jpg");
    EXPECT_EQ(pictures[1].file, "Picture/PicC/Output_SC/image_Ind_Counter_Out_3_c_0.jpg");
    EXPECT_EQ(channelPictureB(dq), "IMAGE_CHB_W");
    EXPECT_TRUE(channelPictureOption(dq));
    dq.selectFunctionMode(3);
    dq.dq().cboCountInputMode_C_Dual_1 = 6;
    EXPECT_EQ(outputPictures(dq)[0].file, "Picture/PicC/Output_DC/image_Dual_Counter_Out_1_0_6_4_0.jpg");
    EXPECT_EQ(channelPictureB(dq), "IMAGE_CHB_G");
    EXPECT_FALSE(channelPictureOption(dq));

    SettingsDocument cq(MachineType::CQ);
    cq.selectFunctionMode(7);
    cq.tqcq().cboCountInputMode_batch_CQ = 1;
    cq.tqcq().cboOutputMode_batch_CQ = 11;
    EXPECT_EQ(outputPictures(cq)[0].file, "Picture/PicB/image_3_1_b_1.jpg");
    cq.selectFunctionMode(4);
    cq.tqcq().cboCountInputMode_2nd_CQ = 4; // limited to 2
    EXPECT_EQ(outputPictures(cq)[0].file, "Picture/PicB/image_0_2_0_1.jpg");
    SettingsDocument tq(MachineType::TQ);
    tq.selectFunctionMode(1);
    tq.tqcq().cboOutputMode_B_TQ = 1;
    EXPECT_EQ(outputPictures(tq)[0].file, "Picture/PicA/image_1_1_0_0.jpg");
    EXPECT_EQ(inputPicture(4), "Picture/PicC/Input_Counter/image_counter_in_4.jpg");
}
