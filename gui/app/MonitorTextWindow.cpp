#include "MonitorTextWindow.h"

#include "monitor/TextPanel.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace lumetra::gui {

MonitorTextWindow::MonitorTextWindow(AppContext& ctx)
    : m_ctx(ctx), m_monitor(ctx.session), m_poll(new QTimer(this)), m_descriptionA(new QPlainTextEdit(this)),
      m_descriptionB(new QPlainTextEdit(this)), m_panels(new QPlainTextEdit(this))
{
    setObjectName("frmMonitoring");
    setWindowTitle(uiText(ctx, 149));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    QFont mono("monospace");
    mono.setStyleHint(QFont::Monospace);
    mono.setPointSize(11);
    m_panels->setFont(mono);
    m_panels->setReadOnly(true);
    m_panels->setMinimumHeight(220);
    layout->addWidget(m_panels);
    auto* texts = new QHBoxLayout;
    for (QPlainTextEdit* t : {m_descriptionA, m_descriptionB}) {
        t->setReadOnly(true);
        texts->addWidget(t);
    }
    m_descriptionA->setObjectName("txtInformation_A");
    m_descriptionB->setObjectName("txtInformation_B");
    layout->addLayout(texts);
    auto* buttons = new QHBoxLayout;
    m_start = new QPushButton("Start", this);
    m_start->setObjectName("cmdMonitorStart");
    m_stop = new QPushButton(uiText(ctx, 123), this);
    m_stop->setObjectName("cmdMonitorStop");
    m_return = new QPushButton(uiText(ctx, 244), this);
    m_return->setObjectName("cmdRetrun");
    for (QPushButton* b : {m_start, m_stop, m_return})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    m_stop->setEnabled(false);
    m_poll->setInterval(5);
    connect(m_poll, &QTimer::timeout, this, [this] { m_monitor.Timer1_monitor(); });
    m_monitor.onDraw = [this] { draw(); };
    connect(m_start, &QPushButton::clicked, this, [this] { start(); });
    connect(m_stop, &QPushButton::clicked, this, [this] { stop(); });
    connect(m_return, &QPushButton::clicked, this, [this] { parentWidget() ? parentWidget()->close() : close(); });
    draw();
}

MonitorTextWindow::~MonitorTextWindow() { m_monitor.onDraw = nullptr; }

void MonitorTextWindow::start()
{
    m_start->setEnabled(false);
    m_stop->setEnabled(true);
    m_return->setEnabled(false);
    const int rc = m_monitor.Monitor_All();
    if (rc != 0) {
        if (rc == Result::PortAlreadyOpen)
            m_ctx.session.closePort();
        m_monitor.stop();
        m_ctx.session.state().quietMode = true;
        m_start->setEnabled(true);
        m_stop->setEnabled(false);
        m_return->setEnabled(true);
        return;
    }
    m_descriptionA->setPlainText(QString::fromStdString(m_monitor.descriptionA()));
    m_descriptionB->setPlainText(QString::fromStdString(m_monitor.descriptionB()));
    draw();
    m_poll->start();
}

void MonitorTextWindow::stop()
{
    m_poll->stop();
    m_monitor.stop();
    m_start->setEnabled(true);
    m_stop->setEnabled(false);
    m_return->setEnabled(true);
}

void MonitorTextWindow::draw()
{
    QString text = QString::fromStdString(textPanel(m_monitor.shown(0), "A") + textPanel(m_monitor.shown(1), "B"));
    if (m_monitor.readFailed())
        text += "(no reply)";
    m_panels->setPlainText(text);
}

void MonitorTextWindow::closeEvent(QCloseEvent* event)
{
    if (m_monitor.running())
        stop();
    m_ctx.session.state().quietMode = false;
    event->accept();
}

} // namespace lumetra::gui
