#include "FramingPoints.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace hx {

FramingPoints::FramingPoints(View view, int width, int height)
{
    // The camera's axes, as Camera::framing sets them up for this view.
    const Camera camera = Camera::framing(view, Bounds::empty(), std::max(width, 1), std::max(height, 1));
    const Vec3 right = camera.right(), up = camera.up(), forward = camera.forward();
    const auto combine = [](const Vec3& a, double s, const Vec3& b) {
        return Vec3{a[0] * s - b[0], a[1] * s - b[1], a[2] * s - b[2]};
    };
    // Persp: a point at sideways offset x and depth z needs the camera at distance x / t - z
    // for the picture's half-width t, so the point maximising x / t - z decides; which t
    // applies depends on the final fit, so a spread of them is kept. Ortho: the sideways
    // offsets alone (the first directions, with no depth term), and the depth for clipping.
    const double aspect = double(std::max(width, 1)) / double(std::max(height, 1));
    const double tanV = std::tan(Camera::kFieldOfView * M_PI / 360.0) * Camera::kFill;
    for (const double sign : {1.0, -1.0}) {
        mDirections.push_back({right[0] * sign, right[1] * sign, right[2] * sign});
        mDirections.push_back({up[0] * sign, up[1] * sign, up[2] * sign});
        mDirections.push_back({forward[0] * sign, forward[1] * sign, forward[2] * sign});
        if (view != View::Persp) continue;
        for (const double slope : {1.0, 0.75, 0.5, 0.25}) {
            mDirections.push_back(combine(right, sign / (tanV * aspect * slope), forward));
            mDirections.push_back(combine(up, sign / (tanV * slope), forward));
        }
    }
    mBest.assign(mDirections.size(), -std::numeric_limits<double>::infinity());
    mPoints.assign(mDirections.size(), Vec3{0.0, 0.0, 0.0});
}

void FramingPoints::include(const double point[3])
{
    if (!std::isfinite(point[0]) || !std::isfinite(point[1]) || !std::isfinite(point[2])) return;
    mBounds.include(point);
    for (std::size_t i = 0; i < mDirections.size(); ++i) {
        const Vec3& d = mDirections[i];
        const double reach = d[0] * point[0] + d[1] * point[1] + d[2] * point[2];
        if (reach > mBest[i]) {
            mBest[i] = reach;
            mPoints[i] = {point[0], point[1], point[2]};
        }
    }
}

void FramingPoints::include(const FramingPoints& other)
{
    for (const Vec3& p : other.points()) include(p.data());
    mBounds.include(other.mBounds);
}

std::vector<Vec3> FramingPoints::points() const
{
    std::vector<Vec3> unique;
    if (empty()) return unique;
    for (const Vec3& p : mPoints)
        if (std::find(unique.begin(), unique.end(), p) == unique.end()) unique.push_back(p);
    return unique;
}

} // namespace hx
