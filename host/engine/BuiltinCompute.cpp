// What the host computes itself when a node's compute declines a plug with
// kUnknownParameter: DAG matrices, a mesh's output, a deformer's output geometry.
#include "Access.h"
#include "Data.h"
#include "Engine.h"
#include "PlugPath.h"

#include <maya/MItGeometry.h>
#include <maya/MPxDeformerNode.h>

#include <cmath>
#include <memory>

namespace hx {

namespace {

MMatrix rotation(int axis, double angle) {
    MMatrix m;
    const double c = std::cos(angle), s = std::sin(angle);
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    // Row-vector convention: p' = p * R.
    m.matrix[a][a] = c;
    m.matrix[a][b] = s;
    m.matrix[b][a] = -s;
    m.matrix[b][b] = c;
    return m;
}

double number(Scene& scene, Node* node, const Ref<Attribute>& attribute) {
    Cell& c = scene.evaluate({node, attribute.get(), -1});
    return numericComponent(c.mValue, attribute->mNumericType, 0);
}

// p' = p * S * R * T, R in the transform's rotate order (xyz: Rx * Ry * Rz).
MMatrix transformMatrix(Scene& scene, Node* node) {
    const BaseAttributes& b = baseAttributes();
    MMatrix s;
    s.matrix[0][0] = number(scene, node, b.scaleX);
    s.matrix[1][1] = number(scene, node, b.scaleY);
    s.matrix[2][2] = number(scene, node, b.scaleZ);
    const MMatrix r[3] = {rotation(0, number(scene, node, b.rotateX)),
                          rotation(1, number(scene, node, b.rotateY)),
                          rotation(2, number(scene, node, b.rotateZ))};
    static const int orders[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {1, 0, 2}, {2, 1, 0}};
    int order = static_cast<int>(number(scene, node, b.rotateOrder));
    if (order < 0 || order > 5) order = 0;
    MMatrix t;
    t.matrix[3][0] = number(scene, node, b.translateX);
    t.matrix[3][1] = number(scene, node, b.translateY);
    t.matrix[3][2] = number(scene, node, b.translateZ);
    return s * r[orders[order][0]] * r[orders[order][1]] * r[orders[order][2]] * t;
}

bool computeDag(Scene& scene, const PlugRef& plug, Cell& out) {
    const BaseAttributes& b = baseAttributes();
    Node* node = plug.mNode;
    const Attribute* a = plug.mAttribute;
    auto matrixOf = [&](const Ref<Attribute>& attribute) {
        return scene.evaluate({node, attribute.get(), -1}).mValue.mMatrix;
    };
    if (a == b.matrix.get()) {
        out.mValue.mMatrix = node->mType->mBase == BaseKind::Transform ? transformMatrix(scene, node) : MMatrix();
    } else if (a == b.inverseMatrix.get()) {
        out.mValue.mMatrix = matrixOf(b.matrix).inverse();
    } else if (a == b.parentMatrix.get()) {
        out.mValue.mMatrix = node->mParent ? scene.evaluate({node->mParent, b.worldMatrix.get(), -1}).mValue.mMatrix
                                           : MMatrix();
    } else if (a == b.parentInverseMatrix.get()) {
        out.mValue.mMatrix = matrixOf(b.parentMatrix).inverse();
    } else if (a == b.worldMatrix.get()) {
        out.mValue.mMatrix = matrixOf(b.matrix) * matrixOf(b.parentMatrix);
    } else if (a == b.worldInverseMatrix.get()) {
        out.mValue.mMatrix = matrixOf(b.worldMatrix).inverse();
    } else if (a->mParent == b.worldPosition.get()) {
        const MMatrix world = matrixOf(b.worldMatrix);
        const int axis = a == b.worldPositionX.get() ? 0 : a == b.worldPositionY.get() ? 1 : 2;
        out.mValue.mDouble = world.matrix[3][axis];
    } else {
        return false;
    }
    return true;
}

// The local-to-world matrix of the geometry a deformer's element `index` deforms: that of
// the shape its output feeds, else of the shape its input comes from.
MMatrix geometryMatrix(Scene& scene, Node* deformer, int index) {
    const BaseAttributes& b = baseAttributes();
    if (Cell* out = deformer->findCell(b.outputGeom.get(), index))
        for (const PlugRef& d : out->mDestinations)
            if (d.mNode->mType->isDag()) return worldMatrixOf(scene, d.mNode);
    if (Cell* in = deformer->findCell(b.inputGeom.get(), index))
        if (in->mSource && in->mSource->mNode->mType->isDag()) return worldMatrixOf(scene, in->mSource->mNode);
    return MMatrix();
}

MStatus computeDeformerOutput(Scene& scene, const PlugRef& plug, Cell& out) {
    const BaseAttributes& b = baseAttributes();
    Node* node = plug.mNode;
    Cell& in = scene.evaluate({node, b.inputGeom.get(), plug.mIndex});
    auto* source = Access::as<MeshData>(in.mValue.mData);
    if (!source) {
        out.mValue.mData = MObject();
        return MStatus();
    }
    // The input stays untouched (it is shared with the geometry upstream); deform works on
    // a copy of its points that shares the topology.
    Ref<Data> copy = source->clone();
    out.mValue.mData = Access::wrap(copy.get());
    auto* deformer = dynamic_cast<MPxDeformerNode*>(node->mUser);
    if (!deformer) return MStatus();
    const MMatrix localToWorld = geometryMatrix(scene, node, plug.mIndex);
    std::unique_ptr<MItGeometry> iterator(Access::newIterator());
    Access::setGeometry(*iterator, static_cast<MeshData*>(copy.get()), localToWorld);
    MDataBlock block = Access::block(node);
    try {
        // The output keeps what deform left in the copy, whatever it returns.
        const MStatus status =
            deformer->deform(block, *iterator, localToWorld, static_cast<unsigned int>(plug.mIndex));
        if (!status) scene.noteFailure("deform of " + plugName(plug) + " failed: " + status.errorString().asChar());
        return status;
    } catch (...) {
        scene.noteException("deform", plug);
        return MStatus(MStatus::kFailure);
    }
}

}  // namespace

MMatrix worldMatrixOf(Scene& scene, Node* node) {
    return scene.evaluate({node, baseAttributes().worldMatrix.get(), -1}).mValue.mMatrix;
}

MStatus builtinCompute(Scene& scene, const PlugRef& plug) {
    const BaseAttributes& b = baseAttributes();
    Node* node = plug.mNode;
    Cell& out = node->cell(plug.mAttribute, plug.mIndex);
    switch (node->mType->mBase) {
    case BaseKind::Deformer:
        if (plug.mAttribute == b.outputGeom.get() && plug.mIndex >= 0) return computeDeformerOutput(scene, plug, out);
        break;
    case BaseKind::Mesh:
        if (plug.mAttribute == b.outMesh.get()) {
            // The shape's own geometry passes through; it is shared, not copied.
            out.mValue.mData = scene.evaluate({node, b.inMesh.get(), -1}).mValue.mData;
            return MStatus();
        }
        [[fallthrough]];
    case BaseKind::Transform:
    case BaseKind::Locator:
        if (computeDag(scene, plug, out)) return MStatus();
        break;
    case BaseKind::Depend: break;
    }
    return MStatus(MStatus::kUnknownParameter);
}

}  // namespace hx
