// ViewWindow: the interactive window of `hxnoise view`, with GLFW and Dear ImGui.
//
// Left, the viewport: the picture the scene's worker draws (SceneWorker.h), moved with the
// mouse as in the host: Alt or no key, and the left button tumbles, the middle one tracks, the
// right one dollies; the wheel dollies too. Above it, the view, the shading, the display and
// Save; below it, with frames, the timeline. Right, the panel (Panel.h): every writable
// attribute of hxNoise1, transform1 and noiseLocator1; each change goes to the worker, which
// evaluates and draws again in the background.
//
// Keys: F frames the scene; H shows or hides the display; 4 wire, 5 smooth, 6 both;
// Alt+V or Space plays and stops; Alt+, and Alt+. or the arrow keys step a frame; Home and
// End go to the first and last frame; Ctrl+S saves; Ctrl+Q closes the window.
//
// The window's own OpenGL calls go through function pointers GLFW hands out; the plain gl*
// names in this program belong to the off-screen renderer the worker draws with.
#pragma once

#include "OneLineError.h"

#include "SceneWorker.h"

#include <string>

namespace hx {

// The window could not be opened (no display, no OpenGL): one line.
struct WindowErrorKind;
using WindowError = OneLineError<WindowErrorKind>;

struct WindowOptions
{
    int width = 1280;
    int height = 800;
    View view = View::Persp;
    bool hud = true;
    Shading shading = Shading::Auto;
    std::string title = "hxnoise view";
    SaveRequest saveNames; // what the Save dialog offers
    // Opens the window, draws one frame with the panel once the scene's first picture is in,
    // saves it here as PNG and closes (the outputs' checks are the caller's).
    std::string snapshot;
};

// Runs the window until it is closed (or the snapshot is saved). Prints what Save wrote, and
// with a snapshot the panel's values, to standard output. Throws WindowError when no window
// can be opened.
void runViewWindow(SceneWorker& worker, const ViewScene& scene, const WindowOptions& options);

} // namespace hx
