#pragma once

#include "comm/Host.h"

#include <QElapsedTimer>
#include <QPointer>

#include <vector>

class QEventLoop;
class QSocketNotifier;
class QStatusBar;
class QWidget;
class QLabel;

namespace lumetra::gui {

// The desktop application's host: message boxes, the four status panels,
// and waits that run a nested event loop, so timers and clicks keep being
// handled while a transaction waits for its reply.
class QtHost : public Host {
public:
    QtHost();

    // The window whose status bar and controls the host drives; may be null.
    void setMainWindow(QWidget* window, QLabel* const (&panels)[4]);

    MessageAnswer showMessage(const Message& message) override;
    void setStatusPanel(int panel, const std::string& text) override;
    void lockControls(FormId form) override;
    void unlockControls(FormId form) override;
    std::int64_t tickMs() override;
    void sleepMs(int ms) override;
    void processEvents() override;
    void runEventsFor(int ms) override;
    void waitForPort(SerialPort& port, int ms) override;
    void interruptPortWaits() override;

private:
    // A wait in progress: its loop and the notifier on the port's descriptor.
    struct PortWait {
        QEventLoop* loop;
        QSocketNotifier* readable;
    };
    std::vector<PortWait> m_portWaits;
    QElapsedTimer m_clock;
    QPointer<QWidget> m_window;
    QPointer<QLabel> m_panels[4];
};

} // namespace lumetra::gui
