#pragma once

#include "PanelState.h"

#include <map>
#include <string>
#include <vector>

namespace lumetra {

// One image control and the bitmap it is to show.
struct ImageAssignment {
    std::string control; // e.g. "image_char_A(3)" or "T_image_week"
    std::string bitmap;  // e.g. "image_3" (matched without regard to case)
};

// Every assignment that draws a panel picture from a state, in drawing
// order; the second picture's controls carry the prefix "T_".
std::vector<ImageAssignment> drawPanel(const PanelState& state, bool secondPicture);

// The assignments that blank a picture when the monitor window opens.
std::vector<ImageAssignment> clearPanel(bool secondPicture);

// Whether a bitmap of that name exists (any case).
bool bitmapExists(const std::string& name);
// Every bitmap name, upper case as the resources are named.
const std::vector<std::string>& bitmapNames();

// The controls of both pictures as the window holds them: an assignment
// whose bitmap does not exist leaves its control as it was.
class PanelPictures {
public:
    void apply(const std::vector<ImageAssignment>& assignments);
    // The bitmap a control shows, upper case; empty when none yet.
    std::string shown(const std::string& control) const;

private:
    std::map<std::string, std::string> m_controls;
};

} // namespace lumetra
