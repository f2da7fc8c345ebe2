#pragma once

#include "text/Text.h"

namespace lumetra {

// The editors caption a setting with strings of their own ("NPN/PNP Input
// Mode :", string 186); reports name it by its plain label ("NPN / PNP Input
// Mode", string 317). The caption string of a label; the label itself when
// the editors have none for it.
Text editorCaptionId(Text labelId);

} // namespace lumetra
