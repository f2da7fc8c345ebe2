#pragma once

#include "SettingsImage.h"

#include <string>
#include <string_view>

namespace lumetra {

// Writes the 256 bytes atomically (writeFileAtomically): a crash or a full
// disk never leaves a torn settings file, an existing file keeps its mode,
// and a file the user may not write, or anything but a regular file, is
// refused and left as it was. 0, or 15 ("Failed to save the file!") with
// the reason in *reason.
int SaveImageToFile(const std::string& path, const SettingsImage& image, std::string* reason = nullptr);

// Fills the image from the file: bytes past its end stay 0xFF, a longer
// file is read only as far as 256 bytes. 0, 17 ("The file doesn't exist!")
// or 18 ("Falied to open the file."), also at once for a FIFO, a device or
// a folder, with the reason in *reason.
int LoadImageFromFile(const std::string& path, SettingsImage& image, std::string* reason = nullptr);

// The one file-name check, on the file title without its extension and dot.
bool CheckFileName(std::string_view name);

// The file title without its last four characters (".zqs").
std::string_view fileTitleStem(std::string_view title);

} // namespace lumetra
