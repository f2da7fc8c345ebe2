#include "LineRig.h"
#include "ScriptedPort.h"

#include "comm/CommSession.h"

#include <gtest/gtest.h>

using namespace lumetra;
using namespace lumetra::sim;
using lumetra::test::PeerScript;
using lumetra::test::RecordingHost;
using lumetra::test::ScriptedPort;

namespace {

// A DQ unit at ID 1 on an in-process line.
struct Rig : lumetra::test::LineRig {
    explicit Rig(Protocol protocol = Protocol::Ascii) : LineRig(protocol) { addUnit(1, UnitType::DQ); }
    VirtualUnit& unit() { return *line.unit(1); }
};

class BothProtocols : public ::testing::TestWithParam<Protocol> {};

// The line is pulled out once ms of the clock have passed from now.
void unplugAfter(Rig& rig, int ms)
{
    const auto start = rig.host.now;
    rig.host.onEvents = [&rig, start, ms] {
        if (rig.host.now - start >= ms)
            rig.lastPort->unplug();
    };
}

// A session whose peer answers with the given pieces, all due at once.
struct ScriptedRig {
    RecordingHost host;
    StringTable strings;
    ScriptedPort* port = nullptr;
    CommSession session;
    ScriptedRig(Protocol protocol, std::vector<std::string> pieces, bool streams)
        : session(host, strings, [this, pieces, streams](int) {
              PeerScript script;
              for (const std::string& p : pieces)
                  script.pieces.push_back({0, Bytes(p.begin(), p.end())});
              script.streams = streams;
              auto p = std::make_unique<ScriptedPort>(host.now, script);
              port = p.get();
              return p;
          })
    {
        session.state().protocol = protocol;
        session.state().TimeoutMs = 5000;
        session.state().quietMode = true;
        EXPECT_EQ(session.OpenCommPort(), 0);
    }
};

} // namespace

TEST_P(BothProtocols, ReadsAndWritesThroughTheLine)
{
    Rig rig(GetParam());
    ASSERT_EQ(rig.session.OpenCommPort(), 0);
    std::string reply;
    ASSERT_EQ(rig.session.ReadRegisters(0x0400, 3, reply), 0);
    std::uint16_t v = 0;
    ASSERT_TRUE(registerFromReply(reply, 2, v));
    EXPECT_EQ(v, 0x010A);
    ASSERT_EQ(rig.session.WriteRegister(0x0500, 0x1234), 0);
    EXPECT_EQ(rig.unit().byteAt(0x0500), 0x34);
    EXPECT_EQ(rig.unit().byteAt(0x0501), 0x12);
    EXPECT_EQ(rig.host.lastStatus(StatusPanel::Transfer), "Write...");
    EXPECT_TRUE(rig.host.messages.empty());
}

TEST_P(BothProtocols, SilentUnitTimesOutAfterTheTimeout)
{
    Rig rig(GetParam());
    rig.unit().faults().silent = true;
    ASSERT_EQ(rig.session.OpenCommPort(), 0);
    const auto start = rig.host.now;
    std::string reply;
    EXPECT_EQ(rig.session.ReadRegisters(0x0404, 1, reply), 3);
    EXPECT_GE(rig.host.now - start, 1000);
    EXPECT_LE(rig.host.now - start, 1002);
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, "Time out !");
    EXPECT_EQ(rig.host.messages[0].title, "Error");
    EXPECT_EQ(rig.host.messages[0].detail, ""); // the line is there: nothing more to say
    EXPECT_EQ(rig.host.lastStatus(StatusPanel::Transfer), "Read Error");
    EXPECT_FALSE(rig.session.portIsOpen());
    EXPECT_EQ(rig.session.state().LastResult, 3);
}

