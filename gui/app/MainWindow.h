#pragma once

#include <QMainWindow>

class QLabel;
class QMdiArea;

namespace lumetra::gui {

// frmMDI: the multiple-document main window holding one unit's editor and
// monitor windows. It has no maximise command.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow();

    QLabel* const (&statusPanels() const)[4] { return m_panels; }

private:
    QMdiArea* m_mdi;
    QLabel* m_panels[4];
};

} // namespace lumetra::gui
