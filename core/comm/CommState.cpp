#include "CommState.h"

#include <algorithm>

namespace lumetra {

namespace {
template <typename T>
T pick(const std::initializer_list<T>& list, int index)
{
    const auto i = static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(list.size()) - 1));
    return *(list.begin() + i);
}
} // namespace

int CommState::baudRate() const
{
    return kBaudRates[static_cast<std::size_t>(std::clamp(BaudIndex, 0, static_cast<int>(kBaudRates.size()) - 1))];
}

PortSettings CommState::portSettings() const
{
    PortSettings s;
    s.baud = baudRate();
    s.parity = pick({'n', 'o', 'e'}, ParityIndex);
    s.dataBits = pick({7, 8}, DataBitsIndex);
    s.stopBits = pick({1, 2}, StopBitsIndex);
    return s;
}

std::string CommState::buildCommSettingsText() const
{
    const PortSettings s = portSettings();
    return std::to_string(s.baud) + " , " + pick({"N", "O", "E"}, ParityIndex) + " , " + std::to_string(s.dataBits)
        + " , " + std::to_string(s.stopBits);
}

int baudIndexOf(int baud)
{
    const auto it = std::find(kBaudRates.begin(), kBaudRates.end(), baud);
    return it == kBaudRates.end() ? -1 : static_cast<int>(it - kBaudRates.begin());
}

} // namespace lumetra
