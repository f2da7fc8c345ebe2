// The desktop windows offscreen, against in-process virtual units, with a
// host that records messages and answers questions from a script.

#include "LineRig.h"
#include "Process.h"

#include "AboutDialog.h"
#include "CommSetupDialog.h"
#include "EditorWindow.h"
#include "MainWindow.h"
#include "TransferDialog.h"

#include "files/SettingsFile.h"
#include "Version.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QScreen>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <filesystem>

using namespace lumetra;
using namespace lumetra::gui;
namespace fs = std::filesystem;

namespace {

struct ScriptedDialogs : FileDialogs {
    std::vector<std::optional<std::string>> answers;
    std::optional<std::string> next()
    {
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    std::optional<std::string> chooseOpen(const DialogSpec&) override { return next(); }
    std::optional<std::string> chooseSave(const DialogSpec&) override { return next(); }
};

// The application's windows over an in-process line on a fake clock.
struct App : test::LineRig {
    fs::path dir = fs::temp_directory_path() / ("lumetra-gui-" + std::to_string(::getpid()));
    ScriptedDialogs dialogs;
    AppContext ctx;
    MainWindow window;

    App()
        : ctx(host, LanguageId::English, [this](int n) { return n == 1 ? makePort() : nullptr; }, AppFolders{dir.string()}, dialogs),
          window(ctx, dir.string())
    {
        fs::create_directories(dir);
        window.show();
    }
    ~App() { fs::remove_all(dir); }
    std::unique_ptr<SerialPort> makePort() { return std::make_unique<sim::LoopbackPort>(line, [this] { return host.now; }); }

    template <class T>
    T* find(const QString& name) const
    {
        return window.findChild<T*>(name);
    }
};

// Clicks a button of the modal dialog that opens next.
void clickInNextDialog(const QString& button)
{
    QTimer::singleShot(0, [button] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto* b = dialog->findChild<QPushButton*>(button);
        ASSERT_NE(b, nullptr);
        b->click();
    });
}

} // namespace

TEST(MainWindow, MenusToolBarAndStatusAtStart)
{
    App app;
    EXPECT_EQ(app.window.windowTitle(), "Lumetra ");
    EXPECT_FALSE(app.window.windowFlags() & Qt::WindowMaximizeButtonHint);
    for (const char* name : {"mNew", "mOpen", "mExit", "mUpload", "mMonitoring", "mCommSetting", "mLMHelp", "mAbout"})
        EXPECT_NE(app.find<QAction>(name), nullptr) << name;
    EXPECT_EQ(app.find<QAction>("mNew")->text(), "New(&N)");
    EXPECT_EQ(app.find<QAction>("mUpload")->text(), "Upload ( Device --> PC )");
    for (const char* key : {"New", "Open", "Upload", "split05", "split09", "split01"})
        EXPECT_TRUE(app.window.toolButton(key)->isVisible()) << key;
    for (const char* key : {"Save", "Download", "MonitorStart", "split02", "KP", "PowerSaving"})
        EXPECT_FALSE(app.window.toolButton(key)->isVisible()) << key;
    EXPECT_EQ(app.window.toolButton("Download")->toolTip(), "Download ( PC --> Device )");
    app.window.toolButton("Download")->trigger(); // no child: nothing happens
    EXPECT_TRUE(app.host.messages.empty());
    EXPECT_EQ(app.window.helpFile(1028), app.dir.string() + "/Help_B.html");
    EXPECT_EQ(app.window.helpFile(1041), app.dir.string() + "/Help_E.html");
}

TEST(MainWindow, NewWithCancelAndWithATypeChosen)
{
    App app;
    app.host.setStatusPanel(StatusPanel::Transfer, "before");
    clickInNextDialog("cmdCancel");
    app.window.newSetting();
    EXPECT_EQ(app.window.editor(), nullptr);
    EXPECT_EQ(app.host.lastStatus(StatusPanel::Transfer), "before");

    clickInNextDialog("cmdOK"); // the second choice is preselected: TQ
    app.window.newSetting();
    ASSERT_NE(app.window.editor(), nullptr);
    EXPECT_EQ(app.window.editor()->objectName(), "frmModeSetting_CQ");
    EXPECT_EQ(app.ctx.document.machineType(), MachineType::TQ);
    EXPECT_EQ(app.window.editor()->windowTitle(), "Unknown01.zqs");
    EXPECT_TRUE(app.window.toolButton("Save")->isVisible());
    EXPECT_EQ(app.host.lastStatus(StatusPanel::Transfer), "File is opened completed!");
}