TEST_P(BothProtocols, ExceptionAndChecksumFaults)
{
    Rig rig(GetParam());
    rig.session.state().quietMode = true;
    ASSERT_EQ(rig.session.OpenCommPort(), 0);
    std::string reply;
    EXPECT_EQ(rig.session.ReadRegisters(0x0000, 1, reply), 29); // outside the unit's memory
    rig.unit().faults().exceptionCode = 1;
    EXPECT_EQ(rig.session.WriteRegister(0x0400, 1), 28);
    rig.unit().faults().exceptionCode = 6;
    EXPECT_EQ(rig.session.ReadRegisters(0x0400, 1, reply), 23);
    rig.unit().faults() = {};
    rig.unit().faults().wrongChecksum = true;
    EXPECT_EQ(rig.session.ReadRegisters(0x0400, 1, reply), 12);
    rig.unit().faults() = {};
    rig.unit().faults().slowPieces = 4;
    EXPECT_EQ(rig.session.ReadRegisters(0x0400, 1, reply), 0);
    EXPECT_TRUE(rig.host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Comm, BothProtocols, ::testing::Values(Protocol::Ascii, Protocol::Rtu));

TEST(Transactions, QuietModeShowsNothingAndKeepsThePortOpen)
{
    Rig rig;
    rig.unit().faults().silent = true;
    rig.session.state().quietMode = true;
    ASSERT_EQ(rig.session.OpenCommPort(), 0);
    std::string reply;
    EXPECT_EQ(rig.session.ReadRegisters(0x0404, 1, reply), 3);
    EXPECT_TRUE(rig.host.messages.empty());
    EXPECT_EQ(rig.host.lastStatus(StatusPanel::Transfer), "Read...");
    EXPECT_TRUE(rig.session.portIsOpen());
}

TEST(Transactions, WriteFailureShowsStatusThenMessage)
{
    Rig rig;
    rig.unit().faults().wrongChecksum = true;
    ASSERT_EQ(rig.session.OpenCommPort(), 0);
    EXPECT_EQ(rig.session.WriteRegister(0x0410, 7), 12);
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, "Failed to response !");
    EXPECT_EQ(rig.host.status.back().second, "Write Error");
    EXPECT_FALSE(rig.session.portIsOpen());
}

TEST(Transactions, AsciiReplyWithoutLfIsATimeoutAndNoiseShiftsTheText)
{
    Rig rig;
    rig.session.state().quietMode = true;
    ASSERT_EQ(rig.session.OpenCommPort(), 0);
    std::string reply;
    rig.unit().faults().missingLf = true;
    EXPECT_EQ(rig.session.ReadRegisters(0x0400, 1, reply), 3);
    rig.unit().faults() = {};
    rig.unit().faults().garbageBytes = 1; // one 0x00 byte: not a hex pair
    EXPECT_EQ(rig.session.ReadRegisters(0x0400, 1, reply), 3);
}

TEST(Transactions, APeerThatNeverStopsIsCutAtTheLongestReply)
{
    // ASCII: no LF within the longest reply there can be: never complete (3),
    // found at once instead of collecting for the whole time-out.
    for (bool colonFirst : {false, true}) {
        ScriptedRig rig(Protocol::Ascii, {colonFirst ? ":" : "?", std::string(600, '0')}, true);
        const auto start = rig.host.now;
        std::string reply;
        EXPECT_EQ(rig.session.ReadRegisters(0x0404, 1, reply), 3);
        EXPECT_LE(rig.port->handedOut, kLongestAsciiReply + 600);
        EXPECT_LT(rig.host.now - start, 10);
        EXPECT_EQ(reply.size(), kLongestAsciiReply); // what the session kept
    }
    // RTU: more bytes than the reply holds.
    ScriptedRig rtu(Protocol::Rtu, {std::string(600, '0')}, true);
    std::string reply;
    EXPECT_EQ(rtu.session.ReadRegisters(0x0404, 1, reply), 3);
    EXPECT_LE(rtu.port->handedOut, 600u);
}

