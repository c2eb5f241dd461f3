// Writing a Mesh as Wavefront OBJ text.
//
// Every number is printed in std::to_chars' shortest form, which reads back as the very same
// double, so a mesh written and read again is the same mesh to the bit. Normals, when the
// mesh has them, are recomputed from the current positions (VertexNormals.h), each one from
// the faces whose corners use it, so hard edges stay hard. Lines are formatted into a large
// buffer handed to the sink in blocks: no per-line allocation or system call.
#pragma once

#include "ByteSink.h"
#include "Mesh.h"

#include <cstdio>
#include <string>
#include <vector>

namespace hx {

// Writes the whole mesh to `out`; throws FileWriteError when the sink does. `comment` lines go
// at the top, each after "# " (how the file was made: the tool's version and recipe).
void writeObj(const Mesh& mesh, ByteSink& out, const std::vector<std::string>& comment = {});
// The same, to a stdio stream the caller owns (AtomicFile::stream()) or a descriptor (1 for
// standard output); `name` names the target in messages.
void writeObj(const Mesh& mesh, std::FILE* out, const std::string& name);
void writeObj(const Mesh& mesh, int fd, const std::string& name);

} // namespace hx
