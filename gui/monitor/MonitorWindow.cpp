#include "MonitorWindow.h"

#include "CommSetupDialog.h"
#include "LoggingDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace lumetra::gui {

namespace {
// Control names of the drawing ("image_char_A(3)") as object names ("image_char_A_3").
QString objectNameOf(const QString& control)
{
    QString name = control;
    return name.replace('(', '_').remove(')');
}
} // namespace

template <class Handler>
void MonitorWindow::guarded(Handler handler)
{
    ++m_busy;
    handler();
    if (--m_busy == 0 && m_closePending) // the close the user asked for meanwhile
        QMetaObject::invokeMethod(this, [this] { cmdRetrun_Click(); }, Qt::QueuedConnection);
}

MonitorWindow::MonitorWindow(AppContext& ctx, PanelBitmaps& bitmaps, MonitorLog::Clock clock)
    : m_ctx(ctx), m_bitmaps(bitmaps), m_monitor(ctx.session), m_log(std::move(clock)), m_pollTimer(new QTimer(this)),
      m_logTimer(new QTimer(this)), m_descriptionA(new QPlainTextEdit(this)), m_descriptionB(new QPlainTextEdit(this))
{
    setObjectName("frmMonitoring");
    setWindowTitle(uiText(ctx, Text::Monitor));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* menus = new QMenuBar(this);
    QMenu* file = menus->addMenu(uiText(ctx, Text::MenuFile));
    file->setObjectName("mFile");
    m_menuReturn = file->addAction(uiText(ctx, Text::Return), this, [this] { cmdRetrun_Click(); });
    m_menuReturn->setObjectName("mReturn");
    QMenu* setting = menus->addMenu(uiText(ctx, Text::MenuOption));
    setting->setObjectName("mSetting");
    m_menuComm = setting->addAction(uiText(ctx, Text::CommunicationSettings), this, [this] {
        guarded([this] {
            CommSetupDialog dialog(m_ctx, this);
            dialog.exec();
            m_ctx.session.UpdateCommStatus();
        });
    });
    m_menuComm->setObjectName("mCommSetting");
    m_menuScanRate = setting->addAction(uiText(ctx, Text::LogRate)); // no handler of its own
    m_menuScanRate->setObjectName("mScanRate");
    m_menuLogging = setting->addAction(uiText(ctx, Text::LoggingRunning), this, [this] { guarded([this] { mLogging_Click(); }); });
    m_menuLogging->setObjectName("mLogging");
    m_menuLogoff = setting->addAction(uiText(ctx, Text::LogOff), this, [this] { mLogoff_Click(); });
    m_menuLogoff->setObjectName("mLogoff");
    layout->setMenuBar(menus);

    auto* pictures = new QHBoxLayout;
    pictures->addWidget(buildPicture(false));
    pictures->addWidget(buildPicture(true));
    layout->addLayout(pictures);
    auto* texts = new QHBoxLayout;
    m_descriptionA->setObjectName("txtInformation_A");
    m_descriptionB->setObjectName("txtInformation_B");
    for (QPlainTextEdit* t : {m_descriptionA, m_descriptionB}) {
        t->setReadOnly(true);
        texts->addWidget(t);
    }
    layout->addLayout(texts, 1);

    auto* buttons = new QHBoxLayout;
    const auto pictureButton = [&](const char* name, const char* image) {
        auto* b = new QPushButton(this);
        b->setObjectName(name);
        const QPixmap& p = m_bitmaps.bitmap(image);
        b->setIcon(p);
        b->setIconSize(p.size());
        b->setFixedSize(p.size() + QSize(6, 6));
        b->setFlat(true);
        buttons->addWidget(b);
        return b;
    };
    buttons->addStretch();
    m_start = pictureButton("cmdMonitorStart", "IMAGE_START_E");
    m_stop = pictureButton("cmdMonitorStop", "IMAGE_STOP_D");
    m_return = pictureButton("cmdRetrun", "IMAGE_RETURN_E");
    layout->addLayout(buttons);
    connect(m_start, &QPushButton::clicked, this, [this] { guarded([this] { cmdMonitorStart_Click(); }); });
    connect(m_stop, &QPushButton::clicked, this, [this] { cmdMonitorStop_Click(); });
    connect(m_return, &QPushButton::clicked, this, [this] { cmdRetrun_Click(); });

    m_pollTimer->setInterval(5);
    connect(m_pollTimer, &QTimer::timeout, this, [this] { guarded([this] { m_monitor.Timer1_monitor(); }); });
    m_logTimer->setInterval(1000);
    connect(m_logTimer, &QTimer::timeout, this, [this] { guarded([this] { Timer1_log_Timer(); }); });
    m_monitor.onDraw = [this] { draw(); };

    apply(clearPanel(false));
    apply(clearPanel(true));
    runningLook(false);
    m_menuLogoff->setEnabled(false);
    m_ctx.host.setStatusPanel(StatusPanel::General, m_ctx.strings.text(Text::Monitor));
}

