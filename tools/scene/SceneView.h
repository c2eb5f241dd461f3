// SceneView: the viewport picture of a deformed mesh and its locators, drawn as the host's
// viewport draws them: the ground grid, the mesh shaded with its wireframe, then each
// locator's own draw with its world matrix as the model-view.
#pragma once

#include "DeformScene.h"
#include "Viewport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hx {

// The mesh as the tool holds it: object-space points of the shape and its faces.
struct SceneMesh {
    const std::vector<double>* points = nullptr;
    const std::vector<std::uint32_t>* faceSizes = nullptr;
    const std::vector<int>* faceVertices = nullptr;
};

// What the default camera frames: the mesh in world space and each locator's bounding box
// placed by its world matrix (with the locator's origin, for a locator without one).
Bounds sceneBounds(Host& host, const std::vector<double>& worldPoints);

// Draws one frame into `viewport`; returns warnings for the user (a locator's draw that
// raised a GL error or left beginGL open). Throws ToolError when the host cannot say where
// a node is or a locator's draw failed, and RenderError when rendering ran out of memory.
std::vector<std::string> drawScene(Viewport& viewport, Host& host, const DeformScene& scene,
                                   const SceneMesh& mesh, View view);

}  // namespace hx
