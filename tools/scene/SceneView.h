// SceneView: the viewport picture of a deformed mesh and its locators, drawn as the host's
// viewport draws them: the grid, the mesh shaded (with its wireframe where it helps), then
// each locator's own draw with its world matrix as the model-view, and the heads-up display
// over it all (Hud.h). The parts of a locator that the mesh hides are drawn dashed, so that a
// locator inside the mesh still shows; what it draws, and in what colours, is its own.
#pragma once

#include "DeformScene.h"
#include "PictureStyle.h"
#include "SceneFraming.h"
#include "Viewport.h"

#include <string>
#include <vector>

namespace hx {

// Draws one frame into `viewport` with the framing of the scene as it is now.
// Returns warnings for the user (a locator's draw that raised a GL error or left beginGL
// open). Throws ToolError when the host cannot say where a node is or a locator's draw
// failed, and RenderError when rendering ran out of memory.
std::vector<std::string> drawScene(Viewport& viewport, Host& host, const DeformScene& scene, const SceneMesh& mesh,
                                   View view);
std::vector<std::string> drawScene(Viewport& viewport, Host& host, const DeformScene& scene, const SceneMesh& mesh,
                                   View view, const PictureStyle& style);
// The same with a given camera and grid: the sequence's (frameSequence), or a window's.
std::vector<std::string> drawScene(Viewport& viewport, Host& host, const DeformScene& scene, const SceneMesh& mesh,
                                   const Framing& framing, const PictureStyle& style);

} // namespace hx
