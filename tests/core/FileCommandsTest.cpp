#include "RecordingHost.h"
#include "Unprivileged.h"

#include "files/FileCommands.h"
#include "files/SettingsFile.h"
#include "text/StringTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace lumetra;

namespace {

// Answers the file dialogs from a script.
struct ScriptedDialogs : FileDialogs {
    std::vector<std::optional<std::string>> answers;
    std::vector<DialogSpec> asked;
    std::optional<std::string> next(const DialogSpec& spec)
    {
        asked.push_back(spec);
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    std::optional<std::string> chooseOpen(const DialogSpec& spec) override { return next(spec); }
    std::optional<std::string> chooseSave(const DialogSpec& spec) override { return next(spec); }
};

struct Rig {
    fs::path dir = fs::temp_directory_path() / ("lumetra-filecmd-" + std::to_string(::getpid()));
    test::RecordingHost host;
    StringTable strings;
    ScriptedDialogs dialogs;
    FileCommands files{host, strings, dialogs, AppFolders{dir.string()}};
    FileState state;
    SettingsDocument doc{MachineType::TQ};
    Rig()
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        doc.selectFunctionMode(0);
    }
    ~Rig() { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / "Sample" / name).string(); }
};

} // namespace

TEST(FileCommands, SaveAsCreatesTheFolderChecksTheNameAndAsksBeforeReplacing)
{
    Rig rig;
    rig.state.settingsChanged = true;
    rig.dialogs.answers = {rig.path("a;b.zqs")};
    EXPECT_EQ(rig.files.save(rig.doc, rig.state, true), Result::InvalidFileName);
    EXPECT_TRUE(fs::is_directory(rig.dir / "Sample"));
    EXPECT_EQ(rig.host.messages.back().text, "Failed to save the file!");
    EXPECT_EQ(rig.host.messages.back().title, "Save");

    rig.dialogs.answers = {rig.path("unit 1.zqs")};
    ASSERT_EQ(rig.files.save(rig.doc, rig.state, true), 0);
    EXPECT_EQ(rig.host.messages.back().text, "File is save completed!");
    EXPECT_FALSE(rig.state.settingsChanged);
    EXPECT_EQ(rig.state.caption(), "unit 1.zqs");
    EXPECT_EQ(rig.dialogs.asked.back().title, "Save As");
    EXPECT_EQ(rig.dialogs.asked.back().filter, "zqs(*.zqs)|*.zqs");

    // Over an existing file, Cancel writes nothing and shows nothing more.
    rig.state.settingsChanged = true;
    rig.dialogs.answers = {rig.path("unit 1.zqs")};
    rig.host.answers = {MessageAnswer::Cancel};
    const auto messages = rig.host.messages.size();
    EXPECT_EQ(rig.files.save(rig.doc, rig.state, true), 0);
    EXPECT_TRUE(rig.state.saveCancelled);
    EXPECT_TRUE(rig.state.settingsChanged);
    EXPECT_EQ(rig.host.messages.size(), messages + 1);
    EXPECT_EQ(rig.host.messages.back().text, "The file exists. Do you want to replace it ?");

    // Save after the file is known writes without a dialog.
    const auto dialogs = rig.dialogs.asked.size();
    EXPECT_EQ(rig.files.save(rig.doc, rig.state, false), 0);
    EXPECT_EQ(rig.dialogs.asked.size(), dialogs);
}

