// Loading and unloading plug-in libraries, as the host does: dlopen, check MApiVersion,
// initializePlugin; later uninitializePlugin, then dlclose.
#include "Access.h"
#include "Engine.h"

#include <maya/MTypes.h>

#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace hx {

namespace {

using EntryPoint = MStatus (*)(MObject);

const char* kInitializeSymbol = "_Z16initializePlugin7MObject";
const char* kUninitializeSymbol = "_Z18uninitializePlugin7MObject";

std::string pluginName(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    const size_t dot = name.find('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// The host accepts plug-ins built against any 2012 API revision.
bool compatibleVersion(const char* version) {
    const size_t n = strnlen(version, 16);
    if (n != 6) return false;
    for (size_t i = 0; i < n; ++i)
        if (version[i] < '0' || version[i] > '9') return false;
    return strncmp(version, "2012", 4) == 0;
}

// Why an entry point failed: the reason its status carries, else the latest failure the
// host saw during the call, else the status code's own text.
std::string failureDetail(const MStatus& status, const std::string& latest) {
    if (Access::internalCode(status) != 0 || latest.empty()) return status.errorString().asChar();
    return latest;
}

MStatus callEntry(EntryPoint entry, const MObject& object, const std::string& what) {
    try {
        return entry(object);
    } catch (const std::exception& e) {
        return Access::status(Error::failure(what + " threw: " + e.what()));
    } catch (...) {
        return Access::status(Error::failure(what + " threw an exception"));
    }
}

}  // namespace

Error Engine::loadPlugin(const std::string& path, std::vector<std::string>* warnings) {
    const std::string name = pluginName(path);
    const std::string prefix = "cannot load plug-in '" + name + "' (" + path + "): ";
    if (findPlugin(name)) return Error::failure(prefix + "a plug-in of that name is already loaded");
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return Error(MStatus::kNotFound, prefix + "no such file");
    if (!S_ISREG(info.st_mode))
        return Error::invalid(prefix + (S_ISDIR(info.st_mode) ? "it is a directory" : "it is not a regular file"));
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        // dlerror() repeats the path in front of its reason; the prefix already names it.
        const char* reason = dlerror();
        std::string why = reason ? reason : "";
        const std::string repeated = path + ": ";
        if (why.compare(0, repeated.size(), repeated) == 0) why.erase(0, repeated.size());
        return Error::failure(prefix + (why.empty() ? "not a loadable shared object" : why));
    }
    auto refuse = [&](const std::string& why) {
        dlclose(handle);
        return Error::failure(prefix + why);
    };
    const char* version = static_cast<const char*>(dlsym(handle, "MApiVersion"));
    if (!version) return refuse("it does not export MApiVersion");
    if (!compatibleVersion(version))
        return refuse(std::string("it was built for API version \"") + std::string(version, strnlen(version, 16)) +
                      "\", this host provides \"" + std::to_string(MAYA_API_VERSION) + "\"");
    auto initialize = reinterpret_cast<EntryPoint>(dlsym(handle, kInitializeSymbol));
    if (!initialize) return refuse("it does not define initializePlugin(MObject)");
    auto uninitialize = reinterpret_cast<EntryPoint>(dlsym(handle, kUninitializeSymbol));
    if (!uninitialize) return refuse("it does not define uninitializePlugin(MObject)");

    mPlugins.push_back(std::make_unique<Plugin>(name, path, version, handle));
    Plugin* loaded = mPlugins.back().get();

    mLatestFailure.clear();
    loaded->setInitializing(true);
    const MStatus status = callEntry(initialize, loaded->object(), "initializePlugin");
    loaded->setInitializing(false);
    if (!status) {
        const Error error(status.statusCode(),
                          prefix + "initializePlugin failed: " + failureDetail(status, mLatestFailure));
        // The host removes what it left registered, and says so.
        for (const std::string& type : forgetPlugin(loaded))
            if (warnings)
                warnings->push_back("plug-in '" + name + "' left node type '" + type +
                                    "' registered after its initializePlugin failed; removed");
        return error;
    }
    return Error();
}

Error Engine::unloadPlugin(const std::string& name) {
    Plugin* plugin = findPlugin(name);
    if (!plugin) return Error(MStatus::kNotFound, "cannot unload plug-in '" + name + "': it is not loaded");
    for (unsigned int id : plugin->typeIds()) {
        auto type = findType(id);
        if (!type) continue;
        for (Node* node : type->liveNodes())
            if (node->inGraph())
                return Error::failure("cannot unload plug-in '" + name + "': node '" + node->name() +
                                      "' of its type '" + type->name() + "' is in the scene");
    }
    auto uninitialize = reinterpret_cast<EntryPoint>(dlsym(plugin->handle(), kUninitializeSymbol));
    mLatestFailure.clear();
    const MStatus status = callEntry(uninitialize, plugin->object(), "uninitializePlugin");
    if (!status) {
        // Its types may still be registered and need its code: it stays loaded.
        return Error(status.statusCode(), "cannot unload plug-in '" + name +
                                              "': uninitializePlugin failed: " + failureDetail(status, mLatestFailure));
    }
    forgetPlugin(plugin);
    return Error();
}

std::vector<std::string> Engine::forgetPlugin(Plugin* plugin) {
    // Types it left registered would point into code about to be unmapped.
    std::vector<std::string> removed;
    for (const auto& type : std::vector<std::shared_ptr<NodeType>>(mTypes))
        if (!type->plugin().empty() && type->plugin() == plugin->name()) {
            removed.push_back(type->name());
            removeType(type);
        }
    void* handle = plugin->handle();
    mPlugins.erase(std::remove_if(mPlugins.begin(), mPlugins.end(),
                                  [plugin](const std::unique_ptr<Plugin>& p) { return p.get() == plugin; }),
                   mPlugins.end());
    if (handle) dlclose(handle);
    return removed;
}

}  // namespace hx
