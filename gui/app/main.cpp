// lumetra: the desktop application.

#include "MainWindow.h"
#include "QtHost.h"

#include "comm/CommSession.h"
#include "platform/PortTable.h"
#include "text/StringTable.h"

#include <QApplication>

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
    window.show();
    return app.exec();
}
