#include "SceneView.h"

#include "Hud.h"
#include "Text.h"
#include "ToolError.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace hx {
namespace {

constexpr float kWhite[3] = {0.93f, 0.93f, 0.93f};
constexpr float kKeyed[3] = {1.0f, 0.62f, 0.55f}; // the host marks keyed values in red
constexpr float kCurveLabel[3] = {0.62f, 0.74f, 1.0f};

void drawHud(Viewport& viewport, Host& host, const Framing& framing, const PictureStyle& style,
             const std::vector<std::vector<LocatorCurve>>& curves)
{
    const int width = viewport.width(), height = viewport.height();
    const HudLayout layout = hudLayout(width, height);

    // The axis each curve shows, beside its end.
    const Camera& camera = framing.camera;
    for (const std::vector<LocatorCurve>& locator : curves)
        for (const LocatorCurve& curve : locator) {
            const std::size_t n = curve.points.size() / 3;
            double endX, endY, beforeX, beforeY;
            if (!camera.project(&curve.points[3 * (n - 1)], endX, endY)) continue;
            // The direction over the curve's last tenth, which noise makes less jagged than its last step.
            const std::size_t back = n - 1 - std::min<std::size_t>(n - 1, std::max<std::size_t>(1, n / 10));
            if (!camera.project(&curve.points[3 * back], beforeX, beforeY)) beforeX = endX - 1.0, beforeY = endY;
            double x, y;
            labelBeside(endX, endY, beforeX, beforeY, textWidth(curve.axis, layout.frameScale), 7.0 * layout.frameScale,
                        3.0 * layout.scale, x, y);
            viewport.drawText(curve.axis, x, y, layout.frameScale, kCurveLabel);
        }

    double y = layout.margin;
    if (style.frame) {
        viewport.drawText("frame " + std::to_string(*style.frame), layout.margin, y, layout.frameScale, kWhite);
        y += layout.frameLine;
    }
    for (const HudLine& text : hudValueLines(hudValues(host, style), width - 2.0 * layout.margin, layout.scale)) {
        viewport.drawText(text.text, layout.margin, y, layout.scale, text.keyed ? kKeyed : kWhite);
        y += layout.line;
    }

    const double bottom = height - layout.margin - 7.0 * layout.scale;
    viewport.drawText("grid " + stepText(framing.grid.step), layout.margin, bottom, layout.scale, kWhite);
    const std::string cameraName = viewName(camera.view());
    viewport.drawText(cameraName, (width - textWidth(cameraName, layout.scale)) / 2.0, bottom, layout.scale, kWhite);
}

} // namespace

std::vector<std::string> drawScene(Viewport& viewport, Host& host, const DeformScene& scene, const SceneMesh& mesh,
                                   View view)
{
    return drawScene(viewport, host, scene, mesh, view, PictureStyle());
}

std::vector<std::string> drawScene(Viewport& viewport, Host& host, const DeformScene& scene, const SceneMesh& mesh,
                                   View view, const PictureStyle& style)
{
    const int width = viewport.width(), height = viewport.height();
    FramingPoints points(view, width, height);
    includeScene(host, worldPoints(host, scene, *mesh.points), points);
    return drawScene(viewport, host, scene, mesh,
                     frameScene(view, points, width, height, hudInsets(host, style, width, height)), style);
}

std::vector<std::string> drawScene(Viewport& viewport, Host& host, const DeformScene& scene, const SceneMesh& mesh,
                                   const Framing& framing, const PictureStyle& style)
{
    std::vector<std::string> warnings;
    host.setViewportSize(viewport.width(), viewport.height());

    // The shape's points are in its object space; the viewport shows them where its
    // transform puts them.
    const std::vector<double> points = worldPoints(host, scene, *mesh.points);
    viewport.setSamples(style.antialias ? std::clamp(Viewport::antialiasingSamples(viewport.width(), viewport.height()),
                                                     1, std::max(style.maxSamples, 1))
                                        : 1);
    viewport.setCamera(framing.camera);
    viewport.clear();
    viewport.drawGrid(framing.grid);

    MeshView view3d;
    view3d.positions = points.data();
    view3d.vertexCount = points.size() / 3;
    view3d.faceSizes = mesh.faceSizes->data();
    view3d.faceCount = mesh.faceSizes->size();
    view3d.faceVertices = mesh.faceVertices->data();
    viewport.drawMesh(view3d, style.shading);

    std::vector<std::vector<LocatorCurve>> curves;
    for (const std::string& locator : host.locators()) {
        const MMatrix world = worldMatrixOf(host, locator);
        double matrix[16];
        for (int i = 0; i < 16; ++i) matrix[i] = world.matrix[i / 4][i % 4];
        // What the mesh hides first, dashed; then the locator as it draws itself.
        Result drawn;
        viewport.drawInWorldSpace(
            matrix, [&] { drawn = host.drawLocator(locator); }, Depth::Hidden);
        if (drawn) {
            const unsigned glError = viewport.drawInWorldSpace(matrix, [&] { drawn = host.drawLocator(locator); });
            if (glError != 0 && drawn) {
                char code[16];
                std::snprintf(code, sizeof code, "0x%04x", glError);
                warnings.push_back("the draw of locator " + locator + " raised OpenGL error " + code);
            }
        }
        // A locator that could not draw (its draw, or a compute it pulled, failed or threw)
        // fails the picture, as the failed evaluation of a mesh fails the run.
        if (!drawn) throw ToolError("cannot draw locator " + locator + ": " + drawn.error);
        for (const std::string& w : drawn.warnings) warnings.push_back(w);
        if (style.hud) curves.push_back(locatorCurves(host, locator));
    }
    if (style.hud) drawHud(viewport, host, framing, style, curves);
    return warnings;
}

} // namespace hx
