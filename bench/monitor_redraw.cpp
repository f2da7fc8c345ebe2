// The monitor window's drawing: the cost of one redraw of both pictures,
// polling cycles per second with drawing against the wire-time floor at
// 57600 and 9600 baud, and resident memory after 10 000 cycles against
// after 100. Runs offscreen; prints figures, asserts nothing.

#include "LineServer.h"
#include "MonitorWindow.h"
#include "QtHost.h"

#include "platform/PortTable.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <thread>

using namespace lumetra;
using namespace lumetra::gui;

namespace {
struct NoDialogs : FileDialogs {
    std::optional<std::string> chooseOpen(const DialogSpec&) override { return std::nullopt; }
    std::optional<std::string> chooseSave(const DialogSpec&) override { return std::nullopt; }
};

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

std::tm now()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

void run(int baud, bool paced, int seconds, int memoryCycles)
{
    PortSettings settings;
    settings.baud = baud;
    sim::VirtualLine line(Protocol::Rtu, settings);
    line.setPacing(paced);
    line.addUnit(1, MachineType::DQ);
    sim::LineServer server(line);
    std::string error;
    server.servePty({}, error);
    std::thread serving([&] { server.run(); });

    QtHost host;
    NoDialogs dialogs;
    const std::string device = server.ptyPath();
    AppContext ctx(host, LanguageId::English, [&](int) { return makeDevicePort(device); }, AppFolders{"/tmp"}, dialogs);
    ctx.session.state().protocol = Protocol::Rtu;
    ctx.session.state().BaudIndex = baudIndexOf(baud);
    PanelBitmaps bitmaps;
    MonitorWindow window(ctx, bitmaps, now);
    window.show();
    window.cmdMonitorStart_Click();
    std::size_t bytes = 0;
    ctx.session.addFrameObserver([&](const FrameRecord& r) { bytes += r.bytes.size(); });

    if (memoryCycles > 0) {
        long after100 = 0;
        for (int i = 1; i <= memoryCycles; ++i) {
            window.monitor().Timer1_monitor();
            QApplication::processEvents();
            if (i == 100)
                after100 = residentKiB();
        }
        std::printf("  resident memory: %ld KiB after 100 cycles, %ld KiB after %d cycles\n", after100, residentKiB(), memoryCycles);
    } else {
        // The redraw alone: both pictures from the shown states, every control set.
        QElapsedTimer redraw;
        redraw.start();
        constexpr int kRedraws = 2000;
        for (int i = 0; i < kRedraws; ++i)
            window.monitor().onDraw();
        const double redrawUs = static_cast<double>(redraw.nsecsElapsed()) / 1000.0 / kRedraws;
        QElapsedTimer clock;
        clock.start();
        int cycles = 0;
        bytes = 0;
        while (clock.elapsed() < seconds * 1000) {
            window.monitor().Timer1_monitor();
            QApplication::processEvents();
            ++cycles;
        }
        const double wall = static_cast<double>(clock.elapsed());
        const double floorMs = static_cast<double>(bytes) / cycles * 1000.0 * settings.bitsPerCharacter() / baud;
        std::printf("  %5d baud: redraw %.0f us, %.1f cycles/s with drawing, floor %.1f cycles/s, ratio %.3f\n", baud, redrawUs,
                    cycles / (wall / 1000), 1000.0 / floorMs, (wall / cycles) / floorMs);
    }
    window.cmdMonitorStop_Click();
    server.stop();
    serving.join();
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("monitor window, DQ unit, RTU, offscreen\n");
    run(57600, true, 3, 0);
    run(9600, true, 3, 0);
    run(57600, false, 0, 10000);
    return 0;
}
