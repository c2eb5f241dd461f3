// Storage of one plug on one node: its value, whether it is dirty, and its connections.
// Connections change only through the scene (Scene::connect, Scene::disconnect), which
// keeps both ends of each in step.
#pragma once

#include "PlugRef.h"
#include "Value.h"

#include <optional>
#include <vector>

namespace hx {

class Cell {
public:
    Value& value() { return mValue; }
    const Value& value() const { return mValue; }

    bool isDirty() const { return mDirty; }
    void setDirty(bool dirty) { mDirty = dirty; }

    // One source per destination plug.
    const std::optional<PlugRef>& source() const { return mSource; }
    const std::vector<PlugRef>& destinations() const { return mDestinations; }
    bool isConnected() const { return mSource || !mDestinations.empty(); }

private:
    friend class Scene;

    Value mValue;
    bool mDirty = false;
    bool mEvaluating = false;  // guards against cycles during a pull
    std::optional<PlugRef> mSource;
    std::vector<PlugRef> mDestinations;
};

}  // namespace hx
