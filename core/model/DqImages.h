#pragma once

#include "DqSettings.h"
#include "RegisterImage.h"

namespace lumetra {

// The register images of a DQ unit, rebuilt from the settings by every
// download and compare. Counter B and tachometer B cover the same block;
// the function selection decides which is written.
struct DqImages {
    RegisterImage timerA{0x045A, 0x049B};
    RegisterImage counterB{0x054C, 0x0565};
    RegisterImage tachoB{0x054C, 0x0565};
    RegisterImage tachoExtra{0x0612, 0x0629};
    RegisterImage twoStageTimer{0x0630, 0x0645};
    RegisterImage counterA{0x0670, 0x067B};
    RegisterImage tachoA{0x0690, 0x0695};

    void convertTimerA(const DqSettings& s);
    void convertCounterB(const DqSettings& s);
    // Tachometer B with its extra block (function group 0, channel B function 1).
    void convertTachoB(const DqSettings& s);
    void convertTwoStageTimer(const DqSettings& s);
    // Counter A, and the second counter into the counter B image.
    void convertDualCounter(const DqSettings& s);
    // Tachometer A, and the tachometer function B into the tachometer B and extra images.
    void convertTachoFunction(const DqSettings& s);
};

// The set value slot of timer A for a time code (2 x range + mode, 0..7):
// the first zero byte and the address of the four value bytes.
struct TimerSlot {
    std::uint16_t zeroFrom;
    std::uint16_t value;
};
TimerSlot timerASlot(int timeCode);

// Output times, startup times: cells 0-3, ".", cells 4-5.
std::string pointTwoText(const ValueDisplay& display);

} // namespace lumetra
