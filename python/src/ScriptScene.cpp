#include "ScriptScene.h"

#include "AtomicFile.h"
#include "AttributeEdit.h"
#include "DeformScene.h"
#include "FrameFiles.h"
#include "FrameRange.h"
#include "KeyedNumbers.h"
#include "MaterialLibraries.h"
#include "MergedMesh.h"
#include "MeshFiles.h"
#include "NumberText.h"
#include "OutputPlan.h"
#include "PluginFile.h"
#include "SceneView.h"
#include "Shading.h"
#include "Suggest.h"
#include "ToolError.h"
#include "ValueParse.h"
#include "Viewport.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;

namespace hx {

struct ScriptScene::ImportedMesh
{
    MObject shape;           // the shape node, whatever it is called now
    std::string path;        // the file it was read from, absolute
    std::size_t vertexCount; // the points are the host's: not kept twice
    Mesh::Parts parts;       // everything else as read
};

namespace {

void check(const Result& result, const std::string& prefix = "")
{
    if (!result) throw ToolError(prefix + result.error);
}

// The host's name for a plug-in file: its name up to the first dot.
std::string pluginNameOf(const std::string& path)
{
    const std::string file = fs::path(path).filename().string();
    const std::size_t dot = file.find('.');
    return dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
}

std::string absolutePath(const std::string& path)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

void checkFinite(const std::vector<double>& values, const std::string& what)
{
    for (double v : values)
        if (!std::isfinite(v)) throw UsageError(what + " must be finite numbers");
}

bool isIdentity(const MMatrix& m)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (m.matrix[r][c] != (r == c ? 1.0 : 0.0)) return false;
    return true;
}

// Points times the host's row-vector matrix, whose last row is the translation.
void toWorld(const MMatrix& m, std::vector<double>& points)
{
    for (std::size_t i = 0; i + 2 < points.size(); i += 3) {
        const double x = points[i], y = points[i + 1], z = points[i + 2];
        for (int c = 0; c < 3; ++c)
            points[i + static_cast<std::size_t>(c)] =
                x * m.matrix[0][c] + y * m.matrix[1][c] + z * m.matrix[2][c] + m.matrix[3][c];
    }
}

// "OBJexport", "OBJ", "obj", "PLY", "glTF"... as the format's own name, lower case.
std::string typeFormatName(std::string type)
{
    std::transform(type.begin(), type.end(), type.begin(), [](unsigned char c) { return std::tolower(c); });
    const std::string suffix = "export";
    if (type.size() > suffix.size() && type.compare(type.size() - suffix.size(), suffix.size(), suffix) == 0)
        type.erase(type.size() - suffix.size());
    while (!type.empty() && (type.back() == ' ' || type.back() == '_')) type.pop_back();
    return type;
}

std::vector<std::uint32_t> faceSizesOf(const std::vector<int>& counts)
{
    return std::vector<std::uint32_t>(counts.begin(), counts.end());
}

} // namespace

ScriptScene::ScriptScene(std::string ownPluginFolder)
    : mHost(Host::instance()), mOwnPluginFolder(std::move(ownPluginFolder))
{}

ScriptScene::~ScriptScene() = default;

void ScriptScene::requireNode(const std::string& node) const
{
    if (!mHost.exists(node))
        throw UsageError("no node named '" + node + "'" + didYouMean(closestNames(node, mHost.listNodes())));
}

// ---- plug-ins ------------------------------------------------------------------------------

std::pair<std::string, std::string> ScriptScene::loadPlugin(const std::string& nameOrPath, Remarks& remarks)
{
    if (nameOrPath.empty()) throw UsageError("name the plug-in to load");
    std::string path;
    if (isPluginName(nameOrPath)) {
        // A plug-in of that name already loaded is the one asked for, wherever it came from.
        const std::string name = pluginNameOf(nameOrPath);
        for (const PluginInfo& loaded : mHost.plugins())
            if (loaded.name == name) return {loaded.name, loaded.path};
        path = findPluginNamed(nameOrPath, mOwnPluginFolder);
    } else {
        std::error_code error;
        if (fs::is_directory(nameOrPath, error))
            throw UsageError(nameOrPath + " is a directory; name the plug-in's file, e.g. " +
                             (fs::path(nameOrPath) / "hxNoise.so").string());
        path = absolutePath(nameOrPath);
        for (const PluginInfo& loaded : mHost.plugins())
            if (loaded.name == pluginNameOf(path) && loaded.path == path) return {loaded.name, loaded.path};
    }
    const Result loaded = mHost.loadPlugin(path);
    remarks.warnings.insert(remarks.warnings.end(), loaded.warnings.begin(), loaded.warnings.end());
    check(loaded);
    return {pluginNameOf(path), path};
}

