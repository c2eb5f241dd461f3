// `hxnoise deform`: the plug-in's whole job on one mesh, from the command line.
#pragma once

#include "DeformRequest.h"

namespace hx {

// Loads the plug-in, reads the mesh into the host, puts the deformer on it, sets the
// attributes, evaluates each frame and writes the meshes and pictures. Prints what it made
// and wrote on standard output, warnings on standard error. Returns the exit code (0);
// throws UsageError or OutputClash (exit 2), or ToolError, ObjReadError, FileWriteError,
// RenderError, StreamClosedError (exit 1). Every file the run reads and writes is checked
// against the others before any work; a frame's files are put in place together, only
// once the frame has been evaluated and written in full.
int runDeform(const DeformRequest& request);

} // namespace hx
