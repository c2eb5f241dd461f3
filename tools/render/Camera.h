// Camera: the viewport's view and projection, as pure math.
//
// A perspective camera looks at a bounding box from the host's default persp direction
// (from +X, +Y, +Z, as (28, 21, 28) does) and frames it; the orthographic views look as the
// host's do: top down -Y with -Z up the screen, front down -Z, side down -X with -Z to the
// right. Matrices are column-major doubles, ready for glLoadMatrixd.
#pragma once

#include <array>
#include <string>

namespace hx {

struct Bounds {
    double min[3] = {0.0, 0.0, 0.0};
    double max[3] = {0.0, 0.0, 0.0};

    // The smallest box holding both; an empty box (min > max) adds nothing.
    static Bounds empty();
    void include(const double point[3]);
    void include(const Bounds& other);
    bool isEmpty() const { return min[0] > max[0]; }
};

enum class View { Persp, Top, Front, Side };

// "persp", "top", "front" or "side"; false for anything else.
bool parseView(const std::string& name, View& view);

class Camera {
public:
    // Frames `box` (grown a little so nothing touches the edge) in a width x height image.
    static Camera framing(View view, const Bounds& box, int width, int height);

    const std::array<double, 16>& viewMatrix() const { return mView; }
    const std::array<double, 16>& projectionMatrix() const { return mProjection; }
    int width() const { return mWidth; }
    int height() const { return mHeight; }

    // Pixel position of a world point, x right and y down from the image's top-left corner
    // (pixel centres at .5). False when the point is behind the camera.
    bool project(const double world[3], double& pixelX, double& pixelY) const;

private:
    std::array<double, 16> mView{};
    std::array<double, 16> mProjection{};
    int mWidth = 1;
    int mHeight = 1;
};

}  // namespace hx
