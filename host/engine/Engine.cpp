#include "Engine.h"

#include "Host.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace hx {

namespace {

std::string hexId(unsigned int id) {
    char hex[16];
    snprintf(hex, sizeof hex, "0x%x", id);
    return hex;
}

}  // namespace

Engine::Engine() {
    registerBuiltins();
    addDefaultNodes();
}

Engine::~Engine() = default;

Engine& Engine::current() { return *Host::instance().mEngine; }

std::shared_ptr<NodeType> Engine::findType(const std::string& name) const {
    for (const auto& type : mTypes)
        if (type->name() == name) return type;
    return nullptr;
}

std::shared_ptr<NodeType> Engine::findType(unsigned int id) const {
    for (const auto& type : mTypes)
        if (type->id() == id) return type;
    return nullptr;
}

Error Engine::registerType(Plugin* plugin, const std::string& name, unsigned int id, MCreatorFunction creator,
                           MInitializeFunction initialize, MPxNode::Type pxType) {
    const std::string who = plugin ? "plug-in '" + plugin->name() + "'" : std::string("the host");
    if (name.empty() || !Scene::isValidName(name))
        return Error::invalid(who + ": '" + name + "' is not a valid node type name");
    if (!creator) return Error::invalid(who + ": node type '" + name + "' has no creator");
    if (findType(name)) return Error::failure(who + ": node type '" + name + "' is already registered");
    if (auto other = findType(id))
        return Error::failure(who + ": type id " + hexId(id) + " of '" + name + "' is already used by node type '" +
                              other->name() + "'");
    if (mInitializing) return Error::failure(who + ": cannot register '" + name + "' while another type initialises");
    std::shared_ptr<NodeType> base;
    BaseKind kind;
    switch (pxType) {
    case MPxNode::kDependNode:
        base = mDependBase;
        kind = BaseKind::Depend;
        break;
    case MPxNode::kLocatorNode:
        base = mLocatorBase;
        kind = BaseKind::Locator;
        break;
    case MPxNode::kDeformerNode:
        base = mDeformerBase;
        kind = BaseKind::Deformer;
        break;
    default:
        return Error(MStatus::kNotImplemented, who + ": node kind " + std::to_string(pxType) + " of '" + name +
                                                   "' is not supported by this host");
    }
    auto type = std::make_shared<NodeType>(name, id, pxType, kind, creator, plugin ? plugin->name() : std::string());
    type->inherit(*base);

    MStatus status;
    mInitializing = type.get();
    try {
        if (initialize) status = initialize();
    } catch (...) {
        status = MStatus(MStatus::kFailure);
        keepReason("initialize of node type '" + name + "' threw an exception");
    }
    mInitializing = nullptr;
    if (!status) {
        // The attributes it made may be offered again by a later, successful attempt.
        type->releaseOwnAttributes();
        return Error::failure(who + ": initialize of node type '" + name + "' failed");
    }
    type->setRegistered(true);
    mTypes.push_back(type);
    if (plugin) plugin->addType(id);
    return Error();
}

Error Engine::deregisterType(Plugin* plugin, unsigned int id) {
    auto type = findType(id);
    if (!type) return Error::failure("no node type with id " + hexId(id) + " is registered");
    if (type->plugin().empty() || !plugin || type->plugin() != plugin->name())
        return Error::failure("node type '" + type->name() + "' was not registered by " +
                              (plugin ? "plug-in '" + plugin->name() + "'" : "this caller"));
    for (Node* node : type->liveNodes())
        if (node->inGraph())
            return Error::failure("node type '" + type->name() + "' is in use by node '" + node->name() + "'");
    removeType(type);
    return Error();
}

void Engine::removeType(const std::shared_ptr<NodeType>& type) {
    // Nodes of the type that live on outside the graph (held by an undone modifier, say)
    // drop their plug-in objects now, while the plug-in's code is still loaded.
    for (Node* node : std::vector<Node*>(type->liveNodes().begin(), type->liveNodes().end())) {
        if (node->inGraph()) mScene.remove(node);
        node->releaseUser();
    }
    type->releaseOwnAttributes();
    type->setRegistered(false);
    mTypes.erase(std::remove(mTypes.begin(), mTypes.end(), type), mTypes.end());
    for (const auto& plugin : mPlugins) plugin->removeType(type->id());
}

Plugin* Engine::findPlugin(const std::string& name) const {
    for (const auto& plugin : mPlugins)
        if (plugin->name() == name) return plugin.get();
    return nullptr;
}

void Engine::reset() {
    // A fault plan would refuse the unloading below, and count its calls.
    mFaults.clear();
    mScene.clear();
    while (!mPlugins.empty()) {
        const std::string name = mPlugins.back()->name();
        if (Error error = unloadPlugin(name)) {
            std::cerr << "reset: " << error.message() << "; unloading it anyway" << std::endl;
            forgetPlugin(mPlugins.back().get());
        }
    }
    mFaults.clear();
    mLatestFailure.clear();
    addDefaultNodes();
}

unsigned char Engine::keepReason(const std::string& reason) {
    const unsigned char slot = static_cast<unsigned char>(mNextReason % 255 + 1);
    ++mNextReason;
    mReasons[slot] = reason;
    mLatestFailure = reason;
    return slot;
}

void Engine::setViewportSize(int width, int height) {
    mPortWidth = width > 0 ? width : 1;
    mPortHeight = height > 0 ? height : 1;
}

}  // namespace hx
