#include "PresentValues.h"

#include <cmath>

namespace lumetra::sim {

namespace {

std::uint8_t bcd(int twoDigits) { return static_cast<std::uint8_t>((twoDigits / 10) << 4 | (twoDigits % 10)); }
int fromBcd(std::uint8_t b) { return ((b >> 4) % 10) * 10 + (b & 0x0F) % 10; }

// Whole values: the low four digits at a, the two high ones at a + 2.
void putPlain(VirtualUnit& u, std::uint16_t a, long v)
{
    v %= 1000000;
    u.setByte(a, bcd(static_cast<int>(v % 100)));
    u.setByte(static_cast<std::uint16_t>(a + 1), bcd(static_cast<int>(v / 100 % 100)));
    u.setByte(static_cast<std::uint16_t>(a + 2), bcd(static_cast<int>(v / 10000)));
    u.setByte(static_cast<std::uint16_t>(a + 3), 0);
}
long getPlain(const VirtualUnit& u, std::uint16_t a)
{
    return fromBcd(u.byteAt(static_cast<std::uint16_t>(a + 2))) * 10000L + fromBcd(u.byteAt(static_cast<std::uint16_t>(a + 1))) * 100L
        + fromBcd(u.byteAt(a));
}

// The six-digit layout: digits 1..4 at a + 3, a + 2, digits 5, 6 at a.
void putSixDigit(VirtualUnit& u, std::uint16_t a, long v)
{
    v %= 1000000;
    u.setByte(a, bcd(static_cast<int>(v % 100)));
    u.setByte(static_cast<std::uint16_t>(a + 1), 0);
    u.setByte(static_cast<std::uint16_t>(a + 2), bcd(static_cast<int>(v / 100 % 100)));
    u.setByte(static_cast<std::uint16_t>(a + 3), bcd(static_cast<int>(v / 10000)));
}
long getSixDigit(const VirtualUnit& u, std::uint16_t a)
{
    return fromBcd(u.byteAt(static_cast<std::uint16_t>(a + 3))) * 10000L + fromBcd(u.byteAt(static_cast<std::uint16_t>(a + 2))) * 100L
        + fromBcd(u.byteAt(a));
}

// Nine digits over three registers: fraction digits in the first, the two
// low integer digits in the second's low byte, the four high ones in the third.
void putNine(VirtualUnit& u, std::uint16_t a, long long v)
{
    const long long integer = v / 1000 % 1000000;
    const int fraction = static_cast<int>(v % 1000);
    u.setByte(a, bcd(fraction % 100));
    u.setByte(static_cast<std::uint16_t>(a + 1), bcd(fraction / 100));
    u.setByte(static_cast<std::uint16_t>(a + 2), bcd(static_cast<int>(integer % 100)));
    u.setByte(static_cast<std::uint16_t>(a + 3), 0);
    u.setByte(static_cast<std::uint16_t>(a + 4), bcd(static_cast<int>(integer / 100 % 100)));
    u.setByte(static_cast<std::uint16_t>(a + 5), bcd(static_cast<int>(integer / 10000)));
}

// A signed value of the counter unit's present-value blocks.
void putSigned(VirtualUnit& u, std::uint16_t a, long v)
{
    const long magnitude = std::labs(v) % 1000000;
    u.setByte(a, bcd(static_cast<int>(magnitude % 100)));
    u.setByte(static_cast<std::uint16_t>(a + 1), bcd(static_cast<int>(magnitude / 100 % 100)));
    u.setByte(static_cast<std::uint16_t>(a + 2), bcd(static_cast<int>(magnitude / 10000)));
    u.setByte(static_cast<std::uint16_t>(a + 3), 0);
    u.setByte(static_cast<std::uint16_t>(a + 4), v < 0 ? 1 : 0);
    u.setByte(static_cast<std::uint16_t>(a + 5), 0);
}

void setBit(VirtualUnit& u, std::uint16_t a, int bit, bool on)
{
    const std::uint8_t b = u.byteAt(a);
    u.setByte(a, static_cast<std::uint8_t>(on ? b | (1U << bit) : b & ~(1U << bit)));
}

// A count that runs from 0 to target, holds there a quarter of the way
// again with the output on, and starts over.
struct Cycle {
    long value;
    bool output;
};
Cycle cycle(long counts, long target)
{
    if (target <= 0)
        return {0, false};
    const long period = target + target / 4 + 1;
    const long e = counts % period;
    return e <= target ? Cycle{e, e == target} : Cycle{target, true};
}

long countsUpOrDown(Cycle c, long target, bool down) { return down ? target - c.value : c.value; }

// A tachometer reading that wanders around a middle value.
long rate(std::int64_t ms, long middle)
{
    return middle + std::lround(static_cast<double>(middle) / 20.0 * std::sin(static_cast<double>(ms) / 2000.0));
}

constexpr std::uint16_t kTimerPresent[8] = {0x04A0, 0x04A4, 0x04AA, 0x04B0, 0x04B8, 0x04C0, 0x04CA, 0x04D4};
constexpr std::uint16_t kTimerSetValue[8] = {0x045C, 0x0460, 0x0466, 0x046C, 0x0474, 0x047C, 0x0486, 0x0490};
constexpr long kTimerUnitMs[4] = {10, 1000, 60000, 3600000};

long pow10(int n)
{
    long p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

void runDq(VirtualUnit& u, std::int64_t ms)
{
    bool outputA = false;
    bool outputB = false;
    if (u.byteAt(0x0606) == 0) {
        const int c = u.byteAt(0x045A) & 7;
        const bool twoDecimals = c <= 1;
        const long target = twoDecimals ? getSixDigit(u, kTimerSetValue[c]) : getPlain(u, kTimerSetValue[c]);
        const Cycle t = cycle(static_cast<long>(ms / kTimerUnitMs[c / 2]), target);
        const long present = countsUpOrDown(t, target, c % 2 == 1);
        if (twoDecimals)
            putSixDigit(u, kTimerPresent[c], present);
        else
            putPlain(u, kTimerPresent[c], present);
        outputA = t.output;
        const int p = u.byteAt(0x0554) & 3;
        if (u.byteAt(0x0610) == 1) {
            putNine(u, 0x061A, rate(ms, 1500) * pow10(3 - p));
        } else {
            const int input = u.byteAt(0x055E);
            const bool down = input == 3 || input == 4 || input == 5 || input == 7;
            const long counterTarget = getSixDigit(u, down ? 0x055A : 0x0556);
            const Cycle k = cycle(static_cast<long>(ms / 100), counterTarget);
            putNine(u, down ? 0x05E6 : 0x05E0, countsUpOrDown(k, counterTarget, down) * pow10(3 - p));
            outputB = k.output;
        }
    } else {
        switch (u.byteAt(0x0630)) {
        case 0: {
            const long stage0 = getSixDigit(u, 0x0632);
            const long stage1 = getSixDigit(u, 0x0636);
            const Cycle t = cycle(static_cast<long>(ms / 1000), stage1);
            putSixDigit(u, 0x0648, t.value);
            outputA = t.value >= stage0 && stage0 > 0;
            outputB = t.output;
            break;
        }
        case 1: {
            const Cycle a = cycle(static_cast<long>(ms / 100), getSixDigit(u, 0x0672));
            putSixDigit(u, 0x0680, a.value);
            const int input = u.byteAt(0x055E);
            const bool down = input == 3 || input == 4 || input == 5 || input == 7;
            const long target = getSixDigit(u, down ? 0x055A : 0x0556);
            const Cycle b = cycle(static_cast<long>(ms / 250), target);
            putNine(u, down ? 0x05E6 : 0x05E0, countsUpOrDown(b, target, down) * 1000);
            outputA = a.output;
            outputB = b.output;
            break;
        }
        default:
            putNine(u, 0x061A, rate(ms, 900) * 1000);
            putSixDigit(u, 0x061C, rate(ms + 700, 1200));
            outputA = getSixDigit(u, 0x061C) > getSixDigit(u, 0x0690);
            break;
        }
    }
    setBit(u, 0x04E0, 0, outputA);
    setBit(u, 0x05DA, 4, outputA);
    setBit(u, 0x05DA, 5, outputB);
}

// Milliseconds a count of each TQ time range stands for (min:s and h:min
// count seconds and minutes).
constexpr long kRangeUnitMs[10] = {10, 100, 1000, 1000, 6000, 60000, 60000, 360000, 3600000, 1};

// The digits a TQ range shows for a count: min:s and h:min carry at 60.
long rangeDigits(int range, long count)
{
    if (range == 3 || range == 6)
        return count / 60 * 100 + count % 60;
    return count;
}
long rangeCount(int range, long digits)
{
    if (range == 3 || range == 6)
        return digits / 100 * 60 + digits % 100;
    return digits;
}

void runTq(VirtualUnit& u, std::int64_t ms)
{
    const int function = u.byteAt(0x0432);
    bool output = false;
    if (function == 1) { // twin timer: OFF phase, then ON phase
        const int offRange = u.byteAt(0x0460) % 10;
        const int onRange = u.byteAt(0x0462) % 10;
        const long offMs = std::max(1L, rangeCount(offRange, getPlain(u, 0x0468))) * kRangeUnitMs[offRange];
        const long onMs = std::max(1L, rangeCount(onRange, getPlain(u, 0x046C))) * kRangeUnitMs[onRange];
        const long e = static_cast<long>(ms % (offMs + onMs));
        const bool on = e >= offMs;
        putPlain(u, 0x0502, rangeDigits(offRange, (on ? offMs : e) / kRangeUnitMs[offRange]));
        putPlain(u, 0x0506, rangeDigits(onRange, (on ? e - offMs : 0) / kRangeUnitMs[onRange]));
        u.setByte(0x0680, on ? 1 : 0);
        output = on;
    } else {
        const int range = (function == 2 ? u.byteAt(0x0482) : u.byteAt(0x0440)) % 10;
        const long target = rangeCount(range, getPlain(u, function == 2 ? 0x0486 : 0x044A));
        const Cycle t = cycle(static_cast<long>(ms / kRangeUnitMs[range]), target);
        const bool down = function == 0 && u.byteAt(0x0442) == 1;
        putPlain(u, 0x0502, rangeDigits(range, countsUpOrDown(t, target, down)));
        output = t.output;
    }
    u.setByte(0x04D2, 0x01); // running, not paused
    setBit(u, 0x0429, 3, output);
    setBit(u, 0x0424, 0, true);
    setBit(u, 0x050A, 3, output);
}

void runCq(VirtualUnit& u, std::int64_t ms)
{
    const int function = u.byteAt(0x0432);
    const long target = getPlain(u, 0x06AC);
    bool output1 = false;
    bool output2 = false;
    if (function == 8) {
        const long r = rate(ms, 3000);
        putSigned(u, 0x0924, r);
        output1 = r > target;
    } else {
        const Cycle k = cycle(static_cast<long>(ms / 100), target);
        const bool down = u.byteAt(0x06A0) == 1;
        putSigned(u, 0x0924, countsUpOrDown(k, target, down));
        const long cycles = target > 0 ? static_cast<long>(ms / 100) / (target + target / 4 + 1) : 0;
        putSigned(u, 0x092A, function == 5 ? static_cast<long>(ms / 100) : cycles); // total or batch count
        putSigned(u, 0x0930, static_cast<long>(ms / 300) % 1000000);
        output1 = k.output;
        output2 = function == 6 && cycles >= getPlain(u, 0x06B0) && getPlain(u, 0x06B0) > 0;
    }
    setBit(u, 0x050A, 3, output1);
    setBit(u, 0x050A, 4, output2);
    setBit(u, 0x050C, 0, true);
}

} // namespace

void updatePresentValues(VirtualUnit& unit, std::int64_t elapsedMs)
{
    switch (unit.type()) {
    case UnitType::DQ: runDq(unit, elapsedMs); break;
    case UnitType::TQ: runTq(unit, elapsedMs); break;
    case UnitType::CQ: runCq(unit, elapsedMs); break;
    case UnitType::XQ:
        if (unit.byteAt(0x0432) <= 2)
            runTq(unit, elapsedMs);
        else
            runCq(unit, elapsedMs);
        break;
    }
}

} // namespace lumetra::sim
