#pragma once

#include "files/SettingsDocument.h"

#include <string>
#include <vector>

namespace lumetra {

// A timing picture of the selected output mode: the image control and the
// file below the application's folder ("Picture/PicC/Output_ST/...jpg").
struct OutputPicture {
    std::string control; // "Image_Output_A" or "Image_Output_B"
    std::string file;
};

// The pictures the editor shows for the document's mode and selections,
// one for each of the two places; an empty file clears a place the mode
// does not use.
std::vector<OutputPicture> outputPictures(const SettingsDocument& document);

// The channel pictures: "IMAGE_CHA_W"/"IMAGE_CHA_G" and "IMAGE_CHB_W"/"IMAGE_CHB_G".
std::string channelPictureA(const SettingsDocument& document);
std::string channelPictureB(const SettingsDocument& document);
// Whether the channel-picture option is offered in the document's mode.
bool channelPictureOption(const SettingsDocument& document);

// The input picture of a DQ counter input mode.
std::string inputPicture(int inputMode);

} // namespace lumetra
