// Framing: a camera fitted to what it sees, so the scene fills the picture, and the few points
// of a large cloud that decide the fit.
#include "Camera.h"
#include "FramingPoints.h"
#include "Grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using hx::Bounds;
using hx::Camera;
using hx::FramingPoints;
using hx::Vec3;
using hx::View;

namespace {

// The points of a sphere of radius `r` about `centre`, in rings.
std::vector<Vec3> sphere(const Vec3& centre, double r, int rings = 24)
{
    std::vector<Vec3> points;
    for (int i = 0; i <= rings; ++i)
        for (int j = 0; j < 2 * rings; ++j) {
            const double theta = M_PI * i / rings, phi = M_PI * j / rings;
            points.push_back({centre[0] + r * std::sin(theta) * std::cos(phi), centre[1] + r * std::cos(theta),
                              centre[2] + r * std::sin(theta) * std::sin(phi)});
        }
    return points;
}

struct Extent
{
    double left = 1e300, right = -1e300, top = 1e300, bottom = -1e300;
};

// Where the points land in the picture.
Extent extentOf(const Camera& camera, const std::vector<Vec3>& points)
{
    Extent e;
    for (const Vec3& p : points) {
        double x = 0, y = 0;
        EXPECT_TRUE(camera.project(p.data(), x, y));
        e.left = std::min(e.left, x), e.right = std::max(e.right, x);
        e.top = std::min(e.top, y), e.bottom = std::max(e.bottom, y);
    }
    return e;
}

} // namespace

TEST(Framing, WhatTheCameraSeesFillsThePictureInItsTighterDirectionCentred)
{
    // A sphere off the origin, and a long flat cloud: as wide as the picture allows, or as
    // tall, never more, with equal margins either side.
    const std::vector<std::vector<Vec3>> clouds = {
        sphere({3, -1, 2}, 0.5),
        {{-10, 0, 0}, {10, 0, 0}, {0, 0, -1}, {0, 0, 1}, {0, 0.2, 0}},
    };
    for (const View view : {View::Persp, View::Top, View::Front, View::Side})
        for (std::size_t c = 0; c < clouds.size(); ++c) {
            SCOPED_TRACE("view " + std::string(hx::viewName(view)) + ", cloud " + std::to_string(c));
            const Camera camera = Camera::framing(view, clouds[c], 800, 600);
            const Extent e = extentOf(camera, clouds[c]);
            const double widthShare = (e.right - e.left) / 800.0, heightShare = (e.bottom - e.top) / 600.0;
            EXPECT_NEAR(std::max(widthShare, heightShare), Camera::kFill, 0.02);
            EXPECT_LE(std::max(widthShare, heightShare), Camera::kFill + 1e-9);
            const double widthLimited = widthShare >= heightShare - 1e-9;
            if (widthLimited || view != View::Persp) {
                EXPECT_NEAR(e.left, 800.0 - e.right, 1.0);
            }
            if (!widthLimited || view != View::Persp) {
                EXPECT_NEAR(e.top, 600.0 - e.bottom, 1.0);
            }
        }
}

TEST(Framing, InsetsKeepBandsOfThePictureClear)
{
    const std::vector<Vec3> cloud = sphere({0, 0, 0}, 1.0);
    hx::Insets insets;
    insets.top = 120;
    insets.bottom = 30;
    for (const View view : {View::Persp, View::Front}) {
        const Camera camera = Camera::framing(view, cloud, 800, 600, insets);
        const Extent e = extentOf(camera, cloud);
        EXPECT_GE(e.top, 120.0) << hx::viewName(view);
        EXPECT_LE(e.bottom, 570.0) << hx::viewName(view);
        // Centred in the band between them, filling it.
        EXPECT_NEAR((e.top + e.bottom) / 2.0, (120.0 + 570.0) / 2.0, 1.5) << hx::viewName(view);
        EXPECT_NEAR((e.bottom - e.top) / 450.0, Camera::kFill, 0.02) << hx::viewName(view);
    }
}

TEST(Framing, NothingOrAPointOrInfinitiesStillGiveAUsableCamera)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (const std::vector<Vec3>& cloud :
         std::vector<std::vector<Vec3>>{{}, {{2, 3, 4}}, {{2, 3, 4}, {inf, 0, 0}, {0, std::nan(""), 0}}}) {
        for (const View view : {View::Persp, View::Side}) {
            const Camera camera = Camera::framing(view, cloud, 64, 48);
            for (double v : camera.viewMatrix()) EXPECT_TRUE(std::isfinite(v));
            for (double v : camera.projectionMatrix()) EXPECT_TRUE(std::isfinite(v));
            // The point, when there is one, is in the middle of the picture (a unit box about
            // it is framed; in perspective the box's centre sits a little off the picture's).
            if (!cloud.empty()) {
                double x = 0, y = 0;
                ASSERT_TRUE(camera.project(cloud[0].data(), x, y));
                EXPECT_NEAR(x, 32.0, 4.0);
                EXPECT_NEAR(y, 24.0, 4.0);
            }
        }
    }
}

