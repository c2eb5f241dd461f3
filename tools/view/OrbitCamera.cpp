#include "OrbitCamera.h"

#include <algorithm>
#include <cmath>

namespace hx {
namespace {

constexpr double kRadians = M_PI / 180.0;
constexpr double kMaxPitch = 89.5;

} // namespace

OrbitCamera::OrbitCamera(const Camera& framed)
{
    mView = framed.view();
    mTarget = framed.target();
    mHalfHeight = framed.halfHeight();
    if (mView != View::Persp) return;
    const Vec3& eye = framed.eye();
    const Vec3 d{eye[0] - mTarget[0], eye[1] - mTarget[1], eye[2] - mTarget[2]};
    mDistance = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (!(mDistance > 0.0)) mDistance = 1.0;
    mYaw = std::atan2(d[0], d[2]) / kRadians;
    mPitch = std::asin(std::clamp(d[1] / mDistance, -1.0, 1.0)) / kRadians;
}

Vec3 OrbitCamera::eye() const
{
    const double yaw = mYaw * kRadians, pitch = mPitch * kRadians;
    return {mTarget[0] + mDistance * std::cos(pitch) * std::sin(yaw), mTarget[1] + mDistance * std::sin(pitch),
            mTarget[2] + mDistance * std::cos(pitch) * std::cos(yaw)};
}

double OrbitCamera::pixelSize(int height) const
{
    height = std::max(height, 1);
    if (mView != View::Persp) return 2.0 * mHalfHeight / height;
    return 2.0 * mDistance * std::tan(Camera::kFieldOfView * M_PI / 360.0) / height;
}

void OrbitCamera::tumble(double dx, double dy, int height)
{
    if (mView != View::Persp) {
        track(dx, dy, height);
        return;
    }
    mYaw = std::remainder(mYaw - dx * kTumblePerPixel, 360.0);
    mPitch = std::clamp(mPitch + dy * kTumblePerPixel, -kMaxPitch, kMaxPitch);
}

void OrbitCamera::track(double dx, double dy, int height)
{
    const Camera now = camera(Bounds::empty(), 1, std::max(height, 1));
    const Vec3 right = now.right(), up = now.up();
    const double size = pixelSize(height);
    for (int i = 0; i < 3; ++i) mTarget[i] += (-dx * right[i] + dy * up[i]) * size;
}

void OrbitCamera::dolly(double factor)
{
    if (!(factor > 0.0) || !std::isfinite(factor)) return;
    mDistance = std::clamp(mDistance * factor, 1e-9, 1e12);
    mHalfHeight = std::clamp(mHalfHeight * factor, 1e-9, 1e12);
}

Camera OrbitCamera::camera(const Bounds& scene, int width, int height) const
{
    if (mView != View::Persp) return Camera::orthographic(mView, mTarget, mHalfHeight, scene, width, height);
    return Camera::perspective(eye(), mTarget, scene, width, height);
}

} // namespace hx
