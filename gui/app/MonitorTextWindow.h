#pragma once

#include "AppContext.h"

#include "monitor/Monitor.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace lumetra::gui {

// The monitor of the open line in text form: the unit's description and
// its two front-panel pictures drawn as text, polled every 5 ms.
class MonitorTextWindow : public QWidget {
    Q_OBJECT
public:
    explicit MonitorTextWindow(AppContext& ctx);
    ~MonitorTextWindow() override;

    void start();
    void stop();
    Monitor& monitor() { return m_monitor; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void draw();

    AppContext& m_ctx;
    Monitor m_monitor;
    QTimer* m_poll;
    QPlainTextEdit* m_descriptionA;
    QPlainTextEdit* m_descriptionB;
    QPlainTextEdit* m_panels;
    QPushButton* m_start;
    QPushButton* m_stop;
    QPushButton* m_return;
};

} // namespace lumetra::gui
