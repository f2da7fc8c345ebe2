// Download, upload and compare against virtual units on a fake clock: the
// ~12 s of download pauses cost nothing here.

#include "LineRig.h"
#include "TestDocuments.h"

#include "comm/ResultCodes.h"
#include "files/SettingsDocument.h"
#include "transfer/Download.h"
#include "transfer/Compare.h"
#include "transfer/TransferRun.h"

#include <gtest/gtest.h>

#include <random>

using namespace lumetra;
using lumetra::test::LineRig;
using lumetra::test::imageOf;
using lumetra::test::validDocument;

namespace {

struct Case {
    MachineType type;
    int mode;
};

std::vector<Case> everyMode()
{
    std::vector<Case> cases;
    for (int m = 0; m < 7; ++m)
        cases.push_back({MachineType::DQ, m});
    for (int m = 0; m <= 2; ++m)
        cases.push_back({MachineType::TQ, m});
    for (int m = 3; m <= 8; ++m)
        cases.push_back({MachineType::CQ, m});
    for (int m = 0; m <= 8; ++m)
        cases.push_back({MachineType::XQ, m});
    return cases;
}

int run(LineRig& rig, OperationKind kind, SettingsDocument& doc, std::uint16_t* address = nullptr,
        TransferTarget dqTarget = TransferTarget::DqAll)
{
    TransferProgress progress;
    return transferCommand(rig.session, kind, downloadTarget(doc, dqTarget), doc, progress, FormId::MainWindow, address);
}

} // namespace

TEST(Transfer, EveryTypeAndModeRoundTripsThroughAUnit)
{
    for (const Case& c : everyMode()) {
        SCOPED_TRACE(machineTypeName(c.type) + " mode " + std::to_string(c.mode));
        LineRig rig;
        rig.addUnit(1, c.type);
        SettingsDocument doc = validDocument(c.type, c.mode, static_cast<unsigned>(c.mode) + 5);
        const std::int64_t start = rig.host.now;
        ASSERT_EQ(run(rig, OperationKind::Download, doc), 0) << testing::PrintToString(rig.host.messageTexts());
        EXPECT_GE(rig.host.now - start, 12000); // the pauses last twice their arguments
        EXPECT_EQ(rig.host.lastStatus(StatusPanel::Transfer), "The settings are written completely!");
        EXPECT_EQ(rig.host.messages.back().title, "Download");
        EXPECT_EQ(rig.line.unit(1)->restartCount(), 1);

        SettingsDocument uploaded;
        ASSERT_EQ(run(rig, OperationKind::Upload, uploaded), 0);
        EXPECT_EQ(uploaded.machineType(), c.type);
        EXPECT_EQ(imageOf(uploaded).text(0, 256), imageOf(doc).text(0, 256));

        std::uint16_t address = 1;
        ASSERT_EQ(run(rig, OperationKind::Compare, doc, &address), 0);
        EXPECT_EQ(address, 0);
        EXPECT_EQ(rig.host.messages.back().text, "Compare completed ! The programs are the same.");
        EXPECT_EQ(rig.host.lastStatus(StatusPanel::Transfer), "The settings are compared completely!");
    }
}

