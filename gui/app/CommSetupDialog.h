#pragma once

#include "AppContext.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lumetra::gui {

// frmCommSetup: the communication settings and the search for units,
// bound to the CommSetup model.
class CommSetupDialog : public QDialog {
    Q_OBJECT
public:
    CommSetupDialog(AppContext& ctx, QWidget* parent);

    // cmdApply and cmdOK: true when the settings were stored.
    bool apply();
    // cmdSearch: runs until every ID is tried or cmdStop is pressed.
    void search();
    void stop();
    const CommSetupForm& form() const { return m_form; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void load();
    void readForm();
    void showForm();
    void applyModeEnabling();
    void setSearching(bool searching);
    void changed();

    AppContext& m_ctx;
    CommSetup m_setup;
    CommSetupForm m_form;
    QComboBox* m_port;
    QComboBox* m_baud;
    QComboBox* m_parity;
    QComboBox* m_dataBits;
    QComboBox* m_stopBits;
    QRadioButton* m_protocol[2];
    QLineEdit* m_timeout;
    QLineEdit* m_delay;
    QRadioButton* m_mode[2];
    QComboBox* m_manualId;
    QLineEdit* m_autoId;
    QComboBox* m_autoList;
    QGroupBox* m_manualFrame;
    QGroupBox* m_autoFrame;
    QPushButton* m_search;
    QPushButton* m_stop;
    QPushButton* m_ok;
    QPushButton* m_apply;
    QPushButton* m_cancel;
    bool m_loading = false;
};

} // namespace lumetra::gui
