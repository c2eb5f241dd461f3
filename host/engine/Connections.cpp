// The scene's connections: which plugs may connect, and keeping both ends of each in step.
#include "PlugPath.h"
#include "Scene.h"

#include <algorithm>

namespace hx {

namespace {

bool sameValueKind(const Attribute& a, const Attribute& b) {
    if (a.kind() == AttrKind::Numeric && b.kind() == AttrKind::Numeric)
        return componentCount(a.numericType()) == componentCount(b.numericType());
    if (a.kind() != b.kind()) return false;
    if (a.kind() == AttrKind::Typed) return a.dataType() == b.dataType();
    return true;
}

}  // namespace

Error Scene::connectionPairs(const PlugRef& source, const PlugRef& destination,
                             std::vector<std::pair<PlugRef, PlugRef>>& pairs) const {
    if (!source.mNode || !destination.mNode || !source.mAttribute || !destination.mAttribute)
        return Error::invalid("a connection needs two nodes");
    const Attribute& s = *source.mAttribute;
    const Attribute& d = *destination.mAttribute;
    if (!source.mNode->type()->has(&s) || !destination.mNode->type()->has(&d))
        return Error::invalid("the attribute does not belong to the node");
    if (!source.isComplete() || !destination.isComplete())
        return Error::invalid("a multi attribute connects one element at a time (" +
                              plugName(source.isComplete() ? destination : source) + " needs an index)");
    if (source == destination) return Error::invalid("cannot connect " + plugName(source) + " to itself");
    if (!s.isConnectable() || !s.isReadable())
        return Error::invalid(plugName(source) + " cannot be a connection source (not readable or connectable)");
    if (!d.isConnectable() || !d.isWritable())
        return Error::invalid(plugName(destination) +
                              " cannot be a connection destination (not writable or connectable)");
    if (s.kind() == AttrKind::Compound || d.kind() == AttrKind::Compound) {
        if (s.kind() != d.kind() || s.children().size() != d.children().size())
            return Error::invalid("type mismatch: cannot connect " + plugName(source) + " to " + plugName(destination));
        for (size_t i = 0; i < s.children().size(); ++i) {
            const PlugRef cs{source.mNode, s.children()[i].get(), source.mPath};
            const PlugRef cd{destination.mNode, d.children()[i].get(), destination.mPath};
            if (Error error = connectionPairs(cs, cd, pairs)) return error;
        }
        return Error();
    }
    if (!sameValueKind(s, d))
        return Error::invalid("type mismatch: cannot connect " + plugName(source) + " to " + plugName(destination));
    pairs.emplace_back(source, destination);
    return Error();
}

Error Scene::connect(const PlugRef& source, const PlugRef& destination) {
    if (!source.mNode || !destination.mNode || !source.mNode->inGraph() || !destination.mNode->inGraph())
        return Error::failure("both nodes of a connection must be in the scene");
    std::vector<std::pair<PlugRef, PlugRef>> pairs;
    if (Error error = connectionPairs(source, destination, pairs)) return error;
    for (const auto& [s, d] : pairs) {
        const Cell* existing = d.mNode->findCell(d);
        if (existing && existing->mSource)
            return Error::failure(plugName(d) + " already has an incoming connection from " +
                                  plugName(*existing->mSource));
    }
    for (const auto& [s, d] : pairs) {
        s.mNode->cell(s).mDestinations.push_back(d);
        d.mNode->cell(d).mSource = s;
        markDirty(d);
    }
    return Error();
}

bool Scene::isConnected(const PlugRef& source, const PlugRef& destination) const {
    const Cell* cell = destination.mNode ? destination.mNode->findCell(destination) : nullptr;
    return cell && cell->mSource && *cell->mSource == source;
}

Error Scene::disconnect(const PlugRef& source, const PlugRef& destination) {
    std::vector<std::pair<PlugRef, PlugRef>> pairs;
    if (Error error = connectionPairs(source, destination, pairs)) return error;
    for (const auto& [s, d] : pairs)
        if (!isConnected(s, d)) return Error::failure(plugName(s) + " is not connected to " + plugName(d));
    for (const auto& [s, d] : pairs) {
        auto& outs = s.mNode->cell(s).mDestinations;
        outs.erase(std::remove(outs.begin(), outs.end(), d), outs.end());
        Cell& in = d.mNode->cell(d);
        in.mSource.reset();
        // The destination keeps the last value it received.
        in.mDirty = false;
        propagateDirty(d);
    }
    return Error();
}

std::vector<std::pair<PlugRef, PlugRef>> Scene::connectionsOf(Node* node) const {
    std::vector<std::pair<PlugRef, PlugRef>> result;
    node->forEachCell([&](const PlugRef& here, Cell& cell) {
        if (cell.mSource) result.emplace_back(*cell.mSource, here);
        for (const PlugRef& d : cell.mDestinations)
            if (d.mNode != node) result.emplace_back(here, d);
    });
    return result;
}

}  // namespace hx
