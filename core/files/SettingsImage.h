#pragma once

#include "model/DqSettings.h"
#include "model/MachineType.h"
#include "model/TqCqSettings.h"

#include <array>
#include <cstdint>

namespace lumetra {

// The 256 characters of a settings file, also what an upload hands to an
// editor: "0100", the machine-type code in four hex digits, then the fields
// of the layout family.
struct SettingsImage {
    static constexpr std::size_t kSize = 256;
    std::array<std::uint8_t, kSize> bytes{};

    std::string text(std::size_t offset, std::size_t width) const;
    void put(std::size_t offset, const std::string& text);
};

enum class LayoutFamily { DQ, TQ, CQ };

// Writers: fill the image from the settings; 0, or the code of the DQ range
// check that failed (the image is then incomplete and must not be saved).
// The TQ/CQ record uses the TQ layout in modes 0..2 and the CQ layout in
// modes 3..8; with no mode chosen it cannot be written (code 15).
int WriteSettingsImage(const DqSettings& settings, SettingsImage& image);
// The DQ layout alone, without the range checks.
void writeDqLayout(const DqSettings& settings, SettingsImage& image);
int WriteSettingsImage(const TqCqSettings& settings, SettingsImage& image);

// The common reading steps: version (19 "Wrong version !"), machine type and
// the XQ rule (18 "Falied to open the file."). On 0, type and family tell
// which reader to run.
int readImageHeader(const SettingsImage& image, MachineType& type, LayoutFamily& family);

// Family readers: mode selectors first, then every field. A refused flag,
// selector or list index ends with failureCode; fields applied before stay.
int ReadSettingsImage(const SettingsImage& image, DqSettings& settings, int failureCode);
// The TQ or CQ layout into the shared record; its machine type must be set.
int ReadSettingsImage(const SettingsImage& image, LayoutFamily family, TqCqSettings& settings, int failureCode);

} // namespace lumetra
