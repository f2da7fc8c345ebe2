#pragma once

#include "AppContext.h"
#include "PanelBitmaps.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;

namespace lumetra::gui {

class MainWindow;

class ValueDisplayWidget;

// The editor of the open unit (frmModeSetting_DQ for DQ units,
// frmModeSetting_CQ for the others) as an MDI child: the function mode
// menu, a panel per block of settings with a list for every selection and
// digit cells for every number, shown as the mode asks. The tool bar calls
// its handlers by name.
class EditorWindow : public QWidget {
    Q_OBJECT
public:
    EditorWindow(AppContext& ctx, MainWindow& main, PanelBitmaps& bitmaps);
    // Shows the document again (after an open, an upload, a change).
    void refresh();
    // Closes the editor with its window frame; false when the close question refused.
    bool requestClose();
    // The function mode commands (mFuncModeSelect_0 ...).
    void selectFunctionMode(int mode);
    // A list's choice as its _Click handler takes it.
    void chooseListEntry(const QString& name, int index);
    ValueDisplayWidget* valueWidget(const QString& name) const;

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
    void build();
    void syncAll();
    void changed();

    struct ListRow {
        QString name;
        QComboBox* box;
        QLabel* caption;
    };
    struct ValueRow {
        QString name;
        ValueDisplayWidget* widget;
        QLabel* caption;
    };
    void syncPanels();
    void syncPictures();
    void showInputPicture();

    AppContext& m_ctx;
    MainWindow& m_main;
    PanelBitmaps& m_bitmaps;
    QLabel* m_mode;
    QLabel* m_caution;
    std::vector<ListRow> m_lists;
    std::vector<ValueRow> m_values;
    std::map<int, QGroupBox*> m_panels;
    std::vector<std::pair<int, QAction*>> m_modeActions;
    QAction* m_kp = nullptr;
    QAction* m_powerSaving = nullptr;
    QAction* m_downloadA = nullptr;
    QAction* m_downloadB = nullptr;
    bool m_syncing = false;
    QLabel* m_channelTitleB;
    QLabel* m_outputPictures[2];
    QLabel* m_channelPictures[2];
    QCheckBox* m_optPic;
    QGridLayout* m_columns = nullptr;
};

} // namespace lumetra::gui