void ScriptScene::unloadPlugin(const std::string& nameOrPath)
{
    if (nameOrPath.empty()) throw UsageError("name the plug-in to unload");
    check(mHost.unloadPlugin(pluginNameOf(nameOrPath)));
}

// ---- nodes ---------------------------------------------------------------------------------

std::string ScriptScene::createNode(const std::string& type, const std::string& name, const std::string& parent)
{
    if (!parent.empty()) requireNode(parent);
    std::string created;
    check(mHost.createNode(type, name, parent, &created));
    return created;
}

void ScriptScene::deleteNodes(const std::vector<std::string>& names)
{
    for (const std::string& name : names) requireNode(name);
    for (const std::string& name : names)
        if (mHost.exists(name)) check(mHost.deleteNode(name)); // a child goes with its transform
    forgetGoneNodes();
}

std::string ScriptScene::rename(const std::string& node, const std::string& newName)
{
    requireNode(node);
    check(mHost.rename(node, newName));
    std::vector<Key> keys = mKeys;
    for (Key& key : keys)
        if (key.node == node) key.node = newName;
    rebuildAnimation(std::move(keys));
    return newName;
}

void ScriptScene::newScene()
{
    mKeys.clear();
    mAnimation.reset();
    mMeshes.clear();
    mTime = 1.0;
    const std::vector<std::string> nodes = mHost.listNodes();
    for (auto node = nodes.rbegin(); node != nodes.rend(); ++node)
        if (mHost.exists(*node)) check(mHost.deleteNode(*node));
}

std::vector<std::string> ScriptScene::deformer(const std::string& type, const std::string& object,
                                               const std::string& name)
{
    requireNode(object);
    // The name is checked before anything is made: a deformer command does all or nothing.
    const bool validName = std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
    if (!name.empty() && (!validName || (name[0] >= '0' && name[0] <= '9')))
        throw ToolError("'" + name + "' is not a valid node name");
    if (!name.empty() && mHost.exists(name)) throw ToolError("a node named '" + name + "' already exists");
    const std::vector<std::string> before = mHost.listNodes();
    std::string created;
    check(mHost.deformer(type, object, &created));
    if (!name.empty()) {
        check(mHost.rename(created, name));
        created = name;
    }
    std::vector<std::string> nodes{created};
    for (const std::string& node : mHost.listNodes())
        if (node != created && std::find(before.begin(), before.end(), node) == before.end()) nodes.push_back(node);
    return nodes;
}

void ScriptScene::forgetGoneNodes()
{
    std::vector<Key> keys;
    for (const Key& key : mKeys)
        if (mHost.exists(key.node)) keys.push_back(key);
    if (keys.size() != mKeys.size()) rebuildAnimation(std::move(keys));

    std::vector<MObject> live;
    for (const std::string& shape : mHost.listNodes("mesh")) live.push_back(mHost.object(shape));
    mMeshes.erase(std::remove_if(mMeshes.begin(), mMeshes.end(),
                                 [&](const ImportedMesh& m) {
                                     return std::find(live.begin(), live.end(), m.shape) == live.end();
                                 }),
                  mMeshes.end());
}

// ---- attributes ----------------------------------------------------------------------------

void ScriptScene::setAttr(const std::string& text, const std::vector<double>& values, Remarks& remarks)
{
    std::string node, attribute;
    parsePlugName(text, node, attribute);
    const NamedPlug plug = findPlug(mHost, node, attribute);
    checkFinite(values, "the values of " + plug.name);
    AttributeSetting setting{node, attribute, formatNumbers(values), {}, values};
    for (double v : values) setting.parts.push_back(formatNumber(v));
    const Result set = mHost.setAttr(plug.name, settingValues(plug, setting));
    check(set);
    remarks.warnings.insert(remarks.warnings.end(), set.warnings.begin(), set.warnings.end());
    const std::string ignored = ignoredPlugWarning(plug);
    if (!ignored.empty()) remarks.warnings.push_back(ignored);
}

std::vector<double> ScriptScene::getAttr(const std::string& text)
{
    std::string node, attribute;
    parsePlugName(text, node, attribute);
    const NamedPlug plug = findPlug(mHost, node, attribute);
    std::vector<double> values;
    check(mHost.getAttr(plug.name, values));
    return values;
}

