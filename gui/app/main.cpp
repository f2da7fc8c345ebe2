// lumetra: the desktop application.

#include "MainWindow.h"
#include "QtFileDialogs.h"
#include "QtHost.h"
#include "SplashWindow.h"

#include "DemoLine.h"
#include "LineServer.h"
#include "platform/ExclusiveTerminals.h"
#include "platform/PortTable.h"
#include "Version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <thread>

using namespace lumetra;
using namespace lumetra::gui;

namespace {
// Where the help guides are: beside the program, or where it was installed.
std::string helpFolder()
{
    const QString beside = QCoreApplication::applicationDirPath() + "/help";
    if (QDir(beside).exists())
        return beside.toStdString();
    return (QCoreApplication::applicationDirPath() + "/../share/lumetra/help").toStdString();
}
} // namespace

int main(int argc, char** argv)
{
    releaseExclusiveTerminalsOnSignals();
    // The version answers before the toolkit looks for a display, so it works on any terminal.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::printf("lumetra %s\n", kVersionText);
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Lumetra");
    QApplication::setApplicationVersion(kVersionText);

    QCommandLineParser options;
    options.setApplicationDescription("Set up and monitor panel timers and counters on a serial line.");
    options.addHelpOption();
    options.addOption(QCommandLineOption({"v", "version"}, "Displays version information."));
    const QCommandLineOption demo("demo", "Start a virtual line with a unit of each type (IDs 1 DQ, 2 TQ, 3 CQ, 4 XQ) on COM1.");
    const QCommandLineOption com("com", "Map a port number to a device, e.g. 1=/dev/ttyUSB0 (repeatable).", "N=DEVICE");
    const QCommandLineOption lang("lang", "Language: en, zh_TW or zh_CN (default: from the locale).", "LANG");
    const QCommandLineOption screenshot("screenshot", "Save a picture of the main window to FILE and quit.", "FILE");
    const QCommandLineOption noSplash("no-splash", "Start without the splash window.");
    options.addOptions({demo, com, lang, screenshot, noSplash});
    options.addPositionalArgument("file", "A settings file (.zqs) to open.");
    options.process(app);

    LanguageId language = languageFromEnvironment();
    if (options.isSet(lang))
        parseLanguage(options.value(lang).toStdString(), language);

    PortTable ports = PortTable::detect();
    for (const QString& mapping : options.values(com))
        ports.mapFromText(mapping.toStdString());

    // The demonstration line runs beside the application, on a pseudo-terminal.
    sim::VirtualLine demoLine(Protocol::Ascii, PortSettings{});
    sim::LineServer demoServer(demoLine);
    std::thread demoThread;
    if (options.isSet(demo)) {
        sim::populateDemoLine(demoLine);
        std::string error;
        if (demoServer.servePty({}, error)) {
            ports.map(1, demoServer.ptyPath());
            demoThread = std::thread([&] { demoServer.run(); });
        } else {
            std::fprintf(stderr, "lumetra: %s\n", error.c_str());
        }
    }

    const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const AppFolders folders = AppFolders::locate(QCoreApplication::applicationDirPath().toStdString(), userData.toStdString());
    QtHost host;
    QtFileDialogs dialogs;
    AppContext ctx(host, language, [&ports](int n) { return makeDevicePort(ports.device(n)); }, folders, dialogs);
    ctx.portDevice = [&ports](int n) { return ports.device(n); };

    MainWindow window(ctx, helpFolder());
    dialogs.setParent(&window);
    host.setMainWindow(&window, window.statusPanels());
    ctx.session.UpdateCommStatus();

    const auto showMain = [&] {
        window.show();
        if (!options.positionalArguments().isEmpty())
            window.openFromCommandLine(options.positionalArguments().join(' '));
    };
    SplashWindow splash(showMain);
    if (options.isSet(noSplash) || options.isSet(screenshot))
        showMain();
    else
        splash.show();

    if (options.isSet(screenshot)) {
        // Leaves without closing the windows: closing would ask the exit question.
        QTimer::singleShot(800, &window, [&] {
            const bool saved = window.grab().save(options.value(screenshot));
            if (!saved)
                std::fprintf(stderr, "lumetra: cannot write %s\n", qPrintable(options.value(screenshot)));
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    const int rc = app.exec();
    if (demoThread.joinable()) {
        demoServer.stop();
        demoThread.join();
    }
    return rc;
}