TEST(Transactions, TheLongestReplyIsStillJudged)
{
    // A read of 255 registers with the right LRC: exactly the longest reply.
    Bytes body{0x01, 0x03, 0xFE};
    body.resize(3 + 510, 0x11);
    std::string text = ":" + toHexText(body) + toHexText({lrcOf(body)}) + "\r\n";
    ASSERT_EQ(text.size(), kLongestAsciiReply);
    ScriptedRig rig(Protocol::Ascii, {text}, false);
    std::string reply;
    EXPECT_EQ(rig.session.ReadRegisters(0x0000, 255, reply), 0);
    EXPECT_EQ(reply, text);
    // With one noise byte in front the text no longer fits, and is no reply.
    ScriptedRig noisy(Protocol::Ascii, {"?" + text}, false);
    EXPECT_EQ(noisy.session.ReadRegisters(0x0000, 255, reply), 3);
}

TEST(Transactions, DelayFollowsEveryTransactionButNotAPortFailure)
{
    Rig rig;
    rig.session.state().CommDelayMs = 200;
    rig.session.state().quietMode = true;
    ASSERT_EQ(rig.session.OpenCommPort(), 0);
    std::string reply;
    EXPECT_EQ(rig.session.ReadRegisters(0x0400, 1, reply), 0);
    rig.unit().faults().silent = true;
    EXPECT_EQ(rig.session.WriteRegister(0x0410, 1), 3);
    EXPECT_EQ(rig.host.sleeps, (std::vector<int>{200, 200}));
    rig.session.closePort();
    rig.host.sleeps.clear();
    rig.session.state().quietMode = false;
    EXPECT_EQ(rig.session.ReadRegisters(0x0400, 1, reply), 3);
    EXPECT_EQ(rig.session.WriteRegister(0x0410, 1), 5);
    EXPECT_TRUE(rig.host.sleeps.empty());
    EXPECT_EQ(rig.host.messageTexts(), (std::vector<std::string>{"Time out !", "Failed to write !"}));
}

TEST(Transactions, PortThatVanishesMidReadEndsWithoutWaitingForTheTimeout)
{
    Rig rig;
    rig.unit().faults().silent = true;
    rig.session.state().TimeoutMs = 5000;
    rig.host.maxWaitStepMs = 100;
    ASSERT_EQ(rig.session.OpenCommPort(), 0);
    const auto start = rig.host.now;
    unplugAfter(rig, 300);
    std::string reply;
    EXPECT_EQ(rig.session.ReadRegisters(0x0404, 1, reply), 3);
    EXPECT_LE(rig.host.now - start, 400);
    EXPECT_FALSE(rig.session.portIsOpen());
    EXPECT_TRUE(rig.session.lineLost());
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, "Time out !"); // the code and text stay; the cause is added
    EXPECT_EQ(rig.host.messages[0].detail, "the line was closed");
    EXPECT_EQ(rig.session.WriteRegister(0x0410, 1), 5);
    EXPECT_EQ(rig.host.messages.back().detail, "the line was closed");
    // A fresh open forgets the loss.
    rig.lineGone = false;
    ASSERT_EQ(rig.session.OpenCommPort(), 0);
    EXPECT_FALSE(rig.session.lineLost());
}

TEST(OpenCommPort, RefusalsAndSecondOpen)
{
    Rig rig;
    EXPECT_EQ(rig.session.OpenCommPort(), 0);
    EXPECT_EQ(rig.session.OpenCommPort(), 2);
    EXPECT_EQ(rig.host.messages.back().text, "COM port has been opened.");
    rig.session.closePort();
    rig.session.state().quietMode = true; // does not silence the port's own messages
    rig.session.state().CommPort = 0;
    EXPECT_EQ(rig.session.OpenCommPort(), 1);
    rig.session.state().CommPort = 7; // mapped to nothing
    EXPECT_EQ(rig.session.OpenCommPort(), 1);
    EXPECT_EQ(rig.host.messages.back().text, "Communication error!");
    EXPECT_FALSE(rig.host.messages.back().detail.empty());
}

