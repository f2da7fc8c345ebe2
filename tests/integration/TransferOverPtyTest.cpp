// Download, upload and compare end to end over a real pseudo-terminal, in
// both framings; the download's pauses are skipped by the host's clock.

#include "RecordingHost.h"
#include "ServedLine.h"
#include "TestDocuments.h"

#include "comm/CommSession.h"
#include "platform/PortTable.h"
#include "transfer/TransferRun.h"

#include <gtest/gtest.h>

using namespace lumetra;

namespace {
class OverPtyTransfer : public ::testing::TestWithParam<Protocol> {};
} // namespace

TEST_P(OverPtyTransfer, DownloadUploadCompareForEachType)
{
    test::ServedLine served(GetParam());
    struct Unit {
        int id;
        MachineType type;
        int mode;
    };
    const std::vector<Unit> units{{1, MachineType::DQ, 1}, {2, MachineType::TQ, 2}, {3, MachineType::CQ, 6}, {4, MachineType::XQ, 8}};
    for (const Unit& u : units)
        served.line().addUnit(u.id, u.type).setRestartMs(0); // no restart time: the pauses are skipped
    std::vector<sim::LoggedRequest> log;
    served.line().setRequestObserver([&](const sim::LoggedRequest& r) { log.push_back(r); });
    served.start();

    test::RecordingHost host(test::RecordingHost::Clock::Real);
    host.fastPauses = true;
    StringTable strings;
    const std::string device = served.path();
    CommSession session(host, strings, [&](int) { return makeDevicePort(device); });
    session.state().protocol = GetParam();
    TransferProgress progress;
    for (const Unit& u : units) {
        SCOPED_TRACE(machineTypeName(u.type));
        session.state().DeviceId = u.id;
        SettingsDocument doc = test::validDocument(u.type, u.mode, 3);
        ASSERT_EQ(transferCommand(session, OperationKind::Download, downloadTarget(doc), doc, progress, FormId::MainWindow), 0)
            << testing::PrintToString(host.messageTexts());
        SettingsDocument uploaded;
        ASSERT_EQ(transferCommand(session, OperationKind::Upload, TransferTarget::DqAll, uploaded, progress, FormId::MainWindow), 0);
        EXPECT_EQ(test::imageOf(uploaded).text(0, 256), test::imageOf(doc).text(0, 256));
        std::uint16_t address = 1;
        ASSERT_EQ(transferCommand(session, OperationKind::Compare, TransferTarget::DqAll, doc, progress, FormId::MainWindow, &address), 0);
        EXPECT_EQ(address, 0);
    }
    served.stop();
    // The finish command reaches each unit once, after the write that restarts it.
    int finishes = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i].function != 0xDD)
            continue;
        ++finishes;
        ASSERT_GT(i, 0u);
        EXPECT_EQ(log[i - 1].function, 6);
        EXPECT_TRUE(log[i - 1].address == 0x0500 || log[i - 1].address == 0x0578);
    }
    EXPECT_EQ(finishes, 4);
}

INSTANTIATE_TEST_SUITE_P(Line, OverPtyTransfer, ::testing::Values(Protocol::Ascii, Protocol::Rtu));