TEST(FileCommands, OpenKeepsTheEditorOnARefusedFile)
{
    Rig rig;
    fs::create_directories(rig.dir / "Sample");
    { std::ofstream(rig.path("bad.zqs")) << "0101"; }
    rig.doc.tqcq().cboKP_All_TQ = 3;
    rig.dialogs.answers = {rig.path("bad.zqs")};
    EXPECT_EQ(rig.files.open(rig.doc, rig.state), Result::WrongVersion);
    EXPECT_EQ(rig.host.messages.back().text, "Wrong version !");
    EXPECT_EQ(rig.host.lastStatus(StatusPanel::Transfer), "Failed to open the file!");
    EXPECT_EQ(rig.doc.tqcq().cboKP_All_TQ, 3);

    SettingsDocument counter(MachineType::CQ);
    counter.selectFunctionMode(5);
    SettingsImage image;
    ASSERT_EQ(counter.write(image), 0);
    ASSERT_EQ(SaveImageToFile(rig.path("COUNTER.ZQS"), image), 0);
    const auto messages = rig.host.messages.size();
    ASSERT_EQ(rig.files.open(rig.doc, rig.state, rig.path("COUNTER.ZQS")), 0); // from the command line: no dialog
    EXPECT_EQ(rig.doc.machineType(), MachineType::CQ);
    EXPECT_EQ(rig.doc.functionMode(), 5);
    EXPECT_TRUE(rig.state.fileKnown);
    EXPECT_EQ(rig.host.messages.size(), messages);
    EXPECT_EQ(rig.host.lastStatus(StatusPanel::Transfer), "File is opened completed!");

    rig.dialogs.answers = {}; // cancelled
    EXPECT_NE(rig.files.open(rig.doc, rig.state), 0);
    EXPECT_EQ(rig.host.messages.size(), messages);
    EXPECT_EQ(rig.host.lastStatus(StatusPanel::Transfer), "Failed to open the file!");
}

TEST(FileCommands, OpenRefusesAFifoAtOnceAndSaveSaysWhyAReadOnlyFileIsRefused)
{
    Rig rig;
    fs::create_directories(rig.dir / "Sample");
    const std::string fifo = rig.path("line.zqs");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0); // no writer: reading it would wait for ever
    EXPECT_EQ(rig.files.open(rig.doc, rig.state, fifo), Result::OpenFailed);
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, "Falied to open the file.");
    EXPECT_EQ(rig.host.messages[0].detail, fifo + " is a FIFO, not a regular file");
    EXPECT_EQ(rig.host.lastStatus(StatusPanel::Transfer), "Failed to open the file!");

    test::shareWithUnprivileged(rig.dir.string());
    test::shareWithUnprivileged((rig.dir / "Sample").string());
    const std::string readOnly = rig.path("kept.zqs");
    const int failed = test::runUnprivileged([&] {
        { std::ofstream(readOnly) << "0100020A"; }
        ::chmod(readOnly.c_str(), 0444);
        rig.host.messages.clear();
        rig.state = {true, true, false, readOnly};
        if (rig.files.save(rig.doc, rig.state, false) != Result::SaveFailed)
            return 1;
        if (rig.host.messages.size() != 1 || rig.host.messages[0].text != "Failed to save the file!"
            || rig.host.messages[0].detail != "cannot write " + readOnly + ": Permission denied")
            return 2;
        return rig.state.settingsChanged ? 0 : 3;
    });
    EXPECT_EQ(failed, 0);
}

TEST(FileCommands, TheCloseQuestionsThreeAnswers)
{
    Rig rig;
    EXPECT_TRUE(rig.files.closeQuestion(rig.doc, rig.state)); // unchanged: no question
    EXPECT_TRUE(rig.host.messages.empty());
    rig.state.settingsChanged = true;
    rig.host.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(rig.files.closeQuestion(rig.doc, rig.state));
    EXPECT_EQ(rig.host.messages.back().text, "The settings have changed, do you want to save them ?");
    rig.host.answers = {MessageAnswer::No};
    EXPECT_TRUE(rig.files.closeQuestion(rig.doc, rig.state));
    rig.host.answers = {MessageAnswer::Yes}; // then Cancel in the save dialog: stays open
    EXPECT_FALSE(rig.files.closeQuestion(rig.doc, rig.state));
    rig.host.answers = {MessageAnswer::Yes};
    rig.dialogs.answers = {rig.path("kept.zqs")};
    EXPECT_TRUE(rig.files.closeQuestion(rig.doc, rig.state));
    EXPECT_TRUE(fs::exists(rig.path("kept.zqs")));
}

TEST(FileCommands, FoldersFallBackToTheUsersWhenTheProgramsIsReadOnly)
{
    EXPECT_EQ(AppFolders::locate(fs::temp_directory_path().string(), "/home/x/.local/share/lumetra").appFolder,
              fs::temp_directory_path().string());
    EXPECT_EQ(AppFolders::locate("/proc", "/home/x/.local/share/lumetra").appFolder, "/home/x/.local/share/lumetra");
    EXPECT_EQ(AppFolders::locate("/usr/bin", "/home/x/.local/share/lumetra").appFolder, "/home/x/.local/share/lumetra");
}
