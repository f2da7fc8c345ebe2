// The desktop host's waits run a nested event loop: other handlers keep
// running while a transaction waits, and a reply wakes the wait at once.

#include "QtHost.h"
#include "ServedLine.h"

#include "comm/CommSession.h"
#include "platform/PortTable.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

using namespace lumetra;

namespace {
struct QtRig {
    test::ServedLine served{Protocol::Ascii};
    gui::QtHost host;
    StringTable strings;
    CommSession session{host, strings, [this](int) { return makeDevicePort(served.path()); }};
};
} // namespace

TEST(QtHost, TimersKeepFiringWhileATransactionWaitsForASilentUnit)
{
    QtRig rig;
    rig.served.line().addUnit(1, sim::UnitType::DQ).faults().silent = true;
    rig.served.start();
    rig.session.state().quietMode = true;
    rig.session.state().TimeoutMs = 500;
    ASSERT_EQ(rig.session.OpenCommPort(), 0);

    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    QElapsedTimer clock;
    clock.start();
    std::string reply;
    EXPECT_EQ(rig.session.ReadRegisters(0x0404, 1, reply), 3);
    EXPECT_GE(clock.elapsed(), 490);
    EXPECT_GE(ticks, 20); // about 50 at 10 ms; a blocked loop would give 0
}

TEST(QtHost, AReplyEndsTheWaitAtOnce)
{
    QtRig rig;
    rig.served.line().addUnit(1, sim::UnitType::TQ);
    rig.served.start();
    rig.session.state().TimeoutMs = 5000;
    ASSERT_EQ(rig.session.OpenCommPort(), 0);
    QElapsedTimer clock;
    clock.start();
    std::string reply;
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(rig.session.ReadRegisters(0x0404, 1, reply), 0);
    EXPECT_LT(clock.elapsed(), 2000);
    std::uint16_t v = 0;
    ASSERT_TRUE(registerFromReply(reply, 0, v));
    EXPECT_EQ(v, 0x020A);
}

TEST(QtHost, PauseLastsTwiceItsArgumentWithEventsRunning)
{
    QtRig rig;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    QElapsedTimer clock;
    clock.start();
    rig.session.PauseMs(100);
    EXPECT_GE(clock.elapsed(), 199);
    EXPECT_LT(clock.elapsed(), 400);
    EXPECT_GE(ticks, 10);
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
