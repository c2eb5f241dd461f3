// Hud: the heads-up display written over a picture, as text laid out in pixels.
//
// Top left: the frame number of a sequence, then the values the run set and keyed, one
// line per node ("hxNoise1: oxNoiseAmp 0.6, oyNoiseAmp 0.6"; keyed values on lines of their
// own, "transform1 (keyed): translate (0, 0, 1.25)"), wrapped to the picture's width. Bottom
// left: the grid's spacing. Bottom centre: the camera. Beside the end of each locator curve:
// the axis it shows. The values are read from the scene when the picture is drawn, so they
// are what the attributes hold (after clamping), not what was typed.
#pragma once

#include "Camera.h"
#include "PictureStyle.h"

#include <engine/Host.h>

#include <string>
#include <vector>

namespace hx {

struct HudValue
{
    std::string plug; // "hxNoise1.oxNoiseAmp"
    std::vector<double> values;
    bool keyed = false;
};

struct HudLine
{
    std::string text;
    bool keyed = false;
};

// "0.6", "12", "(1.3, -0.2, 1.4)": six significant digits at most.
std::string hudValueText(const std::vector<double>& values);

// The values grouped by node, set before keyed, each plug once (its last entry), in lines no
// wider than `maxWidth` pixels at text `scale` (a value too wide on its own still gets a line).
std::vector<HudLine> hudValueLines(const std::vector<HudValue>& values, double maxWidth, double scale);

// The text scale (stroke width in pixels) that reads well in a width x height picture.
double hudScale(int width, int height);

// The values `style` lists, as the scene holds them now (plugs that do not hold up to four
// numbers are left out).
std::vector<HudValue> hudValues(Host& host, const PictureStyle& style);

// The bands at the top and bottom of a width x height picture that the display takes, for
// framing to keep clear; none without a display.
Insets hudInsets(Host& host, const PictureStyle& style, int width, int height);

// Where the display's text goes: the margin, the height of a line, and of the frame's line.
struct HudLayout
{
    double scale, margin, line, frameScale, frameLine;
};
HudLayout hudLayout(int width, int height);

// Where a label `textWidth` x `textHeight` pixels goes beside the end of a curve that reaches
// (endX, endY) coming from (beforeX, beforeY): `gap` pixels past the end along the curve's
// last direction, on the side away from the curve. Returns the label's top-left corner.
void labelBeside(double endX, double endY, double beforeX, double beforeY, double textWidth, double textHeight,
                 double gap, double& x, double& y);

} // namespace hx
