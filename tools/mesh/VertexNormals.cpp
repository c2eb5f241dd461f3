#include "VertexNormals.h"

#include <cmath>

namespace hx {

std::vector<double> computeVertexNormals(const double* positions, std::size_t vertexCount,
                                         const std::uint32_t* faceSizes, std::size_t faceCount,
                                         const int* faceVertices)
{
    std::vector<double> normals(vertexCount * 3, 0.0);
    const int* corner = faceVertices;
    for (std::size_t f = 0; f < faceCount; ++f) {
        const std::uint32_t n = faceSizes[f];
        // Newell's method: exact for planar polygons and robust for warped ones.
        double nx = 0.0, ny = 0.0, nz = 0.0;
        for (std::uint32_t i = 0; i < n; ++i) {
            const double* a = positions + 3 * corner[i];
            const double* b = positions + 3 * corner[((i + 1) % n)];
            nx += (a[1] - b[1]) * (a[2] + b[2]);
            ny += (a[2] - b[2]) * (a[0] + b[0]);
            nz += (a[0] - b[0]) * (a[1] + b[1]);
        }
        for (std::uint32_t i = 0; i < n; ++i) {
            double* out = normals.data() + 3 * corner[i];
            out[0] += nx;
            out[1] += ny;
            out[2] += nz;
        }
        corner += n;
    }
    for (std::size_t v = 0; v < vertexCount; ++v) {
        double* out = normals.data() + 3 * v;
        const double length = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
        if (length > 0.0 && std::isfinite(length)) {
            out[0] /= length;
            out[1] /= length;
            out[2] /= length;
        } else {
            out[0] = 0.0;
            out[1] = 1.0;
            out[2] = 0.0;
        }
    }
    return normals;
}

}  // namespace hx
