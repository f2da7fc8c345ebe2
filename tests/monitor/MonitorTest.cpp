#include "LineRig.h"
#include "TestDocuments.h"

#include "comm/ResultCodes.h"
#include "monitor/Monitor.h"
#include "transfer/TransferRun.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace lumetra;
using lumetra::test::LineRig;

namespace {

// A unit of the type loaded with a document through a real download, its
// present values frozen so that a test can set them.
struct MonitorRig : LineRig {
    sim::VirtualUnit& unit;
    Monitor monitor{session};

    MonitorRig(MachineType type, SettingsDocument doc) : unit(addUnit(1, type))
    {
        TransferProgress progress;
        unit.setRestartMs(0);
        EXPECT_EQ(runTransfer(session, OperationKind::Download, downloadTarget(doc), doc, progress), 0);
        unit.setPresentValuesRunning(false);
        host.messages.clear();
    }
    // Stores a register pair as its eight BCD digits in reading order
    // (first register, then the second).
    void digits(std::uint16_t address, const std::string& eight)
    {
        unit.setRegister(address, static_cast<std::uint16_t>(std::stoi(eight.substr(0, 4), nullptr, 16)));
        unit.setRegister(static_cast<std::uint16_t>(address + 2), static_cast<std::uint16_t>(std::stoi(eight.substr(4, 4), nullptr, 16)));
    }
};

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto end = text.find("\r\n", start);
        out.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    return out;
}

SettingsDocument dqTimerCounter()
{
    SettingsDocument doc(MachineType::DQ);
    doc.selectFunctionMode(0);
    DqSettings& s = doc.dq();
    s.cboCountModeA = 2;
    s.cboCountDirectionA = 1;
    s.cboOutputModeA = 4;
    s.arrangeDisplays();
    s.lblTimerSettingA.setDigits("000150");
    s.lblHoldTimeA.setDigits("000100");
    s.cboCountInputModeB = 4;
    s.setList(*DqSettings::findList("cboDotAdjB"), 2);
    s.cboMaxFreqB = 2;
    s.cboOutputModeB = 12;
    s.lblCounterSettingB.setDigits("012345");
    s.lblHoldCounterB.setDigits("000100");
    s.lblMagnificationB.setDigits("001500");
    s.cboSGWidth_All = 1;
    s.cboInputMethod_All = 1;
    s.powerSaving = 1;
    return doc;
}

} // namespace

TEST(MonitorDescription, DqTimerAndCounterInTheirTwoTexts)
{
    MonitorRig rig(MachineType::DQ, dqTimerCounter());
    for (int i = 0; i < 6; ++i) // the summary bytes, each shown low digit first
        rig.unit.setByte(static_cast<std::uint16_t>(0x06F4 + i), static_cast<std::uint8_t>(0x21 + 0x22 * i));
    ASSERT_EQ(rig.monitor.Monitor_All(), 0);
    EXPECT_EQ(lines(rig.monitor.descriptionA()),
              (std::vector<std::string>{"Type :   : LT-96DQ Timer + Counter", "Function Selection : Timer",
                                        "Time Range : 1~999999 Min", "Time Mode : Down", "Output Mode : 4 : Signal OFF delay",
                                        "Input Signal Width : 20 ms", "NPN / PNP Input Mode : PNP", "Power Saving : ON",
                                        " Menu : 123456789ABC"}));
    EXPECT_EQ(lines(rig.monitor.descriptionB()),
              (std::vector<std::string>{"Type :   : LT-96DQ Timer + Counter", "Function Selection : 1-stage Counter",
                                        "Input Mode : 4 : Individual (Down)", "Output Mode : Q-1 ( 12 ) ",
                                        "Decimal Point Position : 2 : - - - -.- -", "Counting Speed : 1K Hz",
                                        "Prescale Value : 1.5", "Input Signal Width : 20 ms", "NPN / PNP Input Mode : PNP",
                                        "Power Saving : ON", " Menu : 123456789ABC"}));
    EXPECT_TRUE(rig.session.state().quietMode);
    EXPECT_TRUE(rig.monitor.pollingEnabled());
}

