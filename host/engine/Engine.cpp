#include "Engine.h"

#include "Access.h"
#include "Faults.h"

#include <maya/MPxNode.h>

#include <algorithm>
#include <iostream>

namespace hx {

namespace {

// Templates the plug-in kinds inherit from; never instantiated themselves.
struct BaseTemplates {
    std::shared_ptr<NodeType> depend, dag, locator, deformer;
};

BaseTemplates& templates() {
    static BaseTemplates t;
    return t;
}

void* createPlainNode() { return new MPxNode(); }

}  // namespace

Engine& Engine::get() {
    // Never destroyed: plug-ins' static handles may still release objects at exit.
    static Engine* engine = new Engine();
    return *engine;
}

Engine::Engine() { registerBuiltins(); }

void Engine::registerBuiltins() {
    const BaseAttributes& b = baseAttributes();
    BaseTemplates& t = templates();

    t.depend = std::make_shared<NodeType>("dependNode", 0, MPxNode::kDependNode, BaseKind::Depend);
    for (const auto& a : {b.message, b.caching, b.isHistoricallyInteresting, b.nodeState})
        t.depend->add(a.get());

    t.dag = std::make_shared<NodeType>("dagNode", 0, MPxNode::kDependNode, BaseKind::Transform);
    t.dag->inherit(*t.depend);
    for (const auto& a : {b.matrix, b.inverseMatrix, b.worldMatrix, b.worldInverseMatrix, b.parentMatrix,
                          b.parentInverseMatrix, b.visibility, b.intermediateObject})
        t.dag->add(a.get());
    t.dag->addAffects(b.matrix.get(), b.inverseMatrix.get());
    t.dag->addAffects(b.matrix.get(), b.worldMatrix.get());
    t.dag->addAffects(b.parentMatrix.get(), b.worldMatrix.get());
    t.dag->addAffects(b.parentMatrix.get(), b.parentInverseMatrix.get());
    t.dag->addAffects(b.worldMatrix.get(), b.worldInverseMatrix.get());
    // The parent's placement reaches parentMatrix through the DAG, not through an edge.
    t.dag->markComputed(b.parentMatrix.get());
    t.dag->markComputed(b.matrix.get());

    auto transform = std::make_shared<NodeType>("transform", 0x5846524D, MPxNode::kTransformNode,
                                                BaseKind::Transform);
    transform->inherit(*t.dag);
    for (const auto& a : {b.translate, b.rotate, b.scale, b.rotateOrder}) {
        transform->add(a.get());
        transform->addAffects(a.get(), b.matrix.get());
    }
    transform->mCreator = createPlainNode;
    mTypes.push_back(transform);

    auto mesh = std::make_shared<NodeType>("mesh", 0x444D5348, MPxNode::kSurfaceShape, BaseKind::Mesh);
    mesh->inherit(*t.dag);
    mesh->add(b.inMesh.get());
    mesh->add(b.outMesh.get());
    mesh->addAffects(b.inMesh.get(), b.outMesh.get());
    mesh->mCreator = createPlainNode;
    mTypes.push_back(mesh);

    t.locator = std::make_shared<NodeType>("locatorShape", 0, MPxNode::kLocatorNode, BaseKind::Locator);
    t.locator->inherit(*t.dag);
    for (const auto& a : {b.underWorldObject, b.localPosition, b.worldPosition, b.localScale,
                          b.nodeBoundingBox, b.center, b.instObjGroups})
        t.locator->add(a.get());
    t.locator->addAffects(b.worldMatrix.get(), b.worldPosition.get());

    t.deformer = std::make_shared<NodeType>("geometryFilter", 0, MPxNode::kDeformerNode, BaseKind::Deformer);
    t.deformer->inherit(*t.depend);
    for (const auto& a : {b.input, b.outputGeom, b.envelope, b.weightList}) t.deformer->add(a.get());
    for (const auto& a : {b.inputGeom, b.groupId, b.envelope, b.weights})
        t.deformer->addAffects(a.get(), b.outputGeom.get());

    for (const auto& type : {t.depend, t.dag, t.locator, t.deformer})
        for (const auto& a : type->mAttributes) a->mAdded = true;
    for (const auto& type : mTypes)
        for (const auto& a : type->mAttributes) a->mAdded = true;
}

std::shared_ptr<NodeType> Engine::findType(const std::string& name) const {
    for (const auto& type : mTypes)
        if (type->mName == name) return type;
    return nullptr;
}

std::shared_ptr<NodeType> Engine::findType(unsigned int id) const {
    for (const auto& type : mTypes)
        if (type->mId == id) return type;
    return nullptr;
}

MStatus Engine::registerType(Plugin* plugin, const std::string& name, unsigned int id,
                             MCreatorFunction creator, MInitializeFunction initialize,
                             MPxNode::Type pxType) {
    const std::string who = plugin ? "plug-in '" + plugin->mName + "'" : std::string("the host");
    if (name.empty() || !Scene::isValidName(name))
        return Access::fail(MStatus::kInvalidParameter, who + ": '" + name + "' is not a valid node type name");
    if (!creator)
        return Access::fail(MStatus::kInvalidParameter, who + ": node type '" + name + "' has no creator");
    if (findType(name))
        return Access::fail(MStatus::kFailure, who + ": node type '" + name + "' is already registered");
    if (auto other = findType(id)) {
        char hex[16];
        snprintf(hex, sizeof hex, "0x%x", id);
        return Access::fail(MStatus::kFailure, who + ": type id " + hex + " of '" + name +
                                                   "' is already used by node type '" + other->mName + "'");
    }
    if (mInitializing)
        return Access::fail(MStatus::kFailure, who + ": cannot register '" + name +
                                                   "' while another type initialises");
    BaseTemplates& t = templates();
    std::shared_ptr<NodeType> base;
    BaseKind kind;
    switch (pxType) {
    case MPxNode::kDependNode: base = t.depend; kind = BaseKind::Depend; break;
    case MPxNode::kLocatorNode: base = t.locator; kind = BaseKind::Locator; break;
    case MPxNode::kDeformerNode: base = t.deformer; kind = BaseKind::Deformer; break;
    default:
        return Access::fail(MStatus::kNotImplemented, who + ": node kind " + std::to_string(pxType) +
                                                          " of '" + name + "' is not supported by this host");
    }
    auto type = std::make_shared<NodeType>(name, id, pxType, kind);
    type->inherit(*base);
    type->mCreator = creator;
    type->mPlugin = plugin ? plugin->mName : std::string();

    MStatus status;
    mInitializing = type.get();
    try {
        if (initialize) status = initialize();
    } catch (...) {
        status = Access::fail(MStatus::kFailure, "initialize of node type '" + name + "' threw an exception");
    }
    mInitializing = nullptr;
    if (!status) {
        // The attributes it made may be offered again by a later, successful attempt.
        for (size_t i = type->mInheritedCount; i < type->mAttributes.size(); ++i)
            type->mAttributes[i]->mAdded = false;
        return Access::fail(MStatus::kFailure, who + ": initialize of node type '" + name + "' failed");
    }
    mTypes.push_back(type);
    if (plugin) plugin->mTypeIds.push_back(id);
    return MStatus();
}

MStatus Engine::deregisterType(Plugin* plugin, unsigned int id) {
    auto type = findType(id);
    char hex[16];
    snprintf(hex, sizeof hex, "0x%x", id);
    if (!type) return Access::fail(MStatus::kFailure, std::string("no node type with id ") + hex + " is registered");
    if (type->mPlugin.empty() || !plugin || type->mPlugin != plugin->mName)
        return Access::fail(MStatus::kFailure, "node type '" + type->mName + "' was not registered by " +
                                                   (plugin ? "plug-in '" + plugin->mName + "'" : "this caller"));
    for (Node* node : type->mLiveNodes)
        if (node->mInGraph)
            return Access::fail(MStatus::kFailure, "node type '" + type->mName + "' is in use by node '" +
                                                       node->mName + "'");
    removeType(type);
    return MStatus();
}

void Engine::removeType(const std::shared_ptr<NodeType>& type) {
    // Nodes of the type that live on outside the graph (held by an undone modifier, say)
    // drop their plug-in objects now, while the plug-in's code is still loaded.
    for (Node* node : std::vector<Node*>(type->mLiveNodes.begin(), type->mLiveNodes.end())) {
        if (node->mInGraph) mScene.remove(node);
        node->releaseUser();
    }
    for (size_t i = type->mInheritedCount; i < type->mAttributes.size(); ++i)
        type->mAttributes[i]->mAdded = false;
    mTypes.erase(std::remove(mTypes.begin(), mTypes.end(), type), mTypes.end());
    for (const auto& plugin : mPlugins) {
        auto& ids = plugin->mTypeIds;
        ids.erase(std::remove(ids.begin(), ids.end(), type->mId), ids.end());
    }
}

Plugin* Engine::findPlugin(const std::string& name) const {
    for (const auto& plugin : mPlugins)
        if (plugin->mName == name) return plugin.get();
    return nullptr;
}

void Engine::reset() {
    // A fault plan would refuse the unloading below, and count its calls.
    clearFaultPlan();
    mScene.clear();
    while (!mPlugins.empty()) {
        std::string error;
        const std::string name = mPlugins.back()->mName;
        if (!unloadPlugin(name, error)) {
            std::cerr << "reset: " << error << "; unloading it anyway" << std::endl;
            forgetPlugin(mPlugins.back().get());
        }
    }
    clearFaultPlan();
    mLastError.clear();
}

}  // namespace hx
