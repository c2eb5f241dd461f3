// The host as the hxnoise tool and the tests drive it: plug-ins, node types, nodes,
// attributes, connections, meshes, the deformer command and locator drawing, by name.
//
// Every call that can fail returns a Result: on failure nothing has changed and `error`
// says what was wrong. Single-threaded: call from one thread.
#pragma once

#include <maya/MBoundingBox.h>
#include <maya/MFnData.h>
#include <maya/MFnNumericData.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MPxNode.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hx {

class Engine;

struct Result {
    bool ok = true;
    std::string error;                  // why it failed (empty on success)
    std::vector<std::string> warnings;  // e.g. a value clamped to an attribute's limits

    explicit operator bool() const { return ok; }
    static Result failure(std::string why);
};

struct AttributeInfo {
    std::string longName;
    std::string shortName;
    std::string kind;  // "numeric", "typed", "matrix", "compound" or "message"
    // "float", "int", "bool", "double3", "float3", "vectorArray", "mesh", "matrix", "enum",
    // "distance", "angle", "time", ...
    std::string valueType;
    MFnNumericData::Type numericType = MFnNumericData::kInvalid;
    MFnData::Type dataType = MFnData::kInvalid;
    std::vector<double> defaultValue;  // numeric attributes: one per component
    std::optional<double> min;
    std::optional<double> max;
    bool keyable = false;
    bool storable = false;
    bool readable = false;
    bool writable = false;
    bool connectable = false;
    bool hidden = false;
    bool array = false;
    bool usedAsColor = false;
    bool inherited = false;                                 // comes with the host's base type rather than the plug-in
    std::vector<std::pair<short, std::string>> enumFields;  // an enum's values and their names
    std::string parent;                                     // long name of the compound parent, if any
    std::vector<std::string> children;
    std::vector<std::string> affects;  // long names of the attributes it dirties
};

struct NodeTypeInfo {
    std::string name;
    unsigned int id = 0;
    MPxNode::Type kind = MPxNode::kDependNode;
    std::string plugin;                     // empty for the host's own types
    std::vector<AttributeInfo> attributes;  // inherited first, then in the order added
};

struct PluginInfo {
    std::string name;
    std::string path;
    std::string vendor;
    std::string version;
    std::string apiVersion;
    std::vector<std::string> nodeTypes;
};

class Host {
public:
    // The process-wide host.
    static Host& instance();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    // Empties the scene and unloads every plug-in (for tests); built-in types and the nodes
    // every scene has (time1) remain.
    void reset();

    // Plug-ins. The name of a plug-in is its file name without extension ("hxNoise"). A
    // failed load leaves none of the plug-in's node types registered: the warnings name
    // those the plug-in left and the host removed.
    Result loadPlugin(const std::string& path);
    Result unloadPlugin(const std::string& name);
    std::vector<PluginInfo> plugins() const;

    // Node types: the host's own ("transform", "mesh", "locator", "time") and the plug-ins'.
    std::vector<std::string> nodeTypes() const;
    std::optional<NodeTypeInfo> nodeType(const std::string& typeName) const;

    // Nodes. A shape created without a parent gets a new transform above it. An empty name
    // gives the automatic one (type name + lowest free number); `created` receives it. Every
    // scene has the node time1, whose outTime is the current frame: it cannot be deleted or
    // renamed, and listNodes leaves it out.
    Result createNode(const std::string& type, const std::string& name = "", const std::string& parent = "",
                      std::string* created = nullptr);
    Result deleteNode(const std::string& node);
    Result rename(const std::string& node, const std::string& newName);
    bool exists(const std::string& node) const;
    std::vector<std::string> listNodes(const std::string& type = "") const;  // creation order
    std::string typeOf(const std::string& node) const;
    std::string parentOf(const std::string& node) const;
    std::vector<std::string> childrenOf(const std::string& node) const;
    MObject object(const std::string& node) const;  // for the API's function sets

