// The unit descriptions: the settings read register by register into the
// two description texts, and the panel codes the polling keeps.

#include "Monitor.h"

#include "comm/CommSession.h"
#include "values/ValueText.h"

#include <array>
#include <cstdio>

namespace lumetra {

namespace {

const char* const kCrLf = "\r\n";

std::string hex4(std::uint16_t v)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", v);
    return text;
}

// "01.50 s" style: the register's four BCD digits with a point in the middle.
std::string pointedDigits(std::uint16_t v) { return hex4(v).substr(0, 2) + "." + hex4(v).substr(2); }

// A decimal text without leading or trailing zeros ("01.500" → "1.5").
std::string shortestDecimal(const std::string& digits)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", leadingNumber(digits));
    std::string s = text;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s;
}

template <std::size_t N>
const char* pick(const std::array<const char*, N>& table, int code)
{
    return code >= 0 && code < static_cast<int>(N) ? table[static_cast<std::size_t>(code)] : nullptr;
}

constexpr std::array<const char*, 14> kCounterOutputs{"N-1", "F-1", "C-1", "R-1", "K-1", "P-1", "N-2",
                                                      "F-2", "C-2", "R-2", "K-2", "P-2", "Q-1", "Q-2"};
constexpr std::array<const char*, 4> kAveraging{"OFF", "2", "4", "8"};
constexpr std::array<const char*, 4> kDqSpeeds{"30 Hz", "100 Hz", "1K Hz", "5K Hz"};
constexpr std::array<const char*, 4> kDqDecimalPoints{"0 : - - - - - -", "1 : - - - - -.-", "2 : - - - -.- -", "3 : - - -.- - -"};
constexpr std::array<const char*, 5> kKeyProtectLevels{"KP-1", "KP-2", "KP-3", "KP-4", "KP-5"};
constexpr std::array<const char*, 10> kRangeTextsA{"0.01 s ~ 9999.99 s", "0.1 s ~ 99999.9 s", "1 s ~ 999999 s",
                                                   "0 min 1 s ~ 9999 min 59 s", "0.1 min ~ 99999.9 min", "1 min ~ 999999 min",
                                                   "0 h 1 min ~ 9999 h 59 min", "0.1 h ~ 99999.9 h", "1 h ~ 999999 h",
                                                   "0.001 s ~ 999.999 s"};
constexpr std::array<const char*, 10> kRangeTextsB{"0.01 s ~ 9999.99 s", "0.1 s ~ 99999.9 s", "1 ~ 999999 s",
                                                   "0 min 01 s ~ 9999 min 59 s", "0.1 min ~ 99999.9 min", "1 min ~ 999999 min",
                                                   "0 h 01 min ~ 9999 h 59 min", "0.1 h ~ 99999.9 h", "1 h ~ 999999 h",
                                                   "0.001 s ~ 999.999 s"};
constexpr std::array<const char*, 4> kDqTimeRanges{"0.01~9999.99 Sec", "1~999999 Sec", "1~999999 Min", "1~999999 Hour"};
constexpr std::array<const char*, 4> kCqDecimalPoints{"----", "---.-", "--.--", "-.---"};
constexpr std::array<const char*, 5> kCqInputModes{"UP", "DOWN", "UP/DOWN A", "UP/DOWN B", "UP/DOWN C"};
constexpr std::array<const char*, 2> kCqDirections{"ADD", "SUB"};
constexpr std::array<const char*, 12> kCqOutputs{"N", "F", "C", "R", "K-1", "P", "Q", "A", "K-2", "D", "L", "H"};
constexpr std::array<const char*, 4> kFreqOutputs{"HI_LO", "AREA", "HI_HI", "LO_LO"};

// Builds description lines: label + " : " + value + CR LF; a value that is
// not in its table leaves its line out.
class Lines {
public:
    explicit Lines(const StringTable& strings) : m_strings(strings) {}
    void add(Text labelId, const std::string& value) { m_text += m_strings.text(labelId) + " : " + value + kCrLf; }
    void add(Text labelId, const char* value)
    {
        if (value)
            add(labelId, std::string(value));
    }
    // The code-th of count consecutive texts from first.
    void addString(Text labelId, Text first, int code, int count)
    {
        if (code >= 0 && code < count)
            add(labelId, m_strings.byNumber(static_cast<int>(first) + code));
    }
    void raw(const std::string& text) { m_text += text; }
    const std::string& text() const { return m_text; }

private:
    const StringTable& m_strings;
    std::string m_text;
};

