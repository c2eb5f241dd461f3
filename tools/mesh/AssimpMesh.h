// Meshes in the formats studios trade, through Assimp, into and out of the same Mesh that the
// OBJ path fills.
//
// Reading keeps vertex order and identity where the file has them: PLY, glTF and GLB index
// their vertices, and their vertices come in as they are, unused ones included. STL, FBX and
// Collada come out of Assimp with a vertex per face corner; their corners are joined again
// where the position is the same, in order of first appearance, with texture coordinates and
// normals indexed per corner as an OBJ would hold them. A file with several meshes becomes
// one mesh, each part placed by its node's transform and named by an `o` statement.
//
// Writing keeps the vertex order (a point cache or a later frame lines up with it) and names
// in warnings what the format cannot hold: 32-bit float coordinates, polygons split into
// triangles (STL, glTF), one texture coordinate and one normal per vertex (PLY, glTF), no
// groups, materials or smoothing groups. glTF (.gltf) is written as one file, its buffer
// embedded; GLB is glTF's binary file.
#pragma once

#include "ByteSink.h"
#include "Mesh.h"
#include "MeshFormat.h"

#include <string>
#include <vector>

namespace hx {

// Reads `path` as `format` (not OBJ); throws MeshReadError with one line naming the file.
// What the mesh cannot keep (animations, skins, vertex colours, lines) is in its warnings().
// The reading runs in a child process: a file that crashes Assimp's importer, or sends it
// round in circles for longer than `secondsAllowed` (by default 30 s and 2 s per MiB), is
// refused like any other broken file.
Mesh readMeshWithAssimp(const std::string& path, MeshFormat format);
Mesh readMeshWithAssimp(const std::string& path, MeshFormat format, double secondsAllowed);

// Writes `mesh` as `format` (PLY, STL, glTF or GLB) to `out`; `name` names the target in
// messages. Returns warnings, one line each, for what the format could not keep. Throws
// MeshFormatError when Assimp cannot export or the format cannot hold the mesh at all (a PLY
// face of more than 255 corners), FileWriteError when the sink fails; nothing is written then.
std::vector<std::string> writeMeshWithAssimp(const Mesh& mesh, MeshFormat format, ByteSink& out,
                                             const std::string& name);

// Assimp's error text as one line of a message: line breaks become spaces, trailing spaces go.
std::string oneLine(std::string text);

} // namespace hx
