#pragma once

#include "AppContext.h"

#include <QWidget>

class QLabel;
class QTreeWidget;

namespace lumetra::gui {

class MainWindow;

// The editor of the open unit (frmModeSetting_DQ for DQ units,
// frmModeSetting_CQ for the others) as an MDI child. It shows the unit's
// settings as the document holds them; the tool bar calls its handlers by
// name.
class EditorWindow : public QWidget {
    Q_OBJECT
public:
    EditorWindow(AppContext& ctx, MainWindow& main);
    // Shows the document again (after an open, an upload, a change).
    void refresh();
    // Closes the editor with its window frame; false when the close question refused.
    bool requestClose();

    Q_INVOKABLE void mNew_Click();
    Q_INVOKABLE void mOpenSetting_Click();
    Q_INVOKABLE void mUpload_Click();
    Q_INVOKABLE void mSaveSetting_Click();
    Q_INVOKABLE void mSaveAs_Click();
    Q_INVOKABLE void mDownload_Click();
    Q_INVOKABLE void mCompare_Click();
    Q_INVOKABLE void mMonitoring_Click();
    Q_INVOKABLE void mKP_Click();
    Q_INVOKABLE void mPowerSaving_Click();
    Q_INVOKABLE void mClose_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    AppContext& m_ctx;
    MainWindow& m_main;
    QLabel* m_mode;
    QTreeWidget* m_settings;
};

} // namespace lumetra::gui
