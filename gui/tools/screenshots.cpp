// Takes the pictures of the user guide and the README: the desktop windows
// against the demonstration line, in each language. Run it under a display
// (xvfb-run); it writes PNG files into the folder it is given.

#include "CommSetupDialog.h"
#include "EditorWindow.h"
#include "MainWindow.h"
#include "MonitorWindow.h"
#include "QtFileDialogs.h"
#include "QtHost.h"
#include "TransferDialog.h"
#include "TypeSelectDialog.h"

#include "DemoLine.h"
#include "LineServer.h"
#include "platform/PortTable.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <ctime>
#include <thread>

using namespace lumetra;
using namespace lumetra::gui;

namespace {
// Messages would wait for a click: here they are taken as read.
class ShotHost : public QtHost {
public:
    MessageAnswer showMessage(const Message& m) override
    {
        switch (m.buttons) {
        case MessageButtons::Ok: return MessageAnswer::Ok;
        case MessageButtons::OkCancel: return MessageAnswer::Cancel;
        default: return MessageAnswer::No; // questions: leave things as they are
        }
    }
};

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void save(QWidget& w, const QString& path)
{
    if (!w.grab().save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? argv[1] : ".";
    sim::VirtualLine line(Protocol::Ascii, PortSettings{});
    sim::populateDemoLine(line);
    sim::LineServer server(line);
    std::string error;
    if (!server.servePty({}, error))
        return 1;
    std::thread serving([&] { server.run(); });
    const std::string device = server.ptyPath();

    for (const auto& [language, suffix] : {std::pair{LanguageId::English, QString("en")}, std::pair{LanguageId::TraditionalChinese, QString("zh_TW")},
                                           std::pair{LanguageId::SimplifiedChinese, QString("zh_CN")}}) {
        ShotHost host;
        QtFileDialogs dialogs;
        AppContext ctx(host, language, [&](int n) { return n == 1 ? makeDevicePort(device) : nullptr; }, AppFolders{"/tmp"}, dialogs);
        ctx.portDevice = [&](int n) { return n == 1 ? device : std::string(); };
        MainWindow window(ctx, "/tmp");
        host.setMainWindow(&window, window.statusPanels());
        ctx.session.UpdateCommStatus();
        window.resize(1280, 720);
        window.show();
        wait(200);

        // An editor filled by an upload from the DQ unit.
        window.upload();
        wait(300);
        save(window, out + "/main-" + suffix + ".png");
        if (language != LanguageId::English)
            continue;

        // Editors in several modes.
        const auto editor = [&](SettingsDocument doc, const QString& name) {
            if (window.editor())
                window.editor()->requestClose();
            wait(50);
            ctx.document = doc;
            ctx.fileState = FileState();
            window.openEditor();
            wait(200);
            save(window, out + "/editor-" + name + ".png");
        };
        SettingsDocument twoStage(MachineType::DQ);
        twoStage.selectFunctionMode(5);
        twoStage.dq().lblTimerSetting_T_Dual_0.setDigits("000120");
        twoStage.dq().lblTimerSetting_T_Dual_1.setDigits("000300");
        editor(twoStage, "DQ-2-stage-timer");
        SettingsDocument flicker(MachineType::TQ);
        flicker.selectFunctionMode(0);
        flicker.tqcq().cboTimerRange_A_TQ = 3;
        flicker.tqcq().cboOutputMode_A_TQ = 9;
        flicker.tqcq().lblTimerSetting_A_TQ.setDigits("001530");
        flicker.tqcq().lblDutyRatio_A_TQ.setDigits("050000");
        editor(flicker, "TQ-timer-flicker");
        SettingsDocument batch(MachineType::CQ);
        batch.selectFunctionMode(6);
        batch.tqcq().cboDotAdj_Comm_CQ = 1;
        batch.tqcq().lblCounterSetting_batch_1_CQ.setDigits("-01500");
        batch.tqcq().lblCounterSetting_batch_2_CQ.setDigits("000012");
        editor(batch, "CQ-batch-counter");
        SettingsDocument dual(MachineType::CQ);
        dual.selectFunctionMode(7);
        dual.tqcq().lblCounterSetting_batch_1_CQ.setDigits("002500");
        editor(dual, "CQ-dual-counter");
        SettingsDocument counters(MachineType::DQ);
        counters.selectFunctionMode(4);
        counters.dq().lblCounterSetting_C_Dual_0.setDigits("000500");
        counters.dq().lblCounterSetting_C_Dual_1.setDigits("001200");
        editor(counters, "DQ-two-counters");
        window.upload();

        TypeSelectDialog types(ctx, &window);
        types.show();
        wait(100);
        save(types, out + "/type-selection.png");
        types.close();

        // The settings window while it searches.
        ctx.session.state().TimeoutMs = 60;
        CommSetupDialog comm(ctx, &window);
        comm.show();
        comm.findChild<QRadioButton*>("OptModeSelect1")->setChecked(true);
        QTimer::singleShot(600, [&] {
            save(comm, out + "/comm-settings-search.png");
            comm.findChild<QPushButton*>("cmdStop")->click();
        });
        comm.search();
        comm.close();
        ctx.session.state().TimeoutMs = 1000;

        // The progress window of a download (it runs about 13 s).
        ctx.session.state().DeviceId = 2;
        window.upload();
        TransferDialog progress(ctx, OperationKind::Download, downloadTarget(ctx.document), &window);
        QTimer::singleShot(2500, [&] { save(progress, out + "/progress-download.png"); });
        progress.exec();

        // The monitor of a unit of each type, running.
        PanelBitmaps bitmaps;
        const std::pair<int, QString> units[] = {{1, "DQ"}, {2, "TQ"}, {3, "CQ"}};
        for (const auto& [id, name] : units) {
            ctx.session.state().DeviceId = id;
            MonitorWindow monitor(ctx, bitmaps, [] {
                const std::time_t t = std::time(nullptr);
                std::tm local{};
                localtime_r(&t, &local);
                return local;
            });
            monitor.resize(1000, 700);
            monitor.show();
            monitor.cmdMonitorStart_Click();
            wait(1500);
            save(monitor, out + "/monitor-" + name + ".png");
            monitor.cmdMonitorStop_Click();
        }
    }
    server.stop();
    serving.join();
    return 0;
}
