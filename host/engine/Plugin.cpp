#include "Plugin.h"

#include "Access.h"
#include "PluginObject.h"

#include <algorithm>

namespace hx {

Plugin::Plugin(std::string name, std::string path, std::string apiVersion, void* handle)
    : mName(std::move(name)), mPath(std::move(path)), mApiVersion(std::move(apiVersion)), mHandle(handle) {
    mObject = Access::wrap(new PluginObject(mName));
}

void Plugin::setVendor(std::string vendor, std::string version) {
    mVendor = std::move(vendor);
    mVersion = std::move(version);
}

void Plugin::removeType(unsigned int id) {
    mTypeIds.erase(std::remove(mTypeIds.begin(), mTypeIds.end(), id), mTypeIds.end());
}

}  // namespace hx
