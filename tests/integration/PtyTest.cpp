#include "RecordingHost.h"
#include "ServedLine.h"

#include "comm/CommSession.h"
#include "platform/PortTable.h"
#include "platform/Pty.h"
#include "platform/TermiosPort.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

using namespace lumetra;
using namespace lumetra::sim;
using lumetra::test::RecordingHost;
using lumetra::test::ServedLine;

namespace {

// A session talking to whatever device is mapped to COM1.
struct Client {
    RecordingHost host{RecordingHost::Clock::Real};
    StringTable strings;
    std::string device;
    CommSession session{host, strings, [this](int n) { return n == 1 ? makeDevicePort(device) : nullptr; }};
    explicit Client(std::string dev, Protocol protocol) : device(std::move(dev)) { session.state().protocol = protocol; }

    std::uint16_t read(std::uint16_t address)
    {
        std::string reply;
        std::uint16_t v = 0;
        EXPECT_EQ(session.ReadRegisters(address, 1, reply), 0);
        EXPECT_TRUE(registerFromReply(reply, 0, v));
        return v;
    }
};

class OverPty : public ::testing::TestWithParam<Protocol> {};

std::int64_t elapsedMs(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

TEST_P(OverPty, EveryBaudRateOpensAndTalks)
{
    ServedLine served(GetParam());
    served.line().addUnit(7, UnitType::TQ);
    served.start();
    Client c(served.path(), GetParam());
    c.session.state().DeviceId = 7;
    for (int index = 0; index < 9; ++index) {
        c.session.state().BaudIndex = index;
        c.session.state().ParityIndex = index % 3;
        c.session.state().StopBitsIndex = index % 2;
        ASSERT_EQ(c.session.OpenCommPort(), 0) << kBaudRates[static_cast<std::size_t>(index)];
        EXPECT_EQ(c.read(0x0404), 0x020A);
        EXPECT_EQ(c.session.WriteRegister(0x0432, static_cast<std::uint16_t>(index)), 0);
        c.session.closePort();
    }
    served.stop();
    EXPECT_EQ(served.line().unit(7)->registerAt(0x0432), 8);
}

TEST_P(OverPty, FaultsGiveTheirResultCodes)
{
    ServedLine served(GetParam());
    served.line().addUnit(1, UnitType::DQ).faults().slowPieces = 3;
    served.line().addUnit(2, UnitType::DQ).faults().wrongChecksum = true;
    served.line().addUnit(3, UnitType::DQ).faults().exceptionCode = 2;
    served.line().addUnit(4, UnitType::DQ).faults().silent = true;
    served.start();
    Client c(served.path(), GetParam());
    c.session.state().quietMode = true;
    c.session.state().TimeoutMs = 300;
    ASSERT_EQ(c.session.OpenCommPort(), 0);
    std::string reply;
    EXPECT_EQ(c.session.ReadRegisters(1, 0x0400, 3, reply, GetParam()), 0);
    EXPECT_EQ(c.session.ReadRegisters(2, 0x0400, 1, reply, GetParam()), 12);
    EXPECT_EQ(c.session.ReadRegisters(3, 0x0400, 1, reply, GetParam()), 29);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(c.session.ReadRegisters(4, 0x0400, 1, reply, GetParam()), 3);
    EXPECT_GE(elapsedMs(start), 290);
    // The line is still usable after every one of them.
    EXPECT_EQ(c.session.ReadRegisters(1, 0x0404, 1, reply, GetParam()), 0);
}

INSTANTIATE_TEST_SUITE_P(Line, OverPty, ::testing::Values(Protocol::Ascii, Protocol::Rtu));

TEST(Pty, SecondOpenIsToldApartFromOtherRefusals)
{
    ServedLine served(Protocol::Ascii);
    served.line().addUnit(1, UnitType::DQ);
    served.start();
    TermiosPort first(served.path());
    ASSERT_EQ(first.open(PortSettings{}).status, OpenStatus::Opened);
    TermiosPort second(served.path());
    EXPECT_EQ(second.open(PortSettings{}).status, OpenStatus::AlreadyOpen);
    Client c(served.path(), Protocol::Ascii);
    EXPECT_EQ(c.session.OpenCommPort(), 2);
    EXPECT_EQ(c.host.messages.back().text, "COM port has been opened.");
    TermiosPort missing("/dev/lumetra-no-such-port");
    const OpenResult r = missing.open(PortSettings{});
    EXPECT_EQ(r.status, OpenStatus::Refused);
    EXPECT_NE(r.reason.find("No such file"), std::string::npos);
    TermiosPort notATty("/dev/null");
    EXPECT_EQ(notATty.open(PortSettings{}).status, OpenStatus::Refused);
}

TEST(Pty, ExclusiveUseEndsWithOurClose)
{
    // The server keeps the terminal open all along, as a simulator or socat
    // does; the flag is the terminal's, so it would outlive our descriptor.
    ServedLine served(Protocol::Ascii);
    served.line().addUnit(1, UnitType::DQ);
    served.start();
    const int watcher = ::open(served.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(watcher, 0) << std::strerror(errno);
    const auto exclusive = [&] {
        int on = 0;
        EXPECT_EQ(::ioctl(watcher, TIOCGEXCL, &on), 0);
        return on != 0;
    };
    Client c(served.path(), Protocol::Ascii);
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(c.session.OpenCommPort(), 0) << round << ": " << c.session.lastPortError();
        EXPECT_TRUE(exclusive());
        TermiosPort other(served.path()); // someone else, while we hold the line
        EXPECT_EQ(other.open(PortSettings{}).status, OpenStatus::AlreadyOpen);
        EXPECT_EQ(c.read(0x0404), 0x010A);
        c.session.closePort();
        EXPECT_FALSE(exclusive());
    }
    ::close(watcher);
}

TEST(Pty, PortThatVanishesMidReadEndsTheWaitAtOnce)
{
    Pty pty;
    std::string error;
    ASSERT_TRUE(pty.create(error)) << error;
    Client c(pty.slavePath(), Protocol::Ascii);
    c.session.state().TimeoutMs = 5000;
    ASSERT_EQ(c.session.OpenCommPort(), 0);
    std::thread unplug([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        pty.close();
    });
    const auto start = std::chrono::steady_clock::now();
    std::string reply;
    EXPECT_EQ(c.session.ReadRegisters(0x0404, 1, reply), 3);
    unplug.join();
    EXPECT_LT(elapsedMs(start), 2000);
    EXPECT_FALSE(c.session.portIsOpen());
    EXPECT_EQ(c.host.messageTexts(), std::vector<std::string>{"Time out !"});
    EXPECT_EQ(c.host.messages[0].detail, "the line was closed");
    EXPECT_EQ(c.session.WriteRegister(0x0410, 1), 5); // the port is gone: fails at once
}

TEST(Pty, ALineThatWentBetweenTransactionsIsFoundByTheNext)
{
    Pty pty;
    std::string error;
    ASSERT_TRUE(pty.create(error)) << error;
    Client c(pty.slavePath(), Protocol::Ascii);
    c.session.state().quietMode = true;
    ASSERT_EQ(c.session.OpenCommPort(), 0);
    pty.close();
    std::string reply;
    EXPECT_EQ(c.session.ReadRegisters(0x0404, 1, reply), 3);
    EXPECT_TRUE(c.session.lineLost());
    EXPECT_EQ(c.session.lineLossReason(), "the line was closed");
    EXPECT_TRUE(c.host.messages.empty());
}

TEST(Tcp, TheSameBytesOverATcpTunnel)
{
    ServedLine served(Protocol::Rtu);
    served.line().addUnit(9, UnitType::XQ);
    served.start(true);
    Client c(served.tcpAddress(), Protocol::Rtu);
    c.session.state().DeviceId = 9;
    ASSERT_EQ(c.session.OpenCommPort(), 0);
    EXPECT_EQ(c.read(0x0404), 0x040A);
    EXPECT_EQ(c.session.WriteRegister(0x0432, 5), 0);
    EXPECT_EQ(c.read(0x0432), 5);
    c.session.closePort();
    // The server going away closes the connection: the next read fails at once.
    ASSERT_EQ(c.session.OpenCommPort(), 0);
    served.stop();
    served.server().closeTcp();
    c.session.state().TimeoutMs = 3000;
    const auto start = std::chrono::steady_clock::now();
    std::string reply;
    EXPECT_EQ(c.session.ReadRegisters(0x0404, 1, reply), 3);
    EXPECT_LT(elapsedMs(start), 2500);
    ASSERT_EQ(c.host.messages.size(), 1u);
    EXPECT_EQ(c.host.messages[0].detail, "the line was closed");
}
