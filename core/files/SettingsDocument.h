#pragma once

#include "SettingsImage.h"

#include <functional>
#include <string>
#include <vector>

namespace lumetra {

class StringTable;

// One line of a readable settings listing.
struct SettingLine {
    std::string name;  // control name, e.g. "cboCountModeA"
    std::string label; // e.g. "Time Range"
    std::string text;  // list text or value text as the editor shows it
    int index = -1;    // list index, -1 for a value
    bool active = true; // false for a stored block the mode does not use
};

// How the editor shows a setting in the present mode; `show` reads the same.
struct FieldLook {
    bool shown = false;  // its panel belongs to the mode and the mode does not hide it
    bool enabled = true; // a shown display that can be stepped
    Text labelId = Text::None; // its label now (the editor's caption: editorCaptionId)
};

// The settings of one unit of any machine type: a DQ record, or the shared
// TQ/CQ record. What the command line's show/new/set work on, and what an
// open or an upload fills.
class SettingsDocument {
public:
    explicit SettingsDocument(MachineType type = MachineType::DQ);

    MachineType machineType() const { return m_type; }
    DqSettings& dq() { return m_dq; }
    TqCqSettings& tqcq() { return m_tqcq; }
    const DqSettings& dq() const { return m_dq; }
    const TqCqSettings& tqcq() const { return m_tqcq; }

    // Called on every caption change of every value display (the editor
    // marks its settings as changed); an empty function unhooks.
    void setOnValueChanged(const std::function<void()>& onChanged);

    int functionMode() const;
    // Chooses a function mode the machine type offers; false otherwise.
    // changed tells whether the mode, or a list the switch reloads, changed.
    bool selectFunctionMode(int mode, bool* changed = nullptr);
    // The list the editor puts the input focus in after a mode switch: the
    // first one of the mode's own panels.
    std::string firstListOfMode() const;
    FieldLook look(const std::string& fieldName) const;

    // The common read steps and the family reader; failureCode for a
    // refusal by the reader (the header has codes of its own).
    int read(const SettingsImage& image, int failureCode);
    // The writer of the family (DQ with its range checks).
    int write(SettingsImage& image) const;
    // The layout without the DQ range checks: a fresh document's defaults.
    void writeUnchecked(SettingsImage& image) const;

    // Sets a setting by its control name: a list index for a list (0/1,
    // on/off for the flags mKP and mPowerSaving), six digits or the shown
    // value text for a value display. Empty on success, else why not.
    std::string set(const std::string& name, const std::string& value);
    // The same from "NAME=VALUE", as the command line takes it.
    std::string assign(const std::string& assignment);

    std::vector<SettingLine> describe(const StringTable& strings) const;
    // A value display's text as its panel shows it ("0012.30", "1234:56").
    std::string valueText(const std::string& fieldName) const;
    std::string functionModeName(const StringTable& strings) const;

private:
    MachineType m_type;
    DqSettings m_dq;
    TqCqSettings m_tqcq;
};

// TQ time value in its range's layout: "1234.56", "12345.6", "123456",
// "1234:56", "123.456".
std::string timeRangeText(const std::string& digits, int range);
// Digits with a point before the last `places` (none for 0).
std::string decimalText(const std::string& digits, int places);

} // namespace lumetra
