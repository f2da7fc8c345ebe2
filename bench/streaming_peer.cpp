// One read against a peer that sends bytes without a line end as fast as the
// line takes them, for as long as the read listens: the peak memory the read
// costs and how long it takes. Ours (ASCII and RTU over a pseudo-terminal,
// ASCII over TCP) against libmodbus's RTU master on the same terminal, in
// interleaved rounds; medians. Prints figures and ratios; asserts nothing.

#include "comm/CommSession.h"
#include "comm/SystemHost.h"
#include "platform/PortTable.h"
#include "platform/Pty.h"

#include <modbus.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace lumetra;

namespace {

constexpr int kTimeoutMs = 2000;

struct QuietHost final : SystemHost {
    MessageAnswer showMessage(const Message&) override { return MessageAnswer::Ok; }
    void setStatusPanel(int, const std::string&) override {}
};

long statusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(key.size()));
    return -1;
}

// Lets the peak resident size start again from the present one.
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// Writes '0' characters to a descriptor as fast as it takes them.
class Streamer {
public:
    explicit Streamer(int fd) : m_fd(fd)
    {
        m_thread = std::thread([this] {
            const std::vector<char> chunk(65536, '0');
            while (!m_stop) {
                pollfd p{m_fd, POLLOUT, 0};
                if (::poll(&p, 1, 50) > 0 && ::write(m_fd, chunk.data(), chunk.size()) < 0 && errno != EAGAIN)
                    break;
            }
        });
    }
    ~Streamer()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    int m_fd;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

struct Sample {
    double peakGrowthKb;
    double ms;
};

Sample measure(const std::function<void()>& read)
{
    resetPeak();
    const long before = statusKb("VmHWM");
    const double t0 = nowMs();
    read();
    const double ms = nowMs() - t0;
    return {static_cast<double>(statusKb("VmHWM") - before), ms};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A TCP peer on 127.0.0.1 that streams to whoever connects.
class TcpStreamingPeer {
public:
    TcpStreamingPeer()
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(m_listen, 1);
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
    }
    ~TcpStreamingPeer() { ::close(m_listen); }
    std::string address() const { return "tcp://127.0.0.1:" + std::to_string(m_port); }
    // Streams to the next client until it closes.
    std::thread serveOne()
    {
        return std::thread([this] {
            const int client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            const std::vector<char> chunk(65536, '0');
            while (::send(client, chunk.data(), chunk.size(), MSG_NOSIGNAL) > 0) {
            }
            ::close(client);
        });
    }

private:
    int m_listen = -1;
    int m_port = 0;
};

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    Pty pty;
    std::string error;
    if (!pty.create(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    TcpStreamingPeer tcp;
    QuietHost host;
    StringTable strings;

    const auto ours = [&](const std::string& device, Protocol protocol) {
        return [&, device, protocol] {
            CommSession session(host, strings, [&](int) { return makeDevicePort(device); });
            session.state().protocol = protocol;
            session.state().TimeoutMs = kTimeoutMs;
            session.state().quietMode = true;
            if (session.OpenCommPort() != 0)
                return;
            std::string reply;
            session.ReadRegisters(0x0404, 1, reply);
        };
    };
    const auto libmodbus = [&] {
        modbus_t* ctx = modbus_new_rtu(pty.slavePath().c_str(), 9600, 'N', 8, 1);
        modbus_set_slave(ctx, 1);
        modbus_set_response_timeout(ctx, kTimeoutMs / 1000, 0);
        if (modbus_connect(ctx) == 0) {
            std::uint16_t reg = 0;
            modbus_read_registers(ctx, 0x0404, 1, &reg);
            modbus_close(ctx);
        }
        modbus_free(ctx);
    };

    struct Case {
        const char* name;
        std::function<void()> read;
        bool overTcp;
        std::vector<double> kb, ms;
    };
    std::vector<Case> cases;
    cases.push_back({"lumetra ASCII, pty", ours(pty.slavePath(), Protocol::Ascii), false, {}, {}});
    cases.push_back({"lumetra RTU, pty", ours(pty.slavePath(), Protocol::Rtu), false, {}, {}});
    cases.push_back({"lumetra ASCII, TCP", ours(tcp.address(), Protocol::Ascii), true, {}, {}});
    cases.push_back({"libmodbus RTU, pty", libmodbus, false, {}, {}});

    for (int r = 0; r < rounds; ++r) {
        for (Case& c : cases) {
            Sample s{};
            if (c.overTcp) {
                std::thread peer = tcp.serveOne();
                s = measure(c.read);
                peer.join();
            } else {
                Streamer streaming(pty.masterFd());
                s = measure(c.read);
            }
            c.kb.push_back(s.peakGrowthKb);
            c.ms.push_back(s.ms);
        }
    }

    std::printf("one read against a peer streaming without a line end, time-out %d ms, %d rounds (medians)\n", kTimeoutMs,
                rounds);
    // Growth below a page is no growth: the ratio counts at least one.
    const auto pages = [](double kb) { return std::max(kb, 4.0); };
    const double theirs = pages(median(cases.back().kb));
    for (Case& c : cases)
        std::printf("  %-20s peak memory +%9.0f KB  %7.1f ms  memory ratio to libmodbus %8.1f\n", c.name, median(c.kb),
                    median(c.ms), pages(median(c.kb)) / theirs);
    return 0;
}
