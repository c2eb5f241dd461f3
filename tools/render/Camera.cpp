#include "Camera.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace hx {
namespace {

Vec3 add(const Vec3& a, const Vec3& b)
{
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}
Vec3 sub(const Vec3& a, const Vec3& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
Vec3 scaled(const Vec3& a, double s)
{
    return {a[0] * s, a[1] * s, a[2] * s};
}
double dot(const Vec3& a, const Vec3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
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
    return {s[0], u[0], -f[0], 0.0, s[1],         u[1],         -f[1],       0.0,
            s[2], u[2], -f[2], 0.0, -dot(s, eye), -dot(u, eye), dot(f, eye), 1.0};
}

std::array<double, 16> perspectiveMatrix(double verticalFov, double aspect, double zNear, double zFar)
{
    const double f = 1.0 / std::tan(verticalFov / 2.0);
    return {f / aspect,
            0.0,
            0.0,
            0.0,
            0.0,
            f,
            0.0,
            0.0,
            0.0,
            0.0,
            (zFar + zNear) / (zNear - zFar),
            -1.0,
            0.0,
            0.0,
            2.0 * zFar * zNear / (zNear - zFar),
            0.0};
}

std::array<double, 16> orthographicMatrix(double halfWidth, double halfHeight, double zNear, double zFar)
{
    return {1.0 / halfWidth,
            0.0,
            0.0,
            0.0,
            0.0,
            1.0 / halfHeight,
            0.0,
            0.0,
            0.0,
            0.0,
            -2.0 / (zFar - zNear),
            0.0,
            0.0,
            0.0,
            -(zFar + zNear) / (zFar - zNear),
            1.0};
}

std::array<double, 4> transform(const std::array<double, 16>& m, const std::array<double, 4>& v)
{
    std::array<double, 4> out{};
    for (int r = 0; r < 4; ++r) out[r] = m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2] + m[12 + r] * v[3];
    return out;
}

// The box's eight corners; a degenerate or non-finite box becomes a unit box about its centre,
// so every camera has something of a size to frame.
std::array<Vec3, 8> cornersOf(const Bounds& box)
{
    Bounds b = box;
    const Vec3 centre = box.isEmpty() ? Vec3{0.0, 0.0, 0.0} : box.centre();
    const double radius = box.radius();
    if (box.isEmpty() || !(radius > 1e-9) || !std::isfinite(radius) || !std::isfinite(centre[0]) ||
        !std::isfinite(centre[1]) || !std::isfinite(centre[2])) {
        const Vec3 c = std::isfinite(centre[0] + centre[1] + centre[2]) ? centre : Vec3{0.0, 0.0, 0.0};
        for (int i = 0; i < 3; ++i) {
            b.min[i] = c[i] - 0.5;
            b.max[i] = c[i] + 0.5;
        }
    }
    std::array<Vec3, 8> corners;
    for (int k = 0; k < 8; ++k)
        corners[k] = {k & 1 ? b.max[0] : b.min[0], k & 2 ? b.max[1] : b.min[1], k & 4 ? b.max[2] : b.min[2]};
    return corners;
}

// How the orthographic views look: down which axis, and which way is up the screen.
void orthographicAxes(View view, Vec3& forward, Vec3& up)
{
    forward = {0.0, -1.0, 0.0};
    up = {0.0, 0.0, -1.0};
    if (view == View::Front) forward = {0.0, 0.0, -1.0}, up = {0.0, 1.0, 0.0};
    if (view == View::Side) forward = {-1.0, 0.0, 0.0}, up = {0.0, 1.0, 0.0};
}

// The persp camera's default direction, from what it looks at towards the eye.
const Vec3 kPerspDirection = normalized({28.0, 21.0, 28.0});

} // namespace

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

Vec3 Bounds::centre() const
{
    return {(min[0] + max[0]) / 2.0, (min[1] + max[1]) / 2.0, (min[2] + max[2]) / 2.0};
}

double Bounds::radius() const
{
    if (isEmpty()) return 0.0;
    const Vec3 half{(max[0] - min[0]) / 2.0, (max[1] - min[1]) / 2.0, (max[2] - min[2]) / 2.0};
    return std::sqrt(dot(half, half));
}

bool parseView(const std::string& name, View& view)
{
    if (name == "persp")
        view = View::Persp;
    else if (name == "top")
        view = View::Top;
    else if (name == "front")
        view = View::Front;
    else if (name == "side")
        view = View::Side;
    else
        return false;
    return true;
}

