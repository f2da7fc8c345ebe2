// The monitor window offscreen against in-process units on a fake clock.

#include "LineRig.h"
#include "NoDialogs.h"
#include "TestDocuments.h"

#include "LoggingDialog.h"
#include "MainWindow.h"
#include "MonitorWindow.h"

#include "transfer/TransferRun.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

using namespace lumetra;
using namespace lumetra::gui;
namespace fs = std::filesystem;

namespace {

std::tm fixedTime()
{
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 5;
    t.tm_hour = 23;
    t.tm_min = 59;
    t.tm_sec = 58;
    return t;
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A unit loaded with a document, its present values frozen, and a monitor window on it.
struct MonitorApp : test::LineRig {
    test::NoDialogs dialogs;
    AppContext ctx;
    PanelBitmaps bitmaps;
    sim::VirtualUnit& unit;
    MonitorWindow window;
    std::string logPath = (fs::temp_directory_path() / ("lumetra-monlog-" + std::to_string(::getpid()) + ".txt")).string();

    MonitorApp(MachineType type, int mode)
        : ctx(host, LanguageId::English, [this](int) { return std::make_unique<sim::LoopbackPort>(line, [this] { return host.now; }); },
              AppFolders{fs::temp_directory_path().string()}, dialogs),
          unit(addUnit(1, type)), window(ctx, bitmaps, fixedTime)
    {
        SettingsDocument doc = test::validDocument(type, mode, 4);
        TransferProgress progress;
        unit.setRestartMs(0);
        EXPECT_EQ(runTransfer(ctx.session, OperationKind::Download, downloadTarget(doc), doc, progress), 0);
        unit.setPresentValuesRunning(false);
        host.messages.clear();
        window.show();
    }
    ~MonitorApp() { fs::remove(logPath); }
};

} // namespace

TEST(PanelBitmaps, EveryNameIsDrawnAtItsSize)
{
    PanelBitmaps bitmaps;
    for (const std::string& name : bitmapNames()) {
        const QPixmap& p = bitmaps.bitmap(QString::fromStdString(name));
        EXPECT_FALSE(p.isNull()) << name;
    }
    EXPECT_EQ(bitmaps.bitmap("image_7").size(), QSize(100, 180));
    EXPECT_EQ(bitmaps.bitmap("IMAGE_DPCOL_2").size(), QSize(18, 175));
    EXPECT_EQ(bitmaps.bitmap("Image_Week_1010101").size(), QSize(1044, 140));
    EXPECT_EQ(bitmaps.bitmap("IMAGE_TIMERMODE_6").size(), QSize(83, 388));
    EXPECT_EQ(bitmaps.bitmap("IMAGE_RETURN_D").size(), QSize(151, 60));
    EXPECT_TRUE(bitmaps.bitmap("IMAGE_WEEK_1111111").isNull());
    const int cached = bitmaps.cached();
    bitmaps.bitmap("image_7");
    EXPECT_EQ(bitmaps.cached(), cached); // drawn once, then kept
    EXPECT_NE(bitmaps.bitmap("IMAGE_8").toImage(), bitmaps.bitmap("IMAGE_0").toImage());
}

TEST(MonitorWindow, StartOnEachTypeShowsDescriptionAndDigits)
{
    for (const auto& [type, mode] : std::vector<std::pair<MachineType, int>>{{MachineType::DQ, 0}, {MachineType::TQ, 0}, {MachineType::CQ, 3}}) {
        SCOPED_TRACE(machineTypeName(type));
        MonitorApp app(type, mode);
        EXPECT_EQ(app.window.shownBitmap("image_char_A(0)"), "IMAGE_99"); // cleared at load
        EXPECT_EQ(app.window.shownBitmap("T_image_DPCol_B(1)"), "IMAGE_DPCOL_0");
        app.window.cmdMonitorStart_Click();
        ASSERT_TRUE(app.window.polling());
        EXPECT_EQ(app.window.findChild<QPushButton*>("cmdMonitorStart")->isEnabled(), false);
        const std::string description = app.window.monitor().descriptionA();
        EXPECT_EQ(description.substr(0, 11), "Type :   : ");
        const std::uint16_t present = type == MachineType::DQ ? 0x04A0 : type == MachineType::TQ ? 0x0502 : 0x0924;
        app.unit.setRegister(present, 0x1234);
        app.unit.setRegister(static_cast<std::uint16_t>(present + 2), 0x0056);
        ASSERT_EQ(app.window.monitor().Timer1_monitor(), 0);
        EXPECT_EQ(app.window.shownBitmap("image_char_A(5)"), "IMAGE_4"); // the last digit of 1234 in every layout
        EXPECT_EQ(app.window.shownBitmap("image_char_A(2)"), type == MachineType::DQ ? "IMAGE_5" : "IMAGE_1");
        EXPECT_FALSE(app.window.shownBitmap("image_week").isEmpty());
        app.window.cmdMonitorStop_Click();
        EXPECT_FALSE(app.window.polling());
        EXPECT_FALSE(app.ctx.session.portIsOpen());
        EXPECT_TRUE(app.host.messages.empty());
    }
}

TEST(MonitorWindow, ASilentUnitFreezesThePictureAndLogsErrors)
{
    MonitorApp app(MachineType::DQ, 0);
    app.window.cmdMonitorStart_Click();
    ASSERT_EQ(app.window.monitor().Timer1_monitor(), 0);
    const QString before = app.window.shownBitmap("image_char_B(4)");
    ASSERT_TRUE(app.window.startLog(app.logPath, 1, 1, true));
    app.window.Timer1_log_Timer();
    app.unit.faults().silent = true;
    app.window.monitor().Timer1_monitor();
    EXPECT_TRUE(app.window.monitor().readFailed());
    EXPECT_EQ(app.window.shownBitmap("image_char_B(4)"), before);
    app.window.Timer1_log_Timer();
    app.window.mLogoff_Click();
    const std::string log = readAll(app.logPath);
    EXPECT_EQ(log.substr(0, log.find("\r\n")).substr(0, 21), "12/5/2026 23:59:58,00");
    EXPECT_NE(log.find("12/5/2026 23:59:58,Error!\r\n"), std::string::npos) << log;
    EXPECT_TRUE(app.host.messages.empty());
}

TEST(MonitorWindow, ALogThatCannotBeWrittenIsTurnedOffWithItsReason)
{
    MonitorApp app(MachineType::CQ, 3);
    app.window.cmdMonitorStart_Click();
    ASSERT_EQ(app.window.monitor().Timer1_monitor(), 0);
    ASSERT_TRUE(app.window.startLog(app.logPath, 1, 1, false));
    // A file size limit plays the full disk for a moment: the first line fits, the second does not.
    rlimit before{};
    ::getrlimit(RLIMIT_FSIZE, &before);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit full{40, before.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &full), 0);
    app.window.Timer1_log_Timer();
    app.window.Timer1_log_Timer();
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_EQ(app.host.messages.size(), 1u);
    EXPECT_EQ(app.host.messages[0].text, "Failed to save the file!");
    EXPECT_EQ(app.host.messages[0].title, "Error");
    EXPECT_EQ(app.host.messages[0].detail, app.logPath + ": File too large");
    EXPECT_FALSE(app.window.log().logging());
    EXPECT_TRUE(app.window.findChild<QAction*>("mLogging")->isEnabled());
    EXPECT_FALSE(app.window.findChild<QAction*>("mLogoff")->isEnabled());
    app.window.Timer1_log_Timer(); // logging is off: said once
    EXPECT_EQ(app.host.messages.size(), 1u);
    EXPECT_TRUE(app.window.monitor().running()); // the monitor goes on
}

