#include "CheckRange.h"

#include "ValueText.h"

#include <algorithm>
#include <array>

namespace lumetra {

namespace {
struct Limits {
    float smallest;
    float largest;
};
constexpr std::array<Limits, 6> kClasses{{
    {1.0f, 999999.0f},
    {0.1f, 99999.9f},
    {0.01f, 9999.99f},
    {0.001f, 999.999f},
    {0.0001f, 99.9999f},
    {0.0f, 9999.99f},
}};
} // namespace

int CheckRange(int decimalClass, bool narrow, std::string_view text)
{
    if (decimalClass < 0 || decimalClass >= static_cast<int>(kClasses.size()))
        return 1;
    Limits limits = kClasses[static_cast<std::size_t>(decimalClass)];
    if (decimalClass == 3 && narrow)
        limits.largest = 99.999f;
    const auto value = static_cast<float>(leadingNumber(text));
    if (value < limits.smallest || value > limits.largest)
        return 1;

    const auto points = std::count(text.begin(), text.end(), '.');
    if (points > 1)
        return 1;
    if (points == 0)
        return 0;
    std::string_view fraction = text.substr(text.find('.') + 1);
    if (static_cast<int>(fraction.size()) <= decimalClass)
        return 0;
    while (!fraction.empty() && fraction.back() == '0')
        fraction.remove_suffix(1);
    return static_cast<int>(fraction.size()) <= decimalClass ? 0 : 1;
}

} // namespace lumetra
