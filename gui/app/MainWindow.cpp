#include "MainWindow.h"

#include "AboutDialog.h"
#include "CommSetupDialog.h"
#include "EditorWindow.h"
#include "MonitorWindow.h"
#include "TransferDialog.h"
#include "TypeSelectDialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include <ctime>

namespace lumetra::gui {

namespace {
struct ToolButton {
    const char* key;
    Text tipId; // Text::None for a separator
    bool visibleAtStart;
};
constexpr ToolButton kToolButtons[] = {
    {"split05", Text::None, true}, {"New", Text::MenuNew, true},       {"Open", Text::MenuOpen, true},    {"Save", Text::MenuSave, false},
    {"split09", Text::None, true}, {"Upload", Text::MenuUpload, true},    {"Download", Text::MenuDownload, false}, {"split01", Text::None, true},
    {"MonitorStart", Text::Monitor, false}, {"split02", Text::None, false}, {"KP", Text::KeyProtection, false}, {"PowerSaving", Text::PowerSaving, false},
};
} // namespace

MainWindow::MainWindow(AppContext& ctx, std::string helpFolder)
    : m_ctx(ctx), m_helpFolder(std::move(helpFolder)), m_mdi(new QMdiArea(this)), m_toolBar(new QToolBar(this))
{
    setObjectName("frmMDI");
    setWindowTitle("Lumetra ");
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
    m_mdi->setObjectName("MDIArea");
    setCentralWidget(m_mdi);
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QString("StatusPanel%1").arg(i + 1));
        m_panels[i]->setMinimumWidth(i == 0 ? 200 : 150);
        statusBar()->addWidget(m_panels[i], i == 0 || i == 3 ? 1 : 0);
    }
    statusBar()->setObjectName("StatusBar1");
    buildMenus();
    buildToolBar();
    // As large as the editors like it, but never beyond a small screen
    // (1280 x 720), its frame and title bar included.
    QSize size(1180, 760);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    resize(size);
}

void MainWindow::placeChild(QMdiSubWindow* sub, QSize preferred)
{
    const QSize room = m_mdi->viewport()->size();
    sub->resize(room.height() >= 200 ? preferred.boundedTo(room) : preferred);
}

void MainWindow::buildMenus()
{
    struct Item {
        const char* name;
        Text captionId;
        std::function<void()> action;
    };
    const auto menu = [this](const char* name, Text captionId, std::vector<Item> items) {
        QMenu* m = menuBar()->addMenu(uiText(m_ctx, captionId));
        m->setObjectName(name);
        for (Item& item : items) {
            if (!item.name) {
                m->addSeparator();
                continue;
            }
            QAction* a = m->addAction(uiText(m_ctx, item.captionId));
            a->setObjectName(item.name);
            connect(a, &QAction::triggered, this, item.action);
        }
    };
    menu("mFile", Text::MenuFile, {{"mNew", Text::MenuNew, [this] { newSetting(); }}, {"mOpen", Text::MenuOpen, [this] { openSetting(); }}, {nullptr, Text::None, {}},
                        {"mExit", Text::MenuExit, [this] { close(); }}});
    menu("mTool", Text::MenuCommunication, {{"mUpload", Text::MenuUpload, [this] { upload(); }}});
    menu("mMonitor", Text::MenuMonitor, {{"mMonitoring", Text::Monitor, [this] { showMonitor(); }}});
    menu("mSetting", Text::MenuOption, {{"mCommSetting", Text::CommunicationSettings, [this] { showCommSetup(); }}});
    menu("mHelp", Text::MenuHelp, {{"mLMHelp", Text::HelpTitle, [this] { showHelp(); }}, {"mAbout", Text::AboutMe, [this] { showAbout(); }}});
}

void MainWindow::buildToolBar()
{
    m_toolBar->setObjectName("Toolbar1");
    m_toolBar->setMovable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    addToolBar(m_toolBar);
    for (const ToolButton& b : kToolButtons) {
        QAction* a = nullptr;
        if (b.tipId == Text::None) {
            a = m_toolBar->addSeparator();
        } else {
            QString label = uiText(m_ctx, b.tipId);
            label.remove("(&").remove(QRegularExpression("[A-Z]\\)$"));
            a = m_toolBar->addAction(label.trimmed());
            a->setToolTip(uiText(m_ctx, b.tipId));
            const QString key = b.key;
            connect(a, &QAction::triggered, this, [this, key] { toolBarClicked(key); });
        }
        a->setObjectName(b.key);
        a->setVisible(b.visibleAtStart);
    }
}

EditorWindow* MainWindow::editor() const { return m_editor; }

QAction* MainWindow::toolButton(const QString& key) const { return m_toolBar->findChild<QAction*>(key, Qt::FindDirectChildrenOnly); }

void MainWindow::toolBarClicked(const QString& key)
{
    static const std::map<QString, const char*> childHandlers{
        {"New", "mNew_Click"}, {"Open", "mOpenSetting_Click"}, {"Upload", "mUpload_Click"}, {"Save", "mSaveSetting_Click"},
        {"Download", "mDownload_Click"}, {"DefaultValue", "mDefaultValue_Click"}, {"MonitorStart", "mMonitoring_Click"},
        {"KP", "mKP_Click"}, {"PowerSaving", "mPowerSaving_Click"}};
    const auto handler = childHandlers.find(key);
    if (handler == childHandlers.end())
        return;
    QMdiSubWindow* active = m_mdi->activeSubWindow();
    if (active && active->widget()) {
        QMetaObject::invokeMethod(active->widget(), handler->second);
        return;
    }
    if (key == "New")
        newSetting();
    else if (key == "Open")
        openSetting();
    else if (key == "Upload")
        upload();
}