std::vector<double> ScriptScene::getAttrAt(const std::string& text, double time)
{
    if (!std::isfinite(time)) throw UsageError("the time must be a finite number");
    applyAnimation(time, nullptr);
    try {
        std::vector<double> values = getAttr(text);
        applyAnimation(mTime, nullptr);
        return values;
    } catch (...) {
        applyAnimation(mTime, nullptr);
        throw;
    }
}

void ScriptScene::connect(const std::string& source, const std::string& destination, bool force)
{
    std::string node, attribute;
    parsePlugName(source, node, attribute);
    findPlug(mHost, node, attribute);
    parsePlugName(destination, node, attribute);
    const NamedPlug target = findPlug(mHost, node, attribute);

    // A keyed number takes its values from its keys: a connection would fight them.
    std::vector<std::string> numbers{node + "." + target.attribute.longName};
    for (const AttributeInfo& component : target.components) numbers.push_back(node + "." + component.longName);
    for (const std::string& number : numbers)
        if (mAnimation && mAnimation->isKeyed(number))
            throw ToolError("cannot connect " + source + " to " + destination + ": " + number +
                            " is keyed; delete its node's keys first");

    const std::string previous = mHost.sourceOf(destination);
    if (force && !previous.empty()) check(mHost.disconnect(previous, destination));
    const Result connected = mHost.connect(source, destination);
    if (!connected && force && !previous.empty()) mHost.connect(previous, destination);
    check(connected);
}

void ScriptScene::disconnect(const std::string& source, const std::string& destination)
{
    std::string node, attribute;
    parsePlugName(source, node, attribute);
    findPlug(mHost, node, attribute);
    parsePlugName(destination, node, attribute);
    findPlug(mHost, node, attribute);
    check(mHost.disconnect(source, destination));
}

// ---- meshes --------------------------------------------------------------------------------

std::vector<std::string> ScriptScene::importMesh(const std::string& path, Remarks& remarks)
{
    if (path.empty() || path == "-") throw UsageError("name the mesh file to read");
    Mesh mesh = readMesh(path);
    for (const std::string& w : mesh.warnings()) remarks.warnings.push_back(w);

    const std::string stem = fs::path(path).stem().string();
    const std::string base = mesh.nodeName().empty() ? stem : mesh.nodeName();
    std::string name = meshNodeName(base, stem);
    for (int n = 1; mHost.exists(name) || mHost.exists(name + "Shape"); ++n)
        name = meshNodeName(base + std::to_string(n), stem);
    const std::string shape = name + "Shape";

    check(mHost.createNode("transform", name));
    try {
        check(mHost.createNode("mesh", shape, name));
        check(mHost.setMesh(shape, mesh.positions(), std::vector<int>(mesh.faceSizes().begin(), mesh.faceSizes().end()),
                            mesh.faceVertexIndices()),
              "the host refused the mesh of " + path + ": ");
    } catch (...) {
        mHost.deleteNode(name);
        throw;
    }
    const std::size_t vertexCount = mesh.vertexCount();
    Mesh::Parts parts = mesh.releaseParts();
    parts.positions = std::vector<double>();
    parts.warnings.clear();
    mMeshes.push_back(ImportedMesh{mHost.object(shape), absolutePath(path), vertexCount, std::move(parts)});
    return {name, shape};
}

const ScriptScene::ImportedMesh* ScriptScene::importedMeshOf(const std::string& shape) const
{
    const MObject object = mHost.object(shape);
    for (const ImportedMesh& m : mMeshes)
        if (m.shape == object) return &m;
    return nullptr;
}

std::vector<std::string> ScriptScene::visibleMeshes() const
{
    std::vector<std::string> shapes;
    for (const std::string& shape : mHost.listNodes("mesh")) {
        std::vector<double> intermediate;
        if (mHost.getAttr(shape + ".intermediateObject", intermediate) && !intermediate.empty() &&
            intermediate[0] != 0.0)
            continue;
        shapes.push_back(shape);
    }
    return shapes;
}

std::string ScriptScene::shapeOf(const std::string& object) const
{
    requireNode(object);
    const std::string type = mHost.typeOf(object);
    if (type == "mesh") return object;
    if (type == "transform") {
        const std::vector<std::string> visible = visibleMeshes();
        for (const std::string& child : mHost.childrenOf(object))
            if (std::find(visible.begin(), visible.end(), child) != visible.end()) return child;
        throw UsageError("transform '" + object + "' has no mesh shape under it");
    }
    throw UsageError("'" + object + "' is a " + type + ", not a mesh");
}

