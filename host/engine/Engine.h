// The process-wide host: node type registry, scene, loaded plug-ins, host attributes.
#pragma once

#include "Attribute.h"
#include "NodeType.h"
#include "Scene.h"

#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <memory>
#include <string>
#include <vector>

namespace hx {

// The host's own attribute objects, shared by every type built on the same base.
struct BaseAttributes {
    BaseAttributes();

    Ref<Attribute> message, isHistoricallyInteresting, caching, nodeState;
    // DAG nodes
    Ref<Attribute> matrix, inverseMatrix, worldMatrix, worldInverseMatrix, parentMatrix,
        parentInverseMatrix, visibility, intermediateObject;
    // transform
    Ref<Attribute> translate, translateX, translateY, translateZ;
    Ref<Attribute> rotate, rotateX, rotateY, rotateZ;
    Ref<Attribute> scale, scaleX, scaleY, scaleZ;
    Ref<Attribute> rotateOrder;
    // mesh
    Ref<Attribute> inMesh, outMesh;
    // locator shapes
    Ref<Attribute> underWorldObject, localPosition, localPositionX, localPositionY, localPositionZ;
    Ref<Attribute> worldPosition, worldPositionX, worldPositionY, worldPositionZ;
    Ref<Attribute> localScale, localScaleX, localScaleY, localScaleZ;
    Ref<Attribute> nodeBoundingBox, nodeBoundingBoxMin, nodeBoundingBoxMinX, nodeBoundingBoxMinY,
        nodeBoundingBoxMinZ, nodeBoundingBoxMax, nodeBoundingBoxMaxX, nodeBoundingBoxMaxY,
        nodeBoundingBoxMaxZ, nodeBoundingBoxSize, nodeBoundingBoxSizeX, nodeBoundingBoxSizeY,
        nodeBoundingBoxSizeZ;
    Ref<Attribute> center, boundingBoxCenterX, boundingBoxCenterY, boundingBoxCenterZ;
    Ref<Attribute> instObjGroups;
    // deformers
    Ref<Attribute> input, inputGeom, groupId, outputGeom, envelope, weightList, weights;
};
const BaseAttributes& baseAttributes();

struct Plugin {
    std::string mName;
    std::string mPath;
    std::string mVendor = "Unknown";
    std::string mVersion = "Unknown";
    std::string mApiVersion;
    void* mHandle = nullptr;
    MObject mObject;                 // what initializePlugin/uninitializePlugin receive
    std::vector<unsigned int> mTypeIds;  // registered by this plug-in, in order
    bool mInitializing = false;          // inside initializePlugin: MFnPlugin records vendor/version
};

class Engine {
public:
    static Engine& get();

    // Registry
    std::shared_ptr<NodeType> findType(const std::string& name) const;
    std::shared_ptr<NodeType> findType(unsigned int id) const;
    const std::vector<std::shared_ptr<NodeType>>& types() const { return mTypes; }
    MStatus registerType(Plugin* plugin, const std::string& name, unsigned int id,
                         MCreatorFunction creator, MInitializeFunction initialize,
                         MPxNode::Type pxType);
    MStatus deregisterType(Plugin* plugin, unsigned int id);
    NodeType* initializing() const { return mInitializing; }

    // Plug-ins. `warnings` receives what the host had to mend after a failed load: node
    // types the plug-in left registered.
    bool loadPlugin(const std::string& path, std::string& error, std::vector<std::string>* warnings = nullptr);
    bool unloadPlugin(const std::string& name, std::string& error);
    Plugin* findPlugin(const std::string& name) const;
    const std::vector<std::unique_ptr<Plugin>>& plugins() const { return mPlugins; }

    // Empties the scene and unloads every plug-in; the host's own types remain.
    void reset();

    Scene& scene() { return mScene; }

    // The detail of the latest failure, which MStatus::errorString adds to its code's text.
    void setError(const std::string& text) { mLastError = text; }
    const std::string& lastError() const { return mLastError; }

    int mPortWidth = 640;
    int mPortHeight = 480;

private:
    Engine();
    void registerBuiltins();
    void removeType(const std::shared_ptr<NodeType>& type);
    // Removes the plug-in with the types it left registered (their names returned), then
    // unloads its library.
    std::vector<std::string> forgetPlugin(Plugin* plugin);

    std::vector<std::shared_ptr<NodeType>> mTypes;
    NodeType* mInitializing = nullptr;
    std::vector<std::unique_ptr<Plugin>> mPlugins;
    Scene mScene;
    std::string mLastError;
};

// Host-side compute of the base types (DAG matrices, mesh pass-through, deformer
// outputGeom): what runs when a node's compute answers kUnknownParameter.
MStatus builtinCompute(Scene& scene, const PlugRef& plug);
MMatrix worldMatrixOf(Scene& scene, Node* node);

}  // namespace hx
