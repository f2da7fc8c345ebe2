#include "EditorCaptions.h"

#include <array>
#include <utility>

namespace lumetra {

Text editorCaptionId(Text labelId)
{
    static constexpr std::array<std::pair<Text, Text>, 30> captions{{
        {Text::NameTimeRange, Text::TimeRangeLabel},
        {Text::NameTimeMode, Text::TimeModeLabel},
        {Text::NameOutputMode, Text::OutputModeLabel},
        {Text::NameSetValue, Text::SetValueLabel},
        {Text::NameOutputTime, Text::OutputTimeLabel},
        {Text::NameInputMode, Text::InputModeLabel},
        {Text::NameDecimalPointPosition, Text::DecimalPointPositionLabel},
        {Text::NameCountingSpeed, Text::CountingSpeedLabel},
        {Text::NamePrescaleValue, Text::PrescaleValueLabel},
        {Text::NameInputSignalWidth, Text::InputSignalWidthLabel},
        {Text::NameNpnPnpInputMode, Text::NpnPnpInputModeLabel},
        {Text::NameAverageProcessing, Text::AverageProcessingLabel},
        {Text::NameStartupTime, Text::StartupTimeLabel},
        {Text::NameOnOffStartMode, Text::OnOffStartModeLabel},
        {Text::NameOffTimeRange, Text::OffTimeRangeLabel},
        {Text::NameOffSetValue, Text::OffSetValueLabel},
        {Text::NameOnTimeRange, Text::OnTimeRangeLabel},
        {Text::NameOnSetValue, Text::OnSetValueLabel},
        {Text::NameKeyProtectLevel, Text::KeyProtectLevelLabel},
        {Text::NameOnDutyRatio, Text::OnDutyRatioLabel},
        {Text::NameCycleTime, Text::CycleTimeLabel},
        {Text::NameSettingMethod, Text::SettingMethodLabel},
        {Text::NameSetValueSv1, Text::SetValueSv1Label},
        {Text::NameForecastSetValueSv2, Text::ForecastSetValueSv2Label},
        {Text::NameSetValue1, Text::SetValue1Label},
        {Text::NameSetValue2, Text::SetValue2Label},
        {Text::NameAutoZeroTime, Text::AutoZeroTimeLabel},
        {Text::NameSetValueBatch, Text::SetValueBatchLabel},
        {Text::NameOutputTime1, Text::OutputTime1Label},
        {Text::NameOutputTime2, Text::OutputTime2Label},
    }};
    for (const auto& [label, caption] : captions)
        if (label == labelId)
            return caption;
    return labelId;
}

} // namespace lumetra
