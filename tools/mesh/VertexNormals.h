// Area-weighted vertex normals of a polygon mesh.
//
// Each face adds its Newell normal, whose length is twice the face's area, to each of its
// vertices, so large faces count more than slivers; the sums are then normalised. Pure math
// over raw arrays, shared by the OBJ writer and the viewport.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hx {

// positions: x, y, z per vertex. faceSizes: corners per face. faceVertices: the corners'
// vertex indices, face after face (every index must be < vertexCount). Returns x, y, z per
// vertex, unit length; a vertex that no face with area touches gets (0, 1, 0), the up axis,
// rather than a zero vector that readers would divide by.
std::vector<double> computeVertexNormals(const double* positions, std::size_t vertexCount,
                                         const std::uint32_t* faceSizes, std::size_t faceCount,
                                         const int* faceVertices);

}  // namespace hx
