#include "DeformCommand.h"

#include "AtomicFile.h"
#include "AttributeEdit.h"
#include "DeformScene.h"
#include "HostSession.h"
#include "NumberedPath.h"
#include "ObjMesh.h"
#include "PluginFile.h"
#include "Progress.h"
#include "SceneView.h"
#include "ToolError.h"
#include "ValueParse.h"
#include "Viewport.h"

#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <set>

namespace fs = std::filesystem;

namespace hx {
namespace {

void warn(const std::string& message) { std::cerr << "hxnoise: warning: " << message << "\n"; }

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

// A file can be written at `path`: its directory exists and takes new files, and it is not
// a directory. Checked before the work, so a run that could not finish fails at once.
void checkWritable(const std::string& path, const std::string& input)
{
    if (sameFile(path, input))
        throw UsageError(path + " is the input mesh; write the output to a new file");
    AtomicFile probe(path);  // its temporary file goes when the probe does
}

struct FrameOutputs {
    std::string mesh;
    std::string image;
};

FrameOutputs outputsOf(const DeformRequest& request, int frame)
{
    if (request.frames == 0) return {request.output, request.render};
    return {request.output.empty() ? "" : numberedPath(request.output, frame, request.frames),
            request.render.empty() ? "" : numberedPath(request.render, frame, request.frames)};
}

// A deformation that sent points to infinity or NaN (coordinates near the limit of a
// double pushed past it by the locator's placement, say) must not reach a file that no
// reader could load.
void checkFinite(const std::vector<double>& points, const std::string& deformer)
{
    std::size_t bad = 0, first = 0;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (!std::isfinite(points[i]) && bad++ == 0) first = i / 3;
    if (bad)
        throw ToolError("the deformation gave points that are not finite numbers (the first is vertex " +
                        std::to_string(first + 1) + "): the mesh, the locator's placement or " + deformer +
                        "'s amplitudes go beyond the range of double precision");
}

std::string describeNode(Host& host, const std::string& node, const DeformScene& scene, const ObjMesh& mesh,
                         std::size_t vertexCount)
{
    std::string text = node + " (" + host.typeOf(node);
    const std::string parent = host.parentOf(node);
    if (!parent.empty()) text += ", under " + parent;
    text += ")";
    if (node == scene.meshShape)
        text += ": " + std::to_string(vertexCount) + " vertices, " + std::to_string(mesh.faceCount()) + " faces";
    else if (node == scene.meshShape + "Orig")
        text += ": the undeformed input";
    return text;
}

}  // namespace

std::string bundledExampleMesh() { return HX_EXAMPLE_MESH; }

int runDeform(const DeformRequest& request)
{
    Host& host = Host::instance();
    HostSession session(host);
    Progress progress;

    const std::string input = request.input.empty() ? bundledExampleMesh() : request.input;
    if (request.input.empty() && !fs::exists(input))
        throw ToolError("the bundled example mesh " + input + " is missing; name an OBJ file to deform");
    const FrameOutputs firstOutputs = outputsOf(request, 1);
    for (const std::string& path : {firstOutputs.mesh, firstOutputs.image})
        if (!path.empty()) checkWritable(path, input);

    const std::string plugin = locatePlugin(request.plugin);
    if (const Result loaded = host.loadPlugin(plugin); !loaded)
        throw ToolError(loaded.error);

    progress.show("reading " + input);
    ObjMesh mesh = ObjMesh::read(input);
    progress.clear();
    for (const std::string& w : mesh.warnings()) warn(w);
    std::cout << "read " << (request.input.empty() ? input + " (the bundled example)" : input) << "\n";

    // The host takes the points; they come back deformed into the same array.
    const std::size_t vertexCount = mesh.vertexCount();
    const std::vector<int>& faceVertices = mesh.faceVertexIndices();
    DeformScene scene = buildDeformScene(
        host, meshNodeName(mesh.nodeName(), fs::path(input).stem().string()), std::move(mesh.positions()),
        std::vector<int>(mesh.faceSizes().begin(), mesh.faceSizes().end()), faceVertices);
    for (const std::string& node : scene.nodes)
        std::cout << "created " << describeNode(host, node, scene, mesh, vertexCount) << "\n";

    // Every name and value is checked before the first is set.
    std::vector<NamedPlug> settingPlugs, keyPlugs;
    std::vector<std::vector<double>> settingNumbers;
    for (const AttributeSetting& setting : request.settings) {
        settingPlugs.push_back(findPlug(host, setting.node, setting.attribute));
        settingNumbers.push_back(settingValues(settingPlugs.back(), setting));
    }
    for (const AttributeKey& key : request.keys) {
        keyPlugs.push_back(findPlug(host, key.node, key.attribute));
        checkKey(keyPlugs.back(), key);
    }
    for (std::size_t i = 0; i < settingPlugs.size(); ++i) {
        const Result set = host.setAttr(settingPlugs[i].name, settingNumbers[i]);
        if (!set) throw UsageError("--set " + settingPlugs[i].name + ": " + set.error);
        for (const std::string& w : set.warnings) warn(w);
        std::cout << "set " << settingPlugs[i].name << " = " << request.settings[i].text << "\n";
    }

    std::unique_ptr<Viewport> viewport;
    View view = View::Persp;
    if (!request.render.empty()) {
        viewport = std::make_unique<Viewport>(request.width, request.height);
        parseView(request.view, view);
    }
    const SceneMesh sceneMesh{&mesh.positions(), &mesh.faceSizes(), &faceVertices};

    const int frames = std::max(request.frames, 1);
    std::set<std::string> clampedKeys;  // one warning per keyed plug, not one per frame
    const auto evaluateAndWrite = [&](int frame) {
        if (request.frames > 0) progress.show("frame " + std::to_string(frame) + "/" + std::to_string(frames));
        for (std::size_t k = 0; k < keyPlugs.size(); ++k) {
            const double value = keyValue(keyPlugs[k], request.keys[k], frame, frames);
            const Result set = host.setAttr(keyPlugs[k].name, value);
            if (!set) throw UsageError("--key " + keyPlugs[k].name + ": " + set.error);
            if (!set.warnings.empty() && clampedKeys.insert(keyPlugs[k].name).second)
                for (const std::string& w : set.warnings) warn(w + " (frame " + std::to_string(frame) + ")");
        }

        if (request.frames == 0) progress.show("deforming " + std::to_string(vertexCount) + " vertices");
        if (const Result evaluated = host.meshPoints(scene.meshShape, mesh.positions()); !evaluated)
            throw ToolError("cannot evaluate " + scene.meshShape + ": " + evaluated.error);
        if (mesh.positions().size() != 3 * vertexCount)
            throw ToolError(scene.deformer + " gave " + std::to_string(mesh.positions().size() / 3) +
                            " points for a mesh of " + std::to_string(vertexCount) + " vertices");
        checkFinite(mesh.positions(), scene.deformer);
        if (viewport) {
            if (request.frames == 0) progress.show("rendering");
            for (const std::string& w : drawScene(*viewport, host, scene, sceneMesh, view)) warn(w);
        }

        // The frame is evaluated in full; only now are its files written.
        const FrameOutputs outputs = outputsOf(request, frame);
        if (!outputs.mesh.empty()) {
            if (request.frames == 0) progress.show("writing " + outputs.mesh);
            mesh.write(outputs.mesh);
        }
        if (viewport) viewport->savePng(outputs.image);
        progress.clear();
        if (request.frames == 0) {
            if (!outputs.mesh.empty()) std::cout << "wrote " << outputs.mesh << "\n";
            if (viewport)
                std::cout << "wrote " << outputs.image << " (" << request.width << "x" << request.height << ", "
                          << request.view << " view)\n";
        }
    };
    for (int frame = 1; frame <= frames; ++frame) {
        try {
            evaluateAndWrite(frame);
        } catch (const std::runtime_error& error) {
            if (frame == 1) throw;
            // The frames before this one are whole files; say which are there.
            throw ToolError("frame " + std::to_string(frame) + ": " + error.what() + " (frames 1.." +
                            std::to_string(frame - 1) + " were written)");
        }
    }
    progress.clear();

    if (request.frames > 0) {
        for (const std::string& path : {request.output, request.render})
            if (!path.empty())
                std::cout << "wrote " << numberedPath(path, 1, frames) << " .. " << numberedPath(path, frames, frames)
                          << " (" << frames << " frames)\n";
    }
    if (request.output.empty() && request.render.empty())
        std::cerr << "hxnoise: nothing written: name a mesh with -o and/or a picture with --render\n";
    return 0;
}

}  // namespace hx