TEST(MonitorDescription, TimerLinesLeftOutAndTheHoldTime)
{
    SettingsDocument doc(MachineType::TQ);
    doc.selectFunctionMode(0);
    doc.tqcq().cboOutputMode_A_TQ = 2;
    doc.tqcq().cboTimerRange_A_TQ = 3;
    MonitorRig rig(MachineType::TQ, doc);
    ASSERT_EQ(rig.monitor.Monitor_All(), 0);
    EXPECT_EQ(lines(rig.monitor.descriptionA()),
              (std::vector<std::string>{"Type :   : LT-48TQ Timer", "Function Selection : Timer",
                                        "Time Range : 0 min 1 s ~ 9999 min 59 s", "Time Mode : Up",
                                        "Output Mode : A-2 : Power ON delay 1", "Output Time : Hold", "Input Signal Width : 20 ms",
                                        "NPN / PNP Input Mode : NPN", "Key Protect Level : KP-1", ""}));
    EXPECT_EQ(rig.monitor.descriptionB(), "");

    rig.unit.setRegister(0x0444, 9); // output mode 9: no output time, and both boxes
    rig.unit.setRegister(0x0440, 12); // a range outside the table: no line
    rig.monitor.stop();
    ASSERT_EQ(rig.monitor.Monitor_All(), 0);
    const auto a = lines(rig.monitor.descriptionA());
    EXPECT_EQ(a[2], "Time Mode : Up");
    EXPECT_EQ(a[3], "Output Mode : Z : ON/OFF-duty adjustable flicker");
    EXPECT_EQ(a[4], "Input Signal Width : 20 ms");
    EXPECT_EQ(rig.monitor.descriptionB(), rig.monitor.descriptionA());
}

TEST(MonitorDescription, CounterUnitFields)
{
    SettingsDocument doc(MachineType::CQ);
    doc.selectFunctionMode(4);
    doc.tqcq().cboDotAdj_Comm_CQ = 1;
    doc.tqcq().lblMagnification_Comm_CQ.setDigits("012345");
    doc.tqcq().lblHoldCounter_2nd_1_CQ.setDigits("000150");
    doc.tqcq().cboCountInputMode_2nd_CQ = 2;
    doc.tqcq().cboOutputMode_2nd_CQ = 6;
    doc.tqcq().cboKP_Comm_CQ = 4;
    MonitorRig rig(MachineType::CQ, doc);
    ASSERT_EQ(rig.monitor.Monitor_All(), 0);
    EXPECT_EQ(lines(rig.monitor.descriptionA()),
              (std::vector<std::string>{"Type :   : LT-48CQ Counter / Tachometer", "Function Selection : 2-stage Counter",
                                        "Input Mode : UP/DOWN A", "Output Mode : Q", "Counting Speed : 30 Hz",
                                        "Decimal Point Position : ---.-", "Prescale Value : 12.345", "Output Time 1 : 01.50",
                                        "Output Time 2 : Hold", "Input Signal Width : 20 ms", "NPN / PNP Input Mode : NPN",
                                        "Key Protect Level : KP-5", ""}));
}

