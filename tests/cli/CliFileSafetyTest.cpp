// Files as an ordinary user meets them through lumetra-cli: modes and
// read-only files, FIFOs and devices, crafted settings files, links and a
// full disk under the monitor's log. As root the commands run as "nobody".

#include "Process.h"
#include "Programs.h"
#include "ScratchDir.h"
#include "Unprivileged.h"

#include "text/PrintableText.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sys/stat.h>

using namespace lumetra::test;

namespace {

ProcessResult cli(std::vector<std::string> args)
{
    args.insert(args.begin(), kCli);
    return run(asUnprivileged(std::move(args)));
}

mode_t modeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// A scratch folder the commands' user may write in.
struct UserDir : ScratchDir {
    UserDir() : ScratchDir("lumetra-cli-user") { shareWithUnprivileged(path.string()); }
};
} // namespace

TEST(CliFileSafety, SavesKeepTheModeAndAReadOnlyFileIsRefusedUnchanged)
{
    UserDir dir;
    const std::string f = dir.file("unit.zqs");
    const mode_t umask = ::umask(0);
    ::umask(umask);
    ASSERT_EQ(cli({"new", "--type", "TQ", "--mode", "0", "-o", f}).exitCode, 0);
    EXPECT_EQ(modeOf(f), 0666u & ~umask);

    ::chmod(f.c_str(), 0600);
    auto r = cli({"set", f, "cboTimerRange_A_TQ=1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(modeOf(f), 0600u); // not made readable by others

    ::chmod(f.c_str(), 0444);
    const std::string before = readFile(f);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"set", f, "cboTimerRange_A_TQ=2"}, {"new", "--type", "CQ", "--mode", "3", "--force", "-o", f},
          {"--port", "sim:TQ", "upload", "--force", "-o", f}}) {
        r = cli(args);
        EXPECT_EQ(r.exitCode, 15) << args[0];
        EXPECT_EQ(r.out, "") << args[0];
        EXPECT_EQ(r.err, "Failed to save the file!\n  cannot write " + f + ": Permission denied\n") << args[0];
    }
    EXPECT_EQ(readFile(f), before);
    EXPECT_EQ(modeOf(f), 0444u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1); // nothing left beside it
}

TEST(CliFileSafety, UploadChecksItsOutputBeforeReadingTheUnit)
{
    UserDir dir;
    const std::string requests = dir.file("requests.jsonl");
    Process sim({kSim, "--unit", "1:DQ", "--log", requests});
    ASSERT_TRUE(sim.waitForOutput("ready")) << sim.err();
    const std::string pty = ptyOf(sim);
    const std::string nowhere = dir.file("missing-folder/unit.zqs");
    const auto r = run({kCli, "--port", pty, "upload", "-o", nowhere});
    EXPECT_EQ(r.exitCode, 15);
    EXPECT_EQ(r.out, ""); // no "The settings are read completely!"
    EXPECT_EQ(r.err, "Failed to save the file!\n  cannot write in " + dir.file("missing-folder") + ": No such file or directory\n");
    EXPECT_EQ(readFile(requests), ""); // the unit was not asked anything
    sim.finish(SIGTERM);
}

TEST(CliFileSafety, FifosAndDevicesAreRefusedAtOnceByEveryFileCommand)
{
    UserDir dir;
    const std::string fifo = dir.file("line.zqs");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0); // nobody writes to it: reading would wait for ever
    for (const std::vector<std::string>& args : {std::vector<std::string>{"show", fifo}, {"show", "--json", fifo},
                                                 {"set", fifo, "mKP=1"}, {"--port", "sim:DQ", "download", fifo},
                                                 {"--port", "sim:DQ", "compare", fifo}}) {
        const auto r = cli(args);
        EXPECT_EQ(r.exitCode, 18) << args[0];
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "Falied to open the file.\n  " + fifo + " is a FIFO, not a regular file\n") << args[0];
    }
    auto r = cli({"new", "--type", "DQ", "--mode", "0", "--force", "-o", fifo});
    EXPECT_EQ(r.exitCode, 15);
    EXPECT_EQ(r.err, "Failed to save the file!\n  " + fifo + " is a FIFO, not a regular file\n");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    r = cli({"show", "/dev/zero"});
    EXPECT_EQ(r.exitCode, 18);
    EXPECT_EQ(r.err, "Falied to open the file.\n  /dev/zero is a device, not a regular file\n");
}

TEST(CliFileSafety, ShowEscapesCraftedBytesAndItsJsonIsValid)
{
    UserDir dir;
    const std::string f = dir.file("crafted.zqs");
    ASSERT_EQ(cli({"new", "--type", "TQ", "--mode", "0", "-o", f}).exitCode, 0);
    {
        // The timer's set value cells: a terminal command and a byte that is not UTF-8.
        std::fstream file(f, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(35);
        file << "\x1b]2;\xff\x07";
    }
    auto r = cli({"show", f});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.find('\x1b'), std::string::npos);
    EXPECT_NE(r.out.find("lblTimerSetting_A_TQ           Set Value                    \\x1B]2;.\\xFF\\x07\n"), std::string::npos) << r.out;
    for (const char* lang : {"en", "zh_TW", "zh_CN"}) {
        r = cli({"--lang", lang, "show", "--json", f});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(lumetra::isValidUtf8(r.out)) << lang;
        ASSERT_TRUE(nlohmann::json::accept(r.out)) << lang << ": " << r.out;
        bool found = false;
        const nlohmann::json listing = nlohmann::json::parse(r.out);
        for (const auto& setting : listing["settings"])
            if (setting["name"] == "lblTimerSetting_A_TQ") {
                EXPECT_EQ(setting["text"], "\\x1B]2;.\\xFF\\x07"); // what the text listing shows
                found = true;
            }
        EXPECT_TRUE(found);
    }
}

TEST(CliFileSafety, MonitorLogIsNeverWrittenThroughALinkAndAFullDiskEndsTheCommand)
{
    UserDir dir;
    const std::string victim = dir.file("notes.txt");
    std::ofstream(victim) << "keep";
    std::filesystem::create_symlink(victim, dir.file("log.txt"));
    auto r = cli({"--port", "sim:CQ", "monitor", "--no-redraw", "--cycles", "1", "--log", dir.file("log.txt")});
    EXPECT_EQ(r.exitCode, 15);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Failed to save the file!\n  " + dir.file("log.txt") + " is a symbolic link; it is not followed\n");
    EXPECT_EQ(readFile(victim), "keep");

    // Room for one line: the second fails, and the command says so once and ends.
    const std::string log = dir.file("full.txt");
    r = runWithFileSizeLimit(
        asUnprivileged({kCli, "--port", "sim:CQ", "monitor", "--no-redraw", "--cycles", "2000", "--log", log, "--rate", "1"}), 40);
    EXPECT_EQ(r.exitCode, 15);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Failed to save the file!\n  " + log + ": File too large (logging stopped)\n");
    const std::string written = readFile(log);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1) << written;
}
