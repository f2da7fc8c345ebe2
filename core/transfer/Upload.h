#pragma once

#include "files/SettingsImage.h"

namespace lumetra {

class CommSession;

// Reads the unit's current settings into a settings image, as characters
// in the layout of its machine type. 0, or 21 ("Failed to upload the
// settings!") for any failure; the image holds what was read so far.
int Upload(CommSession& session, SettingsImage& image);

} // namespace lumetra
