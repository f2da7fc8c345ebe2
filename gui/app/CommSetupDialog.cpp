#include "CommSetupDialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lumetra::gui {

namespace {
QComboBox* combo(QWidget* parent, const char* name, const std::vector<std::string>& entries)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    for (const auto& e : entries)
        c->addItem(QString::fromStdString(e));
    return c;
}
} // namespace

CommSetupDialog::CommSetupDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx), m_setup(ctx.session, ctx.commSetup)
{
    setObjectName("frmCommSetup");
    setWindowTitle(uiText(ctx, Text::CommunicationSettings));
    auto* layout = new QVBoxLayout(this);

    auto* pc = new QGroupBox(uiText(ctx, Text::PcCommunicationSettings), this);
    auto* pcLayout = new QHBoxLayout(pc);
    auto* portFrame = new QGroupBox(uiText(ctx, Text::ComPort), pc);
    auto* portLayout = new QVBoxLayout(portFrame);
    std::vector<std::string> ports = CommSetup::portEntries();
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const std::string device = ctx.portDevice ? ctx.portDevice(static_cast<int>(i) + 1) : std::string();
        if (!device.empty())
            ports[i] += "   (" + device + ")";
    }
    m_port = combo(portFrame, "cboComPort", ports);
    portLayout->addWidget(m_port);
    auto* protocolFrame = new QGroupBox(uiText(ctx, Text::Protocol), pc);
    auto* protocolLayout = new QVBoxLayout(protocolFrame);
    const char* protocolNames[2] = {"Ascii", "RTU"};
    for (int i = 0; i < 2; ++i) {
        m_protocol[i] = new QRadioButton(protocolNames[i], protocolFrame);
        m_protocol[i]->setObjectName(QString("optProtocal%1").arg(i));
        protocolLayout->addWidget(m_protocol[i]);
    }
    auto* leftColumn = new QVBoxLayout;
    leftColumn->addWidget(portFrame);
    leftColumn->addWidget(protocolFrame);
    pcLayout->addLayout(leftColumn);

    auto* settingsFrame = new QGroupBox(uiText(ctx, Text::Settings), pc);
    auto* grid = new QGridLayout(settingsFrame);
    m_baud = combo(settingsFrame, "cboBaudRate", CommSetup::baudEntries());
    m_dataBits = combo(settingsFrame, "cboDataBits", CommSetup::dataBitsEntries());
    m_parity = combo(settingsFrame, "cboParity", CommSetup::parityEntries());
    m_stopBits = combo(settingsFrame, "cboStopBits", CommSetup::stopBitsEntries());
    const Text labels[4] = {Text::BaudRateLabel, Text::DataBitsLabel, Text::ParityLabel, Text::StopBitsLabel};
    QComboBox* combos[4] = {m_baud, m_dataBits, m_parity, m_stopBits};
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(new QLabel(uiText(ctx, labels[i]), settingsFrame), i, 0);
        grid->addWidget(combos[i], i, 1);
    }
    pcLayout->addWidget(settingsFrame);

    auto* timing = new QVBoxLayout;
    auto* timeoutFrame = new QGroupBox(uiText(ctx, Text::TimeOutLabel), pc);
    auto* timeoutLayout = new QHBoxLayout(timeoutFrame);
    m_timeout = new QLineEdit(timeoutFrame);
    m_timeout->setObjectName("txtTimeOut");
    timeoutLayout->addWidget(m_timeout);
    timeoutLayout->addWidget(new QLabel("ms", timeoutFrame));
    auto* delayFrame = new QGroupBox(uiText(ctx, Text::DelayTime), pc);
    auto* delayLayout = new QHBoxLayout(delayFrame);
    m_delay = new QLineEdit(delayFrame);
    m_delay->setObjectName("txtCommDelayTime");
    delayLayout->addWidget(m_delay);
    delayLayout->addWidget(new QLabel("ms", delayFrame));
    timing->addWidget(timeoutFrame);
    timing->addWidget(delayFrame);
    pcLayout->addLayout(timing);
    layout->addWidget(pc);

    auto* idFrame = new QGroupBox(uiText(ctx, Text::SlaveIdSetting), this);
    auto* idLayout = new QHBoxLayout(idFrame);
    auto* modeFrame = new QGroupBox(uiText(ctx, Text::ModeSelection), idFrame);
    auto* modeLayout = new QVBoxLayout(modeFrame);
    for (int i = 0; i < 2; ++i) {
        m_mode[i] = new QRadioButton(uiText(ctx, i == 0 ? Text::Manual : Text::Automatic), modeFrame);
        m_mode[i]->setObjectName(QString("OptModeSelect%1").arg(i));
        modeLayout->addWidget(m_mode[i]);
    }
    idLayout->addWidget(modeFrame);
    m_manualFrame = new QGroupBox(uiText(ctx, Text::SlaveIdSettingManual), idFrame);
    auto* manualLayout = new QHBoxLayout(m_manualFrame);
    manualLayout->addWidget(new QLabel(uiText(ctx, Text::SlaveIdHexLabel), m_manualFrame));
    m_manualId = combo(m_manualFrame, "cboDeviceID_Menu", CommSetup::manualIdEntries());
    m_manualId->setEditable(true);
    manualLayout->addWidget(m_manualId);
    idLayout->addWidget(m_manualFrame);
    m_autoFrame = new QGroupBox(uiText(ctx, Text::SlaveIdSettingAutomatic), idFrame);
    auto* autoLayout = new QGridLayout(m_autoFrame);
    autoLayout->addWidget(new QLabel(uiText(ctx, Text::SlaveIdHexLabel), m_autoFrame), 0, 0);
    m_autoId = new QLineEdit(m_autoFrame);
    m_autoId->setObjectName("txtDeviceID_Auto");
    autoLayout->addWidget(m_autoId, 0, 1);
    m_autoList = new QComboBox(m_autoFrame);
    m_autoList->setObjectName("cboAddress_Auto");
    m_autoList->setMinimumWidth(260);
    autoLayout->addWidget(m_autoList, 1, 0, 1, 2);
    m_search = new QPushButton(uiText(ctx, Text::Search), m_autoFrame);
    m_search->setObjectName("cmdSearch");
    m_stop = new QPushButton(uiText(ctx, Text::Stop), m_autoFrame);
    m_stop->setObjectName("cmdStop");
    autoLayout->addWidget(m_search, 0, 2);
    autoLayout->addWidget(m_stop, 1, 2);
    idLayout->addWidget(m_autoFrame);
    layout->addWidget(idFrame);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(uiText(ctx, Text::Ok), this);
    m_ok->setObjectName("cmdOK");
    m_apply = new QPushButton(uiText(ctx, Text::Apply), this);
    m_apply->setObjectName("cmdApply");
    m_cancel = new QPushButton(uiText(ctx, Text::Cancel), this);
    m_cancel->setObjectName("cmdCancel");
    for (QPushButton* b : {m_ok, m_apply, m_cancel})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    // The slave ID box takes the keys typed into it itself: it hands them to
    // its line edit directly, past any filter there.
    for (QObject* o : {static_cast<QObject*>(m_timeout), static_cast<QObject*>(m_delay), static_cast<QObject*>(m_manualId)})
        o->installEventFilter(this);
    for (QComboBox* c : {m_port, m_baud, m_parity, m_dataBits, m_stopBits, m_manualId})
        connect(c, &QComboBox::currentIndexChanged, this, [this] { changed(); });
    connect(m_manualId, &QComboBox::editTextChanged, this, [this] { changed(); });
    for (QLineEdit* e : {m_timeout, m_delay, m_autoId})
        connect(e, &QLineEdit::textChanged, this, [this] { changed(); });
    for (QRadioButton* r : {m_protocol[0], m_protocol[1]})
        connect(r, &QRadioButton::toggled, this, [this] { changed(); });
    for (QRadioButton* r : {m_mode[0], m_mode[1]})
        connect(r, &QRadioButton::toggled, this, [this] {
            applyModeEnabling();
            changed();
        });
    connect(m_autoList, &QComboBox::activated, this, [this](int index) {
        m_autoId->setText(m_autoList->itemText(index).left(2));
        changed();
    });
    connect(m_apply, &QPushButton::clicked, this, [this] { apply(); });
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (apply())
            accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_search, &QPushButton::clicked, this, [this] { search(); });
    connect(m_stop, &QPushButton::clicked, this, [this] { stop(); });
    load();
}

