#pragma once

#include "AppContext.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace lumetra::gui {

// frmLogging: the log rate, whether failed cycles are logged, and the delimiter.
class LoggingDialog : public QDialog {
    Q_OBJECT
public:
    LoggingDialog(AppContext& ctx, const LogSettings& current, QWidget* parent);

    // OKButton: false (and the range message) when the rate is not 1..3600.
    bool ok();
    int scanRate() const { return m_rate; }
    int delimiterIndex() const;
    bool logErrors() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppContext& m_ctx;
    QLineEdit* m_scanRate;
    QCheckBox* m_logErrors;
    QRadioButton* m_delimiters[3];
    int m_rate = 1;
};

} // namespace lumetra::gui