Mesh ScriptScene::sceneMesh(const std::string& shape, const std::string& outputPath, Remarks& remarks)
{
    std::vector<double> points;
    std::vector<int> counts, vertices;
    check(mHost.meshPoints(shape, points), "cannot evaluate " + shape + ": ");
    check(mHost.meshFaces(shape, counts, vertices), "cannot evaluate " + shape + ": ");
    for (std::size_t i = 0; i < points.size(); ++i)
        if (!std::isfinite(points[i]))
            throw ToolError("the points of " + shape + " are not all finite numbers (the first is vertex " +
                            std::to_string(i / 3 + 1) + "): nothing was written");
    MMatrix world;
    check(mHost.worldMatrix(shape, world));
    if (!isIdentity(world)) toWorld(world, points);

    // A mesh read from a file keeps what the file said, as long as its faces are the same.
    const ImportedMesh* imported = importedMeshOf(shape);
    if (imported && imported->vertexCount == points.size() / 3 && imported->parts.faceVertices == vertices &&
        faceSizesOf(counts) == imported->parts.faceSizes) {
        Mesh::Parts parts = imported->parts;
        parts.positions = std::move(points);
        Mesh mesh = Mesh::fromParts(std::move(parts));
        if (meshFormatForWriting(outputPath) == MeshFormat::Obj) {
            const MaterialLibraryReport report = rebaseMaterialLibraries(mesh, imported->path, outputPath);
            remarks.notes.insert(remarks.notes.end(), report.notes.begin(), report.notes.end());
            remarks.warnings.insert(remarks.warnings.end(), report.warnings.begin(), report.warnings.end());
        }
        return mesh;
    }
    Mesh::Parts parts;
    parts.positions = std::move(points);
    parts.faceSizes = faceSizesOf(counts);
    parts.faceVertices = std::move(vertices);
    return Mesh::fromParts(std::move(parts));
}

void ScriptScene::exportScene(const std::string& path, bool force, const std::string& type, Remarks& remarks)
{
    if (path.empty() || path == "-") throw UsageError("name the file to write");
    const MeshFormat format = meshFormatForWriting(path);
    if (!type.empty() && typeFormatName(type) != typeFormatName(meshFormatName(format)))
        throw UsageError("type '" + type + "' does not match " + path + ", which names a " + meshFormatName(format) +
                         " file");
    std::error_code error;
    if (!force && fs::exists(path, error)) throw ToolError(path + " already exists; pass force=True to replace it");

    OutputPlan plan;
    for (const ImportedMesh& m : mMeshes) plan.addInput(m.path, "the mesh file " + m.path);
    for (const PluginInfo& plugin : mHost.plugins()) plan.addInput(plugin.path, "the plug-in " + plugin.path);
    plan.addOutput(path, path);
    plan.check();

    const std::vector<std::string> shapes = visibleMeshes();
    if (shapes.empty()) throw ToolError("the scene has no mesh to write to " + path);
    std::vector<NamedMesh> meshes;
    for (const std::string& shape : shapes) {
        const std::string transform = mHost.parentOf(shape);
        meshes.push_back({transform.empty() ? shape : transform, sceneMesh(shape, path, remarks)});
    }
    const Mesh mesh = mergeMeshes(std::move(meshes));

    FrameFiles files;
    files.write(path, [&](const std::string& temporary) {
        AtomicFile file(temporary);
        FileSink sink(file.stream(), path);
        for (std::string& w : writeMesh(mesh, format, sink, path)) remarks.warnings.push_back(std::move(w));
        file.commit();
    });
    files.commit();
}

std::vector<double> ScriptScene::points(const std::string& object)
{
    const std::string shape = shapeOf(object);
    std::vector<double> points;
    check(mHost.meshPoints(shape, points), "cannot evaluate " + shape + ": ");
    return points;
}