void CommSetupDialog::load()
{
    m_loading = true;
    m_form = m_setup.load();
    showForm();
    m_apply->setEnabled(false);
    m_stop->setEnabled(false);
    m_loading = false;
    m_port->setFocus();
}

void CommSetupDialog::showForm()
{
    m_port->setCurrentIndex(m_form.portIndex);
    m_baud->setCurrentIndex(m_form.baudIndex);
    m_parity->setCurrentIndex(m_form.parityIndex);
    m_dataBits->setCurrentIndex(m_form.dataBitsIndex);
    m_stopBits->setCurrentIndex(m_form.stopBitsIndex);
    m_protocol[m_form.protocol == 1 ? 1 : 0]->setChecked(true);
    m_timeout->setText(QString::fromStdString(m_form.timeoutText));
    m_delay->setText(QString::fromStdString(m_form.delayText));
    m_manualId->setEditText(QString::fromStdString(m_form.manualIdText));
    m_autoList->clear();
    for (const auto& e : m_form.autoEntries)
        m_autoList->addItem(QString::fromStdString(e));
    m_autoList->setCurrentIndex(m_form.autoIndex);
    m_autoId->setText(QString::fromStdString(m_form.autoIdText));
    m_mode[m_form.idMode == 1 ? 1 : 0]->setChecked(true);
    applyModeEnabling();
}

