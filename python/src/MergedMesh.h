// MergedMesh: several meshes as one, for a file that holds a whole scene (a mesh format holds
// one mesh; the OBJ format names its parts with `o` lines).
#pragma once

#include "Mesh.h"

#include <string>
#include <vector>

namespace hx {

struct NamedMesh
{
    std::string name; // the object's name, for the `o` line of a mesh that has none
    Mesh mesh;
};

// One mesh holding each of `meshes` in turn, its indices moved past the ones before. A single
// mesh comes back as it is. Each part starts with an object statement named by its `name`
// (its own first one renamed, else a new one); texture coordinates keep the largest dimension (a missing w is 0);
// corners of a part without texture coordinates or normals get none.
Mesh mergeMeshes(std::vector<NamedMesh> meshes);

} // namespace hx
