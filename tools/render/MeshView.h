// MeshView: a polygon mesh as raw arrays owned by the caller, as the viewport draws it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hx {

struct MeshView
{
    const double* positions = nullptr; // x, y, z per vertex, in world space
    std::size_t vertexCount = 0;
    const std::uint32_t* faceSizes = nullptr;
    std::size_t faceCount = 0;
    const int* faceVertices = nullptr; // each face's corners in turn, faceSizes[f] of them
};

} // namespace hx
