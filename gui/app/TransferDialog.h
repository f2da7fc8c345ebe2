#pragma once

#include "AppContext.h"

#include "transfer/TransferRun.h"

#include <QDialog>

class QProgressBar;
class QTimer;

namespace lumetra::gui {

// frmWriteProcess1: the modal progress window that runs an upload, a
// download or a compare when it appears, then closes itself.
class TransferDialog : public QDialog, private TransferProgress {
    Q_OBJECT
public:
    TransferDialog(AppContext& ctx, OperationKind kind, TransferTarget target, QWidget* parent);
    int result() const { return m_result; }
    int timerInterval() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void advance() override;
    void startTimer() override;
    void run();

    AppContext& m_ctx;
    OperationKind m_kind;
    TransferTarget m_target;
    QProgressBar* m_bar;
    QTimer* m_timer;
    bool m_started = false;
    int m_result = -1;
};

} // namespace lumetra::gui
