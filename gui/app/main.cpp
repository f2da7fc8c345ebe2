// lumetra: the desktop application.

#include "MainWindow.h"
#include "QtHost.h"

#include "comm/CommSession.h"
#include "platform/PortTable.h"
#include "text/StringTable.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    lumetra::gui::MainWindow window;
    lumetra::gui::QtHost host;
    host.setMainWindow(&window, window.statusPanels());
    lumetra::StringTable strings(lumetra::languageFromEnvironment());
    const lumetra::PortTable ports = lumetra::PortTable::detect();
    lumetra::CommSession session(host, strings, [&ports](int n) { return lumetra::makeDevicePort(ports.device(n)); });
    session.UpdateCommStatus();

    QCommandLineParser options;
    options.addHelpOption();
    const QCommandLineOption screenshot("screenshot", "Save a picture of the main window to FILE and quit.", "FILE");
    options.addOption(screenshot);
    options.process(app);

    window.show();
    if (options.isSet(screenshot)) {
        QTimer::singleShot(500, &window, [&] {
            window.grab().save(options.value(screenshot));
            app.quit();
        });
    }
    return app.exec();
}
