#pragma once

#include "SettingsFields.h"

#include <array>
#include <functional>
#include <string>

namespace lumetra {

// Panels of the DQ editor; a function mode shows two of them besides the
// settings common to all modes.
namespace DqBlock {
inline constexpr int All = 0;
inline constexpr int TimerA = 1;
inline constexpr int CounterB = 2;
inline constexpr int TachoB = 3;
inline constexpr int TwoStageTimer = 4;
inline constexpr int DualCounter = 5;
inline constexpr int TachoFunction = 6;
// The second halves of the single functions (stage 2, the second counter, tachometer B).
inline constexpr int TwoStageTimerB = 7;
inline constexpr int DualCounterB = 8;
inline constexpr int TachoFunctionB = 9;
}

// The settings of a DQ unit: every list selection by its control's name,
// and every numeric setting as the value display the editor shows.
struct DqSettings {
    DqSettings();

    std::uint8_t functionGroup = 0;
    std::uint8_t channelBFunction = 0;
    std::uint8_t singleFunction = 0;
    std::uint8_t dualCounterKind = 0;
    std::uint8_t powerSaving = 0;
    std::uint8_t keyProtection = 0;

    std::uint8_t cboInputMethod_All = 0;
    std::uint8_t cboSGWidth_All = 0;
    std::uint8_t cboCountModeA = 0;
    std::uint8_t cboCountDirectionA = 0;
    std::uint8_t cboOutputModeA = 0;
    std::uint8_t cboCountInputModeB = 0;
    std::uint8_t cboDotAdjB = 0;
    std::uint8_t cboMaxFreqB = 0;
    std::uint8_t cboOutputModeB = 0;
    std::uint8_t cboSampleAvgB_F = 0;
    std::uint8_t cboDotAdjB_F = 0;
    std::uint8_t cboMaxFreqB_F = 0;
    std::uint8_t cboOutputModeB_F = 0;
    std::uint8_t cboOutputMode_T_Dual_0 = 0;
    std::uint8_t cboOutputMode_T_Dual_1 = 0;
    std::uint8_t cboOutputMode_C_Dual_0 = 0;
    // The first of two 1-stage counters (mode 4) counts one way only; the
    // unit keeps neither selection, so settings files do not either.
    std::uint8_t cboCountInputMode_C_Dual_0 = 0;
    std::uint8_t cboMaxFreq_C_Dual_0 = 0;
    std::uint8_t cboCountInputMode_C_Dual_1 = 0;
    std::uint8_t cboMaxFreq_C_Dual_1 = 0;
    std::uint8_t cboOutputMode_C_Dual_1 = 0;
    std::uint8_t cboOutputModeA_Dual_F = 0;
    std::uint8_t cboSampleAvgB_Dual_F = 0;
    std::uint8_t cboMaxFreqB_Dual_F = 0;
    std::uint8_t cboOutputModeB_Dual_F = 0;

    ValueDisplay lblTimerSettingA{true};
    ValueDisplay lblHoldTimeA{true};
    ValueDisplay lblCounterSettingB{true};
    ValueDisplay lblHoldCounterB{true};
    ValueDisplay lblMagnificationB{true};
    ValueDisplay lblCounterSettingB_F{true};
    ValueDisplay lblHoldCounterB_F{true};
    ValueDisplay lblMagnificationB_F{true};
    ValueDisplay lblTimerSetting_T_Dual_0{true};
    ValueDisplay lblTimerSetting_T_Dual_1{true};
    ValueDisplay lblHoldTime_T_Dual_0{true};
    ValueDisplay lblHoldTime_T_Dual_1{true};
    ValueDisplay lblCounterSetting_C_Dual_0{true};
    ValueDisplay lblHoldCounter_C_Dual_0{true};
    ValueDisplay lblCounterSetting_C_Dual_1{true};
    ValueDisplay lblHoldCounter_C_Dual_1{true};
    ValueDisplay lblCounterSettingA_Dual_F{true};
    ValueDisplay lblCounterSettingB_Dual_F{true};
    ValueDisplay lblHoldCounterB_Dual_F{true};

    static constexpr int kFunctionModes = 7;
    // 0 "Timer + 1-stage Counter" ... 6 "Tachometer", from the selection fields.
    int functionMode() const;
    // Sets the selection fields of a mode (0..6); other values are ignored.
    // Lists whose contents change with the mode are rebuilt (index 0).
    void selectFunctionMode(int mode);
    bool blockActive(int block) const;
    // Whether the editor shows a setting now: its panel belongs to the mode
    // and the mode does not hide it.
    bool shows(const ListField<DqSettings>& field) const;
    bool shows(const ValueField<DqSettings>& field) const;
    // Panels shown in every mode (the settings common to the whole unit).
    static bool isCommonBlock(int block) { return block == DqBlock::All; }
    // String ids of a panel's title and of the channel titles (txtCH_A, txtCH_B) of a mode.
    static Text panelTitleId(int block);
    static std::array<Text, 2> channelTitleIds(int mode);

    // The list a selection shows now (some lists change with other selections).
    ListId listOf(const ListField<DqSettings>& field) const;
    // Stores a list index with the effects the editor gives it (decimal
    // point placement, list rebuilds); false when the index is outside the list.
    bool setList(const ListField<DqSettings>& field, int index);
    // The same for a value as files and registers hold it. The two differ
    // only for the batch counter's output modes, kept as the counter output
    // mode codes they stand for ("0 : K-1" is code 4, see kBatchOutputCodes).
    bool setStored(const ListField<DqSettings>& field, int value);
    // The list index a selection shows, -1 when its value is in no entry.
    int listIndex(const ListField<DqSettings>& field) const;

    static constexpr std::array<std::uint8_t, 4> kBatchOutputCodes{4, 10, 12, 13};

    // Places every display's extra cell by its time range or decimal point.
    void arrangeDisplays();
    // Called on every caption change of every display.
    void setOnChanged(const std::function<void()>& onChanged);

    static std::span<const ListField<DqSettings>> listFields();
    static std::span<const ValueField<DqSettings>> valueFields();
    static const ListField<DqSettings>* findList(const std::string& name);
    static const ValueField<DqSettings>* findValue(const std::string& name);
    // The CheckRange class of a display now.
    int decimalClass(const ValueField<DqSettings>& field) const;
};

// Captions of the seven function modes (Text::FunctionTimerCounter onward).
Text dqFunctionModeStringId(int mode);

} // namespace lumetra