    // Attributes, as "node.attr", "node.attr[2]", "node.input[0].inputGeometry",
    // "node.weightList[0].weights[5]" (a deformer's painted weights); long or short names.
    // Numbers go per component (float3: 3), per child (translate: 3), 16 for a matrix (row by
    // row), 3 per vector for a vector array. Angles are in degrees, distances in centimetres,
    // times in frames (24 a second), an enum by its value. Values outside an attribute's
    // limits are clamped, with a warning. A call that evaluates (getAttr, meshPoints,
    // meshFaces, drawLocator) fails when a compute or deform on the way returned a failure or
    // threw: `error` names the node and plug of each, and the plug-in for an exception; the
    // values are still what the evaluation left. The failed plugs stay dirty, so the next
    // call evaluates them again.
    Result setAttr(const std::string& plug, const std::vector<double>& values);
    Result setAttr(const std::string& plug, double value) { return setAttr(plug, std::vector<double>{value}); }
    Result getAttr(const std::string& plug, std::vector<double>& values);
    bool isDirty(const std::string& plug) const;

    Result connect(const std::string& source, const std::string& destination);
    Result disconnect(const std::string& source, const std::string& destination);
    std::string sourceOf(const std::string& plug) const;  // "" when not connected
    std::vector<std::string> destinationsOf(const std::string& plug) const;
    // Every connection into or out of the node's plugs as (source, destination) plug names,
    // in the order of the node type's attributes, then of element indices.
    std::vector<std::pair<std::string, std::string>> connectionsOf(const std::string& node) const;

    // Meshes: points as x, y, z per point; faces as vertex counts and vertex indices.
    Result setMesh(const std::string& shape, std::vector<double> points, std::vector<int> faceCounts,
                   std::vector<int> faceVertices);
    // The shape's evaluated (deformed) geometry, copied into `points`.
    Result meshPoints(const std::string& shape, std::vector<double>& points);
    // The same, lent instead of copied: the points the evaluation left, which never change
    // (a later evaluation or setMesh writes new ones) and stay valid while `points` holds them.
    Result meshPoints(const std::string& shape, std::shared_ptr<const std::vector<double>>& points);
    Result meshFaces(const std::string& shape, std::vector<int>& faceCounts, std::vector<int>& faceVertices);

    // The host's deformer command: puts a deformer of `type` on a mesh shape (or the mesh
    // under a transform), keeps the original geometry in an intermediate "<shape>Orig",
    // then runs the deformer's accessoryNodeSetup. All or nothing.
    Result deformer(const std::string& type, const std::string& shape, std::string* created = nullptr);

    // DAG placement and the viewport.
    Result worldMatrix(const std::string& node, MMatrix& matrix);
    std::vector<std::string> locators() const;  // locator shapes in the scene
    // Calls the locator's draw; the caller has set the GL model-view to the locator's
    // world matrix (see worldMatrix) and made its context current.
    // `style` and `status` are M3dView::DisplayStyle and DisplayStatus values (this header
    // keeps clear of M3dView.h, whose X11 headers define macros such as None and Bool).
    Result drawLocator(const std::string& locator, int style = 3 /* kWireFrame */, int status = 2 /* kDormant */);
    Result locatorBounds(const std::string& locator, bool& bounded, MBoundingBox& box);
    void setViewportSize(int width, int height);

    // The threads the host lends plug-ins through MThreadPool: the calling thread and
    // count - 1 workers; 0 (the default) is one per processor core, 1 runs every task on
    // the calling thread. Applies from the next parallel region; reset() keeps it.
    void setThreadCount(unsigned int count);
    unsigned int threadCount() const;  // the number in use: never 0

    // The error of the latest failed call.
    const std::string& lastError() const { return mLastError; }

private:
    friend class Engine;
    Host();
    Result done(Result result);

    std::unique_ptr<Engine> mEngine;
    std::string mLastError;
};

}  // namespace hx
