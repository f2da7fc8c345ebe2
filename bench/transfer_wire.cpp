// A full DQ download and upload against a virtual unit paced at 9600 baud:
// the measured time against the wire-time floor (every byte sent and
// received at the line's character time, plus the mandated pauses and the
// delay after each transaction). Prints figures and the ratio.

#include "LineServer.h"

#include "comm/CommSession.h"
#include "comm/SystemHost.h"
#include "files/SettingsDocument.h"
#include "platform/PortTable.h"
#include "transfer/TransferRun.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

using namespace lumetra;

namespace {

struct QuietHost final : SystemHost {
    MessageAnswer showMessage(const Message& m) override
    {
        if (m.title == "Error")
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

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

SettingsDocument document()
{
    SettingsDocument doc(MachineType::DQ);
    doc.selectFunctionMode(0);
    DqSettings& s = doc.dq();
    s.lblTimerSettingA.setDigits("001230");
    s.cboOutputModeA = 3;
    s.lblHoldTimeA.setDigits("000500");
    s.lblCounterSettingB.setDigits("012345");
    s.lblMagnificationB.setDigits("001000");
    return doc;
}

} // namespace

int main()
{
    PortSettings settings;
    settings.baud = 9600;
    sim::VirtualLine line(Protocol::Ascii, settings);
    line.setPacing(true);
    line.addUnit(1, MachineType::DQ).setRestartMs(1500);
    sim::LineServer server(line);
    std::string error;
    if (!server.servePty({}, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::thread serving([&] { server.run(); });

    QuietHost host;
    StringTable strings;
    CommSession session(host, strings, [&](int) { return makeDevicePort(server.ptyPath()); });
    std::size_t wireBytes = 0;
    int transactions = 0;
    session.addFrameObserver([&](const FrameRecord& r) {
        wireBytes += r.bytes.size();
        if (r.direction == FrameDirection::Sent)
            ++transactions;
    });
    const double charMs = 1000.0 * settings.bitsPerCharacter() / settings.baud;
    TransferProgress progress;

    struct Run {
        const char* name;
        OperationKind kind;
        double pausesMs;
    };
    std::printf("DQ transfers at 9600 baud, ASCII, 10 bits a character, against a paced virtual unit\n");
    for (const Run& run : {Run{"download", OperationKind::Download, 12000.0}, Run{"upload", OperationKind::Upload, 0.0}}) {
        SettingsDocument doc = document();
        wireBytes = 0;
        transactions = 0;
        const double t0 = nowMs();
        const double c0 = cpuMs();
        const int rc = runTransfer(session, run.kind, TransferTarget::DqAll, doc, progress);
        const double elapsed = nowMs() - t0;
        const double cpu = cpuMs() - c0;
        const double floor = static_cast<double>(wireBytes) * charMs + run.pausesMs + transactions * session.state().CommDelayMs;
        std::printf("  %-8s result %d: %3d frames, %5zu bytes on the wire, %7.0f ms measured, floor %7.0f ms "
                    "(wire %6.0f + pauses %5.0f), ratio %.3f, CPU %.0f ms\n",
                    run.name, rc, transactions, wireBytes, elapsed, floor, static_cast<double>(wireBytes) * charMs,
                    run.pausesMs, elapsed / floor, cpu);
    }
    server.stop();
    serving.join();
    return 0;
}
