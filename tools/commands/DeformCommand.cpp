#include "DeformCommand.h"

#include "AttributeEdit.h"
#include "DeformScene.h"
#include "FrameFiles.h"
#include "HostSession.h"
#include "Interruption.h"
#include "NumberedPath.h"
#include "ObjMesh.h"
#include "OutputPlan.h"
#include "PluginFile.h"
#include "Progress.h"
#include "SceneView.h"
#include "StandardStreams.h"
#include "ToolError.h"
#include "ValueParse.h"
#include "Viewport.h"

#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <new>
#include <set>
#include <sys/stat.h>
#include <utility>

namespace fs = std::filesystem;

namespace hx {
namespace {

void warn(const std::string& message) { std::cerr << "hxnoise: warning: " << message << "\n"; }

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

// How the user knows an output: "-o out.obj", "-o anim.obj (frame 2: anim_0002.obj)".
std::string outputLabel(const char* option, const std::string& named, const std::string& path, int frame,
                        const DeformRequest& request)
{
    std::string label = std::string(option) + " " + named;
    if (request.frames > 0) label += " (frame " + std::to_string(frame) + ": " + path + ")";
    return label;
}

// Every file the run reads and writes, each frame's names included, checked against each
// other before any work: throws OutputClash (exit 2) or FileWriteError (exit 1).
void checkRunFiles(const DeformRequest& request, const std::string& input, const std::string& plugin, int frames)
{
    OutputPlan plan;
    plan.addInput(input, "the input mesh " + input);
    plan.addInput(plugin, "the plug-in " + plugin);
    // Standard output or error sent to a regular file is written too, so no output may be
    // that file; a device or a pipe (/dev/null, a terminal) may well be shared with one.
    for (const auto& [fd, name] : {std::pair<int, const char*>{1, "standard output"}, {2, "standard error"}}) {
        struct stat info;
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
            plan.addInput("/proc/self/fd/" + std::to_string(fd), name);
    }
    for (int frame = 1; frame <= frames; ++frame) {
        const FrameOutputs outputs = outputsOf(request, frame);
        if (!outputs.mesh.empty())
            plan.addOutput(outputs.mesh, outputLabel("-o", request.output, outputs.mesh, frame, request));
        if (!outputs.image.empty())
            plan.addOutput(outputs.image, outputLabel("--render", request.render, outputs.image, frame, request));
    }
    plan.check();
}

// What an interruption or a crash says was done, after `written` frames of `frames`.
std::string progressNote(const DeformRequest& request, int written, int frames)
{
    if (request.frames == 0) return written ? "the outputs were written" : "nothing was written";
    if (written == 0) return "no frame was written";
    const std::string& named = request.output.empty() ? request.render : request.output;
    return "frames 1.." + std::to_string(written) + " of " + std::to_string(frames) + " were written (" +
           numberedPath(named, 1, frames) + " .. " + numberedPath(named, written, frames) + ")";
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
    host.setThreadCount(request.threads);
    Progress progress;

    const std::string input = request.input.empty() ? bundledExampleMesh() : request.input;
    if (request.input.empty() && !fs::exists(input))
        throw ToolError("the bundled example mesh " + input + " is missing; name an OBJ file to deform");
    const std::string plugin = locatePlugin(request.plugin);
    const int frames = std::max(request.frames, 1);
    checkRunFiles(request, input, plugin, frames);
    setRunNote(progressNote(request, 0, frames));

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
    // A plug the deformer never reads is worth one warning, however often it is set.
    std::set<std::string> ignoredPlugs;
    const auto warnIfIgnored = [&](const NamedPlug& plug) {
        const std::string warning = ignoredPlugWarning(plug);
        if (!warning.empty() && ignoredPlugs.insert(plug.nodeType + "." + plug.attribute.longName).second)
            warn(warning);
    };
    for (std::size_t i = 0; i < settingPlugs.size(); ++i) {
        const Result set = host.setAttr(settingPlugs[i].name, settingNumbers[i]);
        if (!set) throw UsageError("--set " + settingPlugs[i].name + ": " + set.error);
        for (const std::string& w : set.warnings) warn(w);
        warnIfIgnored(settingPlugs[i]);
        std::cout << "set " << settingPlugs[i].name << " = "
                  << storedValueText(host, settingPlugs[i], request.settings[i]) << "\n";
    }
    for (const NamedPlug& plug : keyPlugs) warnIfIgnored(plug);

    std::unique_ptr<Viewport> viewport;
    View view = View::Persp;
    if (!request.render.empty()) {
        viewport = std::make_unique<Viewport>(request.width, request.height);
        parseView(request.view, view);
    }
    const SceneMesh sceneMesh{&mesh.positions(), &mesh.faceSizes(), &faceVertices};

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

        // The frame is evaluated in full; only now are its files written, all of them to
        // temporaries first, then put in place together.
        const FrameOutputs outputs = outputsOf(request, frame);
        FrameFiles files;
        if (!outputs.mesh.empty()) {
            if (request.frames == 0) progress.show("writing " + outputs.mesh);
            files.write(outputs.mesh, [&](const std::string& temporary) { mesh.write(temporary); });
        }
        if (viewport) files.write(outputs.image, [&](const std::string& temporary) { viewport->savePng(temporary); });
        // What the run said so far must have reached its reader: a closed standard output or
        // error fails the run before any file is in place.
        checkStandardStreams();
        files.commit();
        setRunNote(progressNote(request, frame, frames));
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
        } catch (const std::bad_alloc&) {
            if (frame == 1) throw;
            throw ToolError("frame " + std::to_string(frame) + ": out of memory (frames 1.." +
                            std::to_string(frame - 1) + " were written)");
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
