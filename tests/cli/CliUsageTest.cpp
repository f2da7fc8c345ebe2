// How both programs refuse what they cannot do: every bad option the same
// way (named, exit 64, nothing on stdout), and a failed command prints
// nothing on stdout.

#include "Process.h"
#include "Programs.h"

#include "comm/Frames.h"
#include "platform/Pty.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

using namespace lumetra::test;

namespace {
const std::string kHint = "Run with --help for more information.\n";

struct Refusal {
    std::vector<std::string> args;
    std::string message; // after "lumetra-cli: " / "lumetra-sim: "
};

void expectRefused(const std::string& program, const Refusal& refusal)
{
    std::vector<std::string> args{program};
    args.insert(args.end(), refusal.args.begin(), refusal.args.end());
    const auto r = run(args);
    const std::string name = program == kCli ? "lumetra-cli: " : "lumetra-sim: ";
    EXPECT_EQ(r.exitCode, 64) << refusal.message;
    EXPECT_EQ(r.out, "") << refusal.message;
    EXPECT_EQ(r.err, name + refusal.message + "\n" + kHint);
}
} // namespace

TEST(CliUsage, EveryCommandRefusesABadOptionTheSameWay)
{
    const std::string commands = "read, write, ports, search, upload, download, compare, describe, monitor, show, new or set";
    const std::vector<Refusal> refusals{
        {{"frobnicate"}, "unknown command 'frobnicate' (" + commands + ")"},
        {{}, "no command given: " + commands},
        {{"--bogus"}, "The following argument was not expected: --bogus"},
        {{"--bogus", "read", "1"}, "The following argument was not expected: --bogus"},
        {{"--port"}, "--port: 1 required TEXT missing"},
        {{"--lang", "xx", "show", "a.zqs"}, "--lang: unknown language 'xx' (use en, zh_TW, zh_CN or a language id)"},
        {{"--lang", "xx", "new", "--type", "DQ", "--mode", "0", "-o", "a.zqs"},
         "--lang: unknown language 'xx' (use en, zh_TW, zh_CN or a language id)"},
        {{"--lang", "xx", "set", "a.zqs", "mKP=1"}, "--lang: unknown language 'xx' (use en, zh_TW, zh_CN or a language id)"},
        {{"--port", "sim:DQ", "monitor", "--cycles", "-1"}, "--cycles: Value -1 not in range 0 to 2147483647"},
        {{"--port", "sim:DQ", "monitor", "--rate", "0"}, "--rate: Please enter an integer between 1 and 3600."},
        {{"--port", "sim:DQ", "monitor", "--rate", "12a"}, "--rate: Please enter an integer between 1 and 3600."},
        {{"--port", "sim:DQ", "read", "0x10000"}, "ADDR: '0x10000' is not a number in 0..0xFFFF"},
        {{"--port", "sim:DQ", "read", "0x0404", "0"}, "COUNT: '0' is not a number in 1..0xFF"},
        {{"--port", "sim:DQ", "write", "0x0404", "-1"}, "VALUE: '-1' is not a number in 0..0xFFFF"},
        {{"--timeout", "49", "read", "1"}, "--timeout: Value 49 not in range 50 to 3600000"},
        {{"--baud", "1234", "ports"}, "--baud: 1234 not in {1200,2400,4800,9600,14400,19200,28800,38400,57600}"},
        {{"--com", "17=/dev/ttyS0", "ports"}, "--com: expected N=DEVICE with N 1..16, got '17=/dev/ttyS0'"},
        {{"--port", "sim:ZZ", "read", "1"}, "--port: unknown virtual unit type in 'sim:ZZ' (use sim:DQ, sim:TQ, sim:CQ or sim:XQ)"},
        {{"--port", "tcp://127.0.0.1:99999", "read", "1"}, "--port: 'tcp://127.0.0.1:99999' is not tcp://HOST:PORT with PORT 1..65535"},
        {{"--port", "sim:DQ", "download", "--part", "C", "a.zqs"}, "--part: C not in {all,A,B}"},
        {{"upload"}, "--output is required"},
        {{"new", "--type", "ZZ", "--mode", "0", "-o", "a.zqs"}, "--type: unknown machine type 'ZZ' (DQ, TQ, CQ or XQ)"},
        {{"new", "--type", "TQ", "--mode", "5", "-o", "a.zqs"}, "--mode: TQ has no function mode 5 (DQ 0..6, TQ 0..2, CQ 3..8, XQ 0..8)"},
        {{"show", "--bogus", "a.zqs"}, "The following argument was not expected: --bogus"},
    };
    for (const Refusal& refusal : refusals)
        expectRefused(kCli, refusal);

    const auto help = run({kCli, "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Exit status: 0 success; 1..99 the system's result code"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("64 a malformed command line; 100 compare: the settings differ."), std::string::npos);
}

TEST(CliUsage, AReadThatFailsMidwayPrintsNothing)
{
    // A unit that answers a read of two registers with one (a byte count the
    // judgement accepts): the first register is there, the second is not.
    lumetra::Pty unit;
    std::string error;
    ASSERT_TRUE(unit.create(error)) << error;
    Process cli({kCli, "--port", unit.slavePath(), "--timeout", "2000", "read", "0x0404", "2"});
    std::string request;
    while (request.find('\n') == std::string::npos) {
        pollfd p{unit.masterFd(), POLLIN, 0};
        ASSERT_GT(::poll(&p, 1, 5000), 0) << "no request";
        char buffer[64];
        const ssize_t n = ::read(unit.masterFd(), buffer, sizeof buffer);
        ASSERT_GT(n, 0);
        request.append(buffer, static_cast<std::size_t>(n));
    }
    const lumetra::Bytes reply{0x01, 0x03, 0x02, 0x01, 0x0A};
    const std::string frame = lumetra::BuildAsciiFrame(lumetra::toHexText(reply));
    ASSERT_EQ(::write(unit.masterFd(), frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    const auto r = cli.finish();
    EXPECT_EQ(r.exitCode, 23);
    EXPECT_EQ(r.out, ""); // not "0404 010A"
    EXPECT_EQ(r.err, "Data error !\n");
}

TEST(SimUsage, EveryOptionIsRangeChecked)
{
    const std::vector<Refusal> refusals{
        {{"--baud", "0", "--pace"}, "--baud: 0 not in {1200,2400,4800,9600,14400,19200,28800,38400,57600}"},
        {{"--load", "99999999999:unit.zqs"}, "--load expects [ID:]FILE with ID 1..255, got '99999999999:unit.zqs'"},
        {{"--tcp", "99999"}, "--tcp: Value 99999 not in range 0 to 65535"},
        {{"--restart-ms", "-1"}, "--restart-ms: Value -1 not in range 0 to 600000"},
        {{"--fault", "1:exception=-4"}, "--fault: the value of exception must be a number 1..255 in '1:exception=-4'"},
        {{"--fault", "1:garbage=-1"}, "--fault: the value of garbage must be a number 0..1000 in '1:garbage=-1'"},
        {{"--fault", "1:slow=0"}, "--fault: the value of slow must be a number 1..256 in '1:slow=0'"},
        {{"--fault", "1:gap=-50"}, "--fault: the value of gap must be a number 0..60000 in '1:gap=-50'"},
        {{"--fault", "1:silent=1"}, "--fault: fault silent takes no value, got '1:silent=1'"},
        {{"--unit", "256:DQ"}, "--unit: expected ID:TYPE with ID 1..255 and TYPE DQ, TQ, CQ or XQ, got '256:DQ'"},
        {{"--no-pty"}, "--no-pty: nothing would serve the line without --tcp PORT"},
        {{"--bogus"}, "The following argument was not expected: --bogus"},
    };
    for (const Refusal& refusal : refusals)
        expectRefused(kSim, refusal);
}

TEST(SimUsage, SigtermEndsItWhileARepliesPiecesAreStillDue)
{
    // A reply in 256 pieces a minute apart, on the slowest paced line.
    Process sim({kSim, "--unit", "1:DQ", "--pace", "--baud", "1200", "--fault", "1:slow=256", "--fault", "1:gap=60000"});
    ASSERT_TRUE(sim.waitForOutput("ready")) << sim.err();
    EXPECT_EQ(run({kCli, "--port", ptyOf(sim), "--timeout", "200", "read", "0x0404"}).exitCode, 3);
    EXPECT_EQ(sim.finish(SIGTERM).exitCode, 0);
}