void CommSetupDialog::readForm()
{
    m_form.portIndex = m_port->currentIndex();
    m_form.baudIndex = m_baud->currentIndex();
    m_form.parityIndex = m_parity->currentIndex();
    m_form.dataBitsIndex = m_dataBits->currentIndex();
    m_form.stopBitsIndex = m_stopBits->currentIndex();
    m_form.protocol = m_protocol[1]->isChecked() ? 1 : 0;
    m_form.timeoutText = m_timeout->text().toStdString();
    m_form.delayText = m_delay->text().toStdString();
    m_form.idMode = m_mode[1]->isChecked() ? 1 : 0;
    m_form.manualIdText = m_manualId->currentText().toStdString();
    m_form.autoIdText = m_autoId->text().toStdString();
    m_form.autoIndex = m_autoList->currentIndex();
}

void CommSetupDialog::changed()
{
    if (!m_loading && !m_form.searching)
        m_apply->setEnabled(true);
}

void CommSetupDialog::applyModeEnabling()
{
    const bool manual = !m_mode[1]->isChecked();
    m_manualFrame->setEnabled(manual);
    m_manualId->setEnabled(manual);
    m_autoFrame->setEnabled(!manual);
    m_autoId->setEnabled(!manual);
    m_autoList->setEnabled(!manual);
    m_search->setEnabled(!manual && !m_form.searching);
}

bool CommSetupDialog::apply()
{
    readForm();
    const bool ok = m_setup.apply(m_form) == 0;
    if (ok)
        m_apply->setEnabled(false);
    return ok;
}

bool CommSetupDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->text().isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
        || key->key() == Qt::Key_Escape)
        return false; // navigation and editing keys are not typed characters
    const char typed = key->key() == Qt::Key_Backspace ? char(8) : key->text().at(0).toLatin1();
    const CommSetupField field = watched == m_timeout ? CommSetupField::Timeout
        : watched == m_delay                          ? CommSetupField::Delay
                                                      : CommSetupField::ManualId;
    const char accepted = CommSetup::filterKey(field, typed);
    if (accepted == 0)
        return true; // dropped
    if (accepted != typed) { // a-f typed as A-F
        m_manualId->lineEdit()->insert(QString(QChar(accepted)));
        return true;
    }
    return false;
}

void CommSetupDialog::setSearching(bool searching)
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_port, m_baud, m_parity, m_dataBits, m_stopBits, m_timeout, m_delay, m_mode[0],
                                                     m_mode[1], m_protocol[0], m_protocol[1], m_ok, m_cancel, m_apply})
        w->setEnabled(!searching);
    m_stop->setEnabled(searching);
    m_search->setEnabled(!searching);
    if (!searching)
        m_apply->setEnabled(false);
}

void CommSetupDialog::search()
{
    readForm();
    setSearching(true);
    m_autoList->clear();
    m_setup.search(m_form, [this](const CommSetupForm& f) {
        m_autoId->setText(QString::fromStdString(f.autoIdText));
        while (m_autoList->count() < static_cast<int>(f.autoEntries.size()))
            m_autoList->addItem(QString::fromStdString(f.autoEntries[static_cast<std::size_t>(m_autoList->count())]));
        if (f.autoIndex >= 0 && m_autoList->currentIndex() < 0)
            m_autoList->setCurrentIndex(f.autoIndex);
    });
    setSearching(false);
    applyModeEnabling();
}

void CommSetupDialog::stop()
{
    m_setup.stop(m_form);
    m_autoId->clear();
}

} // namespace lumetra::gui
