#include "QtHost.h"

#include "comm/SerialPort.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <optional>

namespace lumetra::gui {

QtHost::QtHost() { m_clock.start(); }

void QtHost::setMainWindow(QWidget* window, QLabel* const (&panels)[4])
{
    m_window = window;
    for (int i = 0; i < 4; ++i)
        m_panels[i] = panels[i];
}

MessageAnswer QtHost::showMessage(const Message& message)
{
    QMessageBox box(m_window);
    box.setText(QString::fromStdString(message.text));
    box.setWindowTitle(QString::fromStdString(message.title));
    if (!message.detail.empty())
        box.setInformativeText(QString::fromStdString(message.detail));
    switch (message.icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    switch (message.buttons) {
    case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: return MessageAnswer::Ok;
    }
}

void QtHost::setStatusPanel(int panel, const std::string& text)
{
    if (panel >= 1 && panel <= 4 && m_panels[panel - 1])
        m_panels[panel - 1]->setText(QString::fromStdString(text));
}

void QtHost::lockControls(FormId)
{
    if (m_window)
        m_window->setEnabled(false);
}

void QtHost::unlockControls(FormId)
{
    if (m_window)
        m_window->setEnabled(true);
}

std::int64_t QtHost::tickMs() { return m_clock.elapsed(); }

void QtHost::sleepMs(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

void QtHost::processEvents() { QCoreApplication::processEvents(); }

void QtHost::runEventsFor(int ms)
{
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void QtHost::waitForPort(SerialPort& port, int ms)
{
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    const int fd = port.pollFd();
    long wait = ms;
    if (fd < 0) {
        const long due = port.msUntilReadable();
        if (due >= 0 && due < wait)
            wait = due;
    }
    deadline.start(static_cast<int>(wait));
    std::optional<QSocketNotifier> readable;
    if (fd >= 0) {
        readable.emplace(fd, QSocketNotifier::Read);
        QObject::connect(&*readable, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    }
    m_portWaits.push_back({&loop, readable ? &*readable : nullptr});
    loop.exec();
    std::erase_if(m_portWaits, [&loop](const PortWait& w) { return w.loop == &loop; });
}

void QtHost::interruptPortWaits()
{
    for (const PortWait& w : m_portWaits) {
        if (w.readable)
            w.readable->setEnabled(false); // its descriptor is about to be closed
        w.loop->quit();
    }
}

} // namespace lumetra::gui
