#include "TransferDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace lumetra::gui {

TransferDialog::TransferDialog(AppContext& ctx, OperationKind kind, TransferTarget target, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_kind(kind), m_target(target), m_bar(new QProgressBar(this)), m_timer(new QTimer(this))
{
    setObjectName("frmWriteProcess1");
    setModal(true);
    const TransferWindowSpec spec = transferWindowSpec(kind);
    setWindowTitle(uiText(ctx, spec.captionStringId));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(uiText(ctx, spec.captionStringId), this);
    layout->addWidget(label);
    m_bar->setObjectName("ProgressBar1");
    m_bar->setRange(0, 20);
    m_bar->setMinimumWidth(360);
    layout->addWidget(m_bar);
    m_timer->setInterval(spec.timerIntervalMs);
    // The bar keeps moving while the unit works (the pauses of a download).
    connect(m_timer, &QTimer::timeout, this, [this] { m_bar->setValue((m_bar->value() + 1) % (m_bar->maximum() + 1)); });
}

int TransferDialog::timerInterval() const { return m_timer->interval(); }

void TransferDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        QTimer::singleShot(0, this, [this] { run(); });
    }
}

void TransferDialog::advance() { m_bar->setValue(std::min(m_bar->value() + 1, m_bar->maximum())); }

void TransferDialog::startTimer() { m_timer->start(); }

void TransferDialog::run()
{
    if (m_kind != OperationKind::Download)
        m_timer->start();
    m_result = runTransfer(m_ctx.session, m_kind, m_target, m_ctx.document, *this);
    m_timer->stop();
    done(m_result == 0 ? QDialog::Accepted : QDialog::Rejected);
}

} // namespace lumetra::gui