TEST(MonitorStart, RefusalsAndTheirMessages)
{
    MonitorRig xq(MachineType::XQ, test::validDocument(MachineType::XQ, 3));
    xq.unit.setRegister(0x0432, 9);
    EXPECT_EQ(xq.monitor.Monitor_All(), 1);
    EXPECT_TRUE(xq.host.messages.empty()); // refused without a message
    EXPECT_FALSE(xq.monitor.pollingEnabled());

    MonitorRig dq(MachineType::DQ, dqTimerCounter());
    dq.unit.setByte(0x0400, 0x24);
    EXPECT_EQ(dq.monitor.Monitor_All(), 1);
    EXPECT_EQ(dq.host.messageTexts(), std::vector<std::string>{"Memory address error ! "});
    dq.unit.setByte(0x0400, 0x25);
    dq.unit.setRegister(0x0404, 0x050A);
    dq.session.closePort();
    EXPECT_EQ(dq.monitor.Monitor_All(), 1);
    EXPECT_EQ(dq.host.messages.back().text, "Wrong machine type !");
    dq.session.state().DeviceId = 256;
    EXPECT_EQ(dq.monitor.Monitor_All(), 1);
    EXPECT_EQ(dq.host.messages.back().text, "Wrong Device ID !");
    EXPECT_EQ(dq.host.lastStatus(StatusPanel::General), "Wrong Device ID !");
    dq.session.state().DeviceId = 1;
    dq.session.closePort();
    dq.unit.faults().silent = true;
    EXPECT_EQ(dq.monitor.Monitor_All(), Result::Timeout);
    EXPECT_EQ(dq.host.messages.back().text, "Time out !");
}

