#include "OutputPictures.h"

#include <algorithm>
#include <cstdio>

namespace lumetra {

namespace {
std::string hex(int v)
{
    char text[8];
    std::snprintf(text, sizeof text, "%x", v);
    return text;
}

std::string n(int v) { return std::to_string(v); }

// Input modes that count the same way share a picture: 0, 2 → 0; 3, 5 → 3; 1, 6 → 1; 4, 7 → 4.
int inputGroup(int mode)
{
    switch (mode) {
    case 0: case 2: return 0;
    case 3: case 5: return 3;
    case 1: case 6: return 1;
    default: return 4;
    }
}

std::vector<OutputPicture> dqPictures(const DqSettings& s)
{
    const std::string picC = "Picture/PicC/";
    const std::string timer = picC + "Output_ST/image_Ind_Timer_Out_" + n(s.cboOutputModeA) + "_0.jpg";
    const std::string dual = picC + "Output_DC/image_Dual_Counter_Out_" + n(s.dualCounterKind) + "_" + n(s.cboOutputMode_C_Dual_0) + "_"
        + n(s.cboCountInputMode_C_Dual_1) + "_" + hex(s.cboOutputMode_C_Dual_1) + "_0.jpg";
    switch (s.functionMode()) {
    case 0:
        return {{"Image_Output_A", timer},
                {"Image_Output_B", picC + "Output_SC/image_Ind_Counter_Out_" + n(inputGroup(s.cboCountInputModeB)) + "_" + hex(s.cboOutputModeB) + "_0.jpg"}};
    case 1: return {{"Image_Output_A", timer}, {"Image_Output_B", picC + "Output_SF/image_Ind_Freq_Out_" + n(s.cboOutputModeB_F) + "_0.jpg"}};
    case 4:
        return {{"Image_Output_A", picC + "Output_SC/image_Ind_Counter_Out_1_" + n(s.cboOutputMode_C_Dual_0) + "_0.jpg"}, {"Image_Output_B", dual}};
    case 5:
        return {{"Image_Output_A", picC + "Output_DT/image_Dual_Timer_Out_" + n(s.cboOutputMode_T_Dual_0) + "_" + n(s.cboOutputMode_T_Dual_1) + "_0.jpg"},
                {"Image_Output_B", ""}};
    case 6:
        return {{"Image_Output_A", picC + "Output_DF/image_Dual_Freq_Out_" + n(s.cboOutputModeA_Dual_F) + "_" + n(s.cboOutputModeB_Dual_F) + "_0.jpg"},
                {"Image_Output_B", ""}};
    default: return {{"Image_Output_A", dual}, {"Image_Output_B", ""}};
    }
}

std::vector<OutputPicture> tqcqPictures(const TqCqSettings& s)
{
    const int m = s.functionMode;
    if (TqCqSettings::isTimerMode(m)) {
        const int o = m == 0 ? s.cboOutputMode_A_TQ : m == 1 ? s.cboOutputMode_B_TQ : s.cboOutputMode_C_TQ;
        return {{"Image_Output_A", "Picture/PicA/image_" + n(m) + "_" + n(o) + "_0_0.jpg"}, {"Image_Output_B", ""}};
    }
    if (!TqCqSettings::isCounterMode(m))
        return {{"Image_Output_A", ""}, {"Image_Output_B", ""}};
    int input = 0;
    int output = 0;
    switch (m) {
    case 3: case 5: input = s.cboCountInputMode_1st_CQ; output = s.cboOutputMode_1st_CQ; break;
    case 4: input = s.cboCountInputMode_2nd_CQ; output = s.cboOutputMode_2nd_CQ; break;
    case 8: output = s.cboOutputMode_freq_CQ; break;
    default: input = s.cboCountInputMode_batch_CQ; output = s.cboOutputMode_batch_CQ; break;
    }
    const int group = m <= 4 ? 0 : m - 4;
    return {{"Image_Output_A", "Picture/PicB/image_" + n(group) + "_" + n(std::min(input, 2)) + "_" + hex(output) + "_1.jpg"},
            {"Image_Output_B", ""}};
}
} // namespace

std::vector<OutputPicture> outputPictures(const SettingsDocument& doc)
{
    return doc.machineType() == MachineType::DQ ? dqPictures(doc.dq()) : tqcqPictures(doc.tqcq());
}

std::string channelPictureA(const SettingsDocument& doc)
{
    return doc.machineType() == MachineType::DQ && doc.dq().functionGroup == 0 ? "IMAGE_CHA_W" : "IMAGE_CHA_G";
}

std::string channelPictureB(const SettingsDocument& doc)
{
    const int m = doc.functionMode();
    const bool white = doc.machineType() == MachineType::DQ ? (m == 0 || m == 1) : (m == 5 || m == 6);
    return white ? "IMAGE_CHB_W" : "IMAGE_CHB_G";
}

bool channelPictureOption(const SettingsDocument& doc)
{
    const int m = doc.functionMode();
    return doc.machineType() == MachineType::DQ ? (m == 0 || m == 1 || m == 4) : (m == 5 || m == 6);
}

std::string inputPicture(int inputMode) { return "Picture/PicC/Input_Counter/image_counter_in_" + std::to_string(inputMode) + ".jpg"; }

} // namespace lumetra
