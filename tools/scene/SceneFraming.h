// SceneFraming: what the viewport's camera and grid are fitted to, for one picture or for a
// whole sequence.
//
// What the viewport shows is the mesh where its transform puts it and each locator as it is
// drawn: its cross of unit arms about its origin and its curves, placed by its world matrix.
// (A locator's bounding box, a fixed 10 x 10 square for the noise locator, says how large the
// host takes it to be, not what it draws; framing it would leave a small mesh lost in the
// middle of the picture.) A sequence is framed once, on what all its frames show, so that its
// pictures share one camera and one grid and play as a flipbook.
#pragma once

#include "Camera.h"
#include "DeformScene.h"
#include "FramingPoints.h"
#include "Grid.h"
#include "PictureStyle.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace hx {

// The mesh as the tool holds it: object-space points of the shape and its faces.
struct SceneMesh
{
    const std::vector<double>* points = nullptr;
    const std::vector<std::uint32_t>* faceSizes = nullptr;
    const std::vector<int>* faceVertices = nullptr;
};

// The camera and grid of a picture.
struct Framing
{
    Bounds bounds; // what was framed
    Camera camera;
    Grid grid;
};

// A locator's curves in world space, each with the axis it shows ("x", "y", "z"); empty
// curves are left out.
struct LocatorCurve
{
    std::string axis;
    std::vector<double> points; // x, y, z per point, in world space
};
std::vector<LocatorCurve> locatorCurves(Host& host, const std::string& locator);

// The world matrix of `node`; throws ToolError when the host cannot place it.
MMatrix worldMatrixOf(Host& host, const std::string& node);

// Adds what the viewport shows now to `into`: `worldPoints` (the mesh in world space; points
// that are not finite are left out) and every locator's cross and curves. Throws ToolError
// when the host cannot place a locator or evaluate its curves.
void includeScene(Host& host, const std::vector<double>& worldPoints, FramingPoints& into);

// The mesh's points where its transform puts them.
std::vector<double> worldPoints(Host& host, const DeformScene& scene, const std::vector<double>& objectPoints);

// The camera and grid of `view` for `points` (gathered for that view and picture size) in a
// width x height picture, clear of `insets` (the heads-up display's, hudInsets).
Framing frameScene(View view, const FramingPoints& points, int width, int height, Insets insets = {});

// The framing of a sequence, and the frame at which its evaluation failed, if one did.
struct SequenceFraming
{
    Framing framing;
    // The first frame whose evaluation threw, and what it threw; the frames before it are
    // framed, so that a run can still write them before it fails at that frame.
    std::optional<int> failedFrame;
    std::exception_ptr failure;
};

// Frames what every one of `frames` shows, clear of the display `style` draws on any of them.
// `evaluate(frame)` puts the scene at that frame, evaluates it and leaves the deformed
// object-space points in *mesh.points. What it throws stops the framing (SequenceFraming);
// what the framing itself throws (a locator it cannot place) passes through.
SequenceFraming frameSequence(Host& host, const DeformScene& scene, const SceneMesh& mesh, View view, int width,
                              int height, const std::vector<int>& frames,
                              const std::function<void(int frame)>& evaluate,
                              const PictureStyle& style = PictureStyle());

} // namespace hx
