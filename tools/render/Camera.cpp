#include "Camera.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace hx {
namespace {

using Vec3 = std::array<double, 3>;

Vec3 sub(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vec3 normalized(const Vec3& v)
{
    const double length = std::sqrt(dot(v, v));
    return {v[0] / length, v[1] / length, v[2] / length};
}

// Column-major: element (row r, column c) at [c * 4 + r].
std::array<double, 16> lookAlong(const Vec3& eye, const Vec3& forward, const Vec3& up)
{
    const Vec3 f = normalized(forward);
    const Vec3 s = normalized(cross(f, up));
    const Vec3 u = cross(s, f);
    return {s[0], u[0], -f[0], 0.0,  s[1], u[1], -f[1], 0.0,
            s[2], u[2], -f[2], 0.0,  -dot(s, eye), -dot(u, eye), dot(f, eye), 1.0};
}

std::array<double, 16> perspective(double verticalFov, double aspect, double zNear, double zFar)
{
    const double f = 1.0 / std::tan(verticalFov / 2.0);
    return {f / aspect, 0.0, 0.0, 0.0,
            0.0, f, 0.0, 0.0,
            0.0, 0.0, (zFar + zNear) / (zNear - zFar), -1.0,
            0.0, 0.0, 2.0 * zFar * zNear / (zNear - zFar), 0.0};
}

std::array<double, 16> orthographic(double halfWidth, double halfHeight, double zNear, double zFar)
{
    return {1.0 / halfWidth, 0.0, 0.0, 0.0,
            0.0, 1.0 / halfHeight, 0.0, 0.0,
            0.0, 0.0, -2.0 / (zFar - zNear), 0.0,
            0.0, 0.0, -(zFar + zNear) / (zFar - zNear), 1.0};
}

std::array<double, 4> transform(const std::array<double, 16>& m, const std::array<double, 4>& v)
{
    std::array<double, 4> out{};
    for (int r = 0; r < 4; ++r)
        out[r] = m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2] + m[12 + r] * v[3];
    return out;
}

}  // namespace

Bounds Bounds::empty()
{
    Bounds b;
    for (int i = 0; i < 3; ++i) {
        b.min[i] = std::numeric_limits<double>::infinity();
        b.max[i] = -std::numeric_limits<double>::infinity();
    }
    return b;
}

void Bounds::include(const double point[3])
{
    for (int i = 0; i < 3; ++i) {
        min[i] = std::min(min[i], point[i]);
        max[i] = std::max(max[i], point[i]);
    }
}

void Bounds::include(const Bounds& other)
{
    if (other.isEmpty()) return;
    include(other.min);
    include(other.max);
}

bool parseView(const std::string& name, View& view)
{
    if (name == "persp") view = View::Persp;
    else if (name == "top") view = View::Top;
    else if (name == "front") view = View::Front;
    else if (name == "side") view = View::Side;
    else return false;
    return true;
}

Camera Camera::framing(View view, const Bounds& box, int width, int height)
{
    Camera camera;
    camera.mWidth = std::max(width, 1);
    camera.mHeight = std::max(height, 1);
    const double aspect = double(camera.mWidth) / double(camera.mHeight);

    // An empty or flat box still gets a sensible view: the unit cube about its centre.
    Vec3 centre{0.0, 0.0, 0.0};
    double radius = 1.0;
    if (!box.isEmpty()) {
        const Vec3 lo{box.min[0], box.min[1], box.min[2]}, hi{box.max[0], box.max[1], box.max[2]};
        centre = {(lo[0] + hi[0]) / 2.0, (lo[1] + hi[1]) / 2.0, (lo[2] + hi[2]) / 2.0};
        const Vec3 half = sub(hi, centre);
        radius = std::sqrt(dot(half, half));
        if (!(radius > 1e-9) || !std::isfinite(radius)) radius = 1.0;
    }
    constexpr double kMargin = 1.1;

    if (view == View::Persp) {
        const double verticalFov = 40.0 * M_PI / 180.0;
        const double horizontalFov = 2.0 * std::atan(std::tan(verticalFov / 2.0) * aspect);
        const double distance =
            kMargin * radius / std::sin(std::min(verticalFov, horizontalFov) / 2.0);
        const Vec3 direction = normalized({28.0, 21.0, 28.0});
        const Vec3 eye{centre[0] + direction[0] * distance, centre[1] + direction[1] * distance,
                       centre[2] + direction[2] * distance};
        camera.mView = lookAlong(eye, sub(centre, eye), {0.0, 1.0, 0.0});
        // The far plane reaches well past the box so the ground grid around it stays visible.
        camera.mProjection = perspective(verticalFov, aspect, std::max(distance - 2.0 * radius,
                                                                       distance * 0.01),
                                         distance + 20.0 * radius);
        return camera;
    }

    Vec3 forward{0.0, -1.0, 0.0}, up{0.0, 0.0, -1.0};
    if (view == View::Front) forward = {0.0, 0.0, -1.0}, up = {0.0, 1.0, 0.0};
    if (view == View::Side) forward = {-1.0, 0.0, 0.0}, up = {0.0, 1.0, 0.0};
    camera.mView = lookAlong(centre, forward, up);

    // Fit the box's corners as the view sees them, keeping the image's aspect.
    double halfWidth = 0.0, halfHeight = 0.0;
    if (box.isEmpty()) {
        halfWidth = halfHeight = 1.0;
    } else {
        for (int corner = 0; corner < 8; ++corner) {
            const std::array<double, 4> p{corner & 1 ? box.max[0] : box.min[0],
                                          corner & 2 ? box.max[1] : box.min[1],
                                          corner & 4 ? box.max[2] : box.min[2], 1.0};
            const std::array<double, 4> v = transform(camera.mView, p);
            halfWidth = std::max(halfWidth, std::abs(v[0]));
            halfHeight = std::max(halfHeight, std::abs(v[1]));
        }
    }
    halfWidth = std::max(halfWidth, 1e-6) * kMargin;
    halfHeight = std::max(halfHeight, 1e-6) * kMargin;
    if (halfWidth / halfHeight < aspect) halfWidth = halfHeight * aspect;
    else halfHeight = halfWidth / aspect;
    const double depth = 20.0 * radius;
    camera.mProjection = orthographic(halfWidth, halfHeight, -depth, depth);
    return camera;
}

bool Camera::project(const double world[3], double& pixelX, double& pixelY) const
{
    const std::array<double, 4> clip =
        transform(mProjection, transform(mView, {world[0], world[1], world[2], 1.0}));
    if (!(clip[3] > 0.0)) return false;
    pixelX = (clip[0] / clip[3] + 1.0) / 2.0 * mWidth;
    pixelY = (1.0 - clip[1] / clip[3]) / 2.0 * mHeight;
    return true;
}

}  // namespace hx
