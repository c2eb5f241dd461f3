// MeshFormat: which file format a name asks for, chosen by its extension, and what each
// format can do here. OBJ is read and written by our own exact path; PLY, STL, glTF 2.0 and
// GLB go through Assimp both ways, FBX and Collada are read only. `-` stands for standard
// input or output, which carry OBJ.
#pragma once

#include "OneLineError.h"

#include <string>

namespace hx {

// A file name whose format is unknown or cannot do what is asked; what() is one line.
struct MeshFormatErrorKind;
using MeshFormatError = OneLineError<MeshFormatErrorKind>;

enum class MeshFormat { Obj, Ply, Stl, Gltf, Glb, Fbx, Collada };

// What users call it: "OBJ", "PLY", "STL", "glTF", "GLB", "FBX", "Collada".
const char* meshFormatName(MeshFormat format);
bool canWriteMeshFormat(MeshFormat format);

// The format of `path` by its extension, case aside (".obj", ".ply", ".stl", ".gltf", ".glb",
// ".fbx", ".dae"); "-" is OBJ. Throws MeshFormatError for any other name, listing the ones
// that work: "x.3ds: unknown mesh format '.3ds'; meshes are read from ..."
MeshFormat meshFormatForReading(const std::string& path);
// The same for an output, refusing the formats that are read only.
MeshFormat meshFormatForWriting(const std::string& path);

// A picture's name must end in .png (the only format the renderer writes); throws
// MeshFormatError otherwise, rather than write PNG bytes under another format's name.
void checkPictureName(const std::string& path);

} // namespace hx
