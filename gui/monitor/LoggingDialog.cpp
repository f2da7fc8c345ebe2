#include "LoggingDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace lumetra::gui {

LoggingDialog::LoggingDialog(AppContext& ctx, const LogSettings& current, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName("frmLogging");
    setWindowTitle(uiText(ctx, Text::Logging));
    auto* layout = new QVBoxLayout(this);
    auto* rateFrame = new QGroupBox(uiText(ctx, Text::LogRate), this);
    rateFrame->setObjectName("Frame1");
    auto* rateLayout = new QHBoxLayout(rateFrame);
    m_scanRate = new QLineEdit(QString::number(current.scanRate()), rateFrame);
    m_scanRate->setObjectName("txtScanRate");
    m_scanRate->installEventFilter(this);
    rateLayout->addWidget(m_scanRate);
    layout->addWidget(rateFrame);
    m_logErrors = new QCheckBox(uiText(ctx, Text::LogErrors), this);
    m_logErrors->setObjectName("chkLogError");
    m_logErrors->setChecked(current.logErrors);
    layout->addWidget(m_logErrors);
    auto* delimiterFrame = new QGroupBox(uiText(ctx, Text::Delimiters), this);
    delimiterFrame->setObjectName("Frame3");
    auto* delimiterLayout = new QVBoxLayout(delimiterFrame);
    const QString captions[3] = {uiText(ctx, Text::FixedWidth), uiText(ctx, Text::Comma), "Tab"};
    for (int i = 0; i < 3; ++i) {
        m_delimiters[i] = new QRadioButton(captions[i], delimiterFrame);
        m_delimiters[i]->setObjectName(QString("optDelimiters%1").arg(i));
        delimiterLayout->addWidget(m_delimiters[i]);
    }
    m_delimiters[std::clamp(current.delimiterIndex, 0, 2)]->setChecked(true);
    layout->addWidget(delimiterFrame);
    auto* buttons = new QHBoxLayout;
    auto* okButton = new QPushButton(uiText(ctx, Text::Ok), this);
    okButton->setObjectName("OKButton");
    auto* cancelButton = new QPushButton(uiText(ctx, Text::Cancel), this);
    cancelButton->setObjectName("CancelButton");
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
    connect(okButton, &QPushButton::clicked, this, [this] {
        if (ok())
            accept();
    });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    QTimer::singleShot(0, m_scanRate, [this] {
        m_scanRate->setFocus();
        m_scanRate->selectAll();
    });
}

bool LoggingDialog::ok()
{
    const std::optional<int> rate = parseScanRate(m_scanRate->text().toStdString());
    if (!rate) {
        Message m;
        m.text = kScanRateMessage;
        m.title = "Logging";
        m.icon = MessageIcon::Exclamation;
        m_ctx.host.showMessage(m);
        m_scanRate->setFocus();
        m_scanRate->selectAll();
        return false;
    }
    m_rate = *rate;
    return true;
}

int LoggingDialog::delimiterIndex() const
{
    for (int i = 0; i < 3; ++i)
        if (m_delimiters[i]->isChecked())
            return i;
    return 0;
}

bool LoggingDialog::logErrors() const { return m_logErrors->isChecked(); }

bool LoggingDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_scanRate || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ok())
            accept();
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:
        return false;
    default:
        // Only the digits are typed.
        return !(key->text().size() == 1 && key->text()[0].isDigit());
    }
}

} // namespace lumetra::gui
