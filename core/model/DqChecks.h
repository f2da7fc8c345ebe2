#pragma once

#include "DqSettings.h"

namespace lumetra {

// Range checks run before a DQ download and a DQ save, block by block.
// Each returns 0 or the result code of the first failing value.
int checkTimerA(const DqSettings& s);
// Channel B: the counter or the tachometer by the channel B function.
int checkChannelB(const DqSettings& s);
int checkTwoStageTimer(const DqSettings& s);
int checkDualCounter(const DqSettings& s);
int checkTachoFunction(const DqSettings& s);

// The checks of the whole function selection: timer A then channel B in
// function group 0, the single function's check in group 1.
int checkDqSelection(const DqSettings& s);

} // namespace lumetra