void ScriptScene::setPoints(const std::string& object, std::vector<double> points)
{
    const std::string shape = shapeOf(object);
    checkFinite(points, "the points given for " + shape);
    if (points.size() % 3 != 0) throw UsageError("points come as x, y, z triples");

    // Up the geometry's stream to the mesh that holds it: through the shapes' inMesh and each
    // deformer's output back to its input.
    std::string holder = shape;
    for (int step = 0;; ++step) {
        const std::string source = mHost.sourceOf(holder + ".inMesh");
        if (source.empty()) break;
        const std::string node = source.substr(0, source.find('.'));
        std::string upstream = source;
        const std::size_t open = source.find('[');
        if (mHost.typeOf(node) != "mesh" && open != std::string::npos)
            upstream =
                mHost.sourceOf(node + ".input" + source.substr(open, source.find(']') - open + 1) + ".inputGeometry");
        const std::string next = upstream.substr(0, upstream.find('.'));
        if (upstream.empty() || mHost.typeOf(next) != "mesh" || step > 100)
            throw ToolError("cannot set the points of " + shape + ": its geometry comes from " + source +
                            ", not from a mesh");
        holder = next;
    }

    std::vector<double> current;
    std::vector<int> counts, vertices;
    check(mHost.meshPoints(holder, current), "cannot evaluate " + holder + ": ");
    check(mHost.meshFaces(holder, counts, vertices), "cannot evaluate " + holder + ": ");
    if (points.size() != current.size())
        throw UsageError(shape + " has " + std::to_string(current.size() / 3) + " points, got " +
                         std::to_string(points.size() / 3));
    check(mHost.setMesh(holder, std::move(points), std::move(counts), std::move(vertices)));
}

void ScriptScene::render(const std::string& path, const std::string& viewName, int width, int height,
                         const std::string& object, bool hud, const std::string& shading, Remarks& remarks)
{
    checkPictureName(path);
    View view = View::Persp;
    if (!parseView(viewName, view)) throw UsageError("view '" + viewName + "' is not persp, top, front or side");
    PictureStyle style;
    style.hud = hud;
    if (!parseShading(shading, style.shading))
        throw UsageError("shading '" + shading + "' is not auto, smooth, wire or both");
    if (width < 1 || height < 1 || width > Viewport::kMaxSide || height > Viewport::kMaxSide)
        throw UsageError("size " + std::to_string(width) + "x" + std::to_string(height) + " is outside 1.." +
                         std::to_string(Viewport::kMaxSide) + " on a side");
    std::string shape;
    if (!object.empty()) {
        shape = shapeOf(object);
    } else {
        const std::vector<std::string> shapes = visibleMeshes();
        if (shapes.empty()) throw ToolError("the scene has no mesh to draw");
        if (shapes.size() > 1) {
            std::string names;
            for (const std::string& s : shapes) names += (names.empty() ? "" : ", ") + s;
            throw UsageError("the scene has " + std::to_string(shapes.size()) + " meshes (" + names +
                             "); name the one to draw");
        }
        shape = shapes.front();
    }

    OutputPlan plan;
    for (const ImportedMesh& m : mMeshes) plan.addInput(m.path, "the mesh file " + m.path);
    for (const PluginInfo& plugin : mHost.plugins()) plan.addInput(plugin.path, "the plug-in " + plugin.path);
    plan.addOutput(path, path);
    plan.check();

    std::vector<double> points;
    std::vector<int> counts, vertices;
    check(mHost.meshPoints(shape, points), "cannot evaluate " + shape + ": ");
    check(mHost.meshFaces(shape, counts, vertices), "cannot evaluate " + shape + ": ");
    const std::vector<std::uint32_t> sizes = faceSizesOf(counts);

    // A viewport destroyed while an error unwinds leaves Mesa's context as it is, current and
    // bound to the viewport's freed buffer (the tool's process ends then; this one goes on, and
    // the next picture's context would write into that memory). So an error is held until the
    // viewport has gone down in good order. After an error of the renderer itself (out of
    // memory) its context is left behind all the same, and no more pictures are drawn here.
    if (!mRendererFailure.empty())
        throw ToolError("the off-screen renderer failed earlier in this process (" + mRendererFailure +
                        "); start a new one to draw pictures");
    std::exception_ptr failure;
    try {
        Viewport viewport(width, height);
        try {
            DeformScene scene;
            scene.meshTransform = mHost.parentOf(shape);
            scene.meshShape = shape;
            const SceneMesh mesh{&points, &sizes, &vertices};
            for (const std::string& w : drawScene(viewport, mHost, scene, mesh, view, style))
                remarks.warnings.push_back(w);

            FrameFiles files;
            files.write(path, [&](const std::string& temporary) { viewport.savePng(temporary); });
            files.commit();
        } catch (...) {
            failure = std::current_exception();
        }
    } catch (const RenderError& error) {
        mRendererFailure = error.what();
        throw;
    }
    if (!failure) return;
    try {
        std::rethrow_exception(failure);
    } catch (const RenderError& error) {
        mRendererFailure = error.what();
        throw;
    }
}

