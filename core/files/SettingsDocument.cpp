#include "SettingsDocument.h"

#include "comm/ResultCodes.h"
#include "text/StringTable.h"

#include <algorithm>

namespace lumetra {

SettingsDocument::SettingsDocument(MachineType type) : m_type(type), m_tqcq(type == MachineType::DQ ? MachineType::TQ : type) {}

void SettingsDocument::setOnValueChanged(const std::function<void()>& onChanged)
{
    m_dq.setOnChanged(onChanged);
    m_tqcq.setOnChanged(onChanged);
}

int SettingsDocument::functionMode() const { return m_type == MachineType::DQ ? m_dq.functionMode() : m_tqcq.functionMode; }

namespace {

template <class Record>
std::vector<int> listSelections(const Record& r)
{
    std::vector<int> values;
    for (const auto& f : Record::listFields())
        values.push_back(r.listIndex(f));
    return values;
}

template <class Record, class Field>
Text labelOf(const Record& r, const Field& f)
{
    if constexpr (requires { r.labelOf(f); })
        return r.labelOf(f);
    else
        return f.labelId;
}

template <class Record, class Field>
FieldLook lookOf(const Record& r, const Field& f)
{
    bool enabled = true;
    if constexpr (requires { r.enables(f); })
        enabled = r.enables(f);
    return {r.shows(f), enabled, labelOf(r, f)};
}

template <class Record>
FieldLook lookByName(const Record& r, const std::string& name)
{
    if (const auto* f = Record::findList(name))
        return lookOf(r, *f);
    if (const auto* f = Record::findValue(name))
        return lookOf(r, *f);
    return {};
}

template <class Record>
std::string firstListOf(const Record& r)
{
    for (const auto& f : Record::listFields())
        if (f.member && f.fileClass != 'F' && !Record::isCommonBlock(f.block) && r.shows(f))
            return f.name;
    return {};
}

} // namespace

bool SettingsDocument::selectFunctionMode(int mode, bool* changed)
{
    // Every list with the mode itself (its pseudo-list "functionMode").
    const auto selections = [this] { return m_type == MachineType::DQ ? listSelections(m_dq) : listSelections(m_tqcq); };
    const std::vector<int> before = selections();
    bool offered = false;
    if (m_type != MachineType::DQ) {
        offered = m_tqcq.selectFunctionMode(mode);
    } else if (mode >= 0 && mode < DqSettings::kFunctionModes) {
        m_dq.selectFunctionMode(mode);
        offered = true;
    }
    if (changed)
        *changed = offered && before != selections();
    return offered;
}

std::string SettingsDocument::firstListOfMode() const
{
    return m_type == MachineType::DQ ? firstListOf(m_dq) : firstListOf(m_tqcq);
}

FieldLook SettingsDocument::look(const std::string& name) const
{
    return m_type == MachineType::DQ ? lookByName(m_dq, name) : lookByName(m_tqcq, name);
}

int SettingsDocument::read(const SettingsImage& image, int failureCode)
{
    MachineType type{};
    LayoutFamily family{};
    if (const int rc = readImageHeader(image, type, family))
        return rc;
    m_type = type;
    if (family == LayoutFamily::DQ)
        return ReadSettingsImage(image, m_dq, failureCode);
    m_tqcq.machineType = type;
    return ReadSettingsImage(image, family, m_tqcq, failureCode);
}

int SettingsDocument::write(SettingsImage& image) const
{
    return m_type == MachineType::DQ ? WriteSettingsImage(m_dq, image) : WriteSettingsImage(m_tqcq, image);
}

void SettingsDocument::writeUnchecked(SettingsImage& image) const
{
    if (m_type == MachineType::DQ)
        writeDqLayout(m_dq, image);
    else
        WriteSettingsImage(m_tqcq, image);
}

namespace {

bool parseIndex(const std::string& text, int& out)
{
    if (text == "on" || text == "ON") { out = 1; return true; }
    if (text == "off" || text == "OFF") { out = 0; return true; }
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    out = std::stoi(text);
    return true;
}

// Six cells from "001230", or from the text the display shows ("0012.30").
bool parseCells(const std::string& value, const ValueDisplay& d, bool signedFirstCell, std::string& digits)
{
    digits = value;
    if (d.hasExtraCell() && value.size() == 7) {
        const std::vector<int> order = d.screenOrder();
        digits.clear();
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (order[i] != ValueDisplay::kExtraCell)
                digits += value[i];
            else if (value[i] != d.extraCell())
                return false;
        }
    }
    if (digits.size() != 6)
        return false;
    for (std::size_t i = 0; i < 6; ++i) {
        const bool sign = i == 0 && signedFirstCell && digits[i] == '-';
        if (!sign && (digits[i] < '0' || digits[i] > '9'))
            return false;
    }
    return true;
}

template <class Record>
std::string setField(Record& r, const std::string& name, const std::string& value)
{
    if (const auto* f = Record::findList(name)) {
        if (f->member && f->offset < 0)
            return name + " is not kept in settings files";
        int index = 0;
        if (!parseIndex(value, index))
            return "'" + value + "' is not a list index for " + name;
        if (!r.setList(*f, index))
            return std::to_string(index) + " is outside the list of " + name;
        return {};
    }
    if (const auto* f = Record::findValue(name)) {
        ValueDisplay& d = r.*f->member;
        std::string digits;
        // Counter set values of the counter unit carry a sign register.
        const bool signedFirstCell = name.rfind("lblCounterSetting_", 0) == 0 && name.ends_with("_CQ");
        if (!parseCells(value, d, signedFirstCell, digits))
            return "'" + value + "' is not six digits for " + name;
        d.setDigits(digits);
        return {};
    }
    return "unknown setting '" + name + "'";
}

std::string flagText(int on) { return on ? "ON" : "OFF"; }

} // namespace

