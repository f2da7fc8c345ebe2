#include "MonitorCommands.h"

#include "InterruptWatch.h"
#include "monitor/TextPanel.h"

#include "monitor/Monitor.h"
#include "monitor/MonitorLog.h"

#include <algorithm>
#include <ctime>
#include <iostream>

namespace lumetra::cli {

namespace {
std::string unixLines(std::string text)
{
    std::string out;
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
}

std::tm localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return t;
}
} // namespace

int describeCommand(CommSession& session, std::ostream& out)
{
    Monitor monitor(session);
    const int rc = monitor.Monitor_All();
    monitor.stop();
    session.state().quietMode = false;
    if (rc != 0)
        return rc;
    out << unixLines(monitor.descriptionA()) << "\n";
    if (!monitor.descriptionB().empty())
        out << "\n" << unixLines(monitor.descriptionB()) << "\n";
    return 0;
}

int monitorCommand(CommSession& session, ConsoleHost& host, const MonitorOptions& o, std::ostream& out)
{
    const int index = o.delimiter == "comma" ? 1 : o.delimiter == "tab" ? 2 : 0;
    MonitorLog log(localNow);
    std::string reason;
    if (!o.logPath.empty() && !log.start(o.logPath, o.rate, index, o.logErrors, &reason))
        return reportResult(session, Result::SaveFailed, reason);
    Monitor monitor(session);
    monitor.setReopenIntervalMs(std::clamp(o.rate, 1, 3600) * 1000); // the log's scan period
    InterruptWatch interrupt;
    const int rc = monitor.Monitor_All();
    if (rc != 0) {
        monitor.stop();
        return rc;
    }
    const auto draw = [&] {
        if (o.redraw)
            out << "\x1b[H\x1b[J";
        out << textPanel(monitor.shown(0), "A") << textPanel(monitor.shown(1), "B");
        if (monitor.readFailed())
            out << "(no reply)\n";
        out.flush();
    };
    if (o.redraw) {
        out << "\x1b[H\x1b[J" << unixLines(monitor.descriptionA()) << "\n";
        monitor.onDraw = draw;
    }
    host.onEvents = [&] {
        if (interrupt.interrupted())
            monitor.stop();
    };
    SystemHost& clock = host;
    std::int64_t nextLog = clock.tickMs() + 1000;
    int cycles = 0;
    while (monitor.running() && (o.cycles == 0 || cycles < o.cycles)) {
        monitor.Timer1_monitor();
        ++cycles;
        if (interrupt.interrupted())
            break;
        for (std::int64_t now = clock.tickMs(); now >= nextLog; nextLog += 1000)
            log.tick(monitor.running(), monitor.readFailed(), monitor.valueTextA(), monitor.valueTextB());
        if (!log.writeError().empty())
            break;
        clock.sleepMs(5); // the polling timer's interval
    }
    monitor.stop();
    host.onEvents = nullptr;
    log.stop();
    session.state().quietMode = false;
    // A log that could not be written ends the command: the lines it lost
    // would otherwise go unnoticed.
    if (!log.writeError().empty())
        return reportResult(session, Result::SaveFailed, log.writeError() + " (logging stopped)");
    if (!o.redraw)
        draw();
    return 0;
}

} // namespace lumetra::cli
