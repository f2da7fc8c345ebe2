#include "ValueDisplayWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace lumetra::gui {

namespace {
const char* kCellStyle = "QLabel { background: rgb(26, 32, 30); color: rgb(120, 255, 150); font: bold 22px 'DejaVu Sans Mono';"
                         " border: 1px solid rgb(60, 80, 70); padding: 0 3px; }"
                         "QLabel:hover { border-color: rgb(160, 255, 180); }"
                         "QLabel:disabled { color: rgb(55, 85, 65); border-color: rgb(40, 50, 45); }";
// The extra cell: a fixed "0" shown dim, or the decimal point.
const char* kExtraStyle = "QLabel { background: rgb(26, 32, 30); color: rgb(80, 120, 95); font: 22px 'DejaVu Sans Mono'; padding: 0 3px; }";
const char* kPointStyle = "QLabel { background: rgb(26, 32, 30); color: rgb(120, 255, 150); font: bold 22px 'DejaVu Sans Mono'; padding: 0 1px; }";
const char* kSeparatorStyle = "QLabel { background: rgb(26, 32, 30); color: rgb(120, 255, 150); font: bold 22px 'DejaVu Sans Mono'; }";
} // namespace

ValueDisplayWidget::ValueDisplayWidget(const QString& name, ValueDisplay& display, std::function<std::string()> shownText, QWidget* parent)
    : QWidget(parent), m_display(display), m_shownText(std::move(shownText)), m_layout(new QHBoxLayout(this))
{
    setObjectName(name);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(1);
    for (int i = 0; i < 7; ++i) {
        m_cells[i] = new QLabel(this);
        m_cells[i]->setObjectName(QString("%1_%2").arg(name).arg(i));
        m_cells[i]->setAlignment(Qt::AlignCenter);
        m_cells[i]->setStyleSheet(i == ValueDisplay::kExtraCell ? kExtraStyle : kCellStyle);
        m_cells[i]->installEventFilter(this);
        m_cells[i]->setCursor(Qt::PointingHandCursor);
    }
    for (QLabel*& s : m_separators) {
        s = new QLabel(this);
        s->setStyleSheet(kSeparatorStyle);
        s->hide();
    }
    m_layout->addStretch();
    sync();
}

void ValueDisplayWidget::sync()
{
    // Take every cell out of the row and lay them out in screen order again.
    for (QLabel* c : m_cells)
        m_layout->removeWidget(c);
    for (QLabel* s : m_separators) {
        m_layout->removeWidget(s);
        s->hide();
    }
    int at = 0;
    std::vector<int> order;
    if (m_display.hasExtraCell()) {
        order = m_display.screenOrder();
    } else {
        order = {0, 1, 2, 3, 4, 5};
    }
    // Separators of displays without an extra cell come from the shown text.
    const std::string text = m_shownText ? m_shownText() : std::string();
    std::size_t separatorIndex = 0;
    std::size_t textPos = 0;
    for (int cell : order) {
        QLabel* label = m_cells[cell];
        label->setText(QString(QChar(m_display.cell(cell))));
        if (cell == ValueDisplay::kExtraCell)
            label->setStyleSheet(m_display.extraCell() == '.' ? kPointStyle : kExtraStyle);
        label->setVisible(true);
        m_layout->insertWidget(at++, label);
        if (!m_display.hasExtraCell()) {
            ++textPos;
            if (textPos < text.size() && (text[textPos] == '.' || text[textPos] == ':') && separatorIndex < 6) {
                QLabel* s = m_separators[separatorIndex++];
                s->setText(QString(QChar(text[textPos])));
                s->show();
                m_layout->insertWidget(at++, s);
                ++textPos;
            }
        }
    }
    if (!m_display.hasExtraCell())
        m_cells[ValueDisplay::kExtraCell]->hide();
}

QString ValueDisplayWidget::shown() const
{
    QString text;
    for (int i = 0; i < m_layout->count(); ++i)
        if (auto* l = qobject_cast<QLabel*>(m_layout->itemAt(i)->widget()); l && l->isVisible())
            text += l->text();
    return text;
}

void ValueDisplayWidget::click(int cell, Qt::MouseButton button)
{
    const MouseButton b = button == Qt::LeftButton ? MouseButton::Left : button == Qt::RightButton ? MouseButton::Right : MouseButton::Other;
    m_display.step(cell, b);
    if (onStepped)
        onStepped();
    sync();
}

bool ValueDisplayWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < ValueDisplay::kCells; ++i) {
            if (watched == m_cells[i]) {
                click(i, static_cast<QMouseEvent*>(event)->button());
                return true;
            }
        }
    }
    if (event->type() == QEvent::ContextMenu)
        return true; // the right button steps down, it opens no menu
    return QWidget::eventFilter(watched, event);
}

} // namespace lumetra::gui