std::string SettingsDocument::set(const std::string& name, const std::string& value)
{
    return m_type == MachineType::DQ ? setField(m_dq, name, value) : setField(m_tqcq, name, value);
}

std::string SettingsDocument::assign(const std::string& assignment)
{
    const auto eq = assignment.find('=');
    if (eq == std::string::npos || eq == 0)
        return "expected NAME=VALUE, got '" + assignment + "'";
    return set(assignment.substr(0, eq), assignment.substr(eq + 1));
}

std::string timeRangeText(const std::string& digits, int range)
{
    switch (range) {
    case 0: return decimalText(digits, 2);
    case 1: case 4: case 7: return decimalText(digits, 1);
    case 3: case 6: return digits.substr(0, 4) + ":" + digits.substr(4);
    case 9: return decimalText(digits, 3);
    default: return digits;
    }
}

std::string decimalText(const std::string& digits, int places)
{
    if (places <= 0 || places >= static_cast<int>(digits.size()))
        return digits;
    return digits.substr(0, digits.size() - static_cast<std::size_t>(places)) + "." + digits.substr(digits.size() - static_cast<std::size_t>(places));
}

std::string SettingsDocument::functionModeName(const StringTable& strings) const
{
    const int mode = functionMode();
    if (mode < 0)
        return "-";
    return strings.text(m_type == MachineType::DQ ? dqFunctionModeStringId(mode) : tqcqFunctionModeStringId(mode));
}

namespace {
// The text of a TQ/CQ display as its panel shows it.
std::string tqcqValueText(const TqCqSettings& s, const ValueDisplay& d)
{
    const std::string digits = d.digits();
    if (&d == &s.lblTimerSetting_A_TQ) return timeRangeText(digits, s.cboTimerRange_A_TQ);
    if (&d == &s.lblSettingValueOFF_B_TQ) return timeRangeText(digits, s.cboTimerRangeOFF_B_TQ);
    if (&d == &s.lblSettingValueON_B_TQ) return timeRangeText(digits, s.cboTimerRangeON_B_TQ);
    if (&d == &s.lblSV1_C_TQ || &d == &s.lblSV2_C_TQ) return timeRangeText(digits, s.cboTimerRange_C_TQ);
    if (&d == &s.lblCounterSetting_1st_CQ || &d == &s.lblCounterSetting_2nd_1_CQ || &d == &s.lblCounterSetting_2nd_2_CQ
        || &d == &s.lblCounterSetting_batch_1_CQ || &d == &s.lblCounterSetting_batch_2_CQ
        || &d == &s.lblCounterSetting_freq_1_CQ || &d == &s.lblCounterSetting_freq_2_CQ)
        return decimalText(digits, s.cboDotAdj_Comm_CQ);
    return digits;
}

template <class Record, class ValueText>
std::vector<SettingLine> describeRecord(const Record& r, const StringTable& strings, bool (*stored)(const Record&, int),
                                        ValueText valueText)
{
    struct Ordered {
        int block;
        int offset;
        SettingLine line;
    };
    std::vector<Ordered> lines;
    for (const auto& f : Record::listFields()) {
        if (!f.member || !stored(r, f.block))
            continue;
        if (f.offset < 0 && !r.shows(f))
            continue; // kept by no file, and not shown either
        SettingLine l{f.name, strings.text(f.labelId), {}, r.listIndex(f), r.shows(f)};
        if (f.fileClass == 'F')
            l.text = flagText(r.*f.member);
        else if (l.index >= 0)
            l.text = choiceList(r.listOf(f))[static_cast<std::size_t>(l.index)].text(strings);
        else
            l.text = "?";
        lines.push_back({f.fileClass == 'F' ? -1 : f.block, f.offset, l});
    }
    for (const auto& f : Record::valueFields())
        if (stored(r, f.block))
            lines.push_back({f.block, f.offset, {f.name, strings.text(labelOf(r, f)), valueText(r, r.*f.member), -1, r.shows(f)}});
    std::stable_sort(lines.begin(), lines.end(), [](const Ordered& a, const Ordered& b) {
        return std::tie(a.block, a.offset) < std::tie(b.block, b.offset);
    });
    std::vector<SettingLine> out;
    for (auto& o : lines)
        out.push_back(std::move(o.line));
    return out;
}

bool dqStored(const DqSettings& s, int block) { return s.blockActive(block); }
bool tqStored(const TqCqSettings& s, int block) { return TqCqBlock::isTimerSide(block) == TqCqSettings::isTimerMode(s.functionMode); }
} // namespace

std::vector<SettingLine> SettingsDocument::describe(const StringTable& strings) const
{
    if (m_type == MachineType::DQ)
        return describeRecord(m_dq, strings, dqStored, [](const DqSettings&, const ValueDisplay& d) { return d.valueText(); });
    return describeRecord(m_tqcq, strings, tqStored, tqcqValueText);
}

std::string SettingsDocument::valueText(const std::string& name) const
{
    if (m_type == MachineType::DQ) {
        const auto* f = DqSettings::findValue(name);
        return f ? (m_dq.*f->member).valueText() : std::string();
    }
    const auto* f = TqCqSettings::findValue(name);
    return f ? tqcqValueText(m_tqcq, m_tqcq.*f->member) : std::string();
}

} // namespace lumetra
