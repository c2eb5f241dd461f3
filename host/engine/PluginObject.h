// What MObject points at for a loaded plug-in: initializePlugin/uninitializePlugin get it,
// and MFnPlugin attaches to it.
#pragma once

#include "Object.h"

#include <string>

namespace hx {

class PluginObject final : public Object {
public:
    explicit PluginObject(std::string name) : mName(std::move(name)) {}
    MFn::Type apiType() const override { return MFn::kPlugin; }

    // By name, so that a handle kept past unloading finds nothing rather than freed memory.
    const std::string& name() const { return mName; }

private:
    std::string mName;
};

}  // namespace hx