const char* viewName(View view)
{
    switch (view) {
    case View::Persp: return "persp";
    case View::Top: return "top";
    case View::Front: return "front";
    case View::Side: return "side";
    }
    return "persp";
}

Camera Camera::framing(View view, const Bounds& box, int width, int height)
{
    const std::array<Vec3, 8> corners = cornersOf(box);
    return framing(view, std::vector<Vec3>(corners.begin(), corners.end()), width, height);
}

Camera Camera::framing(View view, const std::vector<Vec3>& cloud, int width, int height, Insets insets)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    const double aspect = double(width) / double(height);
    // The band the points go in: its share of the picture's height, and where its centre is,
    // in units of the picture's half-height upwards from the picture's centre.
    insets.top = std::clamp(insets.top, 0.0, height * 0.4);
    insets.bottom = std::clamp(insets.bottom, 0.0, height * 0.4);
    const double band = (height - insets.top - insets.bottom) / height;
    const double bandCentre = (insets.bottom - insets.top) / height;
    Bounds fitted = Bounds::empty();
    for (const Vec3& p : cloud)
        if (std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2])) fitted.include(p.data());
    std::vector<Vec3> points;
    for (const Vec3& p : cloud)
        if (std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2])) points.push_back(p);
    // Nothing, or nothing of a size, to frame: a unit box about where it is.
    if (fitted.isEmpty() || !(fitted.radius() > 1e-9) || !std::isfinite(fitted.radius())) {
        const std::array<Vec3, 8> corners = cornersOf(fitted);
        points.assign(corners.begin(), corners.end());
        fitted = Bounds::empty();
        for (const Vec3& p : points) fitted.include(p.data());
    }
    Vec3 target = fitted.centre();

    if (view != View::Persp) {
        Vec3 forward, up;
        orthographicAxes(view, forward, up);
        const Vec3 right = normalized(cross(forward, up));
        double lowX = 1e300, highX = -1e300, lowY = 1e300, highY = -1e300;
        for (const Vec3& p : points) {
            const Vec3 d = sub(p, target);
            lowX = std::min(lowX, dot(d, right));
            highX = std::max(highX, dot(d, right));
            lowY = std::min(lowY, dot(d, up));
            highY = std::max(highY, dot(d, up));
        }
        const double halfHeight = std::max({(highY - lowY) / 2.0 / band, (highX - lowX) / 2.0 / aspect, 1e-9}) / kFill;
        target = add(target, add(scaled(right, (lowX + highX) / 2.0),
                                 scaled(up, (lowY + highY) / 2.0 - bandCentre * halfHeight)));
        return orthographic(view, target, halfHeight, fitted, width, height);
    }

    // Perspective: the distance at which every point is inside kFill of the picture, then
    // the target moved sideways until the points' extent is centred, a few times over (each
    // move changes the distance needed a little).
    const Vec3 forward = scaled(kPerspDirection, -1.0);
    const Vec3 right = normalized(cross(forward, {0.0, 1.0, 0.0}));
    const Vec3 up = cross(right, forward);
    // In tangents of the view angle: the band's half-height and its centre's height.
    const double tanHalf = std::tan(kFieldOfView * M_PI / 360.0);
    const double tanV = tanHalf * kFill * band;
    const double tanH = tanHalf * kFill * aspect;
    const double centreV = bandCentre * tanHalf;
    double distance = 0.0;
    for (int pass = 0; pass < 8; ++pass) {
        distance = 0.0;
        for (const Vec3& p : points) {
            const Vec3 d = sub(p, target);
            const double depth = dot(d, forward);
            distance = std::max({distance, std::abs(dot(d, right)) / tanH - depth,
                                 dot(d, up) / (tanV + centreV) - depth, -dot(d, up) / (tanV - centreV) - depth});
        }
        // However flat the cloud, the camera stays in front of all of it.
        for (const Vec3& p : points)
            distance = std::max(distance, fitted.radius() * 1e-3 - dot(sub(p, target), forward));
        double lowX = 1e300, highX = -1e300, lowY = 1e300, highY = -1e300;
        for (const Vec3& p : points) {
            const Vec3 d = sub(p, target);
            const double depth = distance + dot(d, forward);
            lowX = std::min(lowX, dot(d, right) / depth);
            highX = std::max(highX, dot(d, right) / depth);
            lowY = std::min(lowY, dot(d, up) / depth);
            highY = std::max(highY, dot(d, up) / depth);
        }
        target = add(target, add(scaled(right, (lowX + highX) / 2.0 * distance),
                                 scaled(up, ((lowY + highY) / 2.0 - centreV) * distance)));
    }
    return perspective(add(target, scaled(kPerspDirection, distance)), target, fitted, width, height);
}

