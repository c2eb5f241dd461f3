// Material libraries that still resolve after a mesh moves: an OBJ's `mtllib` names its
// files relative to the OBJ's own folder, so an output written to another folder than the
// input's would point nowhere. Each relative name is rewritten relative to the output's
// folder, and the caller tells the user so; a name that cannot be kept working earns a
// warning instead of breaking silently.
#pragma once

#include "Mesh.h"

#include <string>
#include <vector>

namespace hx {

struct MaterialLibraryReport
{
    std::vector<std::string> notes;    // "out/a.obj: mtllib cube.mtl is written as ../cube.mtl ..."
    std::vector<std::string> warnings; // a library that is missing, or cannot be reached
};

// Rewrites `mesh`'s relative material libraries for a mesh read from `inputPath` and written
// to `outputPath` ("-" for standard input or output: the current folder, and nothing is
// rewritten for standard output, whose reader's folder is unknown). Absolute names and
// outputs in the input's own folder are left alone.
MaterialLibraryReport rebaseMaterialLibraries(Mesh& mesh, const std::string& inputPath, const std::string& outputPath);

} // namespace hx
