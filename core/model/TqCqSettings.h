#pragma once

#include "MachineType.h"
#include "SettingsFields.h"

#include <functional>
#include <string>

namespace lumetra {

// Panels of the TQ/CQ editor.
namespace TqCqBlock {
inline constexpr int TimerCommon = 0;   // picMode_TQ
inline constexpr int Timer = 1;         // picTimer_TQ_A
inline constexpr int TwinTimer = 2;     // picTimer_TQ_B
inline constexpr int TwoStageTimer = 3; // picTimer_TQ_C
inline constexpr int CounterCommon = 4; // picMode_CQ
inline constexpr int OneStage = 5;      // picTimer_CQ_1st_total
inline constexpr int TwoStage = 6;      // picTimer_CQ_2nd
inline constexpr int BatchDual = 7;     // picTimer_CQ_batch_dual
inline constexpr int Tacho = 8;         // picTimer_CQ_freq
inline bool isTimerSide(int block) { return block <= TwoStageTimer; }
}

// The settings of the one editor of timer (TQ), counter (CQ) and switchable
// (XQ) units: function modes 0..2 are timer functions, 3..8 counter and
// tachometer functions, -1 none chosen yet.
struct TqCqSettings {
    explicit TqCqSettings(MachineType type = MachineType::TQ);

    MachineType machineType;
    int functionMode = -1;
    std::uint8_t keyProtection = 0;

    // timer side
    std::uint8_t cboKP_All_TQ = 0;
    std::uint8_t cboSGWidth_All_TQ = 0;
    std::uint8_t cboInputMethod_All_TQ = 0;
    std::uint8_t cboTimerRange_A_TQ = 0;
    std::uint8_t cboTimerDirection_A_TQ = 0;
    std::uint8_t cboOutputMode_A_TQ = 0;
    std::uint8_t cboTimerRangeOFF_B_TQ = 0;
    std::uint8_t cboTimerRangeON_B_TQ = 0;
    std::uint8_t cboTimerDirection_B_TQ = 0;
    std::uint8_t cboOutputMode_B_TQ = 0;
    std::uint8_t cboSettingMode_C_TQ = 0;
    std::uint8_t cboTimerRange_C_TQ = 0;
    std::uint8_t cboOutputMode_C_TQ = 0;
    ValueDisplay lblTimerSetting_A_TQ;
    ValueDisplay lblHoldTime_A_TQ;
    ValueDisplay lblDutyRatio_A_TQ;
    ValueDisplay lblSettingValueOFF_B_TQ;
    ValueDisplay lblSettingValueON_B_TQ;
    ValueDisplay lblSV1_C_TQ;
    ValueDisplay lblSV2_C_TQ;

    // counter side
    std::uint8_t cboKP_Comm_CQ = 0;
    std::uint8_t cboDotAdj_Comm_CQ = 0;
    std::uint8_t cboInputMethod_Comm_CQ = 0;
    std::uint8_t cboMaxFreq_Comm_CQ = 0;
    std::uint8_t cboSGWidth_Comm_CQ = 0;
    std::uint8_t cboCountInputMode_1st_CQ = 0;
    std::uint8_t cboOutputMode_1st_CQ = 0;
    std::uint8_t cboCountInputMode_2nd_CQ = 0;
    std::uint8_t cboOutputMode_2nd_CQ = 0;
    std::uint8_t cboCountInputMode_batch_CQ = 0;
    std::uint8_t cboOutputMode_batch_CQ = 0;
    std::uint8_t cboOutputMode_freq_CQ = 0;
    std::uint8_t cboSampleAvg_freq_CQ = 0;
    ValueDisplay lblMagnification_Comm_CQ;
    ValueDisplay lblCounterSetting_1st_CQ;
    ValueDisplay lblHoldCounter_1st_CQ;
    ValueDisplay lblCounterSetting_2nd_1_CQ;
    ValueDisplay lblCounterSetting_2nd_2_CQ;
    ValueDisplay lblHoldCounter_2nd_1_CQ;
    ValueDisplay lblHoldCounter_2nd_2_CQ;
    ValueDisplay lblCounterSetting_batch_1_CQ;
    ValueDisplay lblCounterSetting_batch_2_CQ;
    ValueDisplay lblHoldCounter_batch_CQ;
    ValueDisplay lblAuto2ZeroTime_freq_CQ;
    ValueDisplay lblDelay2StartTime_freq_CQ;
    ValueDisplay lblCounterSetting_freq_1_CQ;
    ValueDisplay lblCounterSetting_freq_2_CQ;

    static bool isTimerMode(int mode) { return mode >= 0 && mode <= 2; }
    static bool isCounterMode(int mode) { return mode >= 3 && mode <= 8; }
    // Modes the machine type offers: TQ 0..2, CQ 3..8, XQ all nine.
    bool offersMode(int mode) const;
    // Switches the mode; entering 6 or 7 reloads the batch lists (index 0).
    // False for a mode the machine type does not offer.
    bool selectFunctionMode(int mode);
    bool blockActive(int block) const;
    // Whether the editor shows a setting now: its panel belongs to the mode
    // and the mode does not hide it.
    bool shows(const ListField<TqCqSettings>& field) const;
    bool shows(const ValueField<TqCqSettings>& field) const;
    // Whether a shown display can be stepped in the present output mode.
    bool enables(const ValueField<TqCqSettings>& field) const;
    // The label of a display now (the set value is a cycle time in flicker mode).
    Text labelOf(const ValueField<TqCqSettings>& field) const;
    static bool isCommonBlock(int block) { return block == TqCqBlock::TimerCommon || block == TqCqBlock::CounterCommon; }
    // String id of a panel's title in the present mode.
    Text panelTitleId(int block) const;

    ListId listOf(const ListField<TqCqSettings>& field) const;
    bool setList(const ListField<TqCqSettings>& field, int index);
    int listIndex(const ListField<TqCqSettings>& field) const;

    // Stepping rules of the displays from their time ranges and the output mode.
    void applyStepRules();
    void setOnChanged(const std::function<void()>& onChanged);

    static std::span<const ListField<TqCqSettings>> listFields();
    static std::span<const ValueField<TqCqSettings>> valueFields();
    static const ListField<TqCqSettings>* findList(const std::string& name);
    static const ValueField<TqCqSettings>* findValue(const std::string& name);
};

// Captions of the nine function modes (the timer names, then the counter names).
Text tqcqFunctionModeStringId(int mode);
// Their titles ("TIMER" ... "TACHOMETER").
Text tqcqFunctionTitleId(int mode);

} // namespace lumetra
