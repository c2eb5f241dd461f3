// A loaded plug-in library: its name, file, what MFnPlugin recorded about it, and the node
// types it registered.
#pragma once

#include <maya/MObject.h>

#include <string>
#include <vector>

namespace hx {

class Plugin {
public:
    Plugin(std::string name, std::string path, std::string apiVersion, void* handle);
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // The file name without extension ("hxNoise").
    const std::string& name() const { return mName; }
    const std::string& path() const { return mPath; }
    const std::string& vendor() const { return mVendor; }
    const std::string& version() const { return mVersion; }
    const std::string& apiVersion() const { return mApiVersion; }
    void* handle() const { return mHandle; }
    // What initializePlugin and uninitializePlugin receive, and MFnPlugin attaches to.
    const MObject& object() const { return mObject; }
    // Registered by this plug-in, in order.
    const std::vector<unsigned int>& typeIds() const { return mTypeIds; }

    // Inside initializePlugin: MFnPlugin records vendor and version.
    bool isInitializing() const { return mInitializing; }
    void setInitializing(bool initializing) { mInitializing = initializing; }
    void setVendor(std::string vendor, std::string version);
    void addType(unsigned int id) { mTypeIds.push_back(id); }
    void removeType(unsigned int id);

private:
    std::string mName;
    std::string mPath;
    std::string mVendor = "Unknown";
    std::string mVersion = "Unknown";
    std::string mApiVersion;
    void* mHandle = nullptr;
    MObject mObject;
    std::vector<unsigned int> mTypeIds;
    bool mInitializing = false;
};

}  // namespace hx