TEST(MonitorWindow, StopInTheMiddleOfACycle)
{
    MonitorApp app(MachineType::TQ, 0);
    app.window.cmdMonitorStart_Click();
    app.unit.faults().slowPieces = 2;
    app.host.maxWaitStepMs = 5;
    bool clicked = false;
    app.host.onEvents = [&] {
        if (app.window.monitor().cycleRunning() && !clicked) {
            clicked = true;
            app.window.findChild<QPushButton*>("cmdMonitorStop")->click();
        }
    };
    const QString before = app.window.shownBitmap("image_char_A(0)");
    app.window.monitor().Timer1_monitor();
    EXPECT_TRUE(clicked);
    EXPECT_FALSE(app.window.monitor().running());
    EXPECT_FALSE(app.window.polling());
    EXPECT_EQ(app.window.shownBitmap("image_char_A(0)"), before);
    EXPECT_TRUE(app.window.findChild<QPushButton*>("cmdMonitorStart")->isEnabled());
}

TEST(MonitorWindow, ScanRateValidationAndEachDelimiter)
{
    MonitorApp app(MachineType::CQ, 5);
    LoggingDialog dialog(app.ctx, app.ctx.logSettings, &app.window);
    dialog.show();
    auto* rate = dialog.findChild<QLineEdit*>("txtScanRate");
    EXPECT_EQ(rate->text(), "1");
    rate->clear();
    QTest::keyClicks(rate, "a0b");
    EXPECT_EQ(rate->text(), "0");
    EXPECT_FALSE(dialog.ok());
    EXPECT_EQ(app.host.messages.back().text, "Please enter an integer between 1 and 3600.");
    rate->setText("3601");
    EXPECT_FALSE(dialog.ok());
    rate->setText("");
    EXPECT_FALSE(dialog.ok());
    rate->setText("60");
    EXPECT_TRUE(dialog.ok());
    EXPECT_EQ(dialog.scanRate(), 60);

    app.window.cmdMonitorStart_Click();
    const std::pair<int, std::string> delimiters[] = {{0, "     "}, {1, ","}, {2, "\t"}};
    for (const auto& [index, text] : delimiters) {
        ASSERT_TRUE(app.window.startLog(app.logPath, 1, index, false));
        app.window.monitor().Timer1_monitor();
        app.window.Timer1_log_Timer();
        app.window.mLogoff_Click();
        const std::string line = readAll(app.logPath);
        const std::string a = app.window.monitor().valueTextA();
        const std::string b = app.window.monitor().valueTextB(); // the total count
        ASSERT_FALSE(b.empty());
        EXPECT_EQ(line, "12/5/2026 23:59:58" + text + a + text + b + "\r\n") << index;
    }
}
