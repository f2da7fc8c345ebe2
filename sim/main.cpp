// lumetra-sim: virtual units on a pseudo-terminal or a TCP port.

#include "LineServer.h"
#include "Preload.h"
#include "SimOptions.h"
#include "Version.h"

#include <CLI/CLI.hpp>

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
} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Virtual timer/counter units on a serial line (pseudo-terminal or TCP)"};
    app.set_version_flag("--version", std::string("lumetra-sim ") + kVersionText);
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
                   "ID:FAULT with FAULT one of silent, checksum, no-lf, exception=N, garbage=N, slow=N, gap=MS; repeatable");
    app.add_option("--protocol", protocol, "ascii or rtu")->check(CLI::IsMember({"ascii", "rtu"}))->capture_default_str();
    app.add_option("--baud", baud, "Line speed, used for pacing")->capture_default_str();
    app.add_option("--parity", parity, "none, odd or even")->check(CLI::IsMember({"none", "odd", "even"}));
    app.add_option("--data-bits", dataBits, "7 or 8")->check(CLI::IsMember({7, 8}));
    app.add_option("--stop-bits", stopBits, "1 or 2")->check(CLI::IsMember({1, 2}));
    app.add_option("--link", link, "Also make this symlink to the pseudo-terminal");
    app.add_option("--tcp", tcpPort, "Also listen on 127.0.0.1:PORT (0 picks one)");
    app.add_flag("--no-pty", noPty, "Serve on TCP only");
    app.add_flag("--pace", pace, "Send replies at the line's character time");
    app.add_option("--log", logPath, "Write every request as a JSON line to this file");
    app.add_option("--dump", dumpPath, "Write the units' memory as JSON to this file on exit");
    app.add_option("--load", loadSpecs, "Preload a unit from a settings file as a download would: [ID:]FILE (ID 1 by default); repeatable");
    app.add_option("--restart-ms", restartMs, "How long a unit stays silent while it restarts after a download")->capture_default_str();
    CLI11_PARSE(app, argc, argv);

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
        if (!parseUnitSpec(spec, id, type)) {
            std::cerr << "lumetra-sim: --unit expects ID:TYPE with ID 1..255 and TYPE DQ, TQ, CQ or XQ, got '" << spec << "'\n";
            return 2;
        }
        line.addUnit(id, type);
    }
    for (const std::string& spec : faultSpecs) {
        int id = 0;
        UnitFaults probe;
        std::string error;
        if (!applyFaultSpec(spec, id, probe, error) || !line.unit(id)) {
            std::cerr << "lumetra-sim: " << (error.empty() ? "no unit with ID " + std::to_string(id) : error) << "\n";
            return 2;
        }
        applyFaultSpec(spec, id, line.unit(id)->faults(), error);
    }

    for (auto& [id, unit] : line.units())
        unit->setRestartMs(restartMs);
    for (const std::string& spec : loadSpecs) {
        const auto colon = spec.find(':');
        int id = 1;
        std::string file = spec;
        if (colon != std::string::npos && colon > 0 && spec.find_first_not_of("0123456789") == colon) {
            id = std::stoi(spec.substr(0, colon));
            file = spec.substr(colon + 1);
        }
        const std::string problem = preloadUnit(line, id, file);
        if (!problem.empty()) {
            std::cerr << "lumetra-sim: cannot load unit " << id << ": " << problem << "\n";
            return 2;
        }
    }

    std::ofstream log;
    if (!logPath.empty()) {
        log.open(logPath, std::ios::trunc);
        if (!log) {
            std::cerr << "lumetra-sim: cannot write " << logPath << "\n";
            return 2;
        }
        line.setRequestObserver([&log](const LoggedRequest& r) { log << toJsonLine(r) << std::endl; });
    }

    LineServer server(line);
    std::string error;
    if (!noPty && !server.servePty(link, error)) {
        std::cerr << "lumetra-sim: " << error << "\n";
        return 1;
    }
    if (tcpPort >= 0 && !server.serveTcp(tcpPort, error)) {
        std::cerr << "lumetra-sim: " << error << "\n";
        return 1;
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
