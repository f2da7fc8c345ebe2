#include "EditorWindow.h"

#include "MainWindow.h"
#include "ValueDisplayWidget.h"

#include "model/EditorCaptions.h"
#include "model/OutputPictures.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace lumetra::gui {

namespace {

// The panel of each block, by the editors' own names.
QString panelName(MachineType type, int block)
{
    if (type == MachineType::DQ) {
        static const char* names[] = {"picAll", "picST_A", "picSC_B", "picSF_B", "picDT_A", "picDC_A", "picDF_A", "picDT_B", "picDC_B", "picDF_B"};
        return names[block];
    }
    static const char* names[] = {"picMode_TQ", "picTimer_TQ_A", "picTimer_TQ_B", "picTimer_TQ_C", "picMode_CQ",
                                  "picTimer_CQ_1st_total", "picTimer_CQ_2nd", "picTimer_CQ_batch_dual", "picTimer_CQ_freq"};
    return names[block];
}

// The panel's title; the two halves of a single function say which they are.
QString panelCaption(const AppContext& ctx, const SettingsDocument& doc, int block)
{
    if (doc.machineType() != MachineType::DQ)
        return uiText(ctx, doc.tqcq().panelTitleId(block));
    const QString title = uiText(ctx, DqSettings::panelTitleId(block));
    if (block >= DqBlock::TwoStageTimerB)
        return title + "  -  B";
    return block >= DqBlock::TwoStageTimer ? title + "  -  A" : title;
}

QString captionText(const AppContext& ctx, Text labelId) { return uiText(ctx, editorCaptionId(labelId)); }

} // namespace

EditorWindow::EditorWindow(AppContext& ctx, MainWindow& main, PanelBitmaps& bitmaps)
    : m_ctx(ctx), m_main(main), m_bitmaps(bitmaps), m_mode(new QLabel(this)), m_caution(new QLabel(this)), m_channelTitleB(new QLabel(this))
{
    setObjectName(ctx.document.machineType() == MachineType::DQ ? "frmModeSetting_DQ" : "frmModeSetting_CQ");
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    refresh();
}

