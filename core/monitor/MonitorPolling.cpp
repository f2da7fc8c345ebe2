// The polling cycle's readers: present values, set values and indicator
// bits into the two working panel states, by machine type and function.

#include "Monitor.h"

#include "comm/CommSession.h"

namespace lumetra {

namespace {

// Eight BCD digits of two registers (reading order: first register, then
// the second), placed by the digit numbers 1..8.
DigitRow byDigitNumbers(const std::string& d, std::array<int, 6> numbers)
{
    DigitRow row{};
    for (std::size_t i = 0; i < row.size(); ++i)
        row[i] = digitCode(d[static_cast<std::size_t>(numbers[i] - 1)]);
    return row;
}

// Whole values kept as "low four digits, then the two high digits": 7,8,1,2,3,4.
DigitRow plainRow(const std::string& d) { return byDigitNumbers(d, {7, 8, 1, 2, 3, 4}); }
// Values with two decimals kept in the six-digit layout: 5,6,7,8,3,4.
DigitRow sixDigitRow(const std::string& d) { return byDigitNumbers(d, {5, 6, 7, 8, 3, 4}); }

bool bit(std::uint16_t value, int n) { return (value >> n) & 1U; }
char bitChar(std::uint16_t value, int n) { return bit(value, n) ? '1' : '0'; }

constexpr std::uint16_t kTimerPresent[8] = {0x04A0, 0x04A4, 0x04AA, 0x04B0, 0x04B8, 0x04C0, 0x04CA, 0x04D4};
constexpr std::uint16_t kTimerSetValue[8] = {0x045C, 0x0460, 0x0466, 0x046C, 0x0474, 0x047C, 0x0486, 0x0490};

bool countsDown(int inputMode) { return inputMode == 3 || inputMode == 4 || inputMode == 5 || inputMode == 7; }

DigitRow blankRow() { return {99, 99, 99, 99, 99, 99}; }

} // namespace

bool Monitor::dqChannelBReader(PanelState& panel, bool tachometer, int decimals)
{
    const bool down = !tachometer && countsDown(m_sel.channelBInputMode);
    std::string d;
    if (!readDigits(tachometer ? 0x061A : down ? 0x05E6 : 0x05E0, 3, d))
        return false;
    // Nine digits: the third register, the last two of the second, the last
    // three of the first (six integer digits, three fraction digits); the
    // row shows the six that start at the decimal point position.
    const std::string nine = d.substr(8, 4) + d.substr(6, 2) + d.substr(1, 3);
    const auto p = static_cast<std::size_t>(decimals >= 0 && decimals <= 3 ? decimals : 0);
    panel.charA = digitRow(nine.substr(p, 6));
    if (!readDigits(down ? 0x055A : 0x0556, 2, d))
        return false;
    panel.charB = sixDigitRow(d);
    return true;
}

bool Monitor::dqKeyOutputLamps(PanelState& first, PanelState& second, bool readOutput)
{
    std::uint16_t v = 0;
    if (!read(0x04FE, v))
        return false;
    first.kp = second.kp = bit(v, 0) ? 1 : 0;
    if (readOutput) {
        if (!read(0x04E0, v))
            return false;
        first.onOff = bit(v, 0) ? 1 : 0;
    }
    if (!read(0x05DA, v))
        return false;
    first.weekBits = second.weekBits = std::string("0000") + bitChar(v, 4) + "0" + bitChar(v, 5);
    return true;
}

int Monitor::Display_DQ()
{
    PanelState& first = m_work[0];
    PanelState& second = m_work[1];
    std::string d;
    if (m_sel.functionSelection == 0) {
        const int c = m_sel.timeCode & 7;
        if (!readDigits(kTimerPresent[c], 2, d))
            return m_result;
        first.charA = c <= 1 ? sixDigitRow(d) : plainRow(d);
        if (!readDigits(kTimerSetValue[c], 2, d))
            return m_result;
        first.charB = c <= 1 ? sixDigitRow(d) : plainRow(d);
        if (!dqKeyOutputLamps(first, second, true) || !dqChannelBReader(second, m_sel.channelBKind == 1, m_sel.channelBDecimals))
            return m_result;
        copyAndDraw(true);
        return 0;
    }
    switch (m_sel.combinedFunction) {
    case 0: // 2-stage timer: the present value above both stages' set values
        if (!readDigits(0x0648, 2, d))
            return m_result;
        first.charA = second.charA = sixDigitRow(d);
        if (!readDigits(0x0632, 2, d))
            return m_result;
        first.charB = sixDigitRow(d);
        if (!readDigits(0x0636, 2, d))
            return m_result;
        second.charB = sixDigitRow(d);
        if (!dqKeyOutputLamps(first, second, true))
            return m_result;
        copyAndDraw(false);
        return 0;
    case 1:
        if (!readDigits(0x0680, 2, d))
            return m_result;
        first.charA = sixDigitRow(d);
        if (!readDigits(0x0672, 2, d))
            return m_result;
        first.charB = sixDigitRow(d);
        if (!dqKeyOutputLamps(first, second, false) || !dqChannelBReader(second, false, 0))
            return m_result;
        copyAndDraw(true);
        return 0;
    default:
        if (!readDigits(0x061C, 2, d))
            return m_result;
        first.charA = sixDigitRow(d);
        if (!readDigits(0x0690, 2, d))
            return m_result;
        first.charB = sixDigitRow(d);
        if (!dqKeyOutputLamps(first, second, false) || !dqChannelBReader(second, true, 0))
            return m_result;
        copyAndDraw(false);
        return 0;
    }
}

int Monitor::Display_TQ()
{
    PanelState& first = m_work[0];
    PanelState& second = m_work[1];
    std::uint16_t status = 0;
    std::uint16_t v = 0;
    std::string d;
    if (!read(0x04D2, status) || !readDigits(0x0502, 2, d))
        return m_result;
    first.charA = plainRow(d);
    const int f = m_sel.functionSelection;
    bool blinkCondition = bit(status, 0) && !bit(status, 2) && !bit(status, 4);
    if (f == 0) {
        if (!readDigits(0x044A, 2, d))
            return m_result;
        const DigitRow setValue = plainRow(d);
        first.charB = setValue;
        if (m_sel.outputMode == 9) { // cycle time and duty ratio
            if (!readDigits(0x044E, 1, d))
                return m_result;
            first.charB = {99, 99, digitCode(d[0]), digitCode(d[1]), digitCode(d[2]), digitCode(d[3])};
            second.charA = first.charA;
            second.charB = setValue;
        } else {
            second = PanelState();
        }
        if (m_sel.outputMode == 1) {
            if (!read(0x04F0, v))
                return m_result;
            blinkCondition = v != 0 && !bit(status, 2);
        }
    } else if (f == 1) {
        if (!readDigits(0x0506, 2, d))
            return m_result;
        second.charA = plainRow(d);
        if (!readDigits(0x0468, 2, d))
            return m_result;
        first.charB = plainRow(d);
        if (!readDigits(0x046C, 2, d))
            return m_result;
        second.charB = plainRow(d);
        if (!read(0x0680, v)) // the phase that runs: OFF or ON
            return m_result;
        first.onOff = bit(v, 0) ? 0 : 1;
        second.onOff = bit(v, 0) ? 1 : 0;
    } else {
        if (!readDigits(0x0486, 2, d))
            return m_result;
        first.charB = plainRow(d);
        if (!readDigits(0x048A, 2, d))
            return m_result;
        second.charB = plainRow(d);
        second.charA = first.charA;
    }
    if (!read(0x043C, v))
        return m_result;
    first.kp = bit(v, 0) ? 1 : 0;
    if (f != 0 || m_sel.outputMode == 9)
        second.kp = first.kp;
    std::uint16_t r429 = 0;
    std::uint16_t r424 = 0;
    std::uint16_t r50a = 0;
    if (!read(0x0429, r429) || !read(0x0424, r424) || !read(0x050A, r50a))
        return m_result;
    first.weekBits = std::string{bitChar(r429, 3), '0', bitChar(r424, 0), '0', bitChar(r50a, 3), '0', bitChar(r50a, 4)};
    second.weekBits = "0000000";
    // Minute and hour ranges blink their time unit while the timer runs.
    static constexpr std::uint8_t kUnits[10] = {4, 4, 4, 6, 3, 3, 5, 2, 2, 4};
    const int range = m_sel.timeRange;
    const std::uint8_t unit = range >= 0 && range <= 9 ? kUnits[range] : 0;
    if (range >= 4 && range <= 8 && blinkCondition) {
        m_blinkToggle = !m_blinkToggle;
        first.timerMode = m_blinkToggle ? unit : 0;
    } else {
        first.timerMode = unit;
    }
    copyAndDraw(f == 1);
    return 0;
}

int Monitor::Display_CQ()
{
    PanelState& first = m_work[0];
    PanelState& second = m_work[1];
    const int f = m_sel.functionSelection;
    std::string d;
    std::uint16_t sign = 0;
    const auto setValue = [&](std::uint16_t address, std::uint16_t signRegister, DigitRow& row) {
        if (!readDigits(address, 2, d) || !read(signRegister, sign))
            return false;
        row = plainRow(d);
        if (sign != 0)
            row[0] = DigitCode::Minus;
        return true;
    };
    // A block of two signed values: low four digits, high two, sign.
    std::array<DigitRow, 2> values{};
    const auto block = [&](std::uint16_t address) {
        if (!readDigits(address, 6, d))
            return false;
        for (std::size_t k = 0; k < 2; ++k) {
            const std::string v = d.substr(12 * k, 12);
            values[k] = digitRow(v.substr(6, 2) + v.substr(0, 4));
            if (v.substr(8, 4) != "0000")
                values[k][0] = DigitCode::Minus;
        }
        return true;
    };
    if (!setValue(0x06AC, 0x06C6, first.charB) || !block(0x0924))
        return m_result;
    first.charA = values[0];
    second.charA = first.charA;
    second.charB = blankRow();
    bool channelB = false;
    switch (f) {
    case 4:
        if (!setValue(0x06B0, 0x06C8, second.charB))
            return m_result;
        break;
    case 5:
        second.charA = values[1];
        channelB = true;
        break;
    case 6:
        second.charA = values[1];
        if (!setValue(0x06B0, 0x06C8, second.charB))
            return m_result;
        channelB = true;
        break;
    case 7:
        if (!block(0x0930))
            return m_result;
        second.charA = values[0];
        break;
    case 8:
        if (!setValue(0x06B0, 0x06C6, second.charB))
            return m_result;
        break;
    default:
        break;
    }
    std::uint16_t kp = 0;
    std::uint16_t r50a = 0;
    std::uint16_t r50c = 0;
    if (!read(0x043C, kp) || !read(0x050A, r50a) || !read(0x050C, r50c))
        return m_result;
    first.kp = second.kp = bit(kp, 0) ? 1 : 0;
    first.onOff = bit(r50a, 3) ? 1 : 0;
    second.onOff = bit(r50a, 4) ? 1 : 0;
    first.weekBits = second.weekBits
        = std::string{bitChar(r50a, 3), '0', bitChar(r50a, 4), '0', bitChar(r50c, 0), '0', bitChar(r50c, 1)};
    copyAndDraw(channelB);
    return 0;
}

} // namespace lumetra