TEST(MonitorPolling, DqTimerRowsByTimeCode)
{
    MonitorRig rig(MachineType::DQ, dqTimerCounter()); // time code 5: whole minutes, down
    ASSERT_EQ(rig.monitor.Monitor_All(), 0);
    rig.digits(0x04C0, "34560012"); // digits 1..8
    rig.unit.setByte(0x04E0, 1);
    rig.unit.setByte(0x05DA, 0x30);
    rig.unit.setByte(0x04FE, 1);
    int draws = 0;
    rig.monitor.onDraw = [&] { ++draws; };
    ASSERT_EQ(rig.monitor.Timer1_monitor(), 0);
    const PanelState& a = rig.monitor.shown(0);
    EXPECT_EQ(a.charA, (DigitRow{1, 2, 3, 4, 5, 6})); // digits 7, 8, 1, 2, 3, 4
    EXPECT_EQ(a.charB, (DigitRow{0, 0, 0, 1, 5, 0}));
    EXPECT_EQ(a.countDir, 2);
    EXPECT_EQ(a.timerMode, 3);
    EXPECT_EQ(a.dpColA, (std::array<std::uint8_t, 2>{0, 0}));
    EXPECT_EQ(a.onOff, 1);
    EXPECT_EQ(a.kp, 1);
    EXPECT_EQ(a.weekBits, "0000101");
    EXPECT_EQ(rig.monitor.shown(1).weekBits, "0000101");
    EXPECT_EQ(rig.monitor.valueTextA(), "123456");
    EXPECT_EQ(draws, 1);

    // The counter window: nine digits, six shown from the decimal point position (2).
    rig.unit.setRegister(0x05E6, 0x0789);
    rig.unit.setRegister(0x05E8, 0x0056);
    rig.unit.setRegister(0x05EA, 0x1234);
    ASSERT_EQ(rig.monitor.Timer1_monitor(), 0);
    const PanelState& b = rig.monitor.shown(1);
    EXPECT_EQ(b.charA, (DigitRow{3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(b.charB, (DigitRow{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(b.dpColA, (std::array<std::uint8_t, 2>{0, 1}));
    EXPECT_EQ(rig.monitor.valueTextB(), "3456.78");
}

TEST(MonitorPolling, TwoDecimalRangeAndReadFailures)
{
    SettingsDocument doc = dqTimerCounter();
    doc.dq().cboCountModeA = 0;
    doc.dq().cboCountDirectionA = 0;
    doc.dq().arrangeDisplays();
    doc.dq().lblTimerSettingA.setDigits("000150");
    MonitorRig rig(MachineType::DQ, doc);
    ASSERT_EQ(rig.monitor.Monitor_All(), 0);
    rig.digits(0x04A0, "00340012"); // a second register of 0012: digits 5..8
    ASSERT_EQ(rig.monitor.Timer1_monitor(), 0);
    EXPECT_EQ(rig.monitor.shown(0).charA, (DigitRow{0, 0, 1, 2, 3, 4}));
    EXPECT_EQ(rig.monitor.valueTextA(), "0012.34");
    EXPECT_FALSE(rig.monitor.readFailed());

    const PanelState before = rig.monitor.shown(0);
    rig.unit.faults().silent = true;
    EXPECT_EQ(rig.monitor.Timer1_monitor(), Result::Timeout);
    EXPECT_TRUE(rig.monitor.readFailed());
    EXPECT_EQ(rig.monitor.shown(0), before); // frozen
    EXPECT_TRUE(rig.host.messages.empty());   // quiet
    EXPECT_TRUE(rig.session.portIsOpen());
    rig.unit.faults().silent = false;
    EXPECT_EQ(rig.monitor.Timer1_monitor(), 0);
    EXPECT_FALSE(rig.monitor.readFailed());
}

TEST(MonitorPolling, NoOverlapAndAStopMidCycle)
{
    MonitorRig rig(MachineType::DQ, dqTimerCounter());
    ASSERT_EQ(rig.monitor.Monitor_All(), 0);
    int draws = 0;
    rig.monitor.onDraw = [&] { ++draws; };
    int nested = 0;
    rig.host.onEvents = [&] {
        if (rig.monitor.cycleRunning() && nested++ == 0) {
            EXPECT_EQ(rig.monitor.Timer1_monitor(), 0); // a tick during a cycle starts nothing
        }
    };
    rig.unit.faults().slowPieces = 2; // replies take a while: events run inside the reads
    rig.host.maxWaitStepMs = 10;
    ASSERT_EQ(rig.monitor.Timer1_monitor(), 0);
    EXPECT_EQ(draws, 1);
    EXPECT_GT(nested, 0);

    const auto requestsBefore = rig.requests.size();
    rig.host.onEvents = [&] { rig.monitor.stop(); };
    rig.monitor.Timer1_monitor();
    EXPECT_EQ(draws, 1); // stopped: neither copied nor drawn
    EXPECT_FALSE(rig.monitor.readFailed());
    EXPECT_LE(rig.requests.size(), requestsBefore + 1);
    EXPECT_FALSE(rig.session.portIsOpen());
}

TEST(MonitorPolling, TimerUnitBlinksItsMinuteUnitAndCounterSigns)
{
    SettingsDocument doc(MachineType::TQ);
    doc.selectFunctionMode(0);
    doc.tqcq().cboTimerRange_A_TQ = 5;
    MonitorRig rig(MachineType::TQ, doc);
    ASSERT_EQ(rig.monitor.Monitor_All(), 0);
    rig.unit.setByte(0x04D2, 0x01);
    std::vector<int> units;
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(rig.monitor.Timer1_monitor(), 0);
        units.push_back(rig.monitor.shown(0).timerMode);
    }
    EXPECT_EQ(units, (std::vector<int>{3, 0, 3, 0}));
    rig.unit.setByte(0x04D2, 0x05); // paused: steady
    ASSERT_EQ(rig.monitor.Timer1_monitor(), 0);
    EXPECT_EQ(rig.monitor.shown(0).timerMode, 3);
    EXPECT_EQ(rig.monitor.shown(1).charA, (DigitRow{99, 99, 99, 99, 99, 99})); // no second picture

    SettingsDocument counter(MachineType::CQ);
    counter.selectFunctionMode(6);
    counter.tqcq().cboDotAdj_Comm_CQ = 2;
    counter.tqcq().lblCounterSetting_batch_1_CQ.setDigits("-00100");
    MonitorRig cq(MachineType::CQ, counter);
    ASSERT_EQ(cq.monitor.Monitor_All(), 0);
    cq.unit.setRegister(0x0924, 0x3456);
    cq.unit.setRegister(0x0926, 0x0012);
    cq.unit.setRegister(0x0928, 0x0001); // negative
    cq.unit.setRegister(0x092A, 0x0007);
    ASSERT_EQ(cq.monitor.Timer1_monitor(), 0);
    EXPECT_EQ(cq.monitor.shown(0).charA, (DigitRow{98, 2, 3, 4, 5, 6}));
    EXPECT_EQ(cq.monitor.shown(0).charB, (DigitRow{98, 0, 0, 1, 0, 0}));
    EXPECT_EQ(cq.monitor.valueTextA(), "-234.56");
    EXPECT_EQ(cq.monitor.valueTextB(), "0000.07");
    EXPECT_EQ(cq.monitor.shown(1).tbName, "1");
}

TEST(MonitorDescription, EveryTypeAndFunctionDescribesAndPolls)
{
    struct Case {
        MachineType type;
        int mode;
        const char* functionLine;
    };
    for (const Case& c : std::vector<Case>{{MachineType::DQ, 0, "Function Selection : Timer"},
                                           {MachineType::DQ, 1, "Function Selection : Timer"},
                                           {MachineType::DQ, 2, "Function Selection : 1-stage Counter + Total Counter"},
                                           {MachineType::DQ, 3, "Function Selection : 1-stage Counter + Batch Counter"},
                                           {MachineType::DQ, 4, "Function Selection : 1-stage Counter ( x 2 )"},
                                           {MachineType::DQ, 5, "Function Selection : 2-stage Timer"},
                                           {MachineType::DQ, 6, "Function Selection : Tachometer"},
                                           {MachineType::TQ, 0, "Function Selection : Timer"},
                                           {MachineType::TQ, 1, "Function Selection : Twin Timer"},
                                           {MachineType::TQ, 2, "Function Selection : 2-stage Timer"},
                                           {MachineType::CQ, 3, "Function Selection : 1-stage Counter"},
                                           {MachineType::CQ, 4, "Function Selection : 2-stage Counter"},
                                           {MachineType::CQ, 5, "Function Selection : Total counter"},
                                           {MachineType::CQ, 6, "Function Selection : Batch counter"},
                                           {MachineType::CQ, 7, "Function Selection : Dual Counter"},
                                           {MachineType::CQ, 8, "Function Selection : Tachometer"},
                                           {MachineType::XQ, 1, "Function Selection : Twin Timer"},
                                           {MachineType::XQ, 7, "Function Selection : Dual Counter"}}) {
        SCOPED_TRACE(machineTypeName(c.type) + " " + std::to_string(c.mode));
        MonitorRig rig(c.type, test::validDocument(c.type, c.mode, 9));
        ASSERT_EQ(rig.monitor.Monitor_All(), 0);
        const auto a = lines(rig.monitor.descriptionA());
        ASSERT_GE(a.size(), 3u);
        EXPECT_EQ(a[0].substr(0, 11), "Type :   : ");
        EXPECT_EQ(a[1], c.functionLine);
        rig.unit.setPresentValuesRunning(true);
        EXPECT_EQ(rig.monitor.Timer1_monitor(), 0);
        EXPECT_FALSE(rig.monitor.readFailed());
        EXPECT_FALSE(rig.monitor.valueTextA().empty());
        EXPECT_TRUE(rig.host.messages.empty());
    }
}

TEST(MonitorPolling, SeparatorsAndUnitsByTimeRangeAndDecimalPoint)
{
    const std::array<std::array<std::uint8_t, 2>, 10> dpCol{{{0, 1}, {0, 0}, {0, 0}, {0, 2}, {0, 0}, {0, 0}, {0, 2}, {0, 0}, {0, 0}, {0, 0}}};
    const std::array<std::array<std::uint8_t, 2>, 10> dp{{{0, 0}, {0, 1}, {0, 0}, {0, 0}, {0, 1}, {0, 0}, {0, 0}, {0, 1}, {0, 0}, {1, 0}}};
    const std::array<int, 10> units{4, 4, 4, 6, 3, 3, 5, 2, 2, 4};
    for (int range = 0; range <= 9; ++range) {
        SettingsDocument doc(MachineType::TQ);
        doc.selectFunctionMode(0);
        doc.tqcq().cboTimerRange_A_TQ = static_cast<std::uint8_t>(range);
        MonitorRig rig(MachineType::TQ, doc);
        rig.unit.setByte(0x04D2, 0x00); // not running: a steady unit
        ASSERT_EQ(rig.monitor.Monitor_All(), 0);
        ASSERT_EQ(rig.monitor.Timer1_monitor(), 0);
        const PanelState& p = rig.monitor.shown(0);
        EXPECT_EQ(p.dpColA, dpCol[static_cast<std::size_t>(range)]) << range;
        EXPECT_EQ(p.dpB, dp[static_cast<std::size_t>(range)]) << range;
        EXPECT_EQ(p.timerMode, units[static_cast<std::size_t>(range)]) << range;
    }
    for (int d = 0; d <= 3; ++d) {
        SettingsDocument doc = dqTimerCounter();
        doc.dq().setList(*DqSettings::findList("cboDotAdjB"), d);
        MonitorRig rig(MachineType::DQ, doc);
        ASSERT_EQ(rig.monitor.Monitor_All(), 0);
        ASSERT_EQ(rig.monitor.Timer1_monitor(), 0);
        const Separators expected = separatorsForDecimals(d);
        EXPECT_EQ(rig.monitor.shown(1).dpColA, expected.dpCol) << d;
        EXPECT_EQ(rig.monitor.shown(1).dpA, expected.dp) << d;
    }
    EXPECT_EQ(separatorsForDecimals(3).dp, (std::array<std::uint8_t, 2>{1, 0}));
    EXPECT_EQ(separatorsForDecimals(4).dpCol, (std::array<std::uint8_t, 2>{1, 0}));
}

// The editors show a set value with the decimal point that the decimal point
// setting gives, as the monitor shows the same value from the unit.
TEST(MonitorPolling, SetValuesReadAsTheEditorShowsThem)
{
    // Set values of picture 1 and picture 2 (lower rows) per counter function.
    const std::vector<std::tuple<int, const char*, const char*>> cq{
        {3, "lblCounterSetting_1st_CQ", nullptr},          {4, "lblCounterSetting_2nd_1_CQ", "lblCounterSetting_2nd_2_CQ"},
        {5, "lblCounterSetting_1st_CQ", nullptr},          {6, "lblCounterSetting_batch_1_CQ", "lblCounterSetting_batch_2_CQ"},
        {7, "lblCounterSetting_batch_1_CQ", nullptr},      {8, "lblCounterSetting_freq_1_CQ", "lblCounterSetting_freq_2_CQ"}};
    const auto shownRow = [](const PanelState& p) { return ValueText(p.charB, p.dpColB, p.dpB); };
    for (int d = 0; d <= 3; ++d) {
        for (const auto& [mode, first, second] : cq) {
            SettingsDocument doc = test::validDocument(MachineType::CQ, mode, static_cast<unsigned>(d + 1));
            ASSERT_EQ(doc.set("cboDotAdj_Comm_CQ", std::to_string(d)), "");
            MonitorRig rig(MachineType::CQ, doc);
            ASSERT_EQ(rig.monitor.Monitor_All(), 0);
            ASSERT_EQ(rig.monitor.Timer1_monitor(), 0);
            EXPECT_EQ(shownRow(rig.monitor.shown(0)), doc.valueText(first)) << mode << " " << d;
            if (second) {
                EXPECT_EQ(shownRow(rig.monitor.shown(1)), doc.valueText(second)) << mode << " " << d;
            }
        }
        for (const auto& [mode, value, point] : std::vector<std::tuple<int, const char*, const char*>>{
                 {0, "lblCounterSettingB", "cboDotAdjB"}, {1, "lblCounterSettingB_F", "cboDotAdjB_F"}}) {
            SettingsDocument doc = test::validDocument(MachineType::DQ, mode, static_cast<unsigned>(d + 1));
            ASSERT_EQ(doc.set(point, std::to_string(d)), "");
            MonitorRig rig(MachineType::DQ, doc);
            ASSERT_EQ(rig.monitor.Monitor_All(), 0);
            ASSERT_EQ(rig.monitor.Timer1_monitor(), 0);
            // Without decimals the DQ editor puts its fixed "0" before the six digits.
            const std::string shown = doc.valueText(value);
            EXPECT_EQ(shownRow(rig.monitor.shown(1)), d == 0 ? shown.substr(1) : shown) << mode << " " << d;
        }
    }
}

TEST(MonitorPolling, ALostLineIsSaidOnceAndPollingCarriesOnWhenItIsBack)
{
    MonitorRig rig(MachineType::DQ, dqTimerCounter());
    ASSERT_EQ(rig.monitor.Monitor_All(), 0);
    rig.monitor.setReopenIntervalMs(1000);
    int draws = 0;
    rig.monitor.onDraw = [&] { ++draws; };
    const auto lineLostSaid = [&] {
        return std::count(rig.host.status.begin(), rig.host.status.end(),
                          std::pair<int, std::string>{StatusPanel::Transfer, kLineLostText});
    };

    // A unit that does not answer is not a lost line.
    rig.unit.faults().silent = true;
    EXPECT_EQ(rig.monitor.Timer1_monitor(), Result::Timeout);
    EXPECT_FALSE(rig.monitor.lineLost());
    rig.unit.faults().silent = false;

    rig.lastPort->unplug();
    rig.lineGone = true;
    EXPECT_EQ(rig.monitor.Timer1_monitor(), Result::Timeout);
    EXPECT_TRUE(rig.monitor.lineLost());
    EXPECT_TRUE(rig.monitor.readFailed()); // the log writes its error lines as configured
    EXPECT_EQ(lineLostSaid(), 1);

    // One reopen a scan period, however often the polling timer ticks.
    const int portsBefore = rig.portsMade;
    const std::int64_t lost = rig.host.now;
    while (rig.host.now < lost + 3000) {
        rig.host.now += 5;
        EXPECT_EQ(rig.monitor.Timer1_monitor(), Result::Timeout);
        EXPECT_TRUE(rig.monitor.readFailed());
    }
    EXPECT_EQ(rig.portsMade - portsBefore, 3);
    EXPECT_EQ(lineLostSaid(), 1);
    EXPECT_TRUE(rig.host.messages.empty()); // neither the loss nor the failed reopens ask anything

    // Back at the same place: the next reopen takes it and polling goes on.
    rig.lineGone = false;
    rig.digits(0x04C0, "34560012"); // the time code 5 present value moved meanwhile
    const int drawsBefore = draws;
    int rc = Result::Timeout;
    for (int tick = 0; tick < 200 && rc != 0; ++tick) {
        rig.host.now += 5;
        rc = rig.monitor.Timer1_monitor();
    }
    EXPECT_EQ(rc, 0);
    EXPECT_FALSE(rig.monitor.lineLost());
    EXPECT_FALSE(rig.monitor.readFailed());
    EXPECT_TRUE(rig.session.portIsOpen());
    EXPECT_EQ(draws, drawsBefore + 1);
    EXPECT_EQ(rig.monitor.shown(0).charA, (DigitRow{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(lineLostSaid(), 1);

    // Lost again, then stopped: no more reopens.
    rig.lastPort->unplug();
    rig.lineGone = true;
    rig.monitor.Timer1_monitor();
    EXPECT_EQ(lineLostSaid(), 2);
    rig.monitor.stop();
    const int portsAtStop = rig.portsMade;
    rig.host.now += 5000;
    rig.monitor.Timer1_monitor();
    EXPECT_EQ(rig.portsMade, portsAtStop);
    EXPECT_FALSE(rig.monitor.lineLost());
}
