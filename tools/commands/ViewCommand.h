// `hxnoise view`: the mesh, its deformer and its locator in a window, to shape the noise by
// hand and save what it makes.
#pragma once

#include "ViewRequest.h"

namespace hx {

// Reads the recipe (--config, then the command line over it), the mesh and the plug-in,
// builds the scene on a thread of its own (SceneWorker.h) and runs the window until it is
// closed, or with --snapshot until its picture is saved. Prints what it made, set and saved
// on standard output, warnings on standard error. Returns the exit code (0); throws
// UsageError or OutputClash (exit 2), WindowError when no window can be opened, ToolError and
// the readers' and writers' errors (exit 1).
int runView(const ViewRequest& request);

} // namespace hx
