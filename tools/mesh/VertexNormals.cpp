#include "VertexNormals.h"

#include <algorithm>
#include <cmath>

namespace hx {
namespace {

// Newell's method: exact for planar polygons and robust for warped ones.
void newellNormal(const double* positions, const int* corner, std::uint32_t n, double out[3])
{
    double nx = 0.0, ny = 0.0, nz = 0.0;
    for (std::uint32_t i = 0; i < n; ++i) {
        const double* a = positions + 3 * static_cast<std::size_t>(corner[i]);
        const double* b = positions + 3 * static_cast<std::size_t>(corner[(i + 1) % n]);
        nx += (a[1] - b[1]) * (a[2] + b[2]);
        ny += (a[2] - b[2]) * (a[0] + b[0]);
        nz += (a[0] - b[0]) * (a[1] + b[1]);
    }
    out[0] = nx;
    out[1] = ny;
    out[2] = nz;
}

// Normalises the sum in place; false when it has no length to normalise.
bool normalise(double* v)
{
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(length > 0.0 && std::isfinite(length))) return false;
    v[0] /= length;
    v[1] /= length;
    v[2] /= length;
    return true;
}

} // namespace

std::vector<double> computeVertexNormals(const double* positions, std::size_t vertexCount,
                                         const std::uint32_t* faceSizes, std::size_t faceCount, const int* faceVertices)
{
    std::vector<double> normals(vertexCount * 3, 0.0);
    const int* corner = faceVertices;
    for (std::size_t f = 0; f < faceCount; ++f) {
        const std::uint32_t n = faceSizes[f];
        double face[3];
        newellNormal(positions, corner, n, face);
        for (std::uint32_t i = 0; i < n; ++i) {
            double* out = normals.data() + 3 * static_cast<std::size_t>(corner[i]);
            out[0] += face[0];
            out[1] += face[1];
            out[2] += face[2];
        }
        corner += n;
    }
    for (std::size_t v = 0; v < vertexCount; ++v) {
        double* out = normals.data() + 3 * v;
        if (!normalise(out)) {
            out[0] = 0.0;
            out[1] = 1.0;
            out[2] = 0.0;
        }
    }
    return normals;
}

std::vector<double> recomputeNormals(const std::vector<double>& normals, const double* positions,
                                     const std::uint32_t* faceSizes, std::size_t faceCount, const int* faceVertices,
                                     const int* faceNormals)
{
    std::vector<double> sums(normals.size(), 0.0);
    std::size_t corner = 0;
    for (std::size_t f = 0; f < faceCount; ++f) {
        const std::uint32_t n = faceSizes[f];
        double face[3];
        newellNormal(positions, faceVertices + corner, n, face);
        for (std::uint32_t i = 0; i < n; ++i) {
            const int k = faceNormals[corner + i];
            if (k < 0) continue;
            double* out = sums.data() + 3 * static_cast<std::size_t>(k);
            out[0] += face[0];
            out[1] += face[1];
            out[2] += face[2];
        }
        corner += n;
    }
    for (std::size_t k = 0; k < sums.size(); k += 3)
        if (!normalise(&sums[k])) std::copy(&normals[k], &normals[k] + 3, &sums[k]);
    return sums;
}

} // namespace hx
