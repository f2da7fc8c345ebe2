#include "LineServer.h"
#include "SimOptions.h"
#include "VirtualLine.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <future>
#include <thread>
#include <unistd.h>

using namespace lumetra;
using namespace lumetra::sim;

namespace {
Bytes asciiBytes(const Bytes& request)
{
    const std::string f = BuildAsciiFrame(toHexText(request));
    return {f.begin(), f.end()};
}
std::string asText(const Bytes& b) { return {b.begin(), b.end()}; }
} // namespace

TEST(VirtualUnit, IdentityAndByteAddressedMemory)
{
    VirtualUnit u(UnitType::CQ);
    EXPECT_EQ(u.registerAt(0x0400) & 0xFF, 0x25);
    EXPECT_EQ(u.registerAt(0x0402) & 0xFF, 0x25);
    EXPECT_EQ(u.registerAt(0x0404), 0x030A);
    EXPECT_EQ(u.registerAt(0x043E) & 0xFF, 1);
    // An odd address reads its own byte in the low half.
    EXPECT_EQ(u.registerAt(0x0405), 0x0003);
    const auto reply = u.handle(buildReadRequest(1, 0x0405, 1));
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, (Bytes{1, 3, 2, 0x00, 0x03}));
    EXPECT_EQ(*u.handle(buildWriteRequest(1, 0x0600, 0xBEEF)), buildWriteRequest(1, 0x0600, 0xBEEF));
    EXPECT_EQ(u.byteAt(0x0600), 0xEF);
    EXPECT_EQ(u.byteAt(0x0601), 0xBE);
}

TEST(VirtualUnit, ExceptionRepliesAndTheFinishCommand)
{
    VirtualUnit u(UnitType::DQ);
    EXPECT_EQ(*u.handle(buildReadRequest(1, 0x0000, 1)), (Bytes{1, 0x83, 2}));
    EXPECT_EQ(*u.handle(buildReadRequest(1, 0x09FE, 2)), (Bytes{1, 0x83, 2})); // runs past the end
    EXPECT_EQ(*u.handle(buildWriteRequest(1, 0x0A00, 1)), (Bytes{1, 0x86, 2}));
    EXPECT_EQ(*u.handle(Bytes{1, 0x10, 0, 0, 0, 1}), (Bytes{1, 0x90, 1}));
    EXPECT_FALSE(u.handle(buildFinishRequest(1)));
}

TEST(VirtualLine, OnlyTheAddressedUnitAnswers)
{
    VirtualLine line(Protocol::Ascii, PortSettings{});
    line.addUnit(3, UnitType::TQ);
    line.addUnit(10, UnitType::DQ);
    std::vector<LoggedRequest> log;
    line.setRequestObserver([&](const LoggedRequest& r) { log.push_back(r); });
    const Bytes to10 = asciiBytes(buildReadRequest(10, 0x0404, 1));
    const Bytes to4 = asciiBytes(buildReadRequest(4, 0x0404, 1));
    line.receive(to4.data(), to4.size(), 0);
    EXPECT_FALSE(line.hasPending());
    line.receive(to10.data(), to10.size(), 0);
    EXPECT_EQ(asText(line.takeDue(0)), ":0A0302010AE6\r\n");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(toJsonLine(log[0]), R"({"t":0,"id":10,"fn":3,"addr":1028,"count":1})");
}

TEST(VirtualLine, IgnoresNoiseAndFramesItCannotTrust)
{
    VirtualLine ascii(Protocol::Ascii, PortSettings{});
    ascii.addUnit(1, UnitType::DQ);
    std::string bad = BuildAsciiFrame(toHexText(buildReadRequest(1, 0x0404, 1)));
    bad[14] = '0'; // wrong LRC
    const std::string good = "\x01\xFFxyz" + BuildAsciiFrame(toHexText(buildReadRequest(1, 0x0404, 1)));
    ascii.receive(reinterpret_cast<const std::uint8_t*>(bad.data()), bad.size(), 0);
    EXPECT_FALSE(ascii.hasPending());
    ascii.receive(reinterpret_cast<const std::uint8_t*>(good.data()), good.size(), 0);
    EXPECT_TRUE(ascii.hasPending());

    VirtualLine rtu(Protocol::Rtu, PortSettings{});
    rtu.addUnit(1, UnitType::DQ);
    Bytes noisy{0x55, 0x01};
    const Bytes frame = buildRtuFrame(buildReadRequest(1, 0x0404, 1));
    noisy.insert(noisy.end(), frame.begin(), frame.end());
    rtu.receive(noisy.data(), noisy.size(), 0);
    EXPECT_EQ(rtu.takeDue(0), buildRtuFrame({1, 3, 2, 1, 0x0A}));
}