MonitorWindow::~MonitorWindow() { m_monitor.onDraw = nullptr; }

QWidget* MonitorWindow::buildPicture(bool second)
{
    const QString p = second ? "T_" : "";
    auto* frame = new QWidget(this);
    frame->setObjectName(second ? "picture2" : "picture1");
    frame->setStyleSheet("background: rgb(26, 32, 30); border-radius: 6px;");
    auto* grid = new QGridLayout(frame);
    grid->setSpacing(2);
    const auto image = [&](const QString& control, QSize size) {
        auto* label = new QLabel(frame);
        label->setObjectName(objectNameOf(p + control));
        label->setFixedSize(size * kPanelScale);
        label->setScaledContents(true);
        m_images.insert(p + control, label);
        return label;
    };
    auto* top = new QHBoxLayout;
    top->addWidget(image("image_str_AU", {126, 140}));
    top->addWidget(image("image_str_OnOff", {278, 140}));
    top->addWidget(image("image_str_KP", {234, 170}));
    top->addStretch();
    top->addWidget(image("image_str_RangeMode", {480, 170}));
    grid->addLayout(top, 0, 0, 1, 4);
    grid->addWidget(image("image_Group", {64, 412}), 1, 0, 2, 1);
    for (int row = 0; row < 2; ++row) {
        const QString r = row == 0 ? "A" : "B";
        auto* digits = new QHBoxLayout;
        digits->setSpacing(0);
        if (row == 1)
            digits->addWidget(image("image_char_sp_B", {100, 180}));
        else
            digits->addSpacing(static_cast<int>(100 * kPanelScale));
        // digit 0, digit 1, dpCol[0], digit 2, dp[0], digit 3, dpCol[1], digit 4, dp[1], digit 5
        const auto digit = [&](int i) { digits->addWidget(image(QString("image_char_%1(%2)").arg(r).arg(i), {100, 180})); };
        const auto sep = [&](const char* kind, int i) { digits->addWidget(image(QString("%1_%2(%3)").arg(kind, r).arg(i), {18, 175})); };
        digit(0);
        digit(1);
        sep("image_DPCol", 0);
        digit(2);
        sep("image_DP", 0);
        digit(3);
        sep("image_DPCol", 1);
        digit(4);
        sep("image_DP", 1);
        digit(5);
        if (row == 1)
            digits->addWidget(image("image_T_B", {100, 180}));
        grid->addLayout(digits, 1 + row, 1);
    }
    grid->addWidget(image("image_TimerMode", {83, 388}), 1, 2, 2, 1);
    grid->addWidget(image("image_CountDir", {80, 412}), 1, 3, 2, 1);
    grid->addWidget(image("image_week", {1044, 140}), 3, 0, 1, 4, Qt::AlignHCenter);
    return frame;
}

void MonitorWindow::apply(const std::vector<ImageAssignment>& assignments)
{
    m_pictures.apply(assignments);
    for (const ImageAssignment& a : assignments) {
        QLabel* label = m_images.value(QString::fromStdString(a.control));
        const QPixmap& p = m_bitmaps.bitmap(QString::fromStdString(a.bitmap));
        if (label && !p.isNull() && label->pixmap().cacheKey() != p.cacheKey())
            label->setPixmap(p); // an unknown name leaves the control as it was
    }
}

void MonitorWindow::draw()
{
    apply(drawPanel(m_monitor.shown(0), false));
    apply(drawPanel(m_monitor.shown(1), true));
}

QString MonitorWindow::shownBitmap(const QString& control) const
{
    return QString::fromStdString(m_pictures.shown(control.toStdString()));
}

bool MonitorWindow::polling() const { return m_pollTimer->isActive(); }