// The separators and time unit of a TQ time range.
struct RangeLook {
    std::array<std::uint8_t, 2> dpCol;
    std::array<std::uint8_t, 2> dp;
    std::uint8_t timeUnit;
};

RangeLook tqRangeLook(int r)
{
    switch (r) {
    case 0: return {{0, 1}, {0, 0}, 4};
    case 1: return {{0, 0}, {0, 1}, 4};
    case 4: return {{0, 0}, {0, 1}, 3};
    case 7: return {{0, 0}, {0, 1}, 2};
    case 2: return {{0, 0}, {0, 0}, 4};
    case 5: return {{0, 0}, {0, 0}, 3};
    case 8: return {{0, 0}, {0, 0}, 2};
    case 3: return {{0, 2}, {0, 0}, 6};
    case 6: return {{0, 2}, {0, 0}, 5};
    case 9: return {{0, 0}, {1, 0}, 4};
    default: return {{0, 0}, {0, 0}, 0};
    }
}

void applyRangeLook(PanelState& p, int range)
{
    const RangeLook look = tqRangeLook(range);
    p.setSeparators(look.dpCol, look.dp);
    p.timerMode = look.timeUnit;
}

} // namespace

int Monitor::Monitor_DQ()
{
    const StringTable& strings = m_session.strings();
    Lines a(strings);
    Lines b(strings);
    std::uint16_t v = 0;
    if (!read(0x0606, v))
        return m_result;
    m_sel.functionSelection = v & 0xFF;
    PanelState first;
    PanelState second;
    first.group = 1;
    second.group = 2;
    first.rangeMode = second.rangeMode = 2;
    int channelBDecimals = 0;

    const auto tachometerLines = [&](Lines& out) -> bool {
        if (!read(0x0614, v))
            return false;
        out.add(Text::NameAverageProcessing, pick(kAveraging, v & 0xFF));
        if (!read(0x054C, v))
            return false;
        out.add(Text::NameCountingSpeed, pick(kDqSpeeds, v & 0xFF));
        if (!read(0x0612, v))
            return false;
        out.addString(Text::NameOutputMode, Text::ChoiceOn, v & 0xFF, 2);
        std::string digits;
        if (!readDigits(0x0626, 2, digits))
            return false;
        out.add(Text::NameStartupTime, shortestDecimal(digits.substr(4, 4) + "." + digits.substr(2, 2)));
        return true;
    };
    const auto counterOutputLine = [&](Lines& out, int code, bool batch) {
        if (const char* name = pick(kCounterOutputs, code)) {
            int number = code;
            if (batch) // the batch counter numbers its four modes 0..3
                number = code == 4 ? 0 : code == 10 ? 1 : code == 12 ? 2 : code == 13 ? 3 : code;
            out.add(Text::NameOutputMode, std::string(name) + " ( " + std::to_string(number) + " ) ");
        }
    };

    if (m_sel.functionSelection == 0) {
        if (!read(0x045A, v))
            return m_result;
        const int c = v & 0xFF;
        m_sel.timeCode = c;
        a.add(Text::NameFunctionSelection, strings.text(Text::FunctionNameTimer));
        a.add(Text::NameTimeRange, pick(kDqTimeRanges, c / 2));
        if (c <= 7)
            a.add(Text::NameTimeMode, strings.text(c % 2 == 0 ? Text::Up : Text::Down));
        first.countDir = c % 2 == 0 ? 1 : 2;
        first.timerMode = c <= 3 ? 4 : c <= 5 ? 3 : 2;
        if (c <= 1)
            first.setSeparators({0, 1}, {0, 0});
        if (!read(0x0498, v))
            return m_result;
        m_sel.outputModeA = v & 0xFF;
        a.addString(Text::NameOutputMode, Text::TimerOutputMode0, m_sel.outputModeA, 8);
        if (!read(0x0610, v))
            return m_result;
        m_sel.channelBKind = v & 0xFF;
        if (m_sel.channelBKind == 1) {
            b.add(Text::NameFunctionSelection, strings.text(Text::FunctionNameTachometer));
            if (!read(0x0614, v))
                return m_result;
            b.add(Text::NameAverageProcessing, pick(kAveraging, v & 0xFF));
            if (!read(0x0554, v))
                return m_result;
            channelBDecimals = v & 0xFF;
            b.add(Text::NameDecimalPointPosition, pick(kDqDecimalPoints, channelBDecimals));
            if (!read(0x054C, v))
                return m_result;
            b.add(Text::NameCountingSpeed, pick(kDqSpeeds, v & 0xFF));
            if (!read(0x0612, v))
                return m_result;
            b.addString(Text::NameOutputMode, Text::ChoiceOn, v & 0xFF, 2);
            std::string digits;
            if (!readDigits(0x0550, 2, digits))
                return m_result;
            b.add(Text::NamePrescaleValue, shortestDecimal(digits.substr(6, 2) + "." + digits.substr(1, 3)));
            if (!readDigits(0x0626, 2, digits))
                return m_result;
            b.add(Text::NameStartupTime, shortestDecimal(digits.substr(4, 4) + "." + digits.substr(2, 2)));
        } else {
            b.add(Text::NameFunctionSelection, strings.text(Text::FunctionName1StageCounter));
            if (!read(0x055E, v))
                return m_result;
            m_sel.channelBInputMode = v & 0xFF;
            b.addString(Text::NameInputMode, Text::InputModeCommandUp, m_sel.channelBInputMode, 8);
            if (!read(0x0560, v))
                return m_result;
            counterOutputLine(b, v & 0xFF, false);
            if (!read(0x0554, v))
                return m_result;
            channelBDecimals = v & 0xFF;
            b.add(Text::NameDecimalPointPosition, pick(kDqDecimalPoints, channelBDecimals));
            if (!read(0x054C, v))
                return m_result;
            b.add(Text::NameCountingSpeed, pick(kDqSpeeds, v & 0xFF));
            std::string digits;
            if (!readDigits(0x0550, 2, digits))
                return m_result;
            b.add(Text::NamePrescaleValue, shortestDecimal(digits.substr(6, 2) + "." + digits.substr(1, 3)));
        }
    } else {
        if (!read(0x0630, v))
            return m_result;
        m_sel.combinedFunction = v & 0xFF;
        if (m_sel.combinedFunction == 2) {
            a.add(Text::NameFunctionSelection, strings.text(Text::FunctionNameTachometer));
            b.add(Text::NameFunctionSelection, strings.text(Text::FunctionNameTachometer));
            if (!read(0x0694, v))
                return m_result;
            a.addString(Text::NameOutputMode, Text::ChoiceOn, v & 0xFF, 2);
            if (!tachometerLines(b))
                return m_result;
        } else if (m_sel.combinedFunction == 1) {
            if (!read(0x0670, v))
                return m_result;
            const int kind = v & 0xFF;
            a.addString(Text::NameFunctionSelection, Text::FunctionCounterTotal, kind, 3);
            a.add(Text::NameInputMode, strings.text(Text::InputModeIndividualUp)); // the first counter counts individual pulses up
            if (!read(0x067A, v))
                return m_result;
            a.addString(Text::NameOutputMode, Text::SelfHoldingOutput, v & 0xFF, 2);
            b.add(Text::NameFunctionSelection, strings.text(Text::FunctionName1StageCounter));
            if (!read(0x055E, v))
                return m_result;
            m_sel.channelBInputMode = v & 0xFF;
            b.addString(Text::NameInputMode, Text::InputModeCommandUp, m_sel.channelBInputMode, 8);
            if (!read(0x0560, v))
                return m_result;
            counterOutputLine(b, v & 0xFF, kind == 1);
            if (!read(0x054C, v))
                return m_result;
            b.add(Text::NameCountingSpeed, pick(kDqSpeeds, v & 0xFF));
        } else {
            if (!read(0x045A, v))
                return m_result;
            const int c = v & 0xFF;
            a.add(Text::NameFunctionSelection, strings.text(Text::FunctionName2StageTimer));
            a.add(Text::NameTimeRange, pick(kDqTimeRanges, c / 2));
            if (c <= 7)
                a.add(Text::NameTimeMode, strings.text(c % 2 == 0 ? Text::Up : Text::Down));
            if (!read(0x063A, v))
                return m_result;
            a.addString(Text::NameOutputMode, Text::SelfHoldingOutput, v & 0xFF, 2);
            if (!read(0x063C, v))
                return m_result;
            b.add(Text::NameFunctionSelection, strings.text(Text::FunctionName2StageTimer));
            b.addString(Text::NameOutputMode, Text::SelfHoldingOutput, v & 0xFF, 2);
        }
        first.countDir = 1;
        first.timerMode = m_sel.combinedFunction == 0 ? 4 : 0;
    }
    m_sel.channelBDecimals = channelBDecimals;
    const Separators sep = separatorsForDecimals(channelBDecimals);
    second.setSeparators(sep.dpCol, sep.dp);

    // Common end: both texts.
    Lines common(strings);
    if (!read(0x049A, v))
        return m_result;
    common.add(Text::NameInputSignalWidth, (v & 0xFF) == 0 ? "1 ms" : "20 ms");
    if (!read(0x054E, v))
        return m_result;
    common.add(Text::NameNpnPnpInputMode, (v & 0xFF) == 0 ? "NPN" : "PNP");
    if (!read(0x0696, v))
        return m_result;
    common.raw(strings.text(v == 0 ? Text::PowerSavingOff : Text::PowerSavingOn) + kCrLf);
    std::string menu;
    for (std::uint16_t address = 0x06F4; address <= 0x06F9; ++address) {
        if (!read(address, v))
            return m_result;
        const std::string digits = hex4(v);
        menu += digits.substr(3, 1) + digits.substr(2, 1);
    }
    common.raw(" Menu : " + menu);
    m_work = {first, second};
    const std::string textB = b.text() + common.text();
    return finishDescription(a.text() + common.text(), &textB);
}

