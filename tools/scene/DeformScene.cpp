#include "DeformScene.h"

#include "ToolError.h"

#include <algorithm>
#include <cctype>

namespace hx {
namespace {

bool isAsciiAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// "transform12", "hxNoise1", ...: the names the deformer command hands out.
bool isAutomaticName(const std::string& name)
{
    for (const char* base : {"transform", "hxNoise", "noiseLocator", "mesh"}) {
        const std::string prefix = base;
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            std::all_of(name.begin() + prefix.size(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return true;
    }
    return false;
}

void check(const Result& result, const std::string& what)
{
    if (!result) throw ToolError(what + ": " + result.error);
}

} // namespace

std::string meshNodeName(const std::string& objName, const std::string& fallback)
{
    std::string name = objName.empty() ? fallback : objName;
    for (char& c : name)
        if (!isAsciiAlnum(c)) c = '_';
    if (name.empty()) name = "mesh";
    if (name[0] >= '0' && name[0] <= '9') name.insert(name.begin(), '_');
    if (isAutomaticName(name)) name += "_mesh";
    return name;
}

DeformScene buildDeformScene(Host& host, const std::string& name, std::vector<double> points,
                             std::vector<int> faceCounts, const std::vector<int>& faceVertices,
                             const std::string& deformerType)
{
    DeformScene scene;
    scene.meshTransform = name;
    scene.meshShape = name + "Shape";
    check(host.createNode("transform", scene.meshTransform), "cannot create the mesh's transform");
    check(host.createNode("mesh", scene.meshShape, scene.meshTransform), "cannot create the mesh's shape");
    check(host.setMesh(scene.meshShape, std::move(points), std::move(faceCounts), faceVertices),
          "the host refused the mesh");

    const std::vector<std::string> before = host.locators();
    check(host.deformer(deformerType, scene.meshShape, &scene.deformer),
          "cannot put an " + deformerType + " deformer on " + scene.meshShape);
    for (const std::string& locator : host.locators())
        if (std::find(before.begin(), before.end(), locator) == before.end()) {
            scene.locator = locator;
            scene.locatorTransform = host.parentOf(locator);
            break;
        }
    if (scene.locator.empty())
        throw ToolError("the " + deformerType + " deformer made no locator; is this the hxNoise plug-in?");
    scene.nodes = host.listNodes();
    return scene;
}

} // namespace hx