TEST(VirtualLine, AFrameThatNeverEndsDoesNotGrowTheInput)
{
    VirtualLine ascii(Protocol::Ascii, PortSettings{});
    ascii.addUnit(1, UnitType::DQ);
    const std::string endless = ":" + std::string(100'000, '0');
    ascii.receive(reinterpret_cast<const std::uint8_t*>(endless.data()), endless.size(), 0);
    EXPECT_LE(ascii.pendingInput(), 17u); // one ASCII request at most
    const Bytes good = asciiBytes(buildReadRequest(1, 0x0404, 1));
    ascii.receive(good.data(), good.size(), 0);
    EXPECT_TRUE(ascii.hasPending());
}

TEST(LineServer, StopsWhenALineWithoutSpeedHasARepliesDue)
{
    // No clock can say when a byte of a line without speed is due: the
    // server must still hear the stop (SIGTERM comes the same way).
    PortSettings still;
    still.baud = 0;
    VirtualLine line(Protocol::Ascii, still);
    line.setPacing(true);
    line.addUnit(1, UnitType::DQ);
    LineServer server(line);
    std::string error;
    ASSERT_TRUE(server.servePty("", error)) << error;
    const int client = ::open(server.ptyPath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(client, 0);
    const Bytes request = asciiBytes(buildReadRequest(1, 0x0404, 1));
    ASSERT_EQ(::write(client, request.data(), request.size()), static_cast<ssize_t>(request.size()));
    std::promise<void> stopped;
    std::thread serving([&] {
        server.run();
        stopped.set_value();
    });
    ::usleep(100'000);
    server.stop();
    if (stopped.get_future().wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "the server did not stop";
        std::_Exit(1);
    }
    serving.join();
    ::close(client);
}

TEST(VirtualLine, PacedRepliesTakeTheirWireTime)
{
    PortSettings s;
    s.baud = 9600; // 10 bits a character: 1.0417 ms
    VirtualLine line(Protocol::Rtu, s);
    line.setPacing(true);
    line.addUnit(1, UnitType::DQ);
    const Bytes frame = buildRtuFrame(buildReadRequest(1, 0x0404, 1));
    line.receive(frame.data(), frame.size(), 100);
    // 8 request characters on the wire, then 7 reply characters.
    EXPECT_TRUE(line.takeDue(100 + 8).empty());
    EXPECT_EQ(line.takeDue(100 + 18).size(), 7u);
    EXPECT_FALSE(line.hasPending());
}

TEST(SimOptions, UnitAndFaultSpecs)
{
    int id = 0;
    UnitType type{};
    EXPECT_TRUE(parseUnitSpec("10:xq", id, type));
    EXPECT_EQ(id, 10);
    EXPECT_EQ(type, UnitType::XQ);
    EXPECT_FALSE(parseUnitSpec("0:DQ", id, type));
    EXPECT_FALSE(parseUnitSpec("256:DQ", id, type));
    EXPECT_FALSE(parseUnitSpec("3:ZQ", id, type));
    UnitFaults f;
    std::string error;
    EXPECT_TRUE(applyFaultSpec("3:exception=2", id, f, error));
    EXPECT_EQ(f.exceptionCode, 2);
    EXPECT_TRUE(applyFaultSpec("3:slow=5", id, f, error));
    EXPECT_EQ(f.slowPieces, 5);
    EXPECT_FALSE(applyFaultSpec("3:melt", id, f, error));
    EXPECT_NE(error.find("unknown fault"), std::string::npos);
    EXPECT_FALSE(applyFaultSpec("3:garbage=x", id, f, error));
    EXPECT_FALSE(applyFaultSpec("3:garbage=-1", id, f, error));
    EXPECT_FALSE(applyFaultSpec("3:gap=60001", id, f, error));

    std::string file;
    EXPECT_TRUE(parseLoadSpec("12:a:b.zqs", id, file, error));
    EXPECT_EQ(id, 12);
    EXPECT_EQ(file, "a:b.zqs");
    EXPECT_TRUE(parseLoadSpec("./a:b.zqs", id, file, error)); // a colon in the path names no ID
    EXPECT_EQ(id, 1);
    EXPECT_EQ(file, "./a:b.zqs");
    EXPECT_FALSE(parseLoadSpec("0:unit.zqs", id, file, error));
    EXPECT_FALSE(parseLoadSpec("99999999999:unit.zqs", id, file, error));
}

TEST(VirtualUnit, RestartsAfterTheLastWriteOfADownload)
{
    VirtualUnit dq(UnitType::DQ);
    EXPECT_TRUE(dq.handle(buildWriteRequest(1, 0x0578, 1), 0)); // not the DQ's end of download
    EXPECT_TRUE(dq.handle(buildWriteRequest(1, 0x0500, 1), 100)); // the echo still comes
    EXPECT_FALSE(dq.handle(buildReadRequest(1, 0x0404, 1), 200));
    EXPECT_FALSE(dq.handle(buildWriteRequest(1, 0x04FE, 1), 1599));
    EXPECT_EQ(dq.byteAt(0x04FE), 0); // ignored while restarting
    EXPECT_TRUE(dq.handle(buildReadRequest(1, 0x0404, 1), 1600));
    EXPECT_EQ(dq.restartCount(), 1);

    VirtualUnit cq(UnitType::CQ);
    cq.setRestartMs(0);
    EXPECT_TRUE(cq.handle(buildWriteRequest(1, 0x0578, 1), 0));
    EXPECT_EQ(cq.restartCount(), 1);
    EXPECT_TRUE(cq.handle(buildReadRequest(1, 0x0404, 1), 0));
    cq.faults().writeInhibit = true;
    EXPECT_EQ(*cq.handle(buildReadRequest(1, 0x043E, 1), 0), (Bytes{1, 3, 2, 0, 0}));
}

TEST(PresentValues, TimersRunTowardTheirSetValuesAndCountersCount)
{
    VirtualUnit dq(UnitType::DQ);
    dq.setByte(0x045A, 0);     // time code 0: hundredths, up
    dq.setByte(0x045C, 0x50);  // set value 0001.50: the six-digit layout
    dq.setByte(0x045E, 0x01);
    dq.handle(buildReadRequest(1, 0x0400, 1), 1000); // the unit starts
    dq.handle(buildReadRequest(1, 0x04A0, 2), 1500);
    EXPECT_EQ(dq.registerAt(0x04A0), 0x0050); // 0.50 s
    EXPECT_EQ(dq.byteAt(0x04E0) & 1, 0);
    dq.handle(buildReadRequest(1, 0x04A0, 2), 2500);
    EXPECT_EQ(dq.registerAt(0x04A0), 0x0050); // held at 1.50 with the output on
    EXPECT_EQ(dq.registerAt(0x04A2), 0x0001);
    EXPECT_EQ(dq.byteAt(0x04E0) & 1, 1);
    EXPECT_EQ(dq.byteAt(0x05DA) & 0x10, 0x10);

    VirtualUnit cq(UnitType::CQ);
    cq.setByte(0x0432, 3);
    cq.setByte(0x06AC, 0x00); // set value 100
    cq.setByte(0x06AD, 0x01);
    cq.handle(buildReadRequest(1, 0x0400, 1), 0);
    cq.handle(buildReadRequest(1, 0x0924, 6), 4200);
    EXPECT_EQ(cq.registerAt(0x0924), 0x0042); // ten counts a second
    cq.setPresentValuesRunning(false);
    cq.handle(buildReadRequest(1, 0x0924, 6), 9000);
    EXPECT_EQ(cq.registerAt(0x0924), 0x0042);
}
