// OrbitCamera: the view window's camera, moved with the mouse as in the host: tumble about
// what it looks at, track across the view, dolly in and out; frame the scene again on request.
//
// A persp camera is its target, its distance from it and the direction it looks from (yaw
// about +Y, pitch above the ground); an orthographic one is its view, its centre and its half
// height. Either makes a Camera for any picture size. To frame the scene again, start a new
// one from a framed camera.
#pragma once

#include "Camera.h"

namespace hx {

class OrbitCamera
{
public:
    // Degrees of tumble per pixel the mouse moves.
    static constexpr double kTumblePerPixel = 0.4;

    OrbitCamera() = default;
    // Where a framed camera (Camera::framing) stands.
    explicit OrbitCamera(const Camera& framed);

    View view() const { return mView; }

    // The mouse moved by (dx, dy) pixels, x right and y down, in a picture `height` pixels tall.
    // Tumble turns a persp camera about its target (dragging right turns the scene right,
    // dragging down looks from higher up; never over the top); an orthographic view cannot
    // turn, and tracks instead. Track moves the view so that what is under the mouse follows it.
    void tumble(double dx, double dy, int height);
    void track(double dx, double dy, int height);
    // factor < 1 moves in (the distance, or an orthographic view's half height, times it).
    void dolly(double factor);

    // The camera for a width x height picture, its clipping planes around `scene`.
    Camera camera(const Bounds& scene, int width, int height) const;

    const Vec3& target() const { return mTarget; }
    double distance() const { return mDistance; }
    double yaw() const { return mYaw; }
    double pitch() const { return mPitch; }
    double halfHeight() const { return mHalfHeight; }

private:
    Vec3 eye() const;
    // World units a pixel spans at the target.
    double pixelSize(int height) const;

    View mView = View::Persp;
    Vec3 mTarget{0.0, 0.0, 0.0};
    double mDistance = 10.0;
    double mYaw = 45.0;   // degrees: from the target, the eye lies towards +X and +Z at 45
    double mPitch = 27.9; // degrees above the ground plane
    double mHalfHeight = 5.0;
};

} // namespace hx
