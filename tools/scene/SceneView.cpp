#include "SceneView.h"

#include "ToolError.h"

#include <cmath>
#include <cstdio>

namespace hx {
namespace {

MMatrix worldMatrixOf(Host& host, const std::string& node)
{
    MMatrix matrix;
    const Result result = host.worldMatrix(node, matrix);
    if (!result) throw ToolError("cannot place " + node + " in the viewport: " + result.error);
    return matrix;
}

bool isIdentity(const MMatrix& m)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (m.matrix[r][c] != (r == c ? 1.0 : 0.0)) return false;
    return true;
}

// A point times the host's row-vector matrix: the translation is the last row.
void transformPoint(const MMatrix& m, const double in[3], double out[3])
{
    for (int c = 0; c < 3; ++c)
        out[c] = in[0] * m.matrix[0][c] + in[1] * m.matrix[1][c] + in[2] * m.matrix[2][c] + m.matrix[3][c];
}

std::vector<double> toWorld(const MMatrix& m, const std::vector<double>& points)
{
    std::vector<double> world(points.size());
    for (std::size_t i = 0; i + 2 < points.size(); i += 3) transformPoint(m, &points[i], &world[i]);
    return world;
}

}  // namespace

Bounds sceneBounds(Host& host, const std::vector<double>& worldPoints)
{
    Bounds box = Bounds::empty();
    for (std::size_t i = 0; i + 2 < worldPoints.size(); i += 3)
        if (std::isfinite(worldPoints[i]) && std::isfinite(worldPoints[i + 1]) && std::isfinite(worldPoints[i + 2]))
            box.include(&worldPoints[i]);
    for (const std::string& locator : host.locators()) {
        const MMatrix world = worldMatrixOf(host, locator);
        bool bounded = false;
        MBoundingBox local;
        const double origin[3] = {0.0, 0.0, 0.0};
        double corner[3], placed[3];
        transformPoint(world, origin, placed);
        box.include(placed);
        if (!host.locatorBounds(locator, bounded, local) || !bounded) continue;
        const MPoint lo = local.min(), hi = local.max();
        for (int k = 0; k < 8; ++k) {
            corner[0] = (k & 1) ? hi.x : lo.x;
            corner[1] = (k & 2) ? hi.y : lo.y;
            corner[2] = (k & 4) ? hi.z : lo.z;
            transformPoint(world, corner, placed);
            box.include(placed);
        }
    }
    return box;
}

std::vector<std::string> drawScene(Viewport& viewport, Host& host, const DeformScene& scene,
                                   const SceneMesh& mesh, View view)
{
    std::vector<std::string> warnings;
    host.setViewportSize(viewport.width(), viewport.height());

    // The shape's points are in its object space; the viewport shows them where its
    // transform puts them.
    const MMatrix meshWorld = worldMatrixOf(host, scene.meshShape);
    std::vector<double> moved;
    if (!isIdentity(meshWorld)) moved = toWorld(meshWorld, *mesh.points);
    const std::vector<double>& points = moved.empty() ? *mesh.points : moved;

    const Bounds box = sceneBounds(host, points);
    viewport.setCamera(Camera::framing(view, box, viewport.width(), viewport.height()));
    viewport.clear();
    viewport.drawGrid(box);

    MeshView view3d;
    view3d.positions = points.data();
    view3d.vertexCount = points.size() / 3;
    view3d.faceSizes = mesh.faceSizes->data();
    view3d.faceCount = mesh.faceSizes->size();
    view3d.faceVertices = mesh.faceVertices->data();
    viewport.drawMesh(view3d);

    for (const std::string& locator : host.locators()) {
        const MMatrix world = worldMatrixOf(host, locator);
        double matrix[16];
        for (int i = 0; i < 16; ++i) matrix[i] = world.matrix[i / 4][i % 4];
        Result drawn;
        const unsigned glError = viewport.drawInWorldSpace(matrix, [&] { drawn = host.drawLocator(locator); });
        // A locator that could not draw (its draw, or a compute it pulled, failed or threw)
        // fails the picture, as the failed evaluation of a mesh fails the run.
        if (!drawn) throw ToolError("cannot draw locator " + locator + ": " + drawn.error);
        for (const std::string& w : drawn.warnings) warnings.push_back(w);
        if (glError != 0) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%04x", glError);
            warnings.push_back("the draw of locator " + locator + " raised OpenGL error " + code);
        }
    }
    return warnings;
}

}  // namespace hx
