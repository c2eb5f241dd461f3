// Pull evaluation and dirty propagation.
#include "Access.h"
#include "BaseAttributes.h"
#include "BuiltinCompute.h"
#include "PlugPath.h"
#include "Scene.h"

#include <maya/MPxNode.h>

#include <functional>
#include <set>

namespace hx {

namespace {

// Visits every plug of `target` on `node` whose first `level` element indices are those of
// `path`; the deeper ones range over the elements in use.
void forEachElement(Node* node, const Attribute* target, const std::vector<const Attribute*>& chain,
                    const ElementPath& path, size_t level, const std::function<void(const PlugRef&)>& visit) {
    if (level == chain.size()) {
        visit(PlugRef{node, target, path});
        return;
    }
    for (unsigned int i : node->elementIndices(chain[level], path))
        forEachElement(node, target, chain, path.with(static_cast<int>(level), static_cast<int>(i)), level + 1, visit);
}

}  // namespace

void Scene::markDirty(const PlugRef& plug) {
    plug.mNode->cell(plug).mDirty = true;
    propagateDirty(plug);
}

void Scene::propagateDirty(const PlugRef& changed) {
    const BaseAttributes& base = baseAttributes();
    std::set<PlugRef> visited{changed};
    std::vector<PlugRef> pending{changed};
    const std::function<void(const PlugRef&)> mark = [&](const PlugRef& p) {
        if (!visited.insert(p).second) return;
        p.mNode->cell(p).mDirty = true;
        pending.push_back(p);
    };
    while (!pending.empty()) {
        const PlugRef q = pending.back();
        pending.pop_back();
        Node* node = q.mNode;
        const std::vector<const Attribute*> changedChain = q.mAttribute->arrayChain();
        for (const Attribute* target : node->type()->affects(q.mAttribute)) {
            // The elements both lie in stay those of the changed plug; the others are all
            // the target's elements in use.
            const std::vector<const Attribute*> chain = target->arrayChain();
            size_t shared = 0;
            while (shared < chain.size() && shared < changedChain.size() && chain[shared] == changedChain[shared] &&
                   q.mPath[static_cast<int>(shared)] >= 0)
                ++shared;
            forEachElement(node, target, chain, q.mPath.prefix(static_cast<int>(shared)), shared, mark);
        }
        if (Cell* cell = node->findCell(q))
            for (const PlugRef& d : std::vector<PlugRef>(cell->mDestinations)) mark(d);
        // A DAG node's world placement feeds its children's parentMatrix.
        if (q.mAttribute == base.worldMatrix.get())
            for (Node* child : node->children()) mark({child, base.parentMatrix.get(), ElementPath()});
    }
}

void Scene::assign(Value& to, const Attribute& toAttr, const Value& from, const Attribute& fromAttr) {
    switch (toAttr.kind()) {
    case AttrKind::Numeric: {
        const int n = componentCount(toAttr.numericType());
        for (int i = 0; i < n; ++i)
            setNumericComponent(to, toAttr.numericType(), i, numericComponent(from, fromAttr.numericType(), i));
        break;
    }
    case AttrKind::Matrix: to.mMatrix = from.mMatrix; break;
    case AttrKind::Typed:
        to.mData = from.mData;
        to.mString = from.mString;
        break;
    default: break;
    }
}

Cell& Scene::evaluate(const PlugRef& plug) {
    Node* node = plug.mNode;
    const Attribute* attribute = plug.mAttribute;
    Cell& cell = node->cell(plug);
    // A whole multi has no value of its own; its elements do.
    if (!plug.isComplete()) return cell;
    if (attribute->kind() == AttrKind::Compound) {
        // A compound's value is its children's; the compound's own cell holds them assembled.
        const auto& children = attribute->children();
        for (size_t i = 0; i < children.size(); ++i) {
            const Attribute* child = children[i].get();
            if (child->isArray()) continue;
            Cell& c = evaluate({node, child, plug.mPath});
            if (i < 3 && child->kind() == AttrKind::Numeric)
                cell.mValue.mDouble3[i] = numericComponent(c.mValue, child->numericType(), 0);
        }
        cell.mValue.mVector = MVector(cell.mValue.mDouble3);
        cell.mDirty = false;
        return cell;
    }
    if (!cell.mDirty || cell.mEvaluating) return cell;
    cell.mEvaluating = true;
    const size_t failuresBefore = mFailures.size();
    if (cell.mSource) {
        const PlugRef source = *cell.mSource;
        Cell& from = evaluate(source);
        assign(cell.mValue, *attribute, from.mValue, *source.mAttribute);
    } else if (node->type()->isComputed(attribute)) {
        compute(plug);
    }
    // A plug whose compute or deform failed, here or upstream, stays dirty: the next read
    // evaluates it again (and fails again, or succeeds once the cause is gone) rather than
    // take what the failure left for its value.
    cell.mDirty = mFailures.size() > failuresBefore;
    cell.mEvaluating = false;
    return cell;
}

void Scene::compute(const PlugRef& plug) {
    MStatus status(MStatus::kUnknownParameter);
    if (MPxNode* user = plug.mNode->user()) {
        MPlug apiPlug = Access::plug(plug);
        MDataBlock block = Access::block(plug.mNode);
        try {
            status = user->compute(apiPlug, block);
        } catch (...) {
            noteException("compute", plug);
            return;
        }
    }
    if (status == MStatus::kUnknownParameter)
        builtinCompute(*this, plug);
    else if (!status)
        noteFailure(Error::evaluation(status.statusCode(), plugName(plug), plug.mNode->type()->plugin(),
                                      "compute of " + plugName(plug) + " failed: " + status.errorString().asChar()));
}

void Scene::noteException(const std::string& operation, const PlugRef& plug) {
    const std::string name = plugName(plug);
    noteFailure(Error::caught(operation + " of " + name, name, plug.mNode->type()->plugin()));
}

}  // namespace hx