TEST(FramingPoints, AFewPointsFrameAsTheWholeCloudDoes)
{
    std::mt19937 random(7);
    std::normal_distribution<double> spread(0.0, 1.0);
    for (const View view : {View::Persp, View::Top, View::Front}) {
        std::vector<Vec3> cloud;
        FramingPoints few(view, 640, 480);
        for (int i = 0; i < 20000; ++i) {
            // A lumpy, lopsided cloud, as a deformed mesh is.
            const Vec3 p{3.0 * spread(random) + 5.0, std::abs(spread(random)), 0.5 * spread(random) - 2.0};
            cloud.push_back(p);
            few.include(p.data());
        }
        EXPECT_LT(few.points().size(), 40u);
        const Camera all = Camera::framing(view, cloud, 640, 480);
        const Camera reduced = Camera::framing(view, few.points(), 640, 480);
        const Extent a = extentOf(all, cloud), r = extentOf(reduced, cloud);
        // The whole cloud lands where it does with the full fit, to a fraction of a pixel.
        EXPECT_NEAR(r.left, a.left, 0.5) << hx::viewName(view);
        EXPECT_NEAR(r.right, a.right, 0.5) << hx::viewName(view);
        EXPECT_NEAR(r.top, a.top, 0.5) << hx::viewName(view);
        EXPECT_NEAR(r.bottom, a.bottom, 0.5) << hx::viewName(view);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(few.bounds().min[k], std::min_element(cloud.begin(), cloud.end(), [k](auto& p, auto& q) {
                                               return p[k] < q[k];
                                           })->at(k));
        }
    }
}

TEST(FramingPoints, GatherFrameByFrameAsOneCloud)
{
    // Two frames of a sequence, gathered apart and joined, frame as both together.
    FramingPoints first(View::Persp, 320, 240), second(View::Persp, 320, 240), both(View::Persp, 320, 240);
    for (const Vec3& p : sphere({0, 0, 0}, 1.0)) first.include(p.data()), both.include(p.data());
    for (const Vec3& p : sphere({4, 0, 0}, 1.0)) second.include(p.data()), both.include(p.data());
    first.include(second);
    const Camera joined = Camera::framing(View::Persp, first.points(), 320, 240);
    const Camera together = Camera::framing(View::Persp, both.points(), 320, 240);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(joined.viewMatrix()[i], together.viewMatrix()[i], 1e-9);
    EXPECT_EQ(first.bounds().max[0], 5.0);

    const double nan[3] = {std::nan(""), 0, 0};
    FramingPoints none(View::Front, 10, 10);
    none.include(nan);
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(none.points().empty());
}

TEST(Grid, SpacedInOnesTwosAndFivesAboutEightLinesAcrossTheScene)
{
    Bounds scene = Bounds::empty();
    const double lo[3] = {-0.3, -1, 1.1}, hi[3] = {2.2, 1, 3.4};
    scene.include(lo);
    scene.include(hi);
    const hx::Grid grid = hx::gridFor(View::Persp, scene);
    EXPECT_EQ(grid.normalAxis, 1); // the ground
    EXPECT_EQ(grid.axes[0], 0);
    EXPECT_EQ(grid.axes[1], 2);
    EXPECT_DOUBLE_EQ(grid.step, 0.2);
    // Lines on whole steps reaching a step past the scene on every side, and no further.
    for (int a = 0; a < 2; ++a) {
        const int axis = grid.axes[a];
        EXPECT_LE(grid.low(a), scene.min[axis] - grid.step + 1e-12);
        EXPECT_GT(grid.low(a), scene.min[axis] - 2.0 * grid.step);
        EXPECT_GE(grid.high(a), scene.max[axis] + grid.step - 1e-12);
        EXPECT_LT(grid.high(a), scene.max[axis] + 2.0 * grid.step + 1e-12);
    }

    const auto leadingDigit = [](double step) { return step / std::pow(10.0, std::floor(std::log10(step) + 1e-9)); };
    for (const double rough : {0.011, 0.024, 0.04, 0.9, 7.0, 2e6}) {
        const double step = hx::niceStep(rough);
        const double digit = leadingDigit(step);
        EXPECT_TRUE(std::abs(digit - 1) < 1e-9 || std::abs(digit - 2) < 1e-9 || std::abs(digit - 5) < 1e-9) << rough;
        EXPECT_LT(std::abs(std::log(step / rough)), std::log(2.5)) << rough;
    }
    EXPECT_EQ(hx::stepText(0.2), "0.2");
    EXPECT_EQ(hx::stepText(1e-6), "1e-06");
}

TEST(Grid, EachOrthographicViewSeesItsGridFaceOn)
{
    Bounds scene = Bounds::empty();
    const double lo[3] = {-1, -1, -1}, hi[3] = {1, 1, 1};
    scene.include(lo);
    scene.include(hi);
    for (const View view : {View::Top, View::Front, View::Side}) {
        const hx::Grid grid = hx::gridFor(view, scene);
        const Camera camera = Camera::framing(view, scene, 100, 100);
        // The plane's normal is the camera's line of sight, and its two axes lie across the picture.
        EXPECT_NEAR(std::abs(camera.forward()[grid.normalAxis]), 1.0, 1e-12) << hx::viewName(view);
        for (int a = 0; a < 2; ++a) {
            double corner[3] = {0, 0, 0}, x0 = 0, y0 = 0, x1 = 0, y1 = 0;
            camera.project(corner, x0, y0);
            corner[grid.axes[a]] = 1.0;
            camera.project(corner, x1, y1);
            EXPECT_GT(std::hypot(x1 - x0, y1 - y0), 10.0) << hx::viewName(view) << " axis " << a;
        }
    }
}

TEST(Grid, FarOrEmptyScenesGiveABoundedGrid)
{
    Bounds far = Bounds::empty();
    const double speck[3] = {1e12, 0, 1e12};
    far.include(speck);
    const hx::Grid grid = hx::gridFor(View::Persp, far);
    for (int a = 0; a < 2; ++a) EXPECT_LE(grid.last[a] - grid.first[a], 400);
    EXPECT_GT(grid.step, 0.0);

    const hx::Grid unit = hx::gridFor(View::Front, Bounds::empty());
    EXPECT_DOUBLE_EQ(unit.step, 0.1);
    EXPECT_EQ(unit.first[0], -6);
    EXPECT_EQ(unit.last[0], 6);
}
