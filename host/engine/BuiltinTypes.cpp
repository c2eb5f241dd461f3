// The host's own node types: the bases plug-in kinds build on, transform, mesh, locator and
// time; and the nodes every scene has (time1).
#include "BaseAttributes.h"
#include "BuiltinLocator.h"
#include "Engine.h"

#include <maya/MPxNode.h>

namespace hx {

namespace {

void* createPlainNode() { return new MPxNode(); }

std::shared_ptr<NodeType> baseType(const char* name, MPxNode::Type pxType, BaseKind kind, const NodeType* inherit,
                                   std::initializer_list<Ref<Attribute>> attributes) {
    auto type = std::make_shared<NodeType>(name, 0, pxType, kind);
    if (inherit) type->inherit(*inherit);
    for (const Ref<Attribute>& a : attributes) type->add(a.get());
    return type;
}

}  // namespace

void Engine::registerBuiltins() {
    const BaseAttributes& b = baseAttributes();

    mDependBase = baseType("dependNode", MPxNode::kDependNode, BaseKind::Depend, nullptr,
                           {b.message, b.caching, b.isHistoricallyInteresting, b.nodeState});

    mDagBase = baseType("dagNode", MPxNode::kDependNode, BaseKind::Transform, mDependBase.get(),
                        {b.matrix, b.inverseMatrix, b.worldMatrix, b.worldInverseMatrix, b.parentMatrix,
                         b.parentInverseMatrix, b.visibility, b.intermediateObject});
    mDagBase->addAffects(b.matrix.get(), b.inverseMatrix.get());
    mDagBase->addAffects(b.matrix.get(), b.worldMatrix.get());
    mDagBase->addAffects(b.parentMatrix.get(), b.worldMatrix.get());
    mDagBase->addAffects(b.parentMatrix.get(), b.parentInverseMatrix.get());
    mDagBase->addAffects(b.worldMatrix.get(), b.worldInverseMatrix.get());
    // The parent's placement reaches parentMatrix through the DAG, not through an edge.
    mDagBase->markComputed(b.parentMatrix.get());
    mDagBase->markComputed(b.matrix.get());

    mLocatorBase = baseType("locatorShape", MPxNode::kLocatorNode, BaseKind::Locator, mDagBase.get(),
                            {b.underWorldObject, b.localPosition, b.worldPosition, b.localScale, b.nodeBoundingBox,
                             b.center, b.instObjGroups});
    mLocatorBase->addAffects(b.worldMatrix.get(), b.worldPosition.get());

    mDeformerBase = baseType("geometryFilter", MPxNode::kDeformerNode, BaseKind::Deformer, mDependBase.get(),
                             {b.input, b.outputGeom, b.envelope, b.weightList});
    for (const auto& a : {b.inputGeom, b.groupId, b.envelope, b.weights})
        mDeformerBase->addAffects(a.get(), b.outputGeom.get());

    auto transform = std::make_shared<NodeType>("transform", 0x5846524D, MPxNode::kTransformNode, BaseKind::Transform,
                                                createPlainNode);
    transform->inherit(*mDagBase);
    for (const auto& a : {b.translate, b.rotate, b.scale, b.rotateOrder}) {
        transform->add(a.get());
        transform->addAffects(a.get(), b.matrix.get());
    }

    auto mesh = std::make_shared<NodeType>("mesh", 0x444D5348, MPxNode::kSurfaceShape, BaseKind::Mesh, createPlainNode);
    mesh->inherit(*mDagBase);
    mesh->add(b.inMesh.get());
    mesh->add(b.outMesh.get());
    mesh->addAffects(b.inMesh.get(), b.outMesh.get());

    // The host's own locator: a cross the size of its localScale, at its localPosition.
    auto locator = std::make_shared<NodeType>("locator", 0x4C4F4354, MPxNode::kLocatorNode, BaseKind::Locator,
                                              createBuiltinLocator);
    locator->inherit(*mLocatorBase);

    // The scene's clock: time1.outTime is the current frame.
    auto time = std::make_shared<NodeType>("time", 0x54494D45, MPxNode::kDependNode, BaseKind::Time, createPlainNode);
    time->inherit(*mDependBase);
    time->add(b.outTime.get());

    for (const auto& type : {transform, mesh, locator, time}) {
        type->setRegistered(true);
        mTypes.push_back(type);
    }
}

void Engine::addDefaultNodes() {
    Ref<Node> time;
    if (Error error = mScene.instantiate(findType("time"), time)) return;
    if (Error error = mScene.insert(time.get(), "time1", nullptr)) return;
    mScene.markDefault(time.get());
}

}  // namespace hx