TEST(MainWindow, UploadFromEveryTypeThroughTheProgressWindow)
{
    for (MachineType type : {MachineType::DQ, MachineType::TQ, MachineType::CQ, MachineType::XQ}) {
        App app;
        app.addUnit(1, type).setByte(0x0432, type == MachineType::CQ ? 5 : 2);
        app.window.upload();
        ASSERT_NE(app.window.editor(), nullptr) << machineTypeName(type);
        EXPECT_EQ(app.ctx.document.machineType(), type);
        EXPECT_EQ(app.window.editor()->objectName(), type == MachineType::DQ ? "frmModeSetting_DQ" : "frmModeSetting_CQ");
        EXPECT_EQ(app.host.messages.back().text, "The settings are read completely!");
        EXPECT_EQ(app.host.messages.back().title, "Upload");
        EXPECT_EQ(app.host.locks, 1);
        EXPECT_EQ(app.host.unlocks, 1);
        if (type == MachineType::XQ) {
            EXPECT_EQ(app.ctx.document.functionMode(), 2); // timer side
        }
    }
    App app;
    EXPECT_EQ(TransferDialog(app.ctx, OperationKind::Download, TransferTarget::DqAll, nullptr).timerInterval(), 800);
    TransferDialog compare(app.ctx, OperationKind::Compare, TransferTarget::DqAll, nullptr);
    EXPECT_EQ(compare.timerInterval(), 40);
    EXPECT_EQ(compare.windowTitle(), QString::fromUtf8("Compare\u2026"));
}

TEST(CommSetupWindow, ValidationCasesAndKeyFilters)
{
    App app;
    CommSetupDialog dialog(app.ctx, &app.window);
    dialog.show();
    auto* timeout = dialog.findChild<QLineEdit*>("txtTimeOut");
    auto* delay = dialog.findChild<QLineEdit*>("txtCommDelayTime");
    auto* id = dialog.findChild<QComboBox*>("cboDeviceID_Menu");
    auto* apply = dialog.findChild<QPushButton*>("cmdApply");
    ASSERT_TRUE(timeout && delay && id && apply);
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_EQ(dialog.findChild<QComboBox*>("cboBaudRate")->itemText(3), "9600     Bps");
    EXPECT_EQ(dialog.findChild<QComboBox*>("cboComPort")->count(), 16);

    timeout->clear();
    QTest::keyClicks(timeout, "4x9"); // letters are dropped
    EXPECT_EQ(timeout->text(), "49");
    EXPECT_TRUE(apply->isEnabled());
    apply->click();
    EXPECT_EQ(app.host.messages.back().text, "Time out setting error!");
    timeout->setText("50");
    delay->setText("60001");
    apply->click();
    EXPECT_EQ(app.host.messages.back().text, "Communication Delay time error !");
    delay->setText("60000");
    for (const char* bad : {"00", "100"}) {
        id->setEditText(bad);
        apply->click();
        EXPECT_EQ(app.host.messages.back().text, "Wrong Device ID !") << bad;
    }
    id->setEditText("");
    id->setFocus();
    QTest::keyClicks(id, "fg;f"); // typed into the box itself, as the keyboard does
    EXPECT_EQ(id->currentText(), "FF");
    const auto messages = app.host.messages.size();
    apply->click();
    EXPECT_EQ(app.host.messages.size(), messages);
    EXPECT_EQ(app.ctx.session.state().DeviceId, 255);
    EXPECT_EQ(app.ctx.session.state().TimeoutMs, 50);
    EXPECT_EQ(app.host.lastStatus(StatusPanel::SlaveId), "Device ID(Hex) : FF");
    EXPECT_FALSE(apply->isEnabled());
}

TEST(CommSetupWindow, SearchListsOneUnitAndStopsHalfWay)
{
    App app;
    app.addUnit(3, MachineType::TQ);
    app.addUnit(10, MachineType::DQ);
    app.addUnit(40, MachineType::CQ);
    CommSetupDialog dialog(app.ctx, &app.window);
    dialog.show();
    dialog.findChild<QRadioButton*>("OptModeSelect1")->setChecked(true);
    auto* stopButton = dialog.findChild<QPushButton*>("cmdStop");
    auto* autoId = dialog.findChild<QLineEdit*>("txtDeviceID_Auto");
    bool stopWasEnabled = false;
    bool okWasDisabled = false;
    app.host.onEvents = [&] {
        QApplication::processEvents();
        if (autoId->text() == "20") { // ID 0x20 = 32
            stopWasEnabled = stopButton->isEnabled();
            okWasDisabled = !dialog.findChild<QPushButton*>("cmdOK")->isEnabled();
            stopButton->click();
        }
    };
    dialog.findChild<QPushButton*>("cmdSearch")->click();
    EXPECT_TRUE(stopWasEnabled);
    EXPECT_TRUE(okWasDisabled);
    auto* found = dialog.findChild<QComboBox*>("cboAddress_Auto");
    ASSERT_EQ(found->count(), 1);
    EXPECT_EQ(found->itemText(0), "03 : LT-48TQ Timer");
    EXPECT_EQ(autoId->text(), "03");
    EXPECT_TRUE(app.host.messages.empty());
    EXPECT_FALSE(stopButton->isEnabled());
    EXPECT_FALSE(app.ctx.session.portIsOpen());
}

