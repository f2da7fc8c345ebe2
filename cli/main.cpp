// lumetra-cli: the system's operations from a shell.

#include "ConsoleHost.h"
#include "ExitStatus.h"
#include "LinePorts.h"
#include "MonitorCommands.h"
#include "SettingsCommands.h"
#include "TransferCommands.h"

#include "comm/CommSession.h"
#include "monitor/MonitorLog.h"
#include "platform/ExclusiveTerminals.h"
#include "text/StringTable.h"
#include "Version.h"

#include <CLI/CLI.hpp>

#include <climits>
#include <cstdio>
#include <unistd.h>
#include <iostream>
#include <optional>
#include <sstream>

using namespace lumetra;
using namespace lumetra::cli;

namespace {

struct GlobalOptions {
    std::string port = "COM1";
    std::vector<std::string> comMappings;
    int baud = 9600;
    std::string parity = "none";
    int dataBits = 8;
    int stopBits = 1;
    std::string protocol = "ascii";
    std::string id = "1";
    int timeoutMs = 1000;
    int delayMs = 0;
    bool trace = false;
    bool status = false;
    std::string lang;
};

// Everything a command needs: the host, the strings, the ports and the
// session. What a command prints on stdout waits in `out` until it has
// succeeded: a failed command prints nothing there.
struct Context {
    std::ostringstream out;
    ConsoleHost host;
    StringTable strings;
    LinePorts ports;
    CommSession session;
    std::int64_t traceStart = 0;

    explicit Context(PortTable table, bool showStatus)
        : host(out, std::cerr, showStatus), ports(std::move(table), host), session(host, strings, ports.provider())
    {
    }
};

LanguageId chosenLanguage(const GlobalOptions& o)
{
    LanguageId language = languageFromEnvironment();
    if (!o.lang.empty())
        parseLanguage(o.lang, language); // checked when parsed
    return language;
}

// Applies the global options to the session; returns a non-zero exit code with a message when they are bad.
int configure(const GlobalOptions& o, Context& ctx)
{
    CommState& s = ctx.session.state();
    ctx.strings.setLanguage(chosenLanguage(o));
    s.BaudIndex = baudIndexOf(o.baud);
    s.ParityIndex = o.parity == "odd" ? 1 : o.parity == "even" ? 2 : 0;
    s.DataBitsIndex = o.dataBits == 7 ? 0 : 1;
    s.StopBitsIndex = o.stopBits == 2 ? 1 : 0;
    s.protocol = o.protocol == "rtu" ? Protocol::Rtu : Protocol::Ascii;
    s.TimeoutMs = o.timeoutMs;
    s.CommDelayMs = o.delayMs;
    s.CommSettingsText = s.buildCommSettingsText();
    long id = 0;
    if (!parseNumber(o.id, 1, 255, id)) {
        ctx.session.ShowCommError(Result::WrongDeviceId);
        return Result::WrongDeviceId;
    }
    s.DeviceId = static_cast<int>(id);
    std::string error;
    if (!ctx.ports.choose(o.port, s, error))
        return usageError(std::cerr, "--port: " + error);
    if (o.trace) {
        ctx.traceStart = ctx.host.tickMs();
        ctx.session.addFrameObserver([&ctx](const FrameRecord& r) {
            std::cerr << formatFrameRecord(r, ctx.traceStart, ctx.session.state().protocol) << "\n";
        });
    }
    return 0;
}

int runRead(Context& ctx, long address, long count)
{
    CommSession& session = ctx.session;
    if (int rc = session.OpenCommPort())
        return rc;
    std::string reply;
    const int rc = session.ReadRegisters(static_cast<std::uint16_t>(address), static_cast<int>(count), reply);
    if (rc == Result::Ok) {
        for (int k = 0; k < count; ++k) {
            std::uint16_t value = 0;
            if (!registerFromReply(reply, k, value)) {
                session.ShowCommError(Result::DataError); // the unit sent fewer registers than asked
                session.closePort();
                return Result::DataError;
            }
            char line[16];
            std::snprintf(line, sizeof line, "%04lX %04X\n", (address + 2 * k) & 0xFFFF, value);
            ctx.out << line;
        }
    }
    session.closePort();
    return rc;
}

int runWrite(Context& ctx, long address, long value)
{
    CommSession& session = ctx.session;
    if (int rc = session.OpenCommPort())
        return rc;
    const int rc = session.WriteRegister(static_cast<std::uint16_t>(address), static_cast<std::uint16_t>(value));
    session.closePort();
    return rc;
}

// A number option or argument in decimal or 0x hex, within [min, max].
CLI::Validator numberIn(long min, long max)
{
    char range[48];
    std::snprintf(range, sizeof range, "%ld..0x%lX", min, max);
    return CLI::Validator(
        [min, max, text = std::string(range)](std::string& value) {
            long n = 0;
            return parseNumber(value, min, max, n) ? std::string() : "'" + value + "' is not a number in " + text;
        },
        "NUMBER");
}

// Parses the command line; an exit status when the program must end now.
std::optional<int> parseCommandLine(CLI::App& app, int argc, char** argv)
{
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::RequiredError& e) {
        // Without a command CLI11 would only say "A subcommand is required".
        const std::vector<std::string> rest = app.remaining();
        const std::string commands = "read, write, ports, search, upload, download, compare, describe, monitor, show, new or set";
        if (!app.get_subcommands().empty())
            return usageError(std::cerr, e.what());
        if (rest.empty())
            return usageError(std::cerr, "no command given: " + commands);
        if (rest.front().starts_with("-"))
            return usageError(std::cerr, "The following argument was not expected: " + rest.front()); // as CLI11 says it
        return usageError(std::cerr, "unknown command '" + rest.front() + "' (" + commands + ")");
    } catch (const CLI::ParseError& e) {
        return usageError(std::cerr, e.what());
    }
    return std::nullopt;
}