TEST(Session, PauseLastsTwiceItsArgumentAndLetsEventsRun)
{
    Rig rig;
    int events = 0;
    rig.host.onEvents = [&] { ++events; };
    auto start = rig.host.now;
    EXPECT_EQ(rig.session.PauseMs(100), 0);
    EXPECT_EQ(rig.host.now - start, 200);
    EXPECT_GT(events, 0);
    // The same with the port open: the pause waits on the line.
    ASSERT_EQ(rig.session.OpenCommPort(), 0);
    events = 0;
    start = rig.host.now;
    EXPECT_EQ(rig.session.PauseMs(100), 0);
    EXPECT_EQ(rig.host.now - start, 200);
    EXPECT_GT(events, 0);
    EXPECT_TRUE(rig.host.messages.empty());
}

TEST(Session, APauseEndsAsItsLineGoesAndFailsAsAWrite)
{
    Rig rig;
    rig.host.maxWaitStepMs = 100;
    ASSERT_EQ(rig.session.OpenCommPort(), 0);
    const auto start = rig.host.now;
    unplugAfter(rig, 300);
    EXPECT_EQ(rig.session.PauseMs(4000), 5);
    EXPECT_LE(rig.host.now - start, 400); // not the 8 s the pause would last
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, "Failed to write !");
    EXPECT_EQ(rig.host.messages[0].detail, "the line was closed");
    EXPECT_FALSE(rig.session.portIsOpen());
}

TEST(Session, FinishCommandAwaitsNothingAndLeavesLastResult)
{
    Rig rig;
    std::vector<FrameRecord> frames;
    rig.session.addFrameObserver([&](const FrameRecord& r) { frames.push_back(r); });
    ASSERT_EQ(rig.session.OpenCommPort(), 0);
    rig.session.state().LastResult = 42;
    const auto start = rig.host.now;
    rig.session.SendFinishCommand(1, Protocol::Ascii);
    EXPECT_EQ(rig.host.now, start);
    EXPECT_EQ(rig.session.state().LastResult, 42);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(std::string(frames[0].bytes.begin(), frames[0].bytes.end()), ":01DD0000000022\r\n");
    std::string reply;
    rig.session.ReadRegisters(0x0404, 1, reply);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[2].direction, FrameDirection::Received);
    EXPECT_EQ(formatFrameRecord(frames[1], start, Protocol::Ascii), "0.000 > :010304040001F3\\r\\n");
}

TEST(Session, StatusTextsOfPortAndSlaveId)
{
    Rig rig;
    rig.session.state().DeviceId = 10;
    rig.session.state().CommPort = 3;
    rig.session.state().BaudIndex = 5;
    rig.session.state().ParityIndex = 2;
    rig.session.state().StopBitsIndex = 1;
    rig.session.state().CommSettingsText = rig.session.state().buildCommSettingsText();
    rig.session.UpdateCommStatus();
    EXPECT_EQ(rig.host.lastStatus(StatusPanel::Port), "COM3 , 19200 , E , 8 , 2");
    EXPECT_EQ(rig.host.lastStatus(StatusPanel::SlaveId), "Device ID(Hex) : 0A");
    EXPECT_EQ(CommState{}.portSettings().toString(), "9600,n,8,1");
}

TEST(Session, LineEventsBecomeStatusTexts)
{
    EXPECT_EQ(lineEventText(LineEvent::Break), "Receive Error");
    EXPECT_EQ(lineEventText(LineEvent::CtsTimeout), "Timeout");
    EXPECT_EQ(lineEventText(LineEvent::Framing), "Frameing Error");
    EXPECT_EQ(lineEventText(LineEvent::Overrun), "Data lost");
    EXPECT_EQ(lineEventText(LineEvent::RxOverflow), "Receive buffer overflow");
    EXPECT_EQ(lineEventText(LineEvent::Parity), "Parity Error");
    EXPECT_EQ(lineEventText(LineEvent::TxFull), "Transmit buffer full");
    EXPECT_EQ(lineEventText(LineEvent::ConfigFailure), "Receive Error!");
}