void EditorWindow::build()
{
    auto* layout = new QVBoxLayout(this);
    auto* menus = new QMenuBar(this);
    layout->setMenuBar(menus);
    SettingsDocument& doc = m_ctx.document;
    const MachineType type = doc.machineType();

    QMenu* file = menus->addMenu(uiText(m_ctx, Text::MenuFile));
    file->setObjectName("mFile");
    const auto item = [this](QMenu* menu, const char* name, Text caption, std::function<void()> action) {
        QAction* a = menu->addAction(uiText(m_ctx, caption), this, std::move(action));
        a->setObjectName(name);
        return a;
    };
    item(file, "mNew", Text::MenuNew, [this] { mNew_Click(); });
    item(file, "mOpenSetting", Text::MenuOpen, [this] { mOpenSetting_Click(); });
    item(file, "mClose", Text::MenuClose, [this] { mClose_Click(); });
    item(file, "mSaveSetting", Text::MenuSave, [this] { mSaveSetting_Click(); });
    item(file, "mSaveAs", Text::MenuSaveAs, [this] { mSaveAs_Click(); });
    item(file, "mExit", Text::MenuExit, [this] { m_main.close(); });

    QMenu* modes = menus->addMenu(uiText(m_ctx, Text::MenuFunctionSelection));
    modes->setObjectName("mFuncModeSelect");
    const int modeCount = type == MachineType::DQ ? DqSettings::kFunctionModes : 9;
    for (int mode = 0; mode < modeCount; ++mode) {
        if (type != MachineType::DQ && !doc.tqcq().offersMode(mode))
            continue;
        const Text caption = type == MachineType::DQ ? dqFunctionModeStringId(mode) : tqcqFunctionModeStringId(mode);
        QAction* a = item(modes, qPrintable(QString("mFuncModeSelect_%1").arg(mode)), caption, [this, mode] { selectFunctionMode(mode); });
        a->setCheckable(true);
        m_modeActions.emplace_back(mode, a);
    }

    QMenu* transfers = menus->addMenu(uiText(m_ctx, Text::MenuCommunication));
    transfers->setObjectName("mTool");
    item(transfers, "mUpload", Text::MenuUpload, [this] { mUpload_Click(); });
    item(transfers, "mDownload", type == MachineType::DQ ? Text::MenuDownloadAll : Text::MenuDownload, [this] { mDownload_Click(); });
    if (type == MachineType::DQ) {
        m_downloadA = item(transfers, "mDownload_A", Text::MenuDownloadA, [this] { m_main.runTransfer(OperationKind::Download, TransferTarget::DqChannelA); });
        m_downloadB = item(transfers, "mDownload_B", Text::MenuDownloadB, [this] { m_main.runTransfer(OperationKind::Download, TransferTarget::DqChannelB); });
    }
    item(transfers, "mCompare", Text::MenuCompare, [this] { mCompare_Click(); });
    QMenu* monitor = menus->addMenu(uiText(m_ctx, Text::MenuMonitor));
    item(monitor, "mMonitoring", Text::Monitor, [this] { mMonitoring_Click(); });
    QMenu* option = menus->addMenu(uiText(m_ctx, Text::MenuOption));
    item(option, "mCommSetting", Text::CommunicationSettings, [this] { m_main.showCommSetup(); });
    m_kp = item(option, "mKP", Text::KeyProtection, [this] { mKP_Click(); });
    m_kp->setCheckable(true);
    if (type == MachineType::DQ) {
        m_powerSaving = item(option, "mPowerSaving", Text::PowerSaving, [this] { mPowerSaving_Click(); });
        m_powerSaving->setCheckable(true);
    }

    QFont big = m_mode->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    m_mode->setFont(big);
    m_mode->setObjectName("txtCH_A");
    m_channelTitleB->setObjectName("txtCH_B");
    m_channelTitleB->setFont(big);
    auto* titles = new QHBoxLayout;
    titles->addWidget(m_mode);
    titles->addStretch();
    titles->addWidget(m_channelTitleB);
    layout->addLayout(titles);
    auto* pictures = new QHBoxLayout;
    const char* channelNames[2] = {"ImageCH_A", "ImageCH_B"};
    const char* outputNames[2] = {"Image_Output_A", "Image_Output_B"};
    for (int i = 0; i < 2; ++i) {
        m_channelPictures[i] = new QLabel(this);
        m_channelPictures[i]->setObjectName(channelNames[i]);
        pictures->addWidget(m_channelPictures[i]);
    }
    m_optPic = new QCheckBox("Channel pictures", this);
    m_optPic->setObjectName("optPic");
    m_optPic->setChecked(true);
    pictures->addWidget(m_optPic);
    for (int i = 0; i < 2; ++i) {
        m_outputPictures[i] = new QLabel(this);
        m_outputPictures[i]->setObjectName(outputNames[i]);
        m_outputPictures[i]->setFixedSize(240, 110);
        m_outputPictures[i]->setScaledContents(true);
        pictures->addWidget(m_outputPictures[i]);
    }
    pictures->addStretch();
    layout->addLayout(pictures);
    connect(m_optPic, &QCheckBox::toggled, this, [this] { syncPictures(); });
    m_caution->setObjectName("lblPSCaution");
    m_caution->setText(uiText(m_ctx, Text::PowerSavingNote));
    m_caution->setWordWrap(true);
    m_caution->setStyleSheet("color: rgb(190, 80, 20);");
    layout->addWidget(m_caution);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    auto* body = new QWidget(scroll);
    auto* columns = new QGridLayout(body);
    m_columns = columns;
    scroll->setWidget(body);
    layout->addWidget(scroll, 1);

    const auto panel = [&](int block) {
        auto it = m_panels.find(block);
        if (it != m_panels.end())
            return it->second;
        auto* box = new QGroupBox(panelCaption(m_ctx, doc, block), body);
        box->setObjectName(panelName(type, block));
        new QGridLayout(box);
        const int index = static_cast<int>(m_panels.size());
        columns->addWidget(box, index / 2, index % 2, Qt::AlignTop);
        m_panels[block] = box;
        return box;
    };
    const auto addRow = [](QGroupBox* box, const QString& label, QWidget* widget) {
        auto* grid = static_cast<QGridLayout*>(box->layout());
        const int row = grid->rowCount();
        auto* caption = new QLabel(label, box);
        grid->addWidget(caption, row, 0);
        grid->addWidget(widget, row, 1);
        return caption;
    };
    const auto buildFields = [&](auto& record) {
        using Record = std::remove_reference_t<decltype(record)>;
        for (const auto& f : Record::listFields()) {
            if (!f.member || f.fileClass == 'F')
                continue; // the mode and the flags are menu commands
            QGroupBox* box = panel(f.block);
            auto* combo = new QComboBox(box);
            combo->setObjectName(f.name);
            const QString name = f.name;
            connect(combo, &QComboBox::activated, this, [this, name](int index) { chooseListEntry(name, index); });
            QLabel* caption = addRow(box, captionText(m_ctx, f.labelId), combo);
            m_lists.push_back({name, combo, caption});
        }
        for (const auto& f : Record::valueFields()) {
            QGroupBox* box = panel(f.block);
            const std::string name = f.name;
            auto* widget = new ValueDisplayWidget(f.name, record.*f.member, [this, name] { return m_ctx.document.valueText(name); }, box);
            QLabel* caption = addRow(box, captionText(m_ctx, f.labelId), widget);
            m_values.push_back({QString(f.name), widget, caption});
        }
    };
    if (type == MachineType::DQ) {
        buildFields(doc.dq());
        // frmShowInputPic: the counter's input picture.
        auto* inputPicture = new QPushButton("Input picture...", m_panels.at(DqBlock::CounterB));
        inputPicture->setObjectName("cmdInputPic");
        static_cast<QGridLayout*>(m_panels.at(DqBlock::CounterB)->layout())->addWidget(inputPicture, 0, 2);
        connect(inputPicture, &QPushButton::clicked, this, [this] { showInputPicture(); });
    } else {
        buildFields(doc.tqcq());
    }
    // The document outlives this window: it holds the window weakly, and
    // lets go of it when the window closes.
    doc.setOnValueChanged([editor = QPointer<EditorWindow>(this)] {
        if (editor)
            editor->changed();
    });
}

