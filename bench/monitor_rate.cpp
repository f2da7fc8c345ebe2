// Polling cycles against a virtual unit paced at the line's speed: cycles
// per second against the wire-time floor of a cycle's transactions, and the
// CPU the monitor uses while it polls. Prints figures; asserts nothing.

#include "LineServer.h"

#include "comm/CommSession.h"
#include "comm/SystemHost.h"
#include "monitor/Monitor.h"
#include "platform/PortTable.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

using namespace lumetra;

namespace {

struct QuietHost final : SystemHost {
    MessageAnswer showMessage(const Message& m) override
    {
        std::fprintf(stderr, "%s\n", m.text.c_str());
        return MessageAnswer::Ok;
    }
    void setStatusPanel(int, const std::string&) override {}
};

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

void measure(MachineType type, int baud, double seconds)
{
    PortSettings settings;
    settings.baud = baud;
    sim::VirtualLine line(Protocol::Rtu, settings);
    line.setPacing(true);
    sim::VirtualUnit& unit = line.addUnit(1, type);
    if (type == MachineType::CQ)
        unit.setByte(0x0432, 6);
    sim::LineServer server(line);
    std::string error;
    if (!server.servePty({}, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return;
    }
    std::thread serving([&] { server.run(); });

    QuietHost host;
    StringTable strings;
    CommSession session(host, strings, [&](int) { return makeDevicePort(server.ptyPath()); });
    session.state().protocol = Protocol::Rtu;
    session.state().BaudIndex = baudIndexOf(baud);
    Monitor monitor(session);
    if (monitor.Monitor_All() != 0)
        return;
    std::size_t bytes = 0;
    session.addFrameObserver([&](const FrameRecord& r) { bytes += r.bytes.size(); });
    int cycles = 0;
    const double t0 = nowMs();
    const double c0 = threadCpuMs();
    while (nowMs() - t0 < seconds * 1000) {
        monitor.Timer1_monitor();
        ++cycles;
    }
    const double wall = nowMs() - t0;
    const double cpu = threadCpuMs() - c0;
    monitor.stop();
    server.stop();
    serving.join();
    const double charMs = 1000.0 * settings.bitsPerCharacter() / baud;
    const double floorPerCycle = static_cast<double>(bytes) / cycles * charMs;
    std::printf("  %s at %5d baud: %6.1f cycles/s, %4zu bytes a cycle, floor %6.1f cycles/s, ratio %.3f, CPU %.1f%% (%.2f ms a cycle)\n",
                machineTypeName(type).c_str(), baud, cycles / (wall / 1000), bytes / static_cast<std::size_t>(cycles),
                1000.0 / floorPerCycle, (wall / cycles) / floorPerCycle, 100.0 * cpu / wall, cpu / cycles);
}

} // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    std::printf("monitor polling against a paced virtual unit (RTU)\n");
    for (int baud : {9600, 57600})
        for (MachineType type : {MachineType::DQ, MachineType::TQ, MachineType::CQ})
            measure(type, baud, seconds);
    return 0;
}
