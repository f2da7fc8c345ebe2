#pragma once

#include "files/SettingsDocument.h"

#include <gtest/gtest.h>

#include <random>

namespace lumetra::test {

// A document of the type in the mode, with values every check accepts in
// the mode's own settings; the others keep their defaults, as in a file
// saved from an upload (a unit holds one counter function at a time).
inline SettingsDocument validDocument(MachineType type, int mode, unsigned seed = 1)
{
    SettingsDocument doc(type);
    EXPECT_TRUE(doc.selectFunctionMode(mode));
    std::mt19937 rng(seed);
    const auto digits = [&] {
        std::string d = "0";
        for (int i = 0; i < 4; ++i)
            d += static_cast<char>('0' + rng() % 10);
        return d + static_cast<char>('1' + rng() % 9);
    };
    if (type == MachineType::DQ) {
        for (const auto& f : DqSettings::valueFields())
            (doc.dq().*f.member).setDigits(digits());
        doc.dq().lblTimerSetting_T_Dual_1.setDigits("999999");
        doc.dq().cboOutputModeA = 3;
        doc.dq().cboCountInputModeB = static_cast<std::uint8_t>(rng() % 8);
        doc.dq().cboCountInputMode_C_Dual_1 = static_cast<std::uint8_t>(rng() % 8);
        doc.dq().cboOutputModeB = 11;
        doc.dq().cboSGWidth_All = 1;
        doc.dq().keyProtection = 1;
        EXPECT_TRUE(doc.dq().setList(*DqSettings::findList("cboDotAdjB"), static_cast<int>(rng() % 4)));
    } else {
        for (const auto& f : TqCqSettings::valueFields())
            if (doc.tqcq().blockActive(f.block))
                (doc.tqcq().*f.member).setDigits(digits());
        if (mode == 0) {
            doc.tqcq().lblDutyRatio_A_TQ.setDigits("050000"); // the unit keeps three digits
            doc.tqcq().cboTimerRange_A_TQ = 3;
            doc.tqcq().cboOutputMode_A_TQ = 9;
        }
        if (mode == 7)
            doc.tqcq().lblCounterSetting_batch_2_CQ.setDigits("000000"); // the batch value is not the dual counter's
        if (mode == 8) {
            doc.tqcq().lblAuto2ZeroTime_freq_CQ.setDigits("001234"); // and four here
            doc.tqcq().lblDelay2StartTime_freq_CQ.setDigits("005678");
        }
        doc.tqcq().cboKP_Comm_CQ = 2;
        doc.tqcq().keyProtection = 1;
        if (mode == 4)
            doc.tqcq().lblCounterSetting_2nd_2_CQ.setCell(0, '-');
    }
    return doc;
}

inline SettingsImage imageOf(const SettingsDocument& doc)
{
    SettingsImage image;
    doc.writeUnchecked(image);
    return image;
}

} // namespace lumetra::test