int Monitor::Monitor_TQ()
{
    const StringTable& strings = m_session.strings();
    Lines a(strings);
    std::uint16_t v = 0;
    if (!read(0x0432, v))
        return m_result;
    m_sel.functionSelection = v & 0xFF;
    a.addString(Text::NameFunctionSelection, Text::FunctionNameTimer, m_sel.functionSelection, 3);
    PanelState first;
    PanelState second;
    first.onOff = 2;
    first.rangeMode = 2;
    bool secondShown = false;
    switch (m_sel.functionSelection) {
    case 0:
        if (!read(0x0440, v))
            return m_result;
        m_sel.timeRange = v & 0xFF;
        a.add(Text::NameTimeRange, pick(kRangeTextsA, m_sel.timeRange));
        if (!read(0x0442, v))
            return m_result;
        m_sel.timeMode = v & 0xFF;
        a.addString(Text::NameTimeMode, Text::Up, m_sel.timeMode, 2);
        if (!read(0x0444, v))
            return m_result;
        m_sel.outputMode = v & 0xFF;
        a.addString(Text::NameOutputMode, Text::TqOutputModeA, m_sel.outputMode, 10);
        if (m_sel.outputMode < 6) {
            if (!read(0x0446, v))
                return m_result;
            a.add(Text::NameOutputTime, v == 0 ? std::string("Hold") : pointedDigits(v) + " s");
        }
        secondShown = m_sel.outputMode == 9;
        applyRangeLook(first, m_sel.timeRange);
        if (secondShown)
            applyRangeLook(second, m_sel.timeRange);
        break;
    case 1:
        if (!read(0x0460, v))
            return m_result;
        m_sel.timeRange = v & 0xFF;
        a.add(Text::NameOffTimeRange, pick(kRangeTextsB, m_sel.timeRange));
        if (!read(0x0462, v))
            return m_result;
        m_sel.secondTimeRange = v & 0xFF;
        a.add(Text::NameOnTimeRange, pick(kRangeTextsB, m_sel.secondTimeRange));
        if (!read(0x0464, v))
            return m_result;
        a.addString(Text::NameTimeMode, Text::Up, v & 0xFF, 2);
        if (!read(0x0466, v))
            return m_result;
        a.addString(Text::NameOnOffStartMode, Text::FlickerOffStart, v & 0xFF, 2);
        secondShown = true;
        applyRangeLook(first, m_sel.timeRange);
        applyRangeLook(second, m_sel.secondTimeRange);
        break;
    case 2:
        if (!read(0x0480, v))
            return m_result;
        a.addString(Text::NameSettingMethod, Text::ForecastValue, v & 0xFF, 2);
        if (!read(0x0482, v))
            return m_result;
        m_sel.timeRange = v & 0xFF;
        a.add(Text::NameTimeRange, pick(kRangeTextsB, m_sel.timeRange));
        if (!read(0x0484, v))
            return m_result;
        a.add(Text::NameOutputMode, strings.text((v & 0xFF) == 0 ? Text::TqOutputModeAPowerOn : Text::TqOutputModeF1));
        secondShown = true;
        applyRangeLook(first, m_sel.timeRange);
        applyRangeLook(second, m_sel.timeRange);
        break;
    default:
        break;
    }
    if (!read(0x0434, v))
        return m_result;
    a.add(Text::NameInputSignalWidth, (v & 0xFF) == 0 ? "20 ms" : "1 ms");
    if (!read(0x0436, v))
        return m_result;
    a.add(Text::NameNpnPnpInputMode, (v & 0xFF) == 0 ? "NPN" : "PNP");
    if (!read(0x0438, v))
        return m_result;
    a.add(Text::NameKeyProtectLevel, pick(kKeyProtectLevels, v & 0xFF));

    first.group = secondShown ? 1 : 0;
    if (secondShown) {
        second.group = 2;
        second.rangeMode = 2;
        second.onOff = 2;
    }
    m_work = {first, second};
    const bool bothBoxes = (m_sel.functionSelection == 0 && m_sel.outputMode == 9) || m_sel.functionSelection == 2;
    return finishDescription(a.text(), bothBoxes ? &a.text() : nullptr);
}

