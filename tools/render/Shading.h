// Shading: how the viewport draws a mesh, and when its wireframe helps.
//
// smooth: lit surfaces only; wire: the edges only; both: the edges over the lit surfaces.
// Unless told, the viewport draws both while the edges are at least kMinEdgeSpacing pixels
// apart on screen, and leaves the wireframe out of a mesh so dense that its edges would
// merge into a dark mass.
#pragma once

#include "Camera.h"
#include "MeshView.h"

#include <string>

namespace hx {

enum class Shading { Auto, Smooth, Wire, Both };

// Typical pixels between edges below which Auto leaves the wireframe out.
constexpr double kMinEdgeSpacing = 4.0;

// "smooth", "wire" or "both" (and "auto", the default); false for anything else.
bool parseShading(const std::string& name, Shading& shading);
const char* shadingName(Shading shading);

// The median length, in pixels, of the mesh's edges as `camera` projects them (a sample of a
// few thousand spread over the mesh); 0 when no edge is in front of the camera.
double edgeSpacing(const MeshView& mesh, const Camera& camera);

// Whether `shading` draws the lit surfaces, and the edges, of `mesh` seen by `camera`.
bool drawsSurfaces(Shading shading);
bool drawsWireframe(Shading shading, const MeshView& mesh, const Camera& camera);

} // namespace hx