void runPorts(const PortTable& table)
{
    for (int n = 1; n <= PortTable::kPortCount; ++n) {
        const std::string& device = table.device(n);
        std::printf("COM%-3d %s\n", n, device.empty() ? "-" : device.c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    releaseExclusiveTerminalsOnSignals();
    CLI::App app{"Lumetra command line: read, write and manage timer/counter units on a serial line"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("lumetra-cli ") + kVersionText);
    app.footer(kExitStatusHelp);
    GlobalOptions o;
    app.add_option("--port", o.port, "COM1..COM16, a device path, tcp://HOST:PORT, or sim:DQ|TQ|CQ|XQ (built-in virtual unit)")
        ->capture_default_str();
    app.add_option("--com", o.comMappings, "Map a port number to a device, e.g. --com 1=/dev/ttyUSB0; repeatable");
    app.add_option("--baud", o.baud, "1200 2400 4800 9600 14400 19200 28800 38400 57600")
        ->check(CLI::IsMember({1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 57600}))
        ->capture_default_str();
    app.add_option("--parity", o.parity, "none, odd or even")->check(CLI::IsMember({"none", "odd", "even"}))->capture_default_str();
    app.add_option("--data-bits", o.dataBits, "7 or 8")->check(CLI::IsMember({7, 8}))->capture_default_str();
    app.add_option("--stop-bits", o.stopBits, "1 or 2")->check(CLI::IsMember({1, 2}))->capture_default_str();
    app.add_option("--protocol", o.protocol, "ascii or rtu")->check(CLI::IsMember({"ascii", "rtu"}))->capture_default_str();
    app.add_option("--id", o.id, "Slave ID 1..255 (decimal or 0x hex)")->capture_default_str();
    app.add_option("--timeout", o.timeoutMs, "Reply time-out in ms (at least 50)")->check(CLI::Range(50, 3600000))->capture_default_str();
    app.add_option("--delay", o.delayMs, "Pause after every transaction in ms")->check(CLI::Range(0, 60000))->capture_default_str();
    app.add_flag("--trace", o.trace, "Print every frame sent and received to stderr");
    app.add_flag("--status", o.status, "Print the transfer status texts to stderr");
    app.add_option("--lang", o.lang, "Language of messages: en, zh_TW, zh_CN (default: from the locale)")
        ->check(CLI::Validator(
            [](std::string& value) {
                LanguageId language{};
                return parseLanguage(value, language) ? std::string() : "unknown language '" + value + "' (use en, zh_TW, zh_CN or a language id)";
            },
            "LANG"));

    std::string readAddress;
    std::string readCount = "1";
    CLI::App* read = app.add_subcommand("read", "Read holding registers; prints 'AAAA VVVV' per register");
    read->add_option("ADDR", readAddress, "Byte address of the first register (decimal or 0x hex)")->required()->check(numberIn(0, 0xFFFF));
    read->add_option("COUNT", readCount, "Number of registers, 1..255")->capture_default_str()->check(numberIn(1, 255));

    std::string writeAddress;
    std::string writeValue;
    CLI::App* write = app.add_subcommand("write", "Write one holding register");
    write->add_option("ADDR", writeAddress, "Byte address of the register (decimal or 0x hex)")->required()->check(numberIn(0, 0xFFFF));
    write->add_option("VALUE", writeValue, "Value 0..65535 (decimal or 0x hex)")->required()->check(numberIn(0, 0xFFFF));

    CLI::App* ports = app.add_subcommand("ports", "List which device each of COM1..COM16 stands for");

    std::string showPath;
    bool showJson = false;
    CLI::App* show = app.add_subcommand("show", "Print a settings file (.zqs) as readable settings");
    show->add_option("FILE", showPath, "Settings file")->required();
    show->add_flag("--json", showJson, "Print JSON instead of text");

    std::string newType;
    int newMode = 0;
    std::string newPath;
    bool newForce = false;
    CLI::App* create = app.add_subcommand("new", "Write a settings file with the editor's defaults for a function mode");
    create->add_option("--type", newType, "DQ, TQ, CQ or XQ")->required();
    create->add_option("--mode", newMode, "Function mode: DQ 0..6, TQ 0..2, CQ 3..8, XQ 0..8")->required();
    create->add_option("-o,--output", newPath, "File to write")->required();
    create->add_flag("--force", newForce, "Replace an existing file");

    CLI::App* search = app.add_subcommand("search", "Search slave IDs 1..255 for units; prints 'ID : name' for each found (Ctrl-C stops)");

    std::string uploadPath;
    bool uploadForce = false;
    CLI::App* upload = app.add_subcommand("upload", "Read the unit's settings into a settings file");
    upload->add_option("-o,--output", uploadPath, "File to write")->required();
    upload->add_flag("--force", uploadForce, "Replace an existing file");

    std::string downloadPath;
    std::string downloadPart = "all";
    CLI::App* download = app.add_subcommand("download", "Write a settings file into the unit (the unit restarts)");
    download->add_option("FILE", downloadPath, "Settings file")->required();
    download->add_option("--part", downloadPart, "all, A (channel A timer) or B (channel B) of a DQ unit")
        ->check(CLI::IsMember({"all", "A", "B"}))
        ->capture_default_str();

    std::string comparePath;
    CLI::App* compare = app.add_subcommand("compare", "Compare a settings file with the unit; exit 0 when the same, 100 when different");
    compare->add_option("FILE", comparePath, "Settings file")->required();

    CLI::App* describe = app.add_subcommand("describe", "Print the unit's description (what the monitor window shows beside the panel)");

    MonitorOptions monitorOptions;
    bool noRedraw = false;
    CLI::App* monitorCmd = app.add_subcommand("monitor", "Poll the unit and show its front panel as text; Ctrl-C stops");
    monitorCmd->add_option("--cycles", monitorOptions.cycles, "Stop after N polling cycles (0: until Ctrl-C)")
        ->check(CLI::Range(0, INT_MAX))
        ->capture_default_str();
    monitorCmd->add_option("--log", monitorOptions.logPath, "Write the displayed values to this text log");
    monitorCmd->add_option("--rate", monitorOptions.rate, "Seconds between log lines, 1..3600")
        ->check(CLI::Validator([](std::string& value) { return parseScanRate(value) ? std::string() : kScanRateMessage; }, "1..3600"))
        ->capture_default_str();
    monitorCmd->add_option("--delimiter", monitorOptions.delimiter, "fixed (five blanks), comma or tab")
        ->check(CLI::IsMember({"fixed", "comma", "tab"}))
        ->capture_default_str();
    monitorCmd->add_flag("--log-errors", monitorOptions.logErrors, "Write 'Error!' lines for cycles whose reads failed");
    monitorCmd->add_flag("--no-redraw", noRedraw, "Print the panel once at the end instead of redrawing it in place");

    std::string setPath;
    std::vector<std::string> assignments;
    CLI::App* set = app.add_subcommand("set", "Change settings of a file by control name and save it (e.g. cboCountModeA=2 lblTimerSettingA=001230 mKP=1)");
    set->add_option("FILE", setPath, "Settings file")->required();
    set->add_option("NAME=VALUE", assignments, "List index, 0/1 for mKP and mPowerSaving, six digits for a value")->required();

    if (const std::optional<int> status = parseCommandLine(app, argc, argv))
        return *status;

    PortTable table = PortTable::detect();
    for (const std::string& m : o.comMappings) {
        if (!table.mapFromText(m))
            return usageError(std::cerr, "--com: expected N=DEVICE with N 1..16, got '" + m + "'");
    }
    if (ports->parsed()) {
        runPorts(table);
        return 0;
    }
    if (show->parsed() || create->parsed() || set->parsed()) {
        const StringTable strings(chosenLanguage(o));
        if (show->parsed())
            return showSettings(showPath, showJson, strings, std::cout, std::cerr);
        if (create->parsed())
            return newSettings(newType, newMode, newPath, newForce, std::cerr);
        return setSettings(setPath, assignments, strings, std::cerr);
    }

    Context ctx(std::move(table), o.status);
    if (int rc = configure(o, ctx))
        return rc;
    const int rc = [&] {
        if (describe->parsed())
            return describeCommand(ctx.session, ctx.out);
        if (monitorCmd->parsed()) {
            // A panel redrawn in place is shown as it comes; a printed one only when all went well.
            monitorOptions.redraw = !noRedraw && ::isatty(1);
            return monitorCommand(ctx.session, ctx.host, monitorOptions, monitorOptions.redraw ? std::cout : ctx.out);
        }
        if (search->parsed())
            return searchCommand(ctx.session, ctx.host, ctx.out);
        if (upload->parsed())
            return uploadCommand(ctx.session, ctx.host, uploadPath, uploadForce);
        if (download->parsed())
            return downloadCommand(ctx.session, ctx.host, downloadPath, downloadPart);
        if (compare->parsed())
            return compareCommand(ctx.session, ctx.host, comparePath);
        long address = 0;
        long number = 0;
        parseNumber(read->parsed() ? readAddress : writeAddress, 0, 0xFFFF, address); // checked when parsed
        if (read->parsed()) {
            parseNumber(readCount, 1, 255, number);
            return runRead(ctx, address, number);
        }
        parseNumber(writeValue, 0, 0xFFFF, number);
        return runWrite(ctx, address, number);
    }();
    if (rc == 0 || rc == kExitDifferent)
        std::cout << ctx.out.str();
    return rc;
}
