// Reading Wavefront OBJ text into a Mesh: one pass, exact.
//
// Numbers are parsed with std::from_chars, correctly rounded, so coordinates survive a round
// trip to the bit; text that is not a finite number is refused, never read as 0. Every face
// index is checked (relative ones against what came before, forward ones at the end), every
// statement the writer needs keeps its place among the faces, and what the mesh cannot keep
// (vertex colours, lines, curves, ...) earns one warning per kind. Anything else that is not
// an OBJ statement, binary data, or a line over 1 MiB is refused with one line naming the
// input and the line: "NAME:LINE: reason".
#pragma once

#include "Mesh.h"

#include <string>
#include <string_view>

namespace hx {

// An input that is not a usable OBJ mesh; what() is one line.
class ObjReadError : public MeshReadError
{
public:
    using MeshReadError::MeshReadError;
};

// The OBJ file at `path`, read in large blocks (memory stays near the mesh's own size);
// storage is reserved from a sample of the file before the pass.
Mesh readObjFile(const std::string& path);

// An OBJ read from an open descriptor until its end: standard input (0) or a pipe. `name`
// stands for the input in messages ("standard input"). The descriptor stays open.
Mesh readObjFd(int fd, const std::string& name);

// An OBJ held in memory; `name` stands for it in messages.
Mesh readObjText(std::string_view text, const std::string& name);

} // namespace hx
