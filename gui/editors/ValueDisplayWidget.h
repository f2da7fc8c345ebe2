#pragma once

#include "values/ValueDisplay.h"

#include <QWidget>

#include <functional>

class QHBoxLayout;
class QLabel;

namespace lumetra::gui {

// A value as the unit's front panel shows it: six digit cells (and the DQ
// extra cell) in large liquid-crystal digits. A left click steps a cell up,
// a right click down; the decimal point or separator stands where the
// setting's range or decimal point position puts it.
class ValueDisplayWidget : public QWidget {
    Q_OBJECT
public:
    // shownText gives the value as the panel shows it, separators included.
    ValueDisplayWidget(const QString& name, ValueDisplay& display, std::function<std::string()> shownText, QWidget* parent);

    // Shows the cells again (after any change of the settings).
    void sync();
    // Steps a cell as a click does.
    void click(int cell, Qt::MouseButton button);
    QString shown() const;

    std::function<void()> onStepped;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ValueDisplay& m_display;
    std::function<std::string()> m_shownText;
    QHBoxLayout* m_layout;
    QLabel* m_cells[7];
    QLabel* m_separators[6];
};

} // namespace lumetra::gui
