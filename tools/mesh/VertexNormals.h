// Normals of a polygon mesh from its points.
//
// Each face's Newell normal, whose length is twice the face's area, is added to the normals
// its corners use, so large faces count more than slivers; the sums are then normalised.
// Pure math over raw arrays, shared by the mesh writers and the viewport.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hx {

// One normal per vertex, for a mesh whose file had none to go by (the viewport's shading).
// positions: x, y, z per vertex. faceSizes: corners per face. faceVertices: the corners'
// vertex indices, face after face (every index must be < vertexCount). Returns x, y, z per
// vertex, unit length; a vertex that no face with area touches gets (0, 1, 0), the up axis,
// rather than a zero vector that readers would divide by.
std::vector<double> computeVertexNormals(const double* positions, std::size_t vertexCount,
                                         const std::uint32_t* faceSizes, std::size_t faceCount,
                                         const int* faceVertices);

// The mesh's own normals recomputed after its points moved: normal k becomes the normalised
// sum of the faces whose corners use normal k (faceNormals holds each corner's normal index,
// or -1 for none). A normal shared by the corners of one smooth patch stays smooth; one used
// by the faces of one side only (a cube's) stays that side's, so hard edges stay hard. A
// normal that no face with area uses keeps its value from `normals`.
std::vector<double> recomputeNormals(const std::vector<double>& normals, const double* positions,
                                     const std::uint32_t* faceSizes, std::size_t faceCount, const int* faceVertices,
                                     const int* faceNormals);

} // namespace hx
