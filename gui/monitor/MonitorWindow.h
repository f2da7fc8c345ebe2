#pragma once

#include "AppContext.h"
#include "PanelBitmaps.h"

#include "monitor/Monitor.h"
#include "monitor/MonitorLog.h"
#include "monitor/PanelDrawing.h"

#include <QHash>
#include <QWidget>

class QAction;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace lumetra::gui {

// frmMonitoring: the unit's two front-panel pictures made of named bitmaps,
// its description, start/stop/return, and the text log.
class MonitorWindow : public QWidget {
    Q_OBJECT
public:
    // The log's clock: the present local time (a test injects its own).
    MonitorWindow(AppContext& ctx, PanelBitmaps& bitmaps, MonitorLog::Clock clock);
    ~MonitorWindow() override;

    void cmdMonitorStart_Click();
    void cmdMonitorStop_Click();
    void cmdRetrun_Click();
    void mLogging_Click();
    void mLogoff_Click();
    // Starts the log as the options dialog's OK does.
    bool startLog(const std::string& path, int scanRate, int delimiterIndex, bool logErrors);
    // One tick of Timer1_log.
    void Timer1_log_Timer();

    Monitor& monitor() { return m_monitor; }
    MonitorLog& log() { return m_log; }
    bool polling() const;
    // The bitmap a control shows now (upper case), e.g. "image_char_A(2)".
    QString shownBitmap(const QString& control) const;

    // Called when the window closes (the main window shows the editor again).
    std::function<void()> onClosed;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Runs a handler that may wait for the line or for a dialog, during which
    // other handlers run: a close asked for meanwhile waits until none of the
    // window's own calls is left on the stack.
    template <class Handler>
    void guarded(Handler handler);
    QWidget* buildPicture(bool second);
    void apply(const std::vector<ImageAssignment>& assignments);
    void draw();
    void runningLook(bool running);
    void loggingMenus(bool logging);

    AppContext& m_ctx;
    PanelBitmaps& m_bitmaps;
    Monitor m_monitor;
    MonitorLog m_log;
    PanelPictures m_pictures;
    QHash<QString, QLabel*> m_images;
    QTimer* m_pollTimer;
    QTimer* m_logTimer;
    QPlainTextEdit* m_descriptionA;
    QPlainTextEdit* m_descriptionB;
    QPushButton* m_start;
    QPushButton* m_stop;
    QPushButton* m_return;
    QAction* m_menuReturn;
    QAction* m_menuComm;
    QAction* m_menuScanRate;
    QAction* m_menuLogging;
    QAction* m_menuLogoff;
    int m_busy = 0;
    bool m_closePending = false;
    bool m_starting = false;
};

// Drawn bitmaps are shown at this fraction of their size.
inline constexpr double kPanelScale = 0.32;

} // namespace lumetra::gui