void EditorWindow::syncPictures()
{
    const SettingsDocument& doc = m_ctx.document;
    // A picture file that is not there leaves the previous picture; a place
    // the mode does not use is cleared.
    for (const OutputPicture& p : outputPictures(doc)) {
        QLabel* label = p.control == "Image_Output_A" ? m_outputPictures[0] : m_outputPictures[1];
        label->setToolTip(QString::fromStdString(p.file));
        if (p.file.empty()) {
            label->clear();
            continue;
        }
        const QPixmap picture(QString::fromStdString(m_ctx.files.folders().appFolder + "/" + p.file));
        if (!picture.isNull())
            label->setPixmap(picture);
    }
    m_optPic->setEnabled(channelPictureOption(doc));
    const bool show = m_optPic->isChecked();
    m_channelPictures[0]->setPixmap(m_bitmaps.bitmap(QString::fromStdString(channelPictureA(doc))));
    m_channelPictures[1]->setPixmap(m_bitmaps.bitmap(QString::fromStdString(channelPictureB(doc))));
    for (QLabel* l : m_channelPictures)
        l->setVisible(show);
}

void EditorWindow::showInputPicture()
{
    QDialog dialog(this);
    dialog.setObjectName("frmShowInputPic");
    auto* layout = new QVBoxLayout(&dialog);
    auto* image = new QLabel(&dialog);
    image->setObjectName("imgInput");
    const std::string file = m_ctx.files.folders().appFolder + "/" + inputPicture(m_ctx.document.dq().cboCountInputModeB);
    const QPixmap picture(QString::fromStdString(file));
    if (!picture.isNull())
        image->setPixmap(picture);
    else
        image->setText(QString::fromStdString(file));
    layout->addWidget(image);
    auto* close = new QPushButton(uiText(m_ctx, Text::Ok), &dialog);
    close->setObjectName("lblClose");
    layout->addWidget(close);
    connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.exec();
}

void EditorWindow::changed()
{
    if (!m_syncing)
        m_ctx.fileState.settingsChanged = true;
}

void EditorWindow::chooseListEntry(const QString& name, int index)
{
    SettingsDocument& doc = m_ctx.document;
    const auto apply = [&](auto& record) {
        using Record = std::remove_reference_t<decltype(record)>;
        const auto* f = Record::findList(name.toStdString());
        if (!f || record.listIndex(*f) == index)
            return; // the same entry again: no change
        if (record.setList(*f, index))
            m_ctx.fileState.settingsChanged = true;
    };
    if (doc.machineType() == MachineType::DQ)
        apply(doc.dq());
    else
        apply(doc.tqcq());
    syncAll();
}

void EditorWindow::selectFunctionMode(int mode)
{
    bool changed = false;
    if (!m_ctx.document.selectFunctionMode(mode, &changed))
        return;
    if (changed)
        m_ctx.fileState.settingsChanged = true;
    syncAll();
    m_main.showFlags();
    if (auto* first = findChild<QComboBox*>(QString::fromStdString(m_ctx.document.firstListOfMode())))
        first->setFocus();
}

ValueDisplayWidget* EditorWindow::valueWidget(const QString& name) const
{
    for (const ValueRow& v : m_values)
        if (v.name == name)
            return v.widget;
    return nullptr;
}

