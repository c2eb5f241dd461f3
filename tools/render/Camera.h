// Camera: the viewport's view and projection, as pure math.
//
// A perspective camera looks at a bounding box from the host's default persp direction
// (from +X, +Y, +Z, as (28, 21, 28) does) and frames it; the orthographic views look as the
// host's do: top down -Y with -Z up the screen, front down -Z, side down -X with -Z to the
// right. Framing fits the box's corners as the camera sees them, so that what is framed
// fills most of the picture whatever its shape. Matrices are column-major doubles, ready for
// glLoadMatrixd.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace hx {

using Vec3 = std::array<double, 3>;

struct Bounds
{
    double min[3] = {0.0, 0.0, 0.0};
    double max[3] = {0.0, 0.0, 0.0};

    // The smallest box holding both; an empty box (min > max) adds nothing.
    static Bounds empty();
    void include(const double point[3]);
    void include(const Bounds& other);
    bool isEmpty() const { return min[0] > max[0]; }
    Vec3 centre() const;
    // Half the box's diagonal; 0 for an empty box.
    double radius() const;
};

enum class View { Persp, Top, Front, Side };

// Bands of the picture, in pixels, that framing keeps clear (for text over the picture).
struct Insets
{
    double top = 0.0;
    double bottom = 0.0;
};

// "persp", "top", "front" or "side"; false for anything else.
bool parseView(const std::string& name, View& view);
const char* viewName(View view);

class Camera
{
public:
    // The persp camera's vertical field of view, in degrees.
    static constexpr double kFieldOfView = 40.0;
    // How much of the picture's width or height a framed box takes, whichever is tighter.
    static constexpr double kFill = 0.9;

    // Frames `box` in a width x height image: its corners fill kFill of the picture in the
    // tighter direction, centred. An empty or degenerate box gets a unit box about its centre.
    static Camera framing(View view, const Bounds& box, int width, int height);
    // The same for a cloud of points (FramingPoints reduces a large one): what the camera sees
    // of them fills kFill of the picture between `insets`, centred there. Points that are not
    // finite are left out.
    static Camera framing(View view, const std::vector<Vec3>& points, int width, int height, Insets insets = {});
    // A perspective camera at `eye` looking at `target`, +Y up the screen, with its clipping
    // planes around `scene` (what must not be cut away).
    static Camera perspective(const Vec3& eye, const Vec3& target, const Bounds& scene, int width, int height);
    // An orthographic camera looking as `view` does (not Persp) through `centre`, `halfHeight`
    // world units from the picture's centre to its top edge, keeping `scene` within its depth.
    static Camera orthographic(View view, const Vec3& centre, double halfHeight, const Bounds& scene, int width,
                               int height);

    const std::array<double, 16>& viewMatrix() const { return mView; }
    const std::array<double, 16>& projectionMatrix() const { return mProjection; }
    int width() const { return mWidth; }
    int height() const { return mHeight; }
    View view() const { return mViewKind; }
    bool isPerspective() const { return mViewKind == View::Persp; }
    // Where the camera stands and what it looks at (the picture's centre). An orthographic
    // camera stands at its target.
    const Vec3& eye() const { return mEye; }
    const Vec3& target() const { return mTarget; }
    // Orthographic: world units from the picture's centre to its top edge.
    double halfHeight() const { return mHalfHeight; }
    // The camera's axes in world space: right, up the screen, and into the picture.
    Vec3 right() const;
    Vec3 up() const;
    Vec3 forward() const;

    // Pixel position of a world point, x right and y down from the image's top-left corner
    // (pixel centres at .5). False when the point is behind the camera.
    bool project(const double world[3], double& pixelX, double& pixelY) const;
    // World units per pixel at `world` (its distance for a persp camera): how large a pixel is there.
    double worldPerPixel(const double world[3]) const;

private:
    std::array<double, 16> mView{};
    std::array<double, 16> mProjection{};
    int mWidth = 1;
    int mHeight = 1;
    View mViewKind = View::Persp;
    Vec3 mEye{0.0, 0.0, 0.0};
    Vec3 mTarget{0.0, 0.0, 0.0};
    double mHalfHeight = 1.0;
};

} // namespace hx
