#include "AboutDialog.h"

#include "Version.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumetra::gui {

QString versionText() { return QString("Version : %1 . %2 . %3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionPatch); }

AboutDialog::AboutDialog(const AppContext& ctx, QWidget* parent) : QDialog(parent)
{
    setObjectName("frmAbout");
    setWindowTitle(uiText(ctx, Text::AboutMe));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("<b>Lumetra</b>", this);
    auto* version = new QLabel(versionText(), this);
    version->setObjectName("lblVersion");
    auto* ok = new QPushButton(uiText(ctx, Text::Ok), this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    ok->setFocus();
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace lumetra::gui
