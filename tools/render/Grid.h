// Grid: the reference grid a view shows, sized to the scene.
//
// Lines fall on whole multiples of a step of 1, 2 or 5 times a power of ten, about eight of
// them across the scene, and reach one step past it on every side. The persp and top views
// show the ground plane (XZ, y = 0), the front view the XY plane (z = 0) and the side view the
// YZ plane (x = 0): each orthographic view sees its grid face on, never as a single line.
#pragma once

#include "Camera.h"

#include <string>

namespace hx {

struct Grid
{
    int normalAxis = 1;   // the axis the plane faces: 0 x, 1 y, 2 z; the plane goes through 0
    int axes[2] = {0, 2}; // the plane's two axes, in world coordinates
    double step = 1.0;
    // Along axes[a], lines at k * step for k in first[a]..last[a]; k = 0 is the other axis.
    long first[2] = {-1, -1};
    long last[2] = {1, 1};

    // How far the lines reach along axes[a].
    double low(int a) const { return double(first[a]) * step; }
    double high(int a) const { return double(last[a]) * step; }
};

// A step of 1, 2 or 5 times a power of ten near `rough` (which must be positive and finite).
double niceStep(double rough);

// The grid `view` shows around `scene` (an empty scene gets a unit box about the origin).
Grid gridFor(View view, const Bounds& scene);

// The step as the heads-up display says it: "0.25", "10", "1e-06".
std::string stepText(double step);

} // namespace hx
