#include "Grid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace hx {

double niceStep(double rough)
{
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double scaled = rough / power;
    return power * (scaled < 1.5 ? 1.0 : scaled < 3.5 ? 2.0 : scaled < 7.5 ? 5.0 : 10.0);
}

Grid gridFor(View view, const Bounds& scene)
{
    Grid grid;
    if (view == View::Front) grid.normalAxis = 2, grid.axes[0] = 0, grid.axes[1] = 1;
    if (view == View::Side) grid.normalAxis = 0, grid.axes[0] = 2, grid.axes[1] = 1;

    Bounds box = scene;
    bool usable = !box.isEmpty();
    for (int a = 0; a < 2 && usable; ++a)
        usable = std::isfinite(box.min[grid.axes[a]]) && std::isfinite(box.max[grid.axes[a]]);
    if (!usable) {
        for (int i = 0; i < 3; ++i) box.min[i] = -0.5, box.max[i] = 0.5;
    }
    double size = 0.0;
    for (int a = 0; a < 2; ++a) size = std::max(size, box.max[grid.axes[a]] - box.min[grid.axes[a]]);
    // A scene flat in the plane (a point, a line) still gets a grid of its own size, and one
    // far larger than its place (a speck at 1e9) a grid it can be seen on.
    size = std::max({size, 1e-6, 1e-9 * std::max(std::abs(box.min[grid.axes[0]]), std::abs(box.min[grid.axes[1]]))});
    grid.step = niceStep(size / 8.0);
    for (int a = 0; a < 2; ++a) {
        const double low = std::floor(box.min[grid.axes[a]] / grid.step) - 1.0;
        const double high = std::ceil(box.max[grid.axes[a]] / grid.step) + 1.0;
        // No more than a few hundred lines, whatever rounding a vast coordinate brings.
        grid.first[a] = static_cast<long>(std::max(low, -1e15));
        grid.last[a] = static_cast<long>(std::min(std::max(high, low + 1.0), low + 400.0));
    }
    return grid;
}

std::string stepText(double step)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", step);
    return text;
}

} // namespace hx
