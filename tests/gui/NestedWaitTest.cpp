// The desktop application with its own host: real message boxes and waits
// that run nested event loops, over a real pseudo-terminal. What the user
// does while a transaction waits must neither crash the program nor leave a
// message behind.

#include "NoDialogs.h"
#include "ServedLine.h"

#include "MainWindow.h"
#include "MonitorWindow.h"
#include "QtHost.h"

#include "platform/PortTable.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

using namespace lumetra;
using namespace lumetra::gui;
namespace fs = std::filesystem;

namespace {

// Answers every message box that comes up and remembers its text.
class BoxAnswerer {
public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer) : m_answer(answer)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box == m_last)
                return;
            m_last = box;
            texts.push_back(box->text().toStdString());
            QAbstractButton* b = box->button(m_answer);
            (b ? b : box->buttons().value(0))->click();
        });
        m_timer.start(10);
    }
    std::vector<std::string> texts;

private:
    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
    QPointer<QMessageBox> m_last;
};

// The application as it runs: its own host, a unit on a real line.
struct RealApp {
    fs::path dir = fs::temp_directory_path() / ("lumetra-nested-" + std::to_string(::getpid()));
    test::ServedLine served{Protocol::Ascii};
    QtHost host;
    test::NoDialogs dialogs;
    AppContext ctx;
    MainWindow window;

    RealApp()
        : ctx(host, LanguageId::English, [this](int) { return makeDevicePort(served.path()); }, AppFolders{dir.string()}, dialogs),
          window(ctx, dir.string())
    {
        fs::create_directories(dir);
        served.line().addUnit(1, MachineType::TQ);
        served.start();
        host.setMainWindow(&window, window.statusPanels());
        ctx.session.state().TimeoutMs = 2000; // far longer than anything a test waits for
        window.show();
    }
    ~RealApp() { fs::remove_all(dir); }

    MonitorWindow* openMonitor()
    {
        window.showMonitor();
        return window.findChild<MonitorWindow*>("frmMonitoring");
    }
    static void click(QWidget* window, const char* button) { window->findChild<QPushButton*>(button)->click(); }
    static void settle()
    {
        for (int i = 0; i < 5; ++i) {
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
        }
    }
};

} // namespace

TEST(NestedWaits, StopAndReturnWhileTheStartWaitsForASilentSlave)
{
    RealApp app;
    app.ctx.session.state().DeviceId = 9; // nobody answers there
    QPointer<MonitorWindow> monitor = app.openMonitor();
    ASSERT_TRUE(monitor);
    BoxAnswerer boxes(QMessageBox::Ok);
    // The user presses STOP and then RETURN while the first read waits.
    QTimer::singleShot(100, [&] {
        RealApp::click(monitor, "cmdMonitorStop");
        RealApp::click(monitor, "cmdRetrun");
    });
    RealApp::click(monitor, "cmdMonitorStart");
    RealApp::settle();
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front(); // a stopped read ends without a message
    EXPECT_FALSE(monitor); // RETURN closed the window once nothing of it was running
    EXPECT_FALSE(app.ctx.session.portIsOpen());
    EXPECT_FALSE(app.ctx.session.state().quietMode);
    EXPECT_TRUE(app.window.findChild<QWidget*>("Toolbar1")->isEnabled());
}

TEST(NestedWaits, ClosingTheMonitorWhileACycleWaits)
{
    RealApp app;
    QPointer<MonitorWindow> monitor = app.openMonitor();
    RealApp::click(monitor, "cmdMonitorStart");
    ASSERT_TRUE(monitor->polling());
    app.ctx.session.state().DeviceId = 9;
    BoxAnswerer boxes(QMessageBox::Ok);
    // The window's own close box, pressed while a cycle waits: the cycle
    // still has its last steps to run when the wait ends.
    QTimer::singleShot(150, [&] { monitor->parentWidget()->close(); });
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000 && monitor)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(monitor);
    EXPECT_LT(clock.elapsed(), 1000); // the wait was not sat out
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_FALSE(app.ctx.session.portIsOpen());
    EXPECT_FALSE(app.ctx.session.state().quietMode);
}

TEST(NestedWaits, ExitWhilePollingWaitsStopsAtOnceWithoutAMessage)
{
    RealApp app;
    QPointer<MonitorWindow> monitor = app.openMonitor();
    RealApp::click(monitor, "cmdMonitorStart");
    ASSERT_TRUE(monitor->polling());
    app.ctx.session.state().DeviceId = 9; // nobody answers there: every cycle now waits its full time-out
    BoxAnswerer boxes(QMessageBox::Yes);
    bool closed = false;
    QElapsedTimer sinceClose;
    // The user closes the main window while a cycle waits for its reply.
    QTimer::singleShot(150, [&] {
        closed = app.window.close();
        sinceClose.start();
    });
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000 && !closed)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    // Back here, the cycle that waited has returned.
    EXPECT_TRUE(closed);
    EXPECT_LT(sinceClose.elapsed(), 1000); // the wait was not sat out
    RealApp::settle();
    ASSERT_EQ(boxes.texts.size(), 1u) << testing::PrintToString(boxes.texts);
    EXPECT_EQ(boxes.texts[0], "Are you sure to exit  ?");
    EXPECT_FALSE(app.ctx.session.portIsOpen());
    EXPECT_FALSE(monitor && monitor->polling());
}
