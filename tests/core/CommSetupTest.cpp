#include "LineRig.h"

#include "comm/CommSetup.h"

#include <gtest/gtest.h>

using namespace lumetra;
using lumetra::test::LineRig;

namespace {
struct SetupRig : LineRig {
    CommSetupState state;
    CommSetup setup{session, state};
};
} // namespace

TEST(CommSetup, ListsAsTheWindowShowsThem)
{
    EXPECT_EQ(CommSetup::baudEntries().front(), "1200     Bps");
    EXPECT_EQ(CommSetup::baudEntries()[4], "14400   Bps");
    EXPECT_EQ(CommSetup::portEntries().back(), "COM16");
    EXPECT_EQ(CommSetup::manualIdEntries().size(), 255u);
    EXPECT_EQ(CommSetup::manualIdEntries().back(), "FF");
    EXPECT_EQ(CommSetup::filterKey(CommSetupField::ManualId, 'f'), 'F');
    EXPECT_EQ(CommSetup::filterKey(CommSetupField::ManualId, 'g'), 0);
    EXPECT_EQ(CommSetup::filterKey(CommSetupField::Timeout, 'a'), 0);
    EXPECT_EQ(CommSetup::filterKey(CommSetupField::Delay, '7'), '7');
    EXPECT_EQ(CommSetup::filterKey(CommSetupField::Delay, 8), 8);
}

TEST(CommSetup, ApplyValidatesInOrderAndStoresNothingOnFailure)
{
    SetupRig rig;
    CommSetupForm f = rig.setup.load();
    EXPECT_EQ(f.timeoutText, "1000");
    EXPECT_EQ(f.manualIdText, "01");
    f.baudIndex = 5;
    f.parityIndex = 2;
    f.stopBitsIndex = 1;
    f.timeoutText = "49";
    f.delayText = "60001";
    EXPECT_EQ(rig.setup.apply(f), Result::TimeoutSettingError);
    EXPECT_EQ(rig.host.messages.back().text, "Time out setting error!");
    f.timeoutText = "50";
    EXPECT_EQ(rig.setup.apply(f), Result::DelaySettingError);
    EXPECT_EQ(rig.host.messages.back().text, "Communication Delay time error !");
    f.delayText = "60000";
    for (const char* bad : {"00", "100", ""}) {
        f.manualIdText = bad;
        EXPECT_EQ(rig.setup.apply(f), Result::WrongDeviceId) << bad;
    }
    EXPECT_EQ(rig.session.state().BaudIndex, 3); // nothing stored yet
    f.baudIndex = 9;
    EXPECT_EQ(rig.setup.apply(f), Result::CommSettingsError);
    f.baudIndex = 5;
    f.manualIdText = std::string(1, CommSetup::filterKey(CommSetupField::ManualId, 'f')) + "F";
    ASSERT_EQ(rig.setup.apply(f), 0);
    EXPECT_EQ(rig.session.state().DeviceId, 255);
    EXPECT_EQ(rig.state.ManualIdIndex, 254);
    EXPECT_EQ(rig.session.state().TimeoutMs, 50);
    EXPECT_EQ(rig.session.state().CommDelayMs, 60000);
    EXPECT_EQ(rig.session.state().CommSettingsText, "19200 , E , 8 , 2");
    EXPECT_EQ(rig.host.lastStatus(StatusPanel::Port), "COM1 , 19200 , E , 8 , 2");
    EXPECT_EQ(rig.host.lastStatus(StatusPanel::SlaveId), "Device ID(Hex) : FF");
}

TEST(CommSetup, SearchListsTimerCounterAndSwitchableUnitsOnly)
{
    SetupRig rig;
    rig.addUnit(3, MachineType::TQ);
    rig.addUnit(10, MachineType::DQ);
    rig.addUnit(0x20, MachineType::XQ);
    CommSetupForm f = rig.setup.load();
    const auto start = rig.host.now;
    rig.setup.search(f);
    EXPECT_EQ(f.autoEntries, (std::vector<std::string>{"03 : LT-48TQ Timer", "20 : LT-48XQ Timer / Counter"}));
    EXPECT_EQ(rig.state.FoundDevices, f.autoEntries);
    EXPECT_EQ(f.autoIdText, "03");
    EXPECT_TRUE(rig.host.messages.empty());
    EXPECT_TRUE(rig.session.state().quietMode); // stays on
    EXPECT_FALSE(rig.session.portIsOpen());
    EXPECT_GE(rig.host.now - start, 252 * 1000); // every absent ID times out

    f.idMode = 1;
    ASSERT_EQ(rig.setup.apply(f), 0);
    EXPECT_EQ(rig.session.state().DeviceId, 3);
    EXPECT_EQ(rig.setup.load().autoEntries.size(), 2u); // kept for the next opening
}

TEST(CommSetup, SearchStoppedHalfWayKeepsWhatItFound)
{
    SetupRig rig;
    rig.addUnit(3, MachineType::CQ);
    rig.addUnit(40, MachineType::CQ);
    CommSetupForm f = rig.setup.load();
    rig.host.onEvents = [&] {
        if (f.autoIdText == "14") // ID 20
            rig.setup.stop(f);
    };
    rig.setup.search(f);
    EXPECT_EQ(f.autoEntries, std::vector<std::string>{"03 : LT-48CQ Counter / Tachometer"});
    EXPECT_TRUE(rig.host.messages.empty());
    ASSERT_EQ(rig.requests.size(), 1u); // the unit at 40 was never asked
    EXPECT_EQ(rig.requests[0].slaveId, 3);
}

TEST(CommSetup, EmptyLineTellsOnlyAfterTheLastId)
{
    SetupRig rig;
    rig.session.state().TimeoutMs = 50;
    CommSetupForm f = rig.setup.load();
    int askedBeforeTheEnd = 0;
    rig.host.onEvents = [&] {
        if (!rig.host.messages.empty() && f.searching)
            ++askedBeforeTheEnd;
    };
    rig.setup.search(f);
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text,
              "No modules can be found, please change the communication settings and try again.");
    EXPECT_EQ(rig.host.messages[0].title, "Search");
    EXPECT_EQ(askedBeforeTheEnd, 0);
    EXPECT_EQ(f.autoIdText, "");
    EXPECT_TRUE(f.autoEntries.empty());
    EXPECT_EQ(rig.requests.size(), 0u); // no unit heard anything addressed to it
}
