#include "MainWindow.h"

#include <QLabel>
#include <QMdiArea>
#include <QStatusBar>

namespace lumetra::gui {

MainWindow::MainWindow() : m_mdi(new QMdiArea(this))
{
    setObjectName("frmMDI");
    setWindowTitle("Lumetra ");
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
    setCentralWidget(m_mdi);
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QString("StatusPanel%1").arg(i + 1));
        statusBar()->addWidget(m_panels[i], i == 0 ? 1 : 0);
    }
    resize(1024, 720);
}

} // namespace lumetra::gui
