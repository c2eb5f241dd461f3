// `hxnoise info [TYPE]`: the node types the host knows once the plug-in is loaded, or one
// type's attributes, read from the host's registry.
#pragma once

#include "DeformRequest.h"

namespace hx {

// Prints to standard output; returns the exit code (0). Throws UsageError for an unknown
// type (with the closest names) and ToolError when the plug-in does not load.
int runInfo(const InfoRequest& request);

} // namespace hx
