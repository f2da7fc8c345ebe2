#include "DemoLine.h"

#include "Preload.h"

#include "files/SettingsDocument.h"

namespace lumetra::sim {

namespace {
SettingsDocument demoDocument(MachineType type)
{
    SettingsDocument doc(type);
    switch (type) {
    case MachineType::DQ: {
        doc.selectFunctionMode(0);
        DqSettings& s = doc.dq();
        s.lblTimerSettingA.setDigits("001500"); // 15.00 s
        s.cboOutputModeA = 3;
        s.lblHoldTimeA.setDigits("000200");
        s.lblCounterSettingB.setDigits("000250");
        s.lblMagnificationB.setDigits("001000");
        break;
    }
    case MachineType::TQ:
        doc.selectFunctionMode(0);
        doc.tqcq().cboTimerRange_A_TQ = 1;
        doc.tqcq().lblTimerSetting_A_TQ.setDigits("000300"); // 30.0 s
        break;
    case MachineType::CQ:
        doc.selectFunctionMode(6);
        doc.tqcq().lblCounterSetting_batch_1_CQ.setDigits("000100");
        doc.tqcq().lblCounterSetting_batch_2_CQ.setDigits("000005");
        break;
    case MachineType::XQ:
        doc.selectFunctionMode(8);
        doc.tqcq().lblCounterSetting_freq_1_CQ.setDigits("003100");
        doc.tqcq().lblCounterSetting_freq_2_CQ.setDigits("002900");
        break;
    }
    return doc;
}
} // namespace

void populateDemoLine(VirtualLine& line)
{
    int id = 1;
    for (MachineType type : {MachineType::DQ, MachineType::TQ, MachineType::CQ, MachineType::XQ}) {
        line.addUnit(id, type).setRestartMs(1500);
        preloadUnit(line, id, demoDocument(type));
        ++id;
    }
}

} // namespace lumetra::sim
