// PictureStyle: how a picture of the scene is drawn, beyond what the scene holds.
#pragma once

#include "Shading.h"

#include <optional>
#include <string>
#include <vector>

namespace hx {

struct PictureStyle
{
    Shading shading = Shading::Auto;
    bool hud = true;          // the heads-up display (Hud.h)
    bool antialias = true;    // supersampled (Viewport::antialiasingSamples)
    int maxSamples = 3;       // at most this many samples a side
    std::optional<int> frame; // the frame number the display shows, in a sequence
    // Plugs ("node.attribute", long names) whose values the display lists, as they stand when
    // the picture is drawn: set ones, then keyed ones.
    std::vector<std::string> setPlugs;
    std::vector<std::string> keyedPlugs;
};

} // namespace hx