// ---- keys and time -------------------------------------------------------------------------

void ScriptScene::rebuildAnimation(std::vector<Key> keys)
{
    const ResolveKey resolve = [this](const Key& key) { return keyedNumbers(mHost, key); };
    std::unique_ptr<Animation> animation =
        keys.empty() ? nullptr : std::make_unique<Animation>(keys, mTangents, resolve);
    mKeys = std::move(keys);
    mAnimation = std::move(animation);
}

void ScriptScene::applyAnimation(double time, Remarks* remarks)
{
    if (!mAnimation) return;
    const std::vector<double> values = mAnimation->valuesAt(time);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string& plug = mAnimation->channels()[i].plug;
        const Result set = mHost.setAttr(plug, values[i]);
        check(set, "cannot set the keyed " + plug + " at time " + formatNumber(time) + ": ");
        if (remarks) remarks->warnings.insert(remarks->warnings.end(), set.warnings.begin(), set.warnings.end());
    }
}

int ScriptScene::setKeyframe(const std::string& text, std::optional<int> frame, std::optional<double> value,
                             Remarks& remarks)
{
    std::string node, attribute;
    parsePlugName(text, node, attribute);
    const NamedPlug plug = findPlug(mHost, node, attribute);
    if (!frame) {
        if (mTime != std::floor(mTime))
            throw UsageError("the current time " + formatNumber(mTime) +
                             " is between frames; keys go on whole "
                             "frames: give the key's time");
        frame = static_cast<int>(mTime);
    }
    if (*frame < -kMaxFrameNumber || *frame > kMaxFrameNumber)
        throw UsageError("frame " + std::to_string(*frame) + " is outside " + std::to_string(-kMaxFrameNumber) + ".." +
                         std::to_string(kMaxFrameNumber));
    if (value && !std::isfinite(*value)) throw UsageError("the value of a key must be a finite number");

    std::vector<double> values;
    if (value)
        values.assign(std::max<std::size_t>(plug.components.size(), 1), *value);
    else
        check(mHost.getAttr(plug.name, values));
    const Key key = makeKey(node, attribute, *frame, values);
    const std::vector<KeyedNumber> numbers = keyedNumbers(mHost, key);

    std::vector<Key> keys = mKeys;
    keys.push_back(key);
    const ResolveKey resolve = [this](const Key& k) { return keyedNumbers(mHost, k); };
    auto animation = std::make_unique<Animation>(keys, mTangents, resolve);

    // The keyed numbers take their curves' values now; a number the host will not set (one
    // driven by a connection) refuses the key, and what was set is put back.
    std::vector<std::pair<std::string, std::vector<double>>> before;
    try {
        for (std::size_t i = 0; i < animation->channels().size(); ++i) {
            const std::string& number = animation->channels()[i].plug;
            if (std::none_of(numbers.begin(), numbers.end(), [&](const KeyedNumber& n) { return n.plug == number; }))
                continue;
            std::vector<double> held;
            check(mHost.getAttr(number, held));
            const Result set = mHost.setAttr(number, animation->valueAt(i, mTime));
            check(set, "cannot key " + number + ": ");
            before.emplace_back(number, held);
            remarks.warnings.insert(remarks.warnings.end(), set.warnings.begin(), set.warnings.end());
        }
    } catch (...) {
        for (const auto& [number, held] : before) mHost.setAttr(number, held);
        throw;
    }
    mKeys = std::move(keys);
    mAnimation = std::move(animation);
    return static_cast<int>(numbers.size());
}

void ScriptScene::setCurrentTime(double time, Remarks& remarks)
{
    if (!std::isfinite(time)) throw UsageError("the time must be a finite number");
    mTime = time;
    applyAnimation(time, &remarks);
}

void ScriptScene::setTangents(Tangents tangents)
{
    mTangents = tangents;
    rebuildAnimation(mKeys);
    Remarks ignored;
    applyAnimation(mTime, &ignored);
}

std::vector<std::string> ScriptScene::keyTexts() const
{
    std::vector<std::string> texts;
    for (const Key& key : mKeys) texts.push_back(keyText(key));
    return texts;
}

void ScriptScene::shutdown()
{
    mKeys.clear();
    mAnimation.reset();
    mMeshes.clear();
    mHost.reset();
}

} // namespace hx