void MainWindow::setEditorButtonsVisible(bool visible)
{
    for (const char* key : {"Save", "Download", "split01", "MonitorStart", "split02", "KP", "PowerSaving"})
        if (QAction* a = toolButton(key))
            a->setVisible(visible || std::string(key) == "split01");
}

void MainWindow::openEditor()
{
    if (m_editor) {
        m_editor->refresh();
    } else {
        m_editor = new EditorWindow(m_ctx, *this, m_bitmaps);
        QMdiSubWindow* sub = m_mdi->addSubWindow(m_editor);
        placeChild(sub, {1100, 640});
        m_editor->show();
    }
    m_ctx.editorOpen = true;
    setEditorButtonsVisible(true);
    showFlags();
    m_panels[0]->setText(QString::fromStdString(machineTypeDisplayName(m_ctx.document.machineType())));
}

void MainWindow::editorClosed()
{
    m_editor = nullptr; // it is deleted later; a new one must not be confused with it
    m_ctx.editorOpen = false;
    setEditorButtonsVisible(false);
    m_panels[0]->clear();
    m_panels[3]->clear();
}

void MainWindow::showFlags()
{
    const SettingsDocument& doc = m_ctx.document;
    const bool kp = doc.machineType() == MachineType::DQ ? doc.dq().keyProtection : doc.tqcq().keyProtection;
    if (QAction* a = toolButton("KP"))
        a->setText(kp ? "KP_ON" : "KP_OFF");
    if (QAction* a = toolButton("PowerSaving")) {
        a->setText(doc.machineType() == MachineType::DQ && doc.dq().powerSaving ? "PS_ON" : "PS_OFF");
        a->setVisible(m_ctx.editorOpen && doc.machineType() == MachineType::DQ);
    }
}

void MainWindow::newSetting()
{
    if (m_editor && !m_editor->requestClose())
        return;
    TypeSelectDialog dialog(m_ctx, this);
    dialog.exec();
    if (!dialog.chosen())
        return;
    // A new DQ setting starts in its first function mode; the timer and
    // counter editor waits for one to be chosen (mode -1).
    SettingsDocument doc(*dialog.chosen());
    m_ctx.document = doc;
    m_ctx.fileState = FileState();
    openEditor();
    m_ctx.host.setStatusPanel(StatusPanel::Transfer, m_ctx.strings.text(Text::MsgFileOpened));
}

void MainWindow::openSetting(const std::optional<std::string>& path)
{
    if (m_editor && !m_editor->requestClose())
        return;
    if (m_ctx.files.open(m_ctx.document, m_ctx.fileState, path) == 0)
        openEditor();
}

void MainWindow::openFromCommandLine(const QString& commandLine)
{
    if (commandLine.right(3).toUpper() == "ZQS")
        openSetting(commandLine.toStdString());
}

int MainWindow::runTransfer(OperationKind kind, TransferTarget target)
{
    if (const int rc = beginTransferCommand(m_ctx.session, kind, target))
        return rc;
    m_ctx.session.LockControls(FormId::MainWindow);
    TransferDialog dialog(m_ctx, kind, target, this);
    dialog.exec();
    m_ctx.session.UnlockControls(FormId::MainWindow);
    return dialog.result();
}

void MainWindow::upload()
{
    if (m_editor && !m_editor->requestClose())
        return;
    if (runTransfer(OperationKind::Upload, TransferTarget::DqAll) != 0)
        return;
    m_ctx.fileState = FileState();
    m_ctx.fileState.settingsChanged = true; // a successful upload counts as a change
    openEditor();
}

void MainWindow::showMonitor()
{
    const auto now = [] {
        const std::time_t t = std::time(nullptr);
        std::tm local{};
        localtime_r(&t, &local);
        return local;
    };
    auto* monitor = new MonitorWindow(m_ctx, m_bitmaps, now);
    QMdiSubWindow* sub = m_mdi->addSubWindow(monitor);
    placeChild(sub, {1000, 720});
    // The editor steps back while the monitor runs and comes back after it.
    if (m_editor && m_editor->parentWidget())
        m_editor->parentWidget()->hide();
    m_toolBar->setEnabled(false); // the monitor owns the line while it is open
    monitor->onClosed = [this] {
        m_toolBar->setEnabled(true);
        if (m_editor && m_editor->parentWidget())
            m_editor->parentWidget()->show();
    };
    monitor->show();
}

void MainWindow::showCommSetup()
{
    CommSetupDialog dialog(m_ctx, this);
    dialog.exec();
    m_ctx.session.closePort(); // the window owns the port: closing it closes the port
    m_ctx.session.UpdateCommStatus();
}

std::string MainWindow::helpFile(int languageId) const { return m_helpFolder + "/" + helpFileBaseName(languageId) + ".html"; }

void MainWindow::showHelp()
{
    // The user guide of the system's language; a missing file says nothing.
    const std::string file = helpFile(static_cast<int>(languageFromEnvironment()));
    if (QFileInfo::exists(QString::fromStdString(file)))
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file)));
}

void MainWindow::showAbout()
{
    AboutDialog about(m_ctx, this);
    about.exec();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    Message m;
    m.text = m_ctx.strings.text(Text::MsgSureToExit);
    m.icon = MessageIcon::Question;
    m.buttons = MessageButtons::YesNo;
    if (m_ctx.host.showMessage(m) != MessageAnswer::Yes) {
        event->ignore();
        return;
    }
    m_mdi->closeAllSubWindows();
    // An editor that keeps its unsaved settings keeps the application; a
    // monitor stopped in the middle of a wait closes as soon as it unwinds.
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (qobject_cast<EditorWindow*>(sub->widget())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

} // namespace lumetra::gui
