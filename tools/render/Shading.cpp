#include "Shading.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace hx {

bool parseShading(const std::string& name, Shading& shading)
{
    if (name == "auto")
        shading = Shading::Auto;
    else if (name == "smooth")
        shading = Shading::Smooth;
    else if (name == "wire")
        shading = Shading::Wire;
    else if (name == "both")
        shading = Shading::Both;
    else
        return false;
    return true;
}

const char* shadingName(Shading shading)
{
    switch (shading) {
    case Shading::Auto: return "auto";
    case Shading::Smooth: return "smooth";
    case Shading::Wire: return "wire";
    case Shading::Both: return "both";
    }
    return "auto";
}

double edgeSpacing(const MeshView& mesh, const Camera& camera)
{
    constexpr std::size_t kSampledFaces = 2048;
    const std::size_t stride = std::max<std::size_t>(1, mesh.faceCount / kSampledFaces);
    std::vector<double> lengths;
    lengths.reserve(std::min(mesh.faceCount, kSampledFaces + 1) * 4);
    const int* corners = mesh.faceVertices;
    const auto valid = [&](int v) { return v >= 0 && std::size_t(v) < mesh.vertexCount; };
    for (std::size_t f = 0; f < mesh.faceCount; ++f) {
        const std::uint32_t size = mesh.faceSizes[f];
        if (f % stride == 0) {
            for (std::uint32_t i = 0; i < size; ++i) {
                const int a = corners[i], b = corners[(i + 1) % size];
                if (!valid(a) || !valid(b)) continue;
                double ax, ay, bx, by;
                if (!camera.project(mesh.positions + 3 * a, ax, ay) || !camera.project(mesh.positions + 3 * b, bx, by))
                    continue;
                const double length = std::hypot(bx - ax, by - ay);
                if (std::isfinite(length)) lengths.push_back(length);
            }
        }
        corners += size;
    }
    if (lengths.empty()) return 0.0;
    auto middle = lengths.begin() + lengths.size() / 2;
    std::nth_element(lengths.begin(), middle, lengths.end());
    return *middle;
}

bool drawsSurfaces(Shading shading)
{
    return shading != Shading::Wire;
}

bool drawsWireframe(Shading shading, const MeshView& mesh, const Camera& camera)
{
    if (shading == Shading::Auto) return edgeSpacing(mesh, camera) >= kMinEdgeSpacing;
    return shading != Shading::Smooth;
}

} // namespace hx
