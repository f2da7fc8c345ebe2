// lumetra-sim: virtual units on a pseudo-terminal or a TCP port.

#include "LineServer.h"
#include "Preload.h"
#include "SimOptions.h"
#include "Version.h"

#include <CLI/CLI.hpp>

#include <climits>
#include <csignal>
#include <cstdio>
#include <sys/signalfd.h>
#include <unistd.h>
#include <fstream>
#include <iostream>

using namespace lumetra;
using namespace lumetra::sim;

namespace {
void writeDump(const VirtualLine& line, const std::string& path)
{
    std::ofstream out(path, std::ios::trunc);
    out << "{\"units\":[";
    bool first = true;
    for (const auto& [id, unit] : line.units()) {
        out << (first ? "" : ",") << "{\"id\":" << id << ",\"type\":\"" << machineTypeName(unit->type())
            << "\",\"base\":" << VirtualUnit::kMemoryBase << ",\"memory\":\"";
        first = false;
        for (std::size_t i = 0; i < VirtualUnit::kMemorySize; ++i) {
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02X", unit->byteAt(static_cast<std::uint16_t>(VirtualUnit::kMemoryBase + i)));
            out << hex;
        }
        out << "\"}";
    }
    out << "]}\n";
}
// Exit status: 0 ended by SIGINT or SIGTERM, 1 the line or a file could not
// be served, 64 a malformed command line (as lumetra-cli).
constexpr int kExitCannotServe = 1;
constexpr int kExitUsage = 64;

int usageError(const std::string& message)
{
    std::cerr << "lumetra-sim: " << message << "\nRun with --help for more information.\n";
    return kExitUsage;
}
} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Virtual timer/counter units on a serial line (pseudo-terminal or TCP)"};
    app.set_version_flag("--version", std::string("lumetra-sim ") + kVersionText);
    app.footer("Exit status: 0 ended by SIGINT or SIGTERM; 1 the line or a file could not be served; 64 a malformed command line.");
    std::vector<std::string> unitSpecs{"1:DQ"};
    std::vector<std::string> faultSpecs;
    std::string protocol = "ascii";
    int baud = 9600;
    std::string parity = "none";
    int dataBits = 8;
    int stopBits = 1;
    std::string link;
    int tcpPort = -1;
    bool noPty = false;
    bool pace = false;
    std::string logPath;
    std::string dumpPath;
    std::vector<std::string> loadSpecs;
    int restartMs = 1500;

    app.add_option("--unit", unitSpecs, "A unit on the line as ID:TYPE (DQ, TQ, CQ, XQ); repeatable")->capture_default_str();
    app.add_option("--fault", faultSpecs,
                   "ID:FAULT with FAULT one of silent, checksum, no-lf, inhibit, exception=1..255, garbage=0..1000, slow=1..256, "
                   "gap=0..60000 (ms); repeatable");
    app.add_option("--protocol", protocol, "ascii or rtu")->check(CLI::IsMember({"ascii", "rtu"}))->capture_default_str();
    app.add_option("--baud", baud, "Line speed, used for pacing: 1200 2400 4800 9600 14400 19200 28800 38400 57600")
        ->check(CLI::IsMember({1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 57600}))
        ->capture_default_str();
    app.add_option("--parity", parity, "none, odd or even")->check(CLI::IsMember({"none", "odd", "even"}));
    app.add_option("--data-bits", dataBits, "7 or 8")->check(CLI::IsMember({7, 8}));
    app.add_option("--stop-bits", stopBits, "1 or 2")->check(CLI::IsMember({1, 2}));
    app.add_option("--link", link, "Also make this symlink to the pseudo-terminal");
    app.add_option("--tcp", tcpPort, "Also listen on 127.0.0.1:PORT, 0..65535 (0 picks one)")->check(CLI::Range(0, 65535));
    app.add_flag("--no-pty", noPty, "Serve on TCP only");
    app.add_flag("--pace", pace, "Send replies at the line's character time");
    app.add_option("--log", logPath, "Write every request as a JSON line to this file");
    app.add_option("--dump", dumpPath, "Write the units' memory as JSON to this file on exit");
    app.add_option("--load", loadSpecs, "Preload a unit from a settings file as a download would: [ID:]FILE (ID 1 by default); repeatable");
    app.add_option("--restart-ms", restartMs, "How long a unit stays silent while it restarts after a download, 0..600000")
        ->check(CLI::Range(0, 600000))
        ->capture_default_str();
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return usageError(e.what());
    }

    if (noPty && tcpPort < 0)
        return usageError("--no-pty: nothing would serve the line without --tcp PORT");

    PortSettings settings;
    settings.baud = baud;
    settings.parity = parity[0];
    settings.dataBits = dataBits;
    settings.stopBits = stopBits;
    VirtualLine line(protocol == "rtu" ? Protocol::Rtu : Protocol::Ascii, settings);
    line.setPacing(pace);
    for (const std::string& spec : unitSpecs) {
        int id = 0;
        UnitType type{};
        if (!parseUnitSpec(spec, id, type))
            return usageError("--unit: expected ID:TYPE with ID 1..255 and TYPE DQ, TQ, CQ or XQ, got '" + spec + "'");
        line.addUnit(id, type);
    }
    for (const std::string& spec : faultSpecs) {
        int id = 0;
        UnitFaults probe;
        std::string error;
        if (!applyFaultSpec(spec, id, probe, error) || !line.unit(id))
            return usageError("--fault: " + (error.empty() ? "no unit with ID " + std::to_string(id) : error));
        applyFaultSpec(spec, id, line.unit(id)->faults(), error);
    }

    for (auto& [id, unit] : line.units())
        unit->setRestartMs(restartMs);
    for (const std::string& spec : loadSpecs) {
        int id = 1;
        std::string file;
        std::string error;
        if (!parseLoadSpec(spec, id, file, error))
            return usageError(error);
        const std::string problem = preloadUnit(line, id, file);
        if (!problem.empty()) {
            std::cerr << "lumetra-sim: cannot load unit " << id << ": " << problem << "\n";
            return kExitCannotServe;
        }
    }

    std::ofstream log;
    if (!logPath.empty()) {
        log.open(logPath, std::ios::trunc);
        if (!log) {
            std::cerr << "lumetra-sim: cannot write " << logPath << "\n";
            return kExitCannotServe;
        }
        line.setRequestObserver([&log](const LoggedRequest& r) { log << toJsonLine(r) << std::endl; });
    }

    LineServer server(line);
    std::string error;
    if (!noPty && !server.servePty(link, error)) {
        std::cerr << "lumetra-sim: " << error << "\n";
        return kExitCannotServe;
    }
    if (tcpPort >= 0 && !server.serveTcp(tcpPort, error)) {
        std::cerr << "lumetra-sim: " << error << "\n";
        return kExitCannotServe;
    }
    // SIGINT and SIGTERM end the loop through a descriptor, so the memory
    // dump and the pseudo-terminal link are cleaned up normally.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int signalFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    server.stopWhenReadable(signalFd);
    if (!noPty)
        std::cout << "pty: " << server.ptyPath() << "\n";
    if (tcpPort >= 0)
        std::cout << "tcp: tcp://127.0.0.1:" << server.tcpPort() << "\n";
    std::cout << "ready" << std::endl;

    server.run();
    ::close(signalFd);
    if (!dumpPath.empty())
        writeDump(line, dumpPath);
    return 0;
}
