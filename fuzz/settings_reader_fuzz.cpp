// Feeds arbitrary bytes to the settings-file readers, the upload's value
// decoder and the reply judgements: nothing may crash, and what a reader accepts must write back.

#include "files/SettingsImage.h"
#include "model/Bcd.h"

#include "comm/ResultCodes.h"
#include "comm/RtuReply.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace lumetra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SettingsImage image;
    image.bytes.fill(0xFF);
    for (std::size_t i = 0; i < size && i < SettingsImage::kSize; ++i)
        image.bytes[i] = data[i];

    MachineType type{};
    LayoutFamily family{};
    if (readImageHeader(image, type, family) == 0) {
        SettingsImage again;
        if (family == LayoutFamily::DQ) {
            DqSettings s;
            if (ReadSettingsImage(image, s, Result::OpenFailed) == 0)
                WriteSettingsImage(s, again); // may refuse a range, must not crash
        } else {
            TqCqSettings s(type);
            if (ReadSettingsImage(image, family, s, Result::OpenFailed) == 0 && WriteSettingsImage(s, again) != 0)
                std::abort(); // an accepted TQ/CQ image always writes back
        }
    }

    const std::string text(reinterpret_cast<const char*>(data), size);
    for (int kind = 0; kind <= 4; ++kind)
        decodeValueText(text, kind);
    FormatValue(1, text, 2);
    FormatValue(1, text, 3);
    FormatValue(0, text, 2);
    EncodeCounterSetValue(static_cast<int>(size % 4), text);
    judgeAsciiReply(text);
    RtuReplyCollector rtu(rtuReadReplyLength(static_cast<int>(size % 8) + 1));
    rtu.feed(data, size);
    return 0;
}
