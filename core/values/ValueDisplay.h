#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace lumetra {

enum class MouseButton { Left, Right, Other };

// How the cells of a display step besides the plain 0..9 wheel.
enum class StepRule {
    Plain,
    // TQ time ranges "min:s" and "h:min": cell 4, the tens of seconds or
    // minutes, runs 0..5.
    SixtyTens,
    // CQ 1-stage counter in output modes 8 and up: cell 0 also takes "-".
    SignedFirstCell,
};

// One numeric setting as six digit cells (cell 0 leftmost), plus, on the DQ
// editor, an extra cell that shows the decimal point or a fixed "0".
// Stepping never carries and never limits; CheckRange judges the value
// later. Every change of a cell's caption is reported, so the editor can
// mark its settings as changed.
class ValueDisplay {
public:
    static constexpr int kCells = 6;
    static constexpr int kExtraCell = 6;

    explicit ValueDisplay(bool hasExtraCell = false);

    void setOnChanged(std::function<void()> onChanged) { m_onChanged = std::move(onChanged); }
    void setStepRule(StepRule rule) { m_rule = rule; }
    StepRule stepRule() const { return m_rule; }

    // Mouse-up on a cell; the extra cell and indices beyond it are ignored.
    void step(int cell, MouseButton button);

    char cell(int index) const;
    void setCell(int index, char caption);
    // Sets cells 0..5 from the first six characters of digits (missing ones
    // stay as they are).
    void setDigits(const std::string& digits);
    std::string digits() const;

    bool hasExtraCell() const { return m_hasExtraCell; }
    char extraCell() const { return m_extra; }
    int pointPosition() const { return m_point; }
    // DQ editor: 0 puts a plain "0" left of cell 0; 1..3 put "." between
    // cell 5-p and cell 6-p. Other positions are ignored.
    void ArrangeDecimalPoint(int position);

    // Cell indices left to right as the panel shows them (6 is the extra cell).
    std::vector<int> screenOrder() const;
    // The value as it reads on screen: "0123456" for position 0, "123.456"
    // for position 3; six digits on a display without the extra cell.
    std::string valueText() const;

private:
    void changed();

    std::array<char, kCells> m_cells{'0', '0', '0', '0', '0', '0'};
    bool m_hasExtraCell;
    char m_extra = '0';
    int m_point = 0;
    StepRule m_rule = StepRule::Plain;
    std::function<void()> m_onChanged;
};

} // namespace lumetra