TEST(Transfer, ChannelADownloadWritesExactlyItsSequence)
{
    LineRig rig;
    sim::VirtualUnit& unit = rig.addUnit(1, MachineType::DQ);
    unit.setByte(0x06F4, 0xAB); // summary bytes as the unit holds them
    unit.setByte(0x06F5, 0xCD);
    unit.setByte(0x06F6, 0x12);
    unit.setByte(0x06F9, 0x34);
    SettingsDocument doc(MachineType::DQ);
    doc.selectFunctionMode(0);
    doc.dq().cboCountModeA = 1;
    doc.dq().cboCountDirectionA = 1;
    doc.dq().cboOutputModeA = 0;
    doc.dq().arrangeDisplays();
    doc.dq().lblTimerSettingA.setDigits("000150");
    ASSERT_EQ(run(rig, OperationKind::Download, doc, nullptr, TransferTarget::DqChannelA), 0);

    std::vector<std::tuple<int, int, int>> seen; // function, address, value or count
    for (const auto& r : rig.requests)
        seen.emplace_back(r.function, r.address, r.value);
    const std::vector<std::tuple<int, int, int>> expected{
        {3, 0x0400, 1}, {3, 0x0402, 1}, {3, 0x0404, 1}, {6, 0x04E0, 0}, {6, 0x0606, 0},
        {6, 0x045A, 3},                                   // time code 2 x 1 + 1
        {6, 0x046A, 0}, {6, 0x046C, 0x0150}, {6, 0x046E, 0}, // range 1 down: zero word, then the value
        {6, 0x0494, 0}, {6, 0x0496, 0}, {6, 0x0498, 0},   // output time, output mode
        {6, 0x049A, 0}, {6, 0x054E, 0}, {6, 0x0696, 0},   // system registers
        {3, 0x06F4, 1}, {3, 0x06F5, 1}, {3, 0x06F6, 1}, {3, 0x06F7, 1}, {3, 0x06F8, 1}, {3, 0x06F9, 1},
        {6, 0x06F4, 0x0030}, {6, 0x06F6, 0x0012}, {6, 0x06F8, 0x3400}, // S0, S1 replaced; S2..S5 kept
        {6, 0x0500, 1}, {0xDD, 0, 0}, {6, 0x04FE, 0},
    };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(unit.byteAt(0x0610), 0); // channel B untouched
}

TEST(Transfer, TimerUnitWritesItsFourRuns)
{
    LineRig rig;
    rig.addUnit(1, MachineType::TQ);
    SettingsDocument doc(MachineType::TQ);
    doc.selectFunctionMode(1);
    ASSERT_EQ(run(rig, OperationKind::Download, doc), 0);
    std::vector<int> writes;
    for (const auto& r : rig.requests)
        if (r.function == 6)
            writes.push_back(r.address);
    std::vector<int> expected{0x04D2, 0x0432, 0x0434, 0x0436, 0x0438, 0x043C};
    for (int a = 0x0440; a <= 0x044E; a += 2)
        expected.push_back(a);
    for (int a = 0x0460; a <= 0x046E; a += 2)
        expected.push_back(a);
    for (int a = 0x0480; a <= 0x048C; a += 2)
        expected.push_back(a);
    expected.push_back(0x0578);
    EXPECT_EQ(writes, expected);
    EXPECT_EQ(rig.requests.front().address, 0x0400);
    EXPECT_EQ(rig.requests[3].address, 0x043E); // the write permission is asked first
}

TEST(Transfer, ChecksFailBeforeAnythingIsSent)
{
    LineRig rig;
    rig.addUnit(1, MachineType::DQ);
    SettingsDocument doc(MachineType::DQ);
    doc.selectFunctionMode(5);
    doc.dq().lblTimerSetting_T_Dual_0.setDigits("000200");
    doc.dq().lblTimerSetting_T_Dual_1.setDigits("000199");
    EXPECT_EQ(run(rig, OperationKind::Download, doc), Result::TimerOrder);
    EXPECT_TRUE(rig.requests.empty());
    EXPECT_FALSE(rig.session.portIsOpen());
    EXPECT_EQ(rig.host.messageTexts(), std::vector<std::string>{"The set value of Timer_1 must be more than  the set value of Timer_0."});
    EXPECT_EQ(rig.host.lastStatus(StatusPanel::Transfer), "Failed to download the settings!");
    rig.session.state().DeviceId = 300;
    EXPECT_EQ(run(rig, OperationKind::Compare, doc), Result::WrongDeviceId);
}

