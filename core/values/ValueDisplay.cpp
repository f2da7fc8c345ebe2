#include "ValueDisplay.h"

namespace lumetra {

ValueDisplay::ValueDisplay(bool hasExtraCell) : m_hasExtraCell(hasExtraCell) {}

void ValueDisplay::changed()
{
    if (m_onChanged)
        m_onChanged();
}

char ValueDisplay::cell(int index) const
{
    if (index == kExtraCell)
        return m_extra;
    return index >= 0 && index < kCells ? m_cells[static_cast<std::size_t>(index)] : '\0';
}

void ValueDisplay::setCell(int index, char caption)
{
    if (index < 0 || index >= kCells || m_cells[static_cast<std::size_t>(index)] == caption)
        return;
    m_cells[static_cast<std::size_t>(index)] = caption;
    changed();
}

void ValueDisplay::setDigits(const std::string& digits)
{
    for (int i = 0; i < kCells && i < static_cast<int>(digits.size()); ++i)
        setCell(i, digits[static_cast<std::size_t>(i)]);
}

std::string ValueDisplay::digits() const { return {m_cells.begin(), m_cells.end()}; }

void ValueDisplay::step(int index, MouseButton button)
{
    if (index < 0 || index >= kCells || button == MouseButton::Other)
        return;
    const char c = m_cells[static_cast<std::size_t>(index)];
    const bool up = button == MouseButton::Left;
    const int d = c >= '0' && c <= '9' ? c - '0' : -1; // -1: the minus sign
    char next;
    if (m_rule == StepRule::SixtyTens && index == 4) {
        next = static_cast<char>('0' + (up ? (d + 1) % 6 : (d <= 0 ? 5 : d - 1)));
    } else if (m_rule == StepRule::SignedFirstCell && index == 0) {
        if (up)
            next = d == 9 ? '-' : d < 0 ? '0' : static_cast<char>('0' + d + 1);
        else
            next = d == 0 ? '-' : d < 0 ? '9' : static_cast<char>('0' + d - 1);
    } else {
        const int digit = d < 0 ? 0 : d;
        next = static_cast<char>('0' + (up ? (digit + 1) % 10 : (digit == 0 ? 9 : digit - 1)));
    }
    setCell(index, next); // a step always changes the caption, so it is always reported
}

void ValueDisplay::ArrangeDecimalPoint(int position)
{
    if (!m_hasExtraCell || position < 0 || position > 3)
        return;
    const char extra = position == 0 ? '0' : '.';
    m_point = position;
    if (extra != m_extra) {
        m_extra = extra;
        changed();
    }
}

std::vector<int> ValueDisplay::screenOrder() const
{
    std::vector<int> order;
    if (m_hasExtraCell && m_point == 0)
        order.push_back(kExtraCell);
    for (int i = 0; i < kCells; ++i) {
        if (m_hasExtraCell && m_point > 0 && i == kCells - m_point)
            order.push_back(kExtraCell);
        order.push_back(i);
    }
    return order;
}

std::string ValueDisplay::valueText() const
{
    if (!m_hasExtraCell)
        return digits();
    std::string text;
    for (int i : screenOrder())
        text += cell(i);
    return text;
}

} // namespace lumetra
