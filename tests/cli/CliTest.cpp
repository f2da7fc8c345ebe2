// The command-line programs as a user runs them: lumetra-cli against the
// built-in virtual unit and against a lumetra-sim process on a pseudo-terminal.

#include "Process.h"
#include "Programs.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

using lumetra::test::Process;
using lumetra::test::readFile;
using lumetra::test::run;
using lumetra::test::ScratchDir;

using lumetra::test::kCli;
using lumetra::test::kSim;
using lumetra::test::ptyOf;

TEST(Cli, ReadsTheBuiltInVirtualUnit)
{
    auto r = run({kCli, "--port", "sim:TQ", "read", "0x0400", "3"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "0400 0025\n0402 0025\n0404 020A\n");
    r = run({kCli, "--port", "sim:CQ", "--protocol", "rtu", "--id", "0x20", "read", "1028"});
    EXPECT_EQ(r.out, "0404 030A\n");
    r = run({kCli, "--port", "sim:DQ", "write", "0x0432", "0x00FF"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
}

TEST(Cli, ExitsWithTheResultCodeAndItsExactMessage)
{
    auto r = run({kCli, "--port", "sim:DQ", "read", "0x0000"});
    EXPECT_EQ(r.exitCode, 29);
    EXPECT_EQ(r.err, "ILLEGAL DATA ADDRESS!\n");
    r = run({kCli, "--port", "/dev/lumetra-none", "read", "0x0404"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.substr(0, 21), "Communication error!\n");
    r = run({kCli, "--port", "sim:DQ", "--id", "256", "read", "0x0404"});
    EXPECT_EQ(r.exitCode, 22);
    EXPECT_EQ(r.err, "Wrong Device ID !\n");
    r = run({kCli, "--port", "sim:DQ", "--lang", "zh_TW", "read", "0"});
    EXPECT_EQ(r.err, "非法資料位址!\n");
    r = run({kCli, "--port", "sim:DQ", "read", "0x10000"});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("ADDR"), std::string::npos);
}

TEST(Cli, HelpForEveryCommand)
{
    for (const char* command : {"read", "write", "ports"}) {
        const auto r = run({kCli, command, "--help"});
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_NE(r.out.find("Usage"), std::string::npos) << command;
    }
    const auto ports = run({kCli, "--com", "2=tcp://127.0.0.1:4001", "ports"});
    EXPECT_NE(ports.out.find("COM2   tcp://127.0.0.1:4001\n"), std::string::npos) << ports.out;
    EXPECT_NE(ports.out.find("COM16"), std::string::npos);
}

TEST(Cli, AgainstTheSimulatorWithTraceLogAndDump)
{
    Process sim({kSim, "--unit", "3:TQ", "--unit", "10:DQ", "--fault", "10:checksum", "--protocol", "rtu", "--pace"});
    ASSERT_TRUE(sim.waitForOutput("ready")) << sim.err();
    const std::string pty = ptyOf(sim);

    auto r = run({kCli, "--port", pty, "--protocol", "rtu", "--id", "3", "--trace", "write", "0x0432", "2"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("> 03 06 04 32 00 02"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("< 03 06 04 32 00 02"), std::string::npos) << r.err;
    r = run({kCli, "--com", "4=" + pty, "--port", "COM4", "--protocol", "rtu", "--id", "10", "read", "0x0404"});
    EXPECT_EQ(r.exitCode, 12);
    EXPECT_EQ(r.err, "Failed to response !\n");
    r = run({kCli, "--port", pty, "--protocol", "rtu", "--id", "11", "--timeout", "100", "read", "0x0404"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "Time out !\n");

    EXPECT_EQ(sim.finish(SIGTERM).exitCode, 0);
}

TEST(Sim, WritesItsRequestLogAndMemoryDump)
{
    const auto dir = std::filesystem::temp_directory_path() / ("lumetra-simfiles-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string log = (dir / "requests.jsonl").string();
    const std::string dump = (dir / "memory.json").string();
    Process sim({kSim, "--unit", "2:CQ", "--log", log, "--dump", dump, "--link", (dir / "line").string()});
    ASSERT_TRUE(sim.waitForOutput("ready")) << sim.err();
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "line"));
    EXPECT_EQ(run({kCli, "--port", (dir / "line").string(), "--id", "2", "write", "0x0500", "0x1234"}).exitCode, 0);
    EXPECT_EQ(run({kCli, "--port", (dir / "line").string(), "--id", "2", "read", "0x0500"}).out, "0500 1234\n");
    EXPECT_EQ(sim.finish(SIGINT).exitCode, 0);
    const std::string requests = readFile(log);
    const auto firstEnd = requests.find('\n');
    EXPECT_NE(requests.substr(0, firstEnd).find(",\"id\":2,\"fn\":6,\"addr\":1280,\"value\":4660}"), std::string::npos);
    EXPECT_NE(requests.substr(firstEnd + 1).find(",\"id\":2,\"fn\":3,\"addr\":1280,\"count\":1}\n"), std::string::npos);
    const std::string memory = readFile(dump);
    EXPECT_NE(memory.find("{\"id\":2,\"type\":\"CQ\",\"base\":1024,\"memory\":\"250025000A03"), std::string::npos);
    // byte 0x0500 is 0x100 bytes into the memory: two hex digits a byte
    EXPECT_EQ(memory.substr(memory.find("\"memory\":\"") + 10 + 2 * 0x100, 4), "3412");
    EXPECT_FALSE(std::filesystem::exists(dir / "line")); // the link goes with the simulator
    std::filesystem::remove_all(dir);
}

TEST(Sim, RefusesBadUnitsAndFaults)
{
    EXPECT_EQ(run({kSim, "--unit", "0:DQ"}).exitCode, 64);
    EXPECT_EQ(run({kSim, "--unit", "1:DQ", "--fault", "2:silent"}).exitCode, 64);
    const auto r = run({kSim, "--fault", "1:melt"});
    EXPECT_EQ(r.exitCode, 64);
    EXPECT_NE(r.err.find("unknown fault"), std::string::npos);
}

TEST(CliFiles, NewShowAndSetADqFile)
{
    ScratchDir dir;
    const std::string f = dir.file("unit.zqs");
    ASSERT_EQ(run({kCli, "new", "--type", "DQ", "--mode", "1", "-o", f}).exitCode, 0);
    EXPECT_EQ(std::filesystem::file_size(f), 256u);
    EXPECT_EQ(run({kCli, "new", "--type", "DQ", "--mode", "1", "-o", f}).exitCode, 64); // exists: needs --force

    auto r = run({kCli, "set", f, "lblTimerSettingA=0012.30", "cboOutputModeA=3", "lblHoldTimeA=000500", "lblCounterSettingB_F=000100",
                  "lblHoldCounterB_F=000200", "lblMagnificationB_F=001000", "mKP=1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = run({kCli, "show", f});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("Function mode  1 : Timer + Tachometer\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("lblTimerSettingA               Set Value                    0012.30\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("cboOutputModeA                 Output Mode                  3 : Repeat cycle 1\n"), std::string::npos);
    EXPECT_NE(r.out.find("mKP                            Key Protection               ON\n"), std::string::npos);
    EXPECT_EQ(r.out.find("cboCountInputModeB"), std::string::npos); // the counter is not this mode's
    r = run({kCli, "show", "--json", f});
    EXPECT_NE(r.out.find("{\"machineType\":\"DQ\",\"machineTypeCode\":\"010A\",\"functionMode\":1,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("{\"name\":\"cboOutputModeA\",\"label\":\"Output Mode\",\"index\":3,\"text\":\"3 : Repeat cycle 1\",\"active\":true}"),
              std::string::npos);
    r = run({kCli, "--lang", "zh_TW", "show", f});
    EXPECT_NE(r.out.find("信號"), std::string::npos);
}

TEST(CliFiles, SetRefusesAndLeavesTheFileUntouched)
{
    ScratchDir dir;
    const std::string f = dir.file("unit.zqs");
    ASSERT_EQ(run({kCli, "new", "--type", "XQ", "--mode", "4", "-o", f}).exitCode, 0);
    const std::string before = readFile(f);
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"cboNoSuchThing=1"}, {"cboDotAdj_Comm_CQ=4"}, {"cboKP_Comm_CQ=x"}, {"lblCounterSetting_2nd_1_CQ=12345"},
             {"lblHoldCounter_2nd_1_CQ=-00001"}, {"mKP=2"}, {"functionMode=9"}, {"novalue"}}) {
        std::vector<std::string> args{kCli, "set", f};
        args.insert(args.end(), bad.begin(), bad.end());
        const auto r = run(args);
        EXPECT_NE(r.exitCode, 0) << bad[0];
        EXPECT_FALSE(r.err.empty()) << bad[0];
        EXPECT_EQ(readFile(f), before) << bad[0];
    }
    // A sign where the counter has a sign register; the DQ range checks refuse zeros.
    EXPECT_EQ(run({kCli, "set", f, "lblCounterSetting_2nd_2_CQ=-00100"}).exitCode, 0);
    EXPECT_EQ(readFile(f).substr(103, 6), "-00100");
    const std::string dq = dir.file("dq.zqs");
    ASSERT_EQ(run({kCli, "new", "--type", "DQ", "--mode", "5", "-o", dq}).exitCode, 0);
    const auto r = run({kCli, "set", dq, "lblTimerSetting_T_Dual_0=000200", "lblTimerSetting_T_Dual_1=000100"});
    EXPECT_EQ(r.exitCode, 13);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "The set value of Timer_1 must be more than  the set value of Timer_0.");
}

TEST(CliFiles, ShowMarksActiveWhatTheEditorShows)
{
    ScratchDir dir;
    const std::string tacho = dir.file("tacho.zqs");
    ASSERT_EQ(run({kCli, "new", "--type", "CQ", "--mode", "8", "-o", tacho}).exitCode, 0);
    auto r = run({kCli, "show", tacho});
    EXPECT_EQ(r.out.find("cboSGWidth_Comm_CQ"), std::string::npos) << r.out; // the tachometer hides it
    EXPECT_NE(r.out.find("cboInputMethod_Comm_CQ         NPN / PNP Input Mode"), std::string::npos) << r.out;
    r = run({kCli, "show", "--json", tacho});
    EXPECT_NE(r.out.find("{\"name\":\"cboSGWidth_Comm_CQ\",\"label\":\"Input Signal Width\",\"index\":0,\"text\":\"20 ms\",\"active\":false}"),
              std::string::npos)
        << r.out;

    const std::string counters = dir.file("counters.zqs");
    ASSERT_EQ(run({kCli, "new", "--type", "DQ", "--mode", "4", "-o", counters}).exitCode, 0);
    r = run({kCli, "show", counters});
    EXPECT_NE(r.out.find("cboCountInputMode_C_Dual_0     Input Mode                   1 : Individual (Up)\n"), std::string::npos) << r.out;
    r = run({kCli, "set", counters, "cboMaxFreq_C_Dual_0=1"});
    EXPECT_EQ(r.exitCode, 64);
    EXPECT_NE(r.err.find("cboMaxFreq_C_Dual_0 is not kept in settings files"), std::string::npos) << r.err;
}

TEST(CliFiles, BadFilesGiveTheirMessages)
{
    ScratchDir dir;
    const auto write = [&](const std::string& name, const std::string& content) {
        std::ofstream(dir.file(name), std::ios::binary) << content;
        return dir.file(name);
    };
    auto r = run({kCli, "show", dir.file("missing.zqs")});
    EXPECT_EQ(r.exitCode, 17);
    EXPECT_EQ(r.err.substr(0, 24), "The file doesn't exist!\n");
    r = run({kCli, "show", write("empty.zqs", "")});
    EXPECT_EQ(r.exitCode, 19);
    EXPECT_EQ(r.err.substr(0, 16), "Wrong version !\n");
    r = run({kCli, "show", write("short.zqs", "0100030A00")});
    EXPECT_EQ(r.exitCode, 18);
    EXPECT_EQ(r.err.substr(0, 25), "Falied to open the file.\n");
    r = run({kCli, "show", write("garbage.zqs", std::string("\x00\xFF\x13garbage", 10))});
    EXPECT_EQ(r.exitCode, 19);
    r = run({kCli, "show", write("xq9.zqs", "0100040A" + std::string(23, '0') + "9")});
    EXPECT_EQ(r.exitCode, 18);
}

TEST(CliTransfers, PreloadedUnitUploadsAndComparesAsTheFile)
{
    ScratchDir dir;
    const std::string file = dir.file("counter.zqs");
    ASSERT_EQ(run({kCli, "new", "--type", "CQ", "--mode", "4", "-o", file}).exitCode, 0);
    ASSERT_EQ(run({kCli, "set", file, "lblCounterSetting_2nd_1_CQ=001500", "lblCounterSetting_2nd_2_CQ=-00020", "cboKP_Comm_CQ=3"}).exitCode, 0);
    Process sim({kSim, "--unit", "5:CQ", "--load", "5:" + file, "--protocol", "rtu", "--restart-ms", "100"});
    ASSERT_TRUE(sim.waitForOutput("ready")) << sim.err();
    const std::string pty = ptyOf(sim);
    const std::vector<std::string> line{kCli, "--port", pty, "--protocol", "rtu", "--id", "5"};
    const auto with = [&](std::vector<std::string> args) {
        std::vector<std::string> all = line;
        all.insert(all.end(), args.begin(), args.end());
        return run(all);
    };

    auto r = with({"upload", "-o", dir.file("back.zqs")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "The settings are read completely!\n");
    EXPECT_EQ(readFile(dir.file("back.zqs")), readFile(file));
    r = with({"compare", file});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "Compare completed ! The programs are the same.\nThe settings are compared completely!\n");

    ASSERT_EQ(run({kCli, "set", file, "lblCounterSetting_2nd_1_CQ=001501"}).exitCode, 0);
    r = with({"compare", file});
    EXPECT_EQ(r.exitCode, 100);
    EXPECT_EQ(r.out, "Program different :Set Value\nThe settings are compared completely!\n");

    r = with({"download", file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "The settings are written completely!\n");
    EXPECT_EQ(with({"compare", file}).exitCode, 0);

    r = run({kCli, "--port", pty, "--protocol", "rtu", "--id", "6", "--timeout", "100", "download", file});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "Time out !\nFailed to download the settings!\n");
    EXPECT_EQ(run({kCli, "--port", pty, "--id", "5", "download", "--part", "A", file}).exitCode, 64); // not a DQ setting
}

TEST(CliTransfers, SearchListsTheUnitsOnTheLine)
{
    Process sim({kSim, "--unit", "3:TQ", "--unit", "10:DQ", "--unit", "200:XQ"});
    ASSERT_TRUE(sim.waitForOutput("ready")) << sim.err();
    const auto r = run({kCli, "--port", ptyOf(sim), "--timeout", "50", "search"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "03 : LT-48TQ Timer\nC8 : LT-48XQ Timer / Counter\n");
}

TEST(CliTransfers, SimulatorRefusesAFileOfAnotherType)
{
    ScratchDir dir;
    const std::string file = dir.file("timer.zqs");
    ASSERT_EQ(run({kCli, "new", "--type", "TQ", "--mode", "0", "-o", file}).exitCode, 0);
    const auto r = run({kSim, "--unit", "1:DQ", "--load", file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Wrong machine type !"), std::string::npos) << r.err;
}

TEST(CliMonitor, DescribeAndAPanelOfText)
{
    auto r = run({kCli, "--port", "sim:TQ", "describe"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Type :   : LT-48TQ Timer");
    EXPECT_NE(r.out.find("Key Protect Level : KP-1\n"), std::string::npos) << r.out;
    r = run({kCli, "--port", "sim:DQ", "monitor", "--cycles", "3", "--no-redraw"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("0000.00"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("+-- B"), std::string::npos);
    EXPECT_EQ(run({kCli, "--port", "sim:DQ", "--id", "300", "describe"}).exitCode, 22);
}

TEST(CliMonitor, LogsUntilCtrlCAndClosesTheLog)
{
    ScratchDir dir;
    const std::string log = dir.file("log.txt");
    Process monitor({kCli, "--port", "sim:CQ", "monitor", "--no-redraw", "--log", log, "--rate", "1", "--delimiter", "comma"});
    ::usleep(2600'000);
    const auto r = monitor.finish(SIGINT);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string text = readFile(log);
    ASSERT_GE(std::count(text.begin(), text.end(), '\n'), 2) << text;
    // "m/d/yyyy hh:nn:ss,value" lines
    const std::string first = text.substr(0, text.find("\r\n"));
    EXPECT_EQ(std::count(first.begin(), first.end(), '/'), 2);
    EXPECT_NE(first.find(','), std::string::npos);
    EXPECT_EQ(run({kCli, "--port", "sim:CQ", "monitor", "--log", log, "--rate", "0"}).err,
              "lumetra-cli: --rate: Please enter an integer between 1 and 3600.\nRun with --help for more information.\n");
}
