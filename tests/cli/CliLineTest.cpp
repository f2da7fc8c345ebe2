// The line under the command line as users meet it: a simulator that keeps
// the terminal open, goes away and comes back at the same place, on a
// pseudo-terminal link and over TCP.

#include "Process.h"
#include "Programs.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

using lumetra::test::Process;
using lumetra::test::readFile;
using lumetra::test::run;
using lumetra::test::ScratchDir;

using lumetra::test::kCli;
using lumetra::test::kSim;

namespace {

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 8000)
{
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (condition())
            return true;
        ::usleep(20'000);
    }
    return condition();
}

// A TCP port nobody listens on right now.
int freeTcpPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

std::size_t count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The lines of a monitor log after the last "Error!" line.
std::size_t valueLinesAfterErrors(const std::string& log)
{
    const auto lastError = log.rfind("Error!");
    const std::string tail = lastError == std::string::npos ? log : log.substr(lastError);
    return count(tail, "\r\n") - (lastError == std::string::npos ? 0 : 1);
}

// One simulator with a TQ unit on the scratch folder's link, or on a TCP port.
struct Line {
    ScratchDir& dir;
    int tcpPort = 0; // 0: the link
    std::unique_ptr<Process> sim;

    std::string port() const
    {
        return tcpPort ? "tcp://127.0.0.1:" + std::to_string(tcpPort) : dir.file("line");
    }
    void start(const std::vector<std::string>& extra = {})
    {
        std::vector<std::string> args{kSim, "--unit", "1:TQ"};
        if (tcpPort) {
            args.insert(args.end(), {"--tcp", std::to_string(tcpPort)});
        } else {
            args.insert(args.end(), {"--link", dir.file("line")});
        }
        args.insert(args.end(), extra.begin(), extra.end());
        sim = std::make_unique<Process>(args);
        ASSERT_TRUE(sim->waitForOutput("ready")) << sim->err();
    }
    void stop() { EXPECT_EQ(sim->finish(SIGTERM).exitCode, 0); }
};

class OverTheLine : public ::testing::TestWithParam<bool> {
protected:
    ScratchDir dir{"lumetra-cli-line"};
    Line line{dir, GetParam() ? freeTcpPort() : 0, nullptr};
};

std::string transportName(const ::testing::TestParamInfo<bool>& info) { return info.param ? "Tcp" : "PtyLink"; }

} // namespace

TEST_P(OverTheLine, OpensAgainAndAgainWhileTheSimulatorKeepsTheLine)
{
    // The simulator holds the terminal open all along: a port that left its
    // exclusive-use flag behind would refuse an ordinary user the second time.
    line.start();
    for (int i = 0; i < 3; ++i) {
        const auto r = run({kCli, "--port", line.port(), "read", "0x0404"});
        EXPECT_EQ(r.exitCode, 0) << i << ": " << r.err;
        EXPECT_EQ(r.out, "0404 020A\n");
    }
    line.stop();
}

TEST_P(OverTheLine, MonitorSaysLineLostOnceAndCarriesOnWhenTheLineIsBack)
{
    line.start();
    const std::string log = dir.file("log.txt");
    Process monitor({kCli, "--port", line.port(), "monitor", "--no-redraw", "--log", log, "--rate", "1", "--log-errors"});
    ASSERT_TRUE(waitFor([&] { return count(readFile(log), "\r\n") >= 1; })) << monitor.err();

    line.stop(); // the link goes with it, or the connection closes
    ASSERT_TRUE(waitFor([&] { return monitor.err().find("line lost") != std::string::npos; })) << monitor.err();
    ASSERT_TRUE(waitFor([&] { return readFile(log).find("Error!") != std::string::npos; })) << readFile(log);

    line.start();
    EXPECT_TRUE(waitFor([&] { return valueLinesAfterErrors(readFile(log)) >= 2; })) << readFile(log);

    const auto r = monitor.finish(SIGINT);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(count(r.err, "line lost\n"), 1u) << r.err;
    EXPECT_NE(r.err.find("  the line was closed\n"), std::string::npos) << r.err;
    const std::string text = readFile(log);
    EXPECT_GT(text.find("Error!"), text.find("\r\n")) << text; // the lines from before the loss stay
    line.stop();
}

TEST_P(OverTheLine, ADownloadWhoseLineGoesDuringItsPausesFailsAtOnce)
{
    const std::string file = dir.file("timer.zqs");
    ASSERT_EQ(run({kCli, "new", "--type", "TQ", "--mode", "0", "-o", file}).exitCode, 0);
    const std::string requests = dir.file("requests.jsonl");
    line.start({"--log", requests});
    Process download({kCli, "--port", line.port(), "download", file});
    // The restart request (0x0578) is the last before the ~12 s of pauses.
    ASSERT_TRUE(waitFor([&] { return readFile(requests).find("\"addr\":1400,") != std::string::npos; }));
    ::usleep(300'000); // its answer has come: the pauses run
    const auto gone = std::chrono::steady_clock::now();
    line.stop();
    const auto r = download.finish();
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - gone);
    EXPECT_EQ(r.exitCode, 5) << r.err;
    EXPECT_NE(r.err.find("Failed to write !\n  the line was closed\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Failed to download the settings!"), std::string::npos) << r.err;
    EXPECT_LT(took.count(), 3000); // rather than sitting out the rest of the pauses
}

INSTANTIATE_TEST_SUITE_P(CliLine, OverTheLine, ::testing::Bool(), transportName);

TEST(CliLine, ACommandEndedBySignalLeavesTheLineFree)
{
    // The terminal's exclusive-use flag outlives a process killed while it
    // holds the line, for as long as the simulator keeps the terminal open.
    ScratchDir dir{"lumetra-cli-signal"};
    Line line{dir, 0, nullptr};
    line.start();
    // Our own look at the terminal, opened before any command takes it.
    const int watcher = ::open(line.port().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(watcher, 0);
    const auto exclusive = [&] {
        int on = 0;
        return ::ioctl(watcher, TIOCGEXCL, &on) == 0 && on != 0;
    };
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        // No unit answers ID 9: the read waits out a long time-out.
        Process waiting({kCli, "--port", line.port(), "--id", "9", "--timeout", "20000", "read", "0x0404"});
        ASSERT_TRUE(waitFor(exclusive)) << signal;
        EXPECT_EQ(waiting.finish(signal).exitCode, 128 + signal);
        EXPECT_FALSE(exclusive()) << signal;
        const auto r = run({kCli, "--port", line.port(), "read", "0x0404"});
        EXPECT_EQ(r.exitCode, 0) << signal << ": " << r.err;
    }
    ::close(watcher);
    line.stop();
}
