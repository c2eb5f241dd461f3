// FramingPoints: the few points of a cloud that decide how a camera frames it.
//
// A camera frames a cloud by its outermost points as the camera sees them: those reaching
// farthest towards each edge of the picture, weighed by their depth for a persp camera. For a
// given view and picture shape those are the points that maximise a handful of linear
// functions, so a cloud of any size (a million-point mesh over a hundred frames) reduces to a
// few dozen points that frame exactly as the whole cloud does, and that a sequence can gather
// frame by frame.
#pragma once

#include "Camera.h"

#include <vector>

namespace hx {

class FramingPoints
{
public:
    // For framing in `view` a picture of width x height.
    FramingPoints(View view, int width, int height);

    // Points that are not finite are left out.
    void include(const double point[3]);
    void include(const FramingPoints& other);

    bool empty() const { return mBounds.isEmpty(); }
    // The points that decide the framing, each once.
    std::vector<Vec3> points() const;
    // The box of every point included.
    const Bounds& bounds() const { return mBounds; }

private:
    std::vector<Vec3> mDirections; // the functions, as directions to take a dot product with
    std::vector<double> mBest;     // per direction, the largest dot product so far
    std::vector<Vec3> mPoints;     // per direction, the point that gave it
    Bounds mBounds = Bounds::empty();
};

} // namespace hx