TEST(Transfer, UnitsThatAreNotWhatTheEditorHolds)
{
    LineRig rig;
    rig.addUnit(1, MachineType::TQ).faults().writeInhibit = true;
    SettingsDocument timer = validDocument(MachineType::TQ, 0);
    EXPECT_EQ(run(rig, OperationKind::Download, timer), Result::WriteInhibit);
    EXPECT_EQ(rig.host.messages.back().text, "Communication writing inhibit !");
    EXPECT_FALSE(rig.session.portIsOpen());

    SettingsDocument dq = validDocument(MachineType::DQ, 0);
    const auto before = rig.requests.size();
    EXPECT_EQ(run(rig, OperationKind::Download, dq), Result::WrongMachineType);
    EXPECT_EQ(rig.host.messages.back().text, "Wrong machine type !");
    for (std::size_t i = before; i < rig.requests.size(); ++i)
        EXPECT_EQ(rig.requests[i].function, 3); // nothing written
    EXPECT_EQ(run(rig, OperationKind::Compare, dq), Result::CompareFailed);
    EXPECT_EQ(rig.host.messages.back().text, "Failed to compare!");

    rig.line.unit(1)->setByte(0x0402, 0x24);
    EXPECT_EQ(run(rig, OperationKind::Upload, dq), Result::UploadFailed);
    EXPECT_EQ(rig.host.messages.back().text, "Memory address error ! ");
    EXPECT_EQ(rig.host.lastStatus(StatusPanel::Transfer), "Failed to upload the settings!");
    EXPECT_EQ(dq.machineType(), MachineType::DQ); // the editor keeps what it had
}

TEST(Transfer, LineFaultsAbandonTheSequence)
{
    for (const auto& [fault, code] : std::vector<std::pair<std::string, int>>{
             {"silent", Result::Timeout}, {"checksum", Result::ChecksumError}, {"exception", Result::DataError}}) {
        SCOPED_TRACE(fault);
        LineRig rig;
        sim::UnitFaults& f = rig.addUnit(1, MachineType::CQ).faults();
        f.silent = fault == "silent";
        f.wrongChecksum = fault == "checksum";
        f.exceptionCode = fault == "exception" ? 4 : 0;
        SettingsDocument doc = validDocument(MachineType::CQ, 3);
        EXPECT_EQ(run(rig, OperationKind::Download, doc), code);
        EXPECT_EQ(rig.host.messages.size(), 1u);
        EXPECT_EQ(rig.host.lastStatus(StatusPanel::Transfer), "Failed to download the settings!");
        EXPECT_FALSE(rig.session.portIsOpen());
        EXPECT_EQ(rig.requests.size(), 1u); // abandoned at the first reply
    }
}

TEST(Transfer, ALineThatVanishesHalfWayLeavesTheUnitUnrestarted)
{
    LineRig rig;
    sim::VirtualUnit& unit = rig.addUnit(1, MachineType::DQ);
    rig.line.setRequestObserver([&](const sim::LoggedRequest& r) {
        rig.requests.push_back(r);
        if (rig.requests.size() == 20)
            rig.lastPort->unplug(); // the adapter is pulled while the unit takes request 20
    });
    SettingsDocument doc = validDocument(MachineType::DQ, 0);
    EXPECT_NE(run(rig, OperationKind::Download, doc), 0);
    EXPECT_EQ(rig.host.lastStatus(StatusPanel::Transfer), "Failed to download the settings!");
    EXPECT_EQ(unit.restartCount(), 0);
    EXPECT_FALSE(rig.session.portIsOpen());
}

