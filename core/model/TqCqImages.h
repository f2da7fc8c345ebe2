#pragma once

#include "RegisterImage.h"
#include "TqCqSettings.h"

namespace lumetra {

// The timer unit's image, filled whatever the function selection.
struct TqImage {
    RegisterImage image{0x0432, 0x048D, 0x00, false};
    void convert(const TqCqSettings& s);
};

// The counter unit's images: the common block, and the function block whose
// every word is written (zero where the function stores nothing).
struct CqImages {
    RegisterImage common{0x0432, 0x043D, 0x00, false};
    RegisterImage function{0x06A0, 0x06C9, 0x00, true};
    void convert(const TqCqSettings& s);
};

// The runs a download writes, in order.
struct AddressRun {
    std::uint16_t from;
    std::uint16_t to;
};
inline constexpr AddressRun kTqRuns[] = {{0x0432, 0x043C}, {0x0440, 0x044E}, {0x0460, 0x046E}, {0x0480, 0x048C}};
inline constexpr AddressRun kCqCommonRun{0x0432, 0x043C};
inline constexpr AddressRun kCqFunctionRun{0x06A0, 0x06C8};

} // namespace lumetra
