#include "SceneFraming.h"

#include "Hud.h"
#include "ToolError.h"

#include <algorithm>

#include <cmath>

namespace hx {

MMatrix worldMatrixOf(Host& host, const std::string& node)
{
    MMatrix matrix;
    const Result result = host.worldMatrix(node, matrix);
    if (!result) throw ToolError("cannot place " + node + " in the viewport: " + result.error);
    return matrix;
}

namespace {

// A point times the host's row-vector matrix: the translation is the last row.
void transformPoint(const MMatrix& m, const double in[3], double out[3])
{
    for (int c = 0; c < 3; ++c)
        out[c] = in[0] * m.matrix[0][c] + in[1] * m.matrix[1][c] + in[2] * m.matrix[2][c] + m.matrix[3][c];
}

bool isIdentity(const MMatrix& m)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (m.matrix[r][c] != (r == c ? 1.0 : 0.0)) return false;
    return true;
}

// The noise locator's curve attributes, and the axis each shows.
const std::pair<const char*, const char*> kCurveAttributes[] = {
    {"oxCurvePoints", "x"}, {"oyCurvePoints", "y"}, {"ozCurvePoints", "z"}};

} // namespace

std::vector<LocatorCurve> locatorCurves(Host& host, const std::string& locator)
{
    std::vector<LocatorCurve> curves;
    const std::optional<NodeTypeInfo> type = host.nodeType(host.typeOf(locator));
    if (!type) return curves;
    const MMatrix world = worldMatrixOf(host, locator);
    for (const auto& [attribute, axis] : kCurveAttributes) {
        bool present = false;
        for (const AttributeInfo& a : type->attributes) present = present || a.longName == attribute;
        if (!present) continue;
        std::vector<double> local;
        const Result read = host.getAttr(locator + "." + attribute, local);
        if (!read) throw ToolError("cannot draw locator " + locator + ": " + read.error);
        if (local.size() < 3) continue;
        LocatorCurve curve{axis, std::vector<double>(local.size() - local.size() % 3)};
        for (std::size_t i = 0; i + 2 < local.size(); i += 3) transformPoint(world, &local[i], &curve.points[i]);
        curves.push_back(std::move(curve));
    }
    return curves;
}

std::vector<double> worldPoints(Host& host, const DeformScene& scene, const std::vector<double>& objectPoints)
{
    const MMatrix world = worldMatrixOf(host, scene.meshShape);
    if (isIdentity(world)) return objectPoints;
    std::vector<double> moved(objectPoints.size());
    for (std::size_t i = 0; i + 2 < objectPoints.size(); i += 3) transformPoint(world, &objectPoints[i], &moved[i]);
    return moved;
}

void includeScene(Host& host, const std::vector<double>& worldPoints, FramingPoints& into)
{
    for (std::size_t i = 0; i + 2 < worldPoints.size(); i += 3) into.include(&worldPoints[i]);
    for (const std::string& locator : host.locators()) {
        const MMatrix world = worldMatrixOf(host, locator);
        // The cross: the origin and an arm's end on each axis, either side.
        for (int k = 0; k < 7; ++k) {
            double local[3] = {0.0, 0.0, 0.0}, placed[3];
            if (k > 0) local[(k - 1) / 2] = (k % 2) ? 1.0 : -1.0;
            transformPoint(world, local, placed);
            into.include(placed);
        }
        for (const LocatorCurve& curve : locatorCurves(host, locator))
            for (std::size_t i = 0; i + 2 < curve.points.size(); i += 3) into.include(&curve.points[i]);
    }
}

Framing frameScene(View view, const FramingPoints& points, int width, int height, Insets insets)
{
    return {points.bounds(), Camera::framing(view, points.points(), width, height, insets),
            gridFor(view, points.bounds())};
}

SequenceFraming frameSequence(Host& host, const DeformScene& scene, const SceneMesh& mesh, View view, int width,
                              int height, const std::vector<int>& frames,
                              const std::function<void(int frame)>& evaluate, const PictureStyle& style)
{
    SequenceFraming result;
    FramingPoints all(view, width, height);
    Insets insets;
    PictureStyle numbered = style;
    for (const int frame : frames) {
        try {
            evaluate(frame);
        } catch (...) {
            result.failedFrame = frame;
            result.failure = std::current_exception();
            break;
        }
        includeScene(host, worldPoints(host, scene, *mesh.points), all);
        numbered.frame = frame;
        const Insets shown = hudInsets(host, numbered, width, height);
        insets.top = std::max(insets.top, shown.top);
        insets.bottom = std::max(insets.bottom, shown.bottom);
    }
    result.framing = frameScene(view, all, width, height, insets);
    return result;
}

} // namespace hx