int Monitor::Monitor_CQ()
{
    const StringTable& strings = m_session.strings();
    std::string common;
    if (!readDigits(0x0432, 4, common))
        return m_result;
    std::string block;
    if (!readDigits(0x06A0, 14, block))
        return m_result;
    // Low byte of the k-th register of a read: its last two digits.
    const auto low = [](const std::string& digits, int k) {
        return static_cast<int>(std::stoi(digits.substr(static_cast<std::size_t>(4 * k + 2), 2), nullptr, 16));
    };
    const auto word = [](const std::string& digits, int k) { return digits.substr(static_cast<std::size_t>(4 * k), 4); };
    const auto reg = [&](int address) { return (address - 0x06A0) / 2; };
    m_sel.functionSelection = low(common, 0);
    const int f = m_sel.functionSelection;
    std::string tail;
    if (!readDigits(f == 8 ? 0x06BE : 0x06BC, f == 8 ? 4 : 1, tail))
        return m_result;

    Lines a(strings);
    a.addString(Text::NameFunctionSelection, Text::FunctionName1StageCounter, f - 3, 6);
    if (f == 8) {
        a.add(Text::NameOutputMode, pick(kFreqOutputs, low(tail, 0)));
        a.add(Text::NameCountingSpeed, low(block, reg(0x06A4)) == 0 ? "30 Hz" : "10K Hz");
        a.add(Text::NameAverageProcessing, pick(kAveraging, low(tail, 1)));
        a.add(Text::NameAutoZeroTime, word(tail, 2).substr(0, 2) + "." + word(tail, 2).substr(2));
        a.add(Text::NameStartupTime, word(tail, 3).substr(0, 2) + "." + word(tail, 3).substr(2));
        m_sel.inputMode = 0;
    } else {
        m_sel.inputMode = f == 7 ? low(tail, 0) : low(block, reg(0x06A0));
        a.add(Text::NameInputMode, f == 7 ? pick(kCqDirections, m_sel.inputMode) : pick(kCqInputModes, m_sel.inputMode));
        a.add(Text::NameOutputMode, pick(kCqOutputs, low(block, reg(0x06A2))));
        a.add(Text::NameCountingSpeed, low(block, reg(0x06A4)) == 0 ? "30 Hz" : "5K Hz");
    }
    m_sel.decimals = low(block, reg(0x06A6));
    a.add(Text::NameDecimalPointPosition, pick(kCqDecimalPoints, m_sel.decimals));
    const std::string prescale = word(block, reg(0x06AA)).substr(3, 1) + word(block, reg(0x06A8));
    a.add(Text::NamePrescaleValue, prescale.substr(0, 2) + "." + prescale.substr(2));
    if (f != 8) {
        const auto outputTime = [](const std::string& w) { return w == "0000" ? std::string("Hold") : w.substr(0, 2) + "." + w.substr(2); };
        a.add(Text::NameOutputTime1, outputTime(word(block, reg(0x06B4))));
        if (f == 4)
            a.add(Text::NameOutputTime2, outputTime(word(block, reg(0x06B8))));
    }
    a.add(Text::NameInputSignalWidth, low(common, 1) == 0 ? "20 ms" : "1 ms");
    a.add(Text::NameNpnPnpInputMode, low(common, 2) == 0 ? "NPN" : "PNP");
    a.add(Text::NameKeyProtectLevel, pick(kKeyProtectLevels, low(common, 3)));

    PanelState first;
    PanelState second;
    const Separators sep = separatorsForDecimals(m_sel.decimals);
    for (PanelState* p : {&first, &second}) {
        p->rangeMode = 1;
        p->setSeparators(sep.dpCol, sep.dp);
        p->countDir = f == 8 ? 0 : f == 7 ? static_cast<std::uint8_t>(m_sel.inputMode == 0 ? 1 : 2)
                                          : static_cast<std::uint8_t>(m_sel.inputMode == 0 ? 1 : m_sel.inputMode == 1 ? 2 : 3);
    }
    first.group = 1;
    second.group = 2;
    second.tbName = f == 6 ? '1' : '0';
    m_work = {first, second};
    const bool secondBox = f >= 4 && f <= 7;
    return finishDescription(a.text(), secondBox ? &a.text() : nullptr);
}

} // namespace lumetra
