// Feeds arbitrary bytes to the settings-file readers, the upload's value
// decoder and the reply judgements: nothing may crash, what a reader accepts
// must write back, and show lists it as printable text and valid JSON in
// every language.

#include "files/SettingsImage.h"
#include "files/SettingsListing.h"
#include "model/Bcd.h"
#include "text/PrintableText.h"
#include "text/StringTable.h"

#include <nlohmann/json.hpp>

#include "comm/ResultCodes.h"
#include "comm/RtuReply.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace lumetra;

namespace {
// No control character but the line end, no C1 code, no bidirectional override.
bool terminalSafe(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        const auto next = [&](std::size_t k) { return i + k < text.size() ? static_cast<std::uint8_t>(text[i + k]) : 0; };
        if ((c < 0x20 && c != '\n') || c == 0x7F || (c == 0xC2 && next(1) >= 0x80 && next(1) <= 0x9F))
            return false;
        if (c == 0xE2 && next(1) == 0x80 && (next(2) == 0x8E || next(2) == 0x8F || (next(2) >= 0xAA && next(2) <= 0xAE)))
            return false;
        if (c == 0xE2 && next(1) == 0x81 && next(2) >= 0xA6 && next(2) <= 0xA9)
            return false;
    }
    return true;
}
} // namespace

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

    SettingsDocument doc;
    if (doc.read(image, Result::OpenFailed) == 0) {
        const StringTable strings(size % 3 == 0   ? LanguageId::English
                                  : size % 3 == 1 ? LanguageId::TraditionalChinese
                                                  : LanguageId::SimplifiedChinese);
        const std::string json = settingsListingJson(doc, strings);
        if (!isValidUtf8(json) || !nlohmann::json::accept(json))
            std::abort();
        const std::string listing = settingsListingText(doc, strings);
        if (!isValidUtf8(listing) || !terminalSafe(listing))
            std::abort();
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
