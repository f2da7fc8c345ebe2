#include "EditorWindow.h"

#include "MainWindow.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lumetra::gui {

EditorWindow::EditorWindow(AppContext& ctx, MainWindow& main)
    : m_ctx(ctx), m_main(main), m_mode(new QLabel(this)), m_settings(new QTreeWidget(this))
{
    setObjectName(ctx.document.machineType() == MachineType::DQ ? "frmModeSetting_DQ" : "frmModeSetting_CQ");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    QFont big = m_mode->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    m_mode->setFont(big);
    layout->addWidget(m_mode);
    m_settings->setHeaderLabels({"Setting", "Value", "Control"});
    m_settings->setRootIsDecorated(false);
    m_settings->setAlternatingRowColors(true);
    m_settings->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(m_settings);
    refresh();
}

void EditorWindow::refresh()
{
    const SettingsDocument& doc = m_ctx.document;
    setWindowTitle(QString::fromStdString(m_ctx.fileState.caption()));
    m_mode->setText(QString::fromStdString(machineTypeDisplayName(doc.machineType()) + "   —   " + doc.functionModeName(m_ctx.strings)));
    m_settings->clear();
    for (const SettingLine& line : doc.describe(m_ctx.strings)) {
        if (!line.active)
            continue;
        auto* item = new QTreeWidgetItem(m_settings, {QString::fromStdString(line.label), QString::fromStdString(line.text),
                                                      QString::fromStdString(line.name)});
        QFont mono = item->font(1);
        mono.setFamily("monospace");
        item->setFont(1, mono);
    }
}

bool EditorWindow::requestClose()
{
    QWidget* frame = parentWidget();
    return frame ? frame->close() : close();
}

void EditorWindow::mNew_Click()
{
    if (requestClose())
        m_main.newSetting();
}

void EditorWindow::mOpenSetting_Click()
{
    if (requestClose())
        m_main.openSetting();
}

void EditorWindow::mUpload_Click()
{
    if (requestClose())
        m_main.upload();
}

void EditorWindow::mSaveSetting_Click()
{
    m_ctx.files.save(m_ctx.document, m_ctx.fileState, false);
    refresh();
}

void EditorWindow::mSaveAs_Click()
{
    m_ctx.files.save(m_ctx.document, m_ctx.fileState, true);
    refresh();
}

void EditorWindow::mDownload_Click() { m_main.runTransfer(OperationKind::Download, downloadTarget(m_ctx.document)); }

void EditorWindow::mCompare_Click() { m_main.runTransfer(OperationKind::Compare, TransferTarget::DqAll); }

void EditorWindow::mMonitoring_Click() { m_main.showMonitorNotice(); }

void EditorWindow::mKP_Click()
{
    std::uint8_t& kp = m_ctx.document.machineType() == MachineType::DQ ? m_ctx.document.dq().keyProtection : m_ctx.document.tqcq().keyProtection;
    kp = kp ? 0 : 1;
    m_ctx.fileState.settingsChanged = true;
    m_main.showFlags();
    refresh();
}

void EditorWindow::mPowerSaving_Click()
{
    if (m_ctx.document.machineType() != MachineType::DQ)
        return;
    std::uint8_t& ps = m_ctx.document.dq().powerSaving;
    ps = ps ? 0 : 1;
    m_ctx.fileState.settingsChanged = true;
    m_main.showFlags();
    refresh();
}

void EditorWindow::mClose_Click() { requestClose(); }

void EditorWindow::closeEvent(QCloseEvent* event)
{
    if (!m_ctx.files.closeQuestion(m_ctx.document, m_ctx.fileState)) {
        event->ignore();
        return;
    }
    event->accept();
    m_main.editorClosed();
}

} // namespace lumetra::gui
