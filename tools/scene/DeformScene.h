// DeformScene: a mesh in the stand-in host with an hxNoise deformer on it, built the way a
// host user builds one: a transform named after the mesh with its shape under it, then the
// host's deformer command, which adds the deformer and its locator (hxNoise1, transform1,
// noiseLocator1 in a fresh scene).
#pragma once

#include <engine/Host.h>

#include <string>
#include <vector>

namespace hx {

struct DeformScene
{
    std::string meshTransform;      // "blob"
    std::string meshShape;          // "blobShape"
    std::string deformer;           // "hxNoise1"
    std::string locatorTransform;   // "transform1"
    std::string locator;            // "noiseLocator1"
    std::vector<std::string> nodes; // every node of the scene, in creation order
};

// The name an OBJ object or group gives its transform: characters a node name cannot hold
// become '_', a leading digit gets a '_' before it, and a name the deformer command would
// give its own nodes (transform1, hxNoise1, noiseLocator1, ...) gets "_mesh" after it, so
// that transform1 is always the locator's transform. `fallback` (the file's stem) stands
// in for an empty name.
std::string meshNodeName(const std::string& objName, const std::string& fallback);

// Creates the mesh's transform and shape holding `points` (x, y, z each) and the faces,
// then puts a `deformerType` deformer on it. Throws ToolError with the host's reason.
// Points and face counts passed as temporaries move into the host without a copy.
DeformScene buildDeformScene(Host& host, const std::string& name, std::vector<double> points,
                             std::vector<int> faceCounts, const std::vector<int>& faceVertices,
                             const std::string& deformerType = "hxNoise");

} // namespace hx
