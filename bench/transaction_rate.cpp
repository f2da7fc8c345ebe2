// Single-register reads over a pseudo-terminal against the virtual units:
// our master against libmodbus's master in the same run, and the CPU one
// timed-out read costs. Prints figures and ratios; asserts nothing.

#include "LineServer.h"

#include "comm/CommSession.h"
#include "comm/SystemHost.h"
#include "platform/PortTable.h"

#include <modbus.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

using namespace lumetra;

namespace {

struct QuietHost final : SystemHost {
    MessageAnswer showMessage(const Message&) override { return MessageAnswer::Ok; }
    void setStatusPanel(int, const std::string&) override {}
};

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double wallMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

struct Figures {
    double perSecond;
    double cpuUsPerTransaction;
};

template <typename F>
Figures measure(int n, F&& transaction)
{
    const double wall0 = wallMs();
    const double cpu0 = threadCpuMs();
    for (int i = 0; i < n; ++i)
        if (!transaction()) {
            std::fprintf(stderr, "transaction %d failed\n", i);
            break;
        }
    const double wall = wallMs() - wall0;
    const double cpu = threadCpuMs() - cpu0;
    return {n / (wall / 1e3), cpu * 1e3 / n};
}

} // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 3000;
    sim::VirtualLine rtuLine(Protocol::Rtu, PortSettings{});
    rtuLine.addUnit(1, sim::UnitType::DQ);
    rtuLine.addUnit(2, sim::UnitType::DQ).faults().silent = true;
    sim::LineServer server(rtuLine);
    std::string error;
    if (!server.servePty({}, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::thread serving([&] { server.run(); });

    QuietHost host;
    StringTable strings;
    CommSession session(host, strings, [&](int) { return makeDevicePort(server.ptyPath()); });
    session.state().protocol = Protocol::Rtu;
    session.state().quietMode = true;
    session.OpenCommPort();
    std::string reply;
    const Figures ours = measure(n, [&] { return session.ReadRegisters(0x0404, 1, reply) == 0; });
    session.closePort();

    modbus_t* ctx = modbus_new_rtu(server.ptyPath().c_str(), 9600, 'N', 8, 1);
    modbus_set_slave(ctx, 1);
    modbus_connect(ctx);
    std::uint16_t reg = 0;
    const Figures theirs = measure(n, [&] { return modbus_read_registers(ctx, 0x0404, 1, &reg) == 1; });
    modbus_close(ctx);
    modbus_free(ctx);

    // One read of a silent unit with the default one-second time-out.
    session.state().DeviceId = 2;
    session.OpenCommPort();
    const double cpu0 = threadCpuMs();
    const double wall0 = wallMs();
    const int rc = session.ReadRegisters(0x0404, 1, reply);
    const double timeoutCpu = threadCpuMs() - cpu0;
    const double timeoutWall = wallMs() - wall0;
    session.closePort();

    server.stop();
    serving.join();

    std::printf("single-register RTU reads over a pty, %d each\n", n);
    std::printf("  lumetra   %8.0f transactions/s  %6.1f us CPU/transaction\n", ours.perSecond, ours.cpuUsPerTransaction);
    std::printf("  libmodbus %8.0f transactions/s  %6.1f us CPU/transaction\n", theirs.perSecond, theirs.cpuUsPerTransaction);
    std::printf("  rate ratio lumetra/libmodbus: %.2f   CPU ratio lumetra/libmodbus: %.2f\n",
                ours.perSecond / theirs.perSecond, ours.cpuUsPerTransaction / theirs.cpuUsPerTransaction);
    std::printf("timed-out read of a silent unit: result %d after %.0f ms wall, %.2f ms CPU (target < 20 ms)\n", rc,
                timeoutWall, timeoutCpu);
    return 0;
}
