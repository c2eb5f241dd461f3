#define MNoVersionString
#include <maya/MFnPlugin.h>

#include "../engine/Engine.h"
#include "../engine/PluginObject.h"
#include "FnSet.h"

#include <cstdlib>

using hx::Access;

namespace {

hx::Plugin* pluginOf(const MObject& object) {
    auto* handle = Access::as<hx::PluginObject>(object);
    return handle ? hx::Engine::current().findPlugin(handle->name()) : nullptr;
}

MString field(const MObject& object, const std::string& (hx::Plugin::*member)() const, MStatus* ReturnStatus) {
    hx::Plugin* plugin = pluginOf(object);
    hx::report(ReturnStatus, plugin ? MStatus() : hx::notAttached("MFnPlugin"));
    return plugin ? MString((plugin->*member)().c_str()) : MString();
}

}  // namespace

MFnPlugin::MFnPlugin() {}

MFnPlugin::MFnPlugin(MObject& object, const char* vendor, const char* version, const char* requiredApiVersion,
                     MStatus* ReturnStatus) {
    MStatus status = attach(object);
    hx::Plugin* plugin = pluginOf(mObject);
    if (status && !plugin) status = Access::fail(MStatus::kInvalidParameter, "the plug-in is no longer loaded");
    if (status && requiredApiVersion && std::string(requiredApiVersion) != "Any" &&
        std::atoi(requiredApiVersion) > MAYA_API_VERSION)
        status = Access::fail(MStatus::kFailure, std::string("the plug-in requires API version ") + requiredApiVersion);
    if (status && plugin->isInitializing())
        plugin->setVendor(vendor ? vendor : "Unknown", version ? version : "Unknown");
    hx::report(ReturnStatus, status);
}

MFnPlugin::~MFnPlugin() {}
MFn::Type MFnPlugin::type() const { return MFn::kPlugin; }
const char* MFnPlugin::className() { return "MFnPlugin"; }

MStatus MFnPlugin::registerNode(const MString& typeName, const MTypeId& typeId, MCreatorFunction creatorFunction,
                                MInitializeFunction initFunction, MPxNode::Type type, const MString*) {
    if (MStatus fault = hx::injectedFault("MFnPlugin::registerNode", typeName.asChar()); !fault) return fault;
    hx::Plugin* plugin = pluginOf(mObject);
    if (!plugin) return hx::notAttached("MFnPlugin");
    return Access::status(hx::Engine::current().registerType(plugin, typeName.asChar(), typeId.id(), creatorFunction,
                                                             initFunction, type));
}

MStatus MFnPlugin::deregisterNode(const MTypeId& typeId) {
    const auto type = hx::Engine::current().findType(typeId.id());
    const std::string_view typeName = type ? std::string_view(type->name()) : std::string_view();
    if (MStatus fault = hx::injectedFault("MFnPlugin::deregisterNode", typeName); !fault) return fault;
    hx::Plugin* plugin = pluginOf(mObject);
    if (!plugin) return hx::notAttached("MFnPlugin");
    return Access::status(hx::Engine::current().deregisterType(plugin, typeId.id()));
}

MString MFnPlugin::vendor(MStatus* st) const { return field(mObject, &hx::Plugin::vendor, st); }
MString MFnPlugin::version(MStatus* st) const { return field(mObject, &hx::Plugin::version, st); }
MString MFnPlugin::apiVersion(MStatus* st) const { return field(mObject, &hx::Plugin::apiVersion, st); }
MString MFnPlugin::name(MStatus* st) const { return field(mObject, &hx::Plugin::name, st); }
MString MFnPlugin::loadPath(MStatus* ReturnStatus) const {
    MString path = field(mObject, &hx::Plugin::path, ReturnStatus);
    const std::string text = path.asChar();
    const size_t slash = text.find_last_of('/');
    return MString(slash == std::string::npos ? "." : text.substr(0, slash).c_str());
}