Camera Camera::perspective(const Vec3& eye, const Vec3& target, const Bounds& scene, int width, int height)
{
    Camera camera;
    camera.mWidth = std::max(width, 1);
    camera.mHeight = std::max(height, 1);
    camera.mViewKind = View::Persp;
    camera.mEye = eye;
    camera.mTarget = target;
    Vec3 forward = sub(target, eye);
    if (!(dot(forward, forward) > 0.0)) forward = scaled(kPerspDirection, -1.0);
    // Straight up or down, +Y cannot be up the screen: -Z is, as in the top view.
    const Vec3 f = normalized(forward);
    const Vec3 up = std::abs(f[1]) > 0.9999 ? Vec3{0.0, 0.0, f[1] < 0 ? -1.0 : 1.0} : Vec3{0.0, 1.0, 0.0};
    camera.mView = lookAlong(eye, forward, up);

    // Clipping planes about what the scene holds, well clear of it, so that a ground grid a
    // little larger than the scene is not cut either.
    const double distance = std::sqrt(dot(sub(target, eye), sub(target, eye)));
    double nearest = 1e300, farthest = -1e300;
    for (const Vec3& c : cornersOf(scene)) {
        const double depth = dot(sub(c, eye), f);
        nearest = std::min(nearest, depth);
        farthest = std::max(farthest, depth);
    }
    const double reach = std::max({scene.radius(), distance, 1e-6});
    const double zFar = std::max(farthest, distance) + 4.0 * reach;
    const double zNear = std::max(nearest - reach, zFar * 1e-5);
    camera.mProjection =
        perspectiveMatrix(kFieldOfView * M_PI / 180.0, double(camera.mWidth) / camera.mHeight, zNear, zFar);
    return camera;
}

Camera Camera::orthographic(View view, const Vec3& centre, double halfHeight, const Bounds& scene, int width,
                            int height)
{
    Camera camera;
    camera.mWidth = std::max(width, 1);
    camera.mHeight = std::max(height, 1);
    camera.mViewKind = view == View::Persp ? View::Front : view;
    camera.mEye = centre;
    camera.mTarget = centre;
    camera.mHalfHeight = halfHeight > 0.0 && std::isfinite(halfHeight) ? halfHeight : 1.0;
    Vec3 forward, up;
    orthographicAxes(camera.mViewKind, forward, up);
    camera.mView = lookAlong(centre, forward, up);
    // Deep enough for the scene in front of and behind the centre, and for the grid through
    // the origin that the orthographic views show.
    double depth = std::abs(dot(centre, forward));
    for (const Vec3& c : cornersOf(scene)) depth = std::max(depth, std::abs(dot(sub(c, centre), forward)));
    depth = 2.0 * depth + 4.0 * std::max(scene.radius(), camera.mHalfHeight);
    const double aspect = double(camera.mWidth) / camera.mHeight;
    camera.mProjection = orthographicMatrix(camera.mHalfHeight * aspect, camera.mHalfHeight, -depth, depth);
    return camera;
}

Vec3 Camera::right() const
{
    return {mView[0], mView[4], mView[8]};
}
Vec3 Camera::up() const
{
    return {mView[1], mView[5], mView[9]};
}
Vec3 Camera::forward() const
{
    return {-mView[2], -mView[6], -mView[10]};
}

bool Camera::project(const double world[3], double& pixelX, double& pixelY) const
{
    const std::array<double, 4> clip = transform(mProjection, transform(mView, {world[0], world[1], world[2], 1.0}));
    if (!(clip[3] > 0.0)) return false;
    pixelX = (clip[0] / clip[3] + 1.0) / 2.0 * mWidth;
    pixelY = (1.0 - clip[1] / clip[3]) / 2.0 * mHeight;
    return true;
}

double Camera::worldPerPixel(const double world[3]) const
{
    if (!isPerspective()) return 2.0 * mHalfHeight / mHeight;
    const double depth = dot(sub({world[0], world[1], world[2]}, mEye), forward());
    return 2.0 * std::max(depth, 0.0) * std::tan(kFieldOfView * M_PI / 360.0) / mHeight;
}

} // namespace hx