void EditorWindow::syncAll()
{
    m_syncing = true;
    SettingsDocument& doc = m_ctx.document;
    const auto syncLists = [&](auto& record) {
        using Record = std::remove_reference_t<decltype(record)>;
        for (ListRow& row : m_lists) {
            const auto* f = Record::findList(row.name.toStdString());
            QStringList items;
            for (const std::string& t : choiceTexts(record.listOf(*f), m_ctx.strings))
                items << QString::fromStdString(t);
            QStringList current;
            for (int i = 0; i < row.box->count(); ++i)
                current << row.box->itemText(i);
            if (items != current) { // the list was rebuilt
                row.box->clear();
                row.box->addItems(items);
            }
            row.box->setCurrentIndex(record.listIndex(*f));
        }
    };
    if (doc.machineType() == MachineType::DQ)
        syncLists(doc.dq());
    else
        syncLists(doc.tqcq());
    // What the mode shows, enables and calls each setting.
    for (ListRow& row : m_lists) {
        const bool shown = doc.look(row.name.toStdString()).shown;
        row.box->setVisible(shown);
        row.caption->setVisible(shown);
    }
    for (ValueRow& v : m_values) {
        const FieldLook look = doc.look(v.name.toStdString());
        v.widget->setVisible(look.shown);
        v.caption->setVisible(look.shown);
        v.widget->setEnabled(look.enabled);
        v.caption->setText(captionText(m_ctx, look.labelId));
        v.widget->sync();
    }
    syncPanels();
    const int mode = doc.functionMode();
    for (auto& [m, action] : m_modeActions)
        action->setChecked(m == mode);
    // The channel titles of the mode.
    if (doc.machineType() == MachineType::DQ) {
        const std::array<Text, 2> titles = DqSettings::channelTitleIds(mode);
        m_mode->setText(uiText(m_ctx, titles[0]));
        m_channelTitleB->setText(uiText(m_ctx, titles[1]));
    } else {
        m_mode->setText(TqCqSettings::isTimerMode(mode) || TqCqSettings::isCounterMode(mode) ? uiText(m_ctx, tqcqFunctionTitleId(mode)) : QString());
        m_channelTitleB->setText(QString::fromStdString(machineTypeDisplayName(doc.machineType())));
    }
    syncPictures();
    const bool dq = doc.machineType() == MachineType::DQ;
    m_kp->setChecked(dq ? doc.dq().keyProtection : doc.tqcq().keyProtection);
    if (m_powerSaving)
        m_powerSaving->setChecked(doc.dq().powerSaving);
    m_caution->setVisible(dq && doc.dq().powerSaving);
    if (m_downloadA) {
        m_downloadA->setEnabled(doc.dq().functionGroup == 0);
        m_downloadB->setEnabled(doc.dq().functionGroup == 0);
    }
    m_syncing = false;
}

void EditorWindow::syncPanels()
{
    const SettingsDocument& doc = m_ctx.document;
    const bool dq = doc.machineType() == MachineType::DQ;
    // The mode's panels, two to a row, without gaps for the hidden ones: the
    // function's panels first, the settings common to the mode last.
    std::vector<std::pair<int, QGroupBox*>> order(m_panels.begin(), m_panels.end());
    std::stable_sort(order.begin(), order.end(), [dq](const auto& a, const auto& b) {
        const auto common = [dq](int block) { return dq ? DqSettings::isCommonBlock(block) : TqCqSettings::isCommonBlock(block); };
        return common(a.first) < common(b.first);
    });
    int shown = 0;
    for (auto& [block, box] : order) {
        m_columns->removeWidget(box);
        const bool active = dq ? doc.dq().blockActive(block) : doc.tqcq().blockActive(block);
        box->setVisible(active);
        box->setTitle(panelCaption(m_ctx, doc, block));
        if (active) {
            m_columns->addWidget(box, shown / 2, shown % 2, Qt::AlignTop);
            ++shown;
        }
    }
}

void EditorWindow::refresh()
{
    setWindowTitle(QString::fromStdString(m_ctx.fileState.caption()));
    syncAll();
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

void EditorWindow::mMonitoring_Click() { m_main.showMonitor(); }

void EditorWindow::mKP_Click()
{
    std::uint8_t& kp = m_ctx.document.machineType() == MachineType::DQ ? m_ctx.document.dq().keyProtection : m_ctx.document.tqcq().keyProtection;
    kp = kp ? 0 : 1;
    m_ctx.fileState.settingsChanged = true;
    m_main.showFlags();
    syncAll();
}

void EditorWindow::mPowerSaving_Click()
{
    if (m_ctx.document.machineType() != MachineType::DQ)
        return;
    std::uint8_t& ps = m_ctx.document.dq().powerSaving;
    ps = ps ? 0 : 1;
    m_ctx.fileState.settingsChanged = true;
    m_main.showFlags();
    syncAll();
}

void EditorWindow::mClose_Click() { requestClose(); }

void EditorWindow::closeEvent(QCloseEvent* event)
{
    if (!m_ctx.files.closeQuestion(m_ctx.document, m_ctx.fileState)) {
        event->ignore();
        return;
    }
    event->accept();
    m_ctx.document.setOnValueChanged(nullptr);
    m_main.editorClosed();
}

} // namespace lumetra::gui
