// The view window's camera: it starts where framing puts it, and the mouse tumbles, tracks and
// dollies it as in the host.
#include "OrbitCamera.h"

#include <gtest/gtest.h>

#include <cmath>

using hx::Bounds;
using hx::Camera;
using hx::OrbitCamera;
using hx::Vec3;
using hx::View;

namespace {

Bounds unitBox()
{
    Bounds box = Bounds::empty();
    const double lo[3] = {-1, -1, -1}, hi[3] = {1, 1, 1};
    box.include(lo);
    box.include(hi);
    return box;
}

double distanceBetween(const Vec3& a, const Vec3& b)
{
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

} // namespace

TEST(OrbitCamera, StartsWhereFramingPutTheCamera)
{
    for (const View view : {View::Persp, View::Top, View::Side}) {
        const Camera framed = Camera::framing(view, unitBox(), 400, 300);
        const Camera orbit = OrbitCamera(framed).camera(unitBox(), 400, 300);
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(orbit.viewMatrix()[i], framed.viewMatrix()[i], 1e-9) << hx::viewName(view) << " " << i;
            EXPECT_NEAR(orbit.projectionMatrix()[i], framed.projectionMatrix()[i], 1e-9) << hx::viewName(view);
        }
    }
}

TEST(OrbitCamera, TumbleTurnsAboutTheTargetAndNeverOverTheTop)
{
    OrbitCamera orbit(Camera::framing(View::Persp, unitBox(), 400, 300));
    const Vec3 target = orbit.target();
    const double distance = orbit.distance(), yaw = orbit.yaw();
    orbit.tumble(50, 0, 300); // 50 pixels right: 20 degrees round
    EXPECT_NEAR(orbit.yaw(), yaw - 20.0, 1e-9);
    EXPECT_EQ(orbit.target(), target);
    const Camera turned = orbit.camera(unitBox(), 400, 300);
    EXPECT_NEAR(distanceBetween(turned.eye(), target), distance, 1e-9);
    // The target stays in the middle of the picture.
    double x = 0, y = 0;
    ASSERT_TRUE(turned.project(target.data(), x, y));
    EXPECT_NEAR(x, 200.0, 1e-6);
    EXPECT_NEAR(y, 150.0, 1e-6);

    orbit.tumble(0, 10000, 300); // far down: looking from straight above, not past it
    EXPECT_LT(orbit.pitch(), 90.0);
    EXPECT_GT(orbit.pitch(), 89.0);
    const Camera above = orbit.camera(unitBox(), 400, 300);
    for (double v : above.viewMatrix()) EXPECT_TRUE(std::isfinite(v));
    EXPECT_LT(above.forward()[1], -0.99);
}

TEST(OrbitCamera, TrackMovesTheViewWithTheMouse)
{
    for (const View view : {View::Persp, View::Front}) {
        OrbitCamera orbit(Camera::framing(view, unitBox(), 400, 300));
        const Vec3 target = orbit.target();
        orbit.track(30, -20, 300); // the mouse moves 30 right and 20 up
        // What was under the mouse (the old target, in the middle) follows it.
        double x = 0, y = 0;
        ASSERT_TRUE(orbit.camera(unitBox(), 400, 300).project(target.data(), x, y));
        EXPECT_NEAR(x, 230.0, 1e-6) << hx::viewName(view);
        EXPECT_NEAR(y, 130.0, 1e-6) << hx::viewName(view);
    }
    // An orthographic view does not turn: a tumble tracks.
    OrbitCamera front(Camera::framing(View::Front, unitBox(), 400, 300));
    front.tumble(10, 0, 300);
    EXPECT_EQ(front.view(), View::Front);
    EXPECT_NE(front.target()[0], 0.0);
}

TEST(OrbitCamera, DollyMovesInAndOutAndIgnoresNonsense)
{
    OrbitCamera persp(Camera::framing(View::Persp, unitBox(), 400, 300));
    const double distance = persp.distance();
    persp.dolly(0.5);
    EXPECT_DOUBLE_EQ(persp.distance(), distance * 0.5);
    persp.dolly(0.0);
    persp.dolly(std::nan(""));
    persp.dolly(-2.0);
    EXPECT_DOUBLE_EQ(persp.distance(), distance * 0.5);

    OrbitCamera top(Camera::framing(View::Top, unitBox(), 400, 300));
    const double half = top.halfHeight();
    top.dolly(2.0);
    EXPECT_DOUBLE_EQ(top.halfHeight(), half * 2.0);
}
