#include "EditorCaptions.h"

#include <array>
#include <utility>

namespace lumetra {

int editorCaptionId(int labelId)
{
    static constexpr std::array<std::pair<int, int>, 30> captions{{
        {307, 156}, // Time Range
        {308, 157}, // Time Mode
        {309, 158}, // Output Mode
        {310, 159}, // Set Value
        {311, 160}, // Output Time
        {312, 172}, // Input Mode
        {313, 173}, // Decimal Point Position
        {314, 174}, // Counting Speed
        {315, 176}, // Prescale Value
        {316, 185}, // Input Signal Width
        {317, 186}, // NPN/PNP Input Mode
        {318, 188}, // Average Processing
        {319, 192}, // Startup Time
        {320, 201}, // ON/OFF Start Mode
        {321, 202}, // OFF Time Range
        {322, 203}, // OFF Set Value
        {323, 204}, // ON Time Range
        {324, 205}, // ON Set Value
        {325, 206}, // Key Protect Level
        {326, 207}, // ON Duty Ratio
        {327, 208}, // Cycle time
        {328, 209}, // Setting Method
        {329, 210}, // Set Value ( SV1 )
        {330, 211}, // Forecast Set Value ( SV2 )
        {331, 238}, // Set Value 1
        {332, 239}, // Set Value 2
        {333, 240}, // Auto-zero Time
        {334, 241}, // Set Value ( Batch )
        {335, 242}, // Output Time 1
        {336, 243}, // Output Time 2
    }};
    for (const auto& [label, caption] : captions)
        if (label == labelId)
            return caption;
    return labelId;
}

} // namespace lumetra
