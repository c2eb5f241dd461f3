// The engine: the node type registry, the loaded plug-ins, the scene, the fault plan in
// force and the reasons behind failed statuses. The process-wide host (Host.h) owns the one
// engine; the API's static calls (MPxNode::addAttribute, MFnPlugin::registerNode, MStatus's
// texts, ...) reach it through Engine::current().
#pragma once

#include "Error.h"
#include "Faults.h"
#include "NodeType.h"
#include "Plugin.h"
#include "Scene.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace hx {

class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The engine of the process-wide host.
    static Engine& current();

    // Node types: the host's own ("transform", "mesh", "locator", "time") and the plug-ins'.
    std::shared_ptr<NodeType> findType(const std::string& name) const;
    std::shared_ptr<NodeType> findType(unsigned int id) const;
    const std::vector<std::shared_ptr<NodeType>>& types() const { return mTypes; }
    // Registers a plug-in's node type and runs its initialiser (`plugin` null: the caller
    // is not a plug-in).
    Error registerType(Plugin* plugin, const std::string& name, unsigned int id, MCreatorFunction creator,
                       MInitializeFunction initialize, MPxNode::Type pxType);
    Error deregisterType(Plugin* plugin, unsigned int id);
    // The type whose initialiser is running (addAttribute and attributeAffects add to it).
    NodeType* initializing() const { return mInitializing; }

    // Plug-ins. `warnings` receives what the host had to mend after a failed load: node
    // types the plug-in left registered.
    Error loadPlugin(const std::string& path, std::vector<std::string>* warnings = nullptr);
    Error unloadPlugin(const std::string& name);
    Plugin* findPlugin(const std::string& name) const;
    const std::vector<std::unique_ptr<Plugin>>& plugins() const { return mPlugins; }

    // Empties the scene (but for its default nodes) and unloads every plug-in; the host's
    // own types remain.
    void reset();

    Scene& scene() { return mScene; }
    FaultInjector& faults() { return mFaults; }

    // The reasons failed statuses carry (MStatus::errorString): a status names its reason by
    // slot (1-255), so a status older than 255 newer failures may show a newer reason.
    unsigned char keepReason(const std::string& reason);
    const std::string& reason(unsigned char slot) const { return mReasons[slot]; }
    // The latest reason kept: what a bare failure returned by a plug-in is taken to mean.
    const std::string& latestFailure() const { return mLatestFailure; }
    void clearLatestFailure() { mLatestFailure.clear(); }

    // The viewport M3dView describes.
    int portWidth() const { return mPortWidth; }
    int portHeight() const { return mPortHeight; }
    void setViewportSize(int width, int height);

private:
    // The host's own node types (BuiltinTypes.cpp) and the nodes every scene has.
    void registerBuiltins();
    void addDefaultNodes();
    void removeType(const std::shared_ptr<NodeType>& type);
    // Removes the plug-in with the types it left registered (their names returned), then
    // unloads its library.
    std::vector<std::string> forgetPlugin(Plugin* plugin);

    // Types the plug-in kinds build on; never instantiated themselves.
    std::shared_ptr<NodeType> mDependBase, mDagBase, mLocatorBase, mDeformerBase;
    std::vector<std::shared_ptr<NodeType>> mTypes;
    NodeType* mInitializing = nullptr;
    std::vector<std::unique_ptr<Plugin>> mPlugins;
    Scene mScene;
    FaultInjector mFaults;
    std::array<std::string, 256> mReasons;
    unsigned int mNextReason = 0;
    std::string mLatestFailure;
    int mPortWidth = 640;
    int mPortHeight = 480;
};

}  // namespace hx
