#include "TypeSelectDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lumetra::gui {

TypeSelectDialog::TypeSelectDialog(const AppContext& ctx, QWidget* parent) : QDialog(parent)
{
    setObjectName("frmMacTypeSel");
    setWindowTitle(uiText(ctx, Text::SelectMachineType));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(this);
    auto* groupLayout = new QVBoxLayout(group);
    for (int i = 0; i < 4; ++i) {
        m_options[i] = new QRadioButton(QString::fromStdString(machineTypeDisplayName(static_cast<MachineType>(i + 1))), group);
        m_options[i]->setObjectName(QString("grpType%1").arg(i));
        groupLayout->addWidget(m_options[i]);
    }
    m_options[1]->setChecked(true);
    layout->addWidget(group);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(uiText(ctx, Text::Ok), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(uiText(ctx, Text::Cancel), QDialogButtonBox::RejectRole);
    ok->setObjectName("cmdOK");
    cancel->setObjectName("cmdCancel");
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < 4; ++i)
            if (m_options[i]->isChecked())
                m_chosen = static_cast<MachineType>(i + 1);
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_chosen.reset();
        reject();
    });
}

} // namespace lumetra::gui