TEST(Editor, OpenFromTheCommandLineSaveAsAndTheCloseQuestion)
{
    App app;
    SettingsDocument doc(MachineType::CQ);
    doc.selectFunctionMode(4);
    SettingsImage image;
    ASSERT_EQ(doc.write(image), 0);
    const std::string file = (app.dir / "COUNTER.ZQS").string();
    ASSERT_EQ(SaveImageToFile(file, image), 0);
    app.window.openFromCommandLine(QString::fromStdString(app.dir.string() + "/notes.txt"));
    EXPECT_EQ(app.window.editor(), nullptr);
    app.window.openFromCommandLine(QString::fromStdString(file));
    ASSERT_NE(app.window.editor(), nullptr);
    EXPECT_EQ(app.window.editor()->windowTitle(), "COUNTER.ZQS");
    EXPECT_EQ(app.ctx.document.functionMode(), 4);
    EXPECT_TRUE(app.host.messages.empty());

    // Save As over the existing file, answered Cancel: nothing written, no more messages.
    app.ctx.fileState.settingsChanged = true;
    const auto before = fs::last_write_time(file);
    app.dialogs.answers = {file};
    app.host.answers = {MessageAnswer::Cancel};
    app.window.editor()->mSaveAs_Click();
    EXPECT_EQ(fs::last_write_time(file), before);
    EXPECT_EQ(app.host.messages.back().text, "The file exists. Do you want to replace it ?");
    EXPECT_TRUE(app.ctx.fileState.settingsChanged);

    // The close question: Cancel keeps the editor, No closes it.
    app.host.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(app.window.editor()->requestClose());
    EXPECT_NE(app.window.editor(), nullptr);
    app.host.answers = {MessageAnswer::No};
    EXPECT_TRUE(app.window.editor()->requestClose());
    QApplication::processEvents();
    EXPECT_FALSE(app.window.toolButton("Save")->isVisible());
}

TEST(MainWindow, ExitAsksFirst)
{
    App app;
    app.host.answers = {MessageAnswer::No};
    EXPECT_FALSE(app.window.close());
    EXPECT_EQ(app.host.messages.back().text, "Are you sure to exit  ?");
    EXPECT_TRUE(app.window.isVisible());
    app.host.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(app.window.close());
}

TEST(MainWindow, TheMonitorTakesTheToolBarAndGivesItBack)
{
    App app;
    app.addUnit(1, MachineType::TQ);
    app.window.showMonitor();
    auto* monitor = app.window.findChild<QWidget*>("frmMonitoring");
    ASSERT_NE(monitor, nullptr);
    EXPECT_FALSE(app.window.findChild<QToolBar*>("Toolbar1")->isEnabled());
    monitor->parentWidget()->close();
    EXPECT_TRUE(app.window.findChild<QToolBar*>("Toolbar1")->isEnabled());
}

TEST(Application, ScreenshotSavesThePictureAndQuits)
{
    const fs::path picture = fs::temp_directory_path() / ("lumetra-shot-" + std::to_string(::getpid()) + ".png");
    test::Process app({LUMETRA_GUI_PATH, "--screenshot", picture.string()});
    test::ProcessResult r;
    const bool ended = app.endsWithin(20'000, r);
    EXPECT_TRUE(ended) << "still running: the exit question waits for an answer";
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GT(fs::exists(picture) ? fs::file_size(picture) : 0, 1000u);
    fs::remove(picture);
}

TEST(MainWindow, TheWindowsFitTheScreen)
{
    App app;
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    EXPECT_LE(app.window.frameGeometry().height(), screen.height());
    EXPECT_LE(app.window.frameGeometry().width(), screen.width());
    clickInNextDialog("cmdOK");
    app.window.newSetting();
    const QSize room = app.find<QMdiArea>("MDIArea")->viewport()->size();
    const QWidget* editor = app.window.editor()->parentWidget();
    EXPECT_LE(editor->height(), room.height());
    EXPECT_LE(editor->width(), room.width());
    app.addUnit(1, MachineType::TQ);
    app.window.showMonitor();
    const QWidget* monitor = app.window.findChild<QWidget*>("frmMonitoring")->parentWidget();
    EXPECT_LE(monitor->height(), room.height());
}

TEST(MainWindow, AboutShowsTheProjectVersionWithSpacedPoints)
{
    App app;
    QTimer::singleShot(0, [] {
        QWidget* about = QApplication::activeModalWidget();
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->objectName(), "frmAbout");
        EXPECT_EQ(about->findChild<QLabel*>("lblVersion")->text(), "Version : " + QString(kVersionText).replace(".", " . "));
    });
    clickInNextDialog("cmdOK");
    app.window.showAbout();
}
