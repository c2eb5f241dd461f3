// ObjMesh: the name the tool has long used for its mesh, and the OBJ reading and writing
// that come with it. The mesh itself is Mesh (Mesh.h), the one type every format reads into;
// ObjMesh::read(path) and write(path) are its OBJ file wrappers.
#pragma once

#include "Mesh.h"
#include "ObjReader.h"
#include "ObjWriter.h"

namespace hx {

using ObjMesh = Mesh;

} // namespace hx
