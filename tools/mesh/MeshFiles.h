// Meshes in and out by file name: the format comes from the extension (MeshFormat.h); OBJ
// takes our own exact path, the others go through Assimp (AssimpMesh.h). "-" is standard
// input or output, in OBJ.
#pragma once

#include "ByteSink.h"
#include "Mesh.h"
#include "MeshFormat.h"

#include <string>
#include <vector>

namespace hx {

// Reads the mesh at `path` ("-": OBJ from standard input). Throws MeshFormatError for a name
// whose format is unknown, MeshReadError (ObjReadError for OBJ) for a file that is not a
// usable mesh. What the mesh could not keep is in its warnings().
Mesh readMesh(const std::string& path);

// Writes `mesh` as `format` to `out` (the output step's temporary file, or standard output);
// `name` names the target in messages. Returns warnings for what the format cannot hold
// (none for OBJ). An OBJ carries the `comment` lines at its top (ObjWriter.h).
std::vector<std::string> writeMesh(const Mesh& mesh, MeshFormat format, ByteSink& out, const std::string& name,
                                   const std::vector<std::string>& comment = {});

} // namespace hx