TEST(Transfer, ALineThatGoesDuringTheRestartPausesFailsAtOnce)
{
    for (MachineType type : {MachineType::DQ, MachineType::TQ}) {
        SCOPED_TRACE(machineTypeName(type));
        LineRig rig;
        sim::VirtualUnit& unit = rig.addUnit(1, type);
        // Pulled once the restart request has been answered: the pauses run.
        bool restartAnswered = false;
        rig.session.addFrameObserver([&](const FrameRecord& r) {
            restartAnswered = restartAnswered || (r.direction == FrameDirection::Received && unit.restartCount() == 1);
        });
        std::int64_t pulledAt = 0;
        rig.host.maxWaitStepMs = 100;
        rig.host.onEvents = [&] {
            if (restartAnswered && pulledAt == 0) {
                rig.lastPort->unplug();
                pulledAt = rig.host.now;
            }
        };
        SettingsDocument doc = validDocument(type, 0);
        EXPECT_EQ(run(rig, OperationKind::Download, doc), Result::WriteFailed);
        ASSERT_NE(pulledAt, 0);
        EXPECT_LE(rig.host.now - pulledAt, 100); // not the rest of the 12 s
        ASSERT_EQ(rig.host.messages.size(), 1u);
        EXPECT_EQ(rig.host.messages[0].text, "Failed to write !");
        EXPECT_EQ(rig.host.messages[0].detail, "the line was closed");
        EXPECT_EQ(rig.host.lastStatus(StatusPanel::Transfer), "Failed to download the settings!");
        EXPECT_FALSE(rig.session.portIsOpen());
    }
}

TEST(Compare, NamesTheFirstDifferingSetting)
{
    LineRig rig;
    sim::VirtualUnit& unit = rig.addUnit(1, MachineType::DQ);
    SettingsDocument doc = validDocument(MachineType::DQ, 0);
    ASSERT_EQ(run(rig, OperationKind::Download, doc), 0);
    const auto compareText = [&] {
        std::uint16_t address = 0;
        EXPECT_EQ(run(rig, OperationKind::Compare, doc, &address), 0);
        return rig.host.messages.back().text;
    };
    doc.dq().powerSaving = 1;
    EXPECT_EQ(compareText(), "Program different :Power Saving");
    doc.dq().powerSaving = 0;
    unit.setByte(0x045E, static_cast<std::uint8_t>(unit.byteAt(0x045E) ^ 0x01)); // third byte of the set value
    EXPECT_EQ(compareText(), "Program different :Set Value");
    EXPECT_EQ(rig.host.messages.back().title, "Compare");
    EXPECT_EQ(rig.host.messages.back().icon, MessageIcon::Exclamation);
    doc.dq().functionGroup = 1; // reported at once, before any image
    EXPECT_EQ(compareText(), "Program different :Function Selection");

    LineRig xq;
    xq.addUnit(1, MachineType::XQ);
    SettingsDocument counter = validDocument(MachineType::XQ, 4);
    ASSERT_EQ(run(xq, OperationKind::Download, counter), 0);
    counter.tqcq().lblCounterSetting_2nd_2_CQ.setCell(0, '0');
    std::uint16_t address = 0;
    EXPECT_EQ(run(xq, OperationKind::Compare, counter, &address), 0);
    EXPECT_EQ(address, 0x06C8);
    counter.tqcq().selectFunctionMode(5);
    EXPECT_EQ(run(xq, OperationKind::Compare, counter), Result::CompareFailed); // another sub-type
}

TEST(Compare, ReportNamesAndTheUnknownFallback)
{
    const StringTable en;
    EXPECT_EQ(compareReport(MachineType::DQ, 0x045A, en), "Program different :Time Range/Time Mode");
    EXPECT_EQ(compareReport(MachineType::DQ, 0x0402, en), "Program different :Check number");
    EXPECT_EQ(compareReport(MachineType::DQ, 0x0608, en), "Program different :Device ID");
    EXPECT_EQ(compareReport(MachineType::DQ, 0x07F0, en), "Program different :ADD:7F0  Unknow");
    EXPECT_EQ(compareReport(MachineType::TQ, 0x044B, en), "Program different :Set Value/Cycle Time");
    EXPECT_EQ(compareReport(MachineType::CQ, 0x06C3, en), "Program different :Auto-zero Time");
    EXPECT_EQ(compareReport(MachineType::CQ, 0x06C6, en), "Program different :ADD:6C6  Unknow");
}