void MonitorWindow::runningLook(bool running)
{
    const auto look = [this](QPushButton* b, const char* image) {
        const QPixmap& p = m_bitmaps.bitmap(image);
        b->setIcon(p);
    };
    look(m_start, running ? "IMAGE_START_D" : "IMAGE_START_E");
    look(m_stop, running ? "IMAGE_STOP_E" : "IMAGE_STOP_D");
    look(m_return, running ? "IMAGE_RETURN_D" : "IMAGE_RETURN_E");
    m_start->setEnabled(!running);
    m_stop->setEnabled(running);
    m_return->setEnabled(!running);
    for (QAction* a : {m_menuReturn, m_menuComm, m_menuScanRate})
        a->setEnabled(!running);
}

void MonitorWindow::cmdMonitorStart_Click()
{
    if (m_starting || m_monitor.cycleRunning())
        return; // a start or a cycle stopped a moment ago is still unwinding
    runningLook(true);
    m_monitor.setReopenIntervalMs(m_ctx.logSettings.scanRate() * 1000);
    m_starting = true;
    const int rc = m_monitor.Monitor_All();
    m_starting = false;
    if (rc != 0) {
        if (rc == Result::PortAlreadyOpen)
            m_ctx.session.closePort();
        runningLook(false);
        m_monitor.stop();
        m_ctx.session.state().quietMode = true;
        return;
    }
    m_descriptionA->setPlainText(QString::fromStdString(m_monitor.descriptionA()));
    m_descriptionB->setPlainText(QString::fromStdString(m_monitor.descriptionB()));
    draw();
    m_pollTimer->start();
}

void MonitorWindow::cmdMonitorStop_Click()
{
    m_pollTimer->stop();
    runningLook(false);
    m_monitor.stop();
    m_ctx.host.setStatusPanel(StatusPanel::General, "");
}

void MonitorWindow::cmdRetrun_Click()
{
    if (parentWidget())
        parentWidget()->close();
    else
        close();
}

void MonitorWindow::mLogging_Click()
{
    int rc = 0;
    const std::optional<std::string> path = m_ctx.files.ChooseLogFile(m_ctx.fileState, rc);
    if (rc != 0) {
        m_ctx.session.ShowCommError(rc);
        return;
    }
    if (!path)
        return;
    LoggingDialog dialog(m_ctx, m_ctx.logSettings, this);
    if (dialog.exec() == QDialog::Accepted)
        startLog(*path, dialog.scanRate(), dialog.delimiterIndex(), dialog.logErrors());
}

bool MonitorWindow::startLog(const std::string& path, int scanRate, int delimiterIndex, bool logErrors)
{
    std::string reason;
    if (!m_log.start(path, scanRate, delimiterIndex, logErrors, &reason)) {
        Message m{m_ctx.strings.text(Text::MsgFailedToSaveFile), "Error", MessageIcon::Exclamation, MessageButtons::Ok, reason};
        m_ctx.host.showMessage(m);
        return false;
    }
    m_ctx.logSettings = m_log.settings();
    m_monitor.setReopenIntervalMs(m_ctx.logSettings.scanRate() * 1000);
    m_logTimer->start();
    loggingMenus(true);
    return true;
}

void MonitorWindow::Timer1_log_Timer()
{
    m_log.tick(m_monitor.running(), m_monitor.readFailed(), m_monitor.valueTextA(), m_monitor.valueTextB());
    if (!m_log.logging() && m_logTimer->isActive()) {
        // A failed write (a full disk) has stopped the log: say so once and turn logging off.
        m_logTimer->stop();
        loggingMenus(false);
        Message m{m_ctx.strings.text(Text::MsgFailedToSaveFile), "Error", MessageIcon::Exclamation, MessageButtons::Ok, m_log.writeError()};
        m_ctx.host.showMessage(m);
    }
    QCoreApplication::processEvents();
}

void MonitorWindow::loggingMenus(bool logging)
{
    m_menuLogging->setEnabled(!logging);
    m_menuLogoff->setEnabled(logging);
}

void MonitorWindow::mLogoff_Click()
{
    if (!m_logTimer->isActive())
        return;
    m_logTimer->stop();
    QThread::msleep(100);
    m_log.stop();
    loggingMenus(false);
}

void MonitorWindow::closeEvent(QCloseEvent* event)
{
    if (m_monitor.running() || polling()) {
        m_pollTimer->stop();
        m_monitor.stop();
    }
    mLogoff_Click();
    if (m_busy > 0) {
        // A call of this window still waits further up the stack: it ends
        // at once now that everything stopped, and the window closes then.
        m_closePending = true;
        event->ignore();
        return;
    }
    m_closePending = false;
    m_ctx.session.state().quietMode = false;
    if (onClosed)
        onClosed();
    event->accept();
}

} // namespace lumetra::gui
