#include "BuiltinCompute.h"

#include "Access.h"
#include "BaseAttributes.h"
#include "Data.h"
#include "PlugPath.h"
#include "Scene.h"

#include <maya/MItGeometry.h>
#include <maya/MPxDeformerNode.h>

#include <cmath>
#include <memory>

namespace hx {

namespace {

PlugRef plugOf(Node* node, const Ref<Attribute>& attribute) { return PlugRef{node, attribute.get(), ElementPath()}; }

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
    return numericComponent(scene.evaluate(plugOf(node, attribute)).value(), attribute->numericType(), 0);
}

// p' = p * S * R * T, R in the transform's rotate order (xyz: Rx * Ry * Rz).
MMatrix transformMatrix(Scene& scene, Node* node) {
    const BaseAttributes& b = baseAttributes();
    MMatrix s;
    s.matrix[0][0] = number(scene, node, b.scaleX);
    s.matrix[1][1] = number(scene, node, b.scaleY);
    s.matrix[2][2] = number(scene, node, b.scaleZ);
    const MMatrix r[3] = {rotation(0, number(scene, node, b.rotateX)), rotation(1, number(scene, node, b.rotateY)),
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

bool computeDag(Scene& scene, const PlugRef& plug, Value& out) {
    const BaseAttributes& b = baseAttributes();
    Node* node = plug.mNode;
    const Attribute* a = plug.mAttribute;
    auto matrixOf = [&](const Ref<Attribute>& attribute) {
        return scene.evaluate(plugOf(node, attribute)).value().mMatrix;
    };
    if (a == b.matrix.get()) {
        out.mMatrix = node->type()->base() == BaseKind::Transform ? transformMatrix(scene, node) : MMatrix();
    } else if (a == b.inverseMatrix.get()) {
        out.mMatrix = matrixOf(b.matrix).inverse();
    } else if (a == b.parentMatrix.get()) {
        out.mMatrix = node->parent() ? worldMatrixOf(scene, node->parent()) : MMatrix();
    } else if (a == b.parentInverseMatrix.get()) {
        out.mMatrix = matrixOf(b.parentMatrix).inverse();
    } else if (a == b.worldMatrix.get()) {
        out.mMatrix = matrixOf(b.matrix) * matrixOf(b.parentMatrix);
    } else if (a == b.worldInverseMatrix.get()) {
        out.mMatrix = matrixOf(b.worldMatrix).inverse();
    } else if (a->parent() == b.worldPosition.get()) {
        const MMatrix world = matrixOf(b.worldMatrix);
        const int axis = a == b.worldPositionX.get() ? 0 : a == b.worldPositionY.get() ? 1 : 2;
        out.mDouble = world.matrix[3][axis];
    } else {
        return false;
    }
    return true;
}

// The local-to-world matrix of the geometry a deformer's element `path` deforms: that of
// the shape its output feeds, else of the shape its input comes from.
MMatrix geometryMatrix(Scene& scene, Node* deformer, const ElementPath& path) {
    const BaseAttributes& b = baseAttributes();
    if (Cell* out = deformer->findCell(b.outputGeom.get(), path))
        for (const PlugRef& d : out->destinations())
            if (d.mNode->type()->isDag()) return worldMatrixOf(scene, d.mNode);
    if (Cell* in = deformer->findCell(b.inputGeom.get(), path))
        if (in->source() && in->source()->mNode->type()->isDag()) return worldMatrixOf(scene, in->source()->mNode);
    return MMatrix();
}

void computeDeformerOutput(Scene& scene, const PlugRef& plug, Value& out) {
    const BaseAttributes& b = baseAttributes();
    Node* node = plug.mNode;
    const Value& in = scene.evaluate({node, b.inputGeom.get(), plug.mPath}).value();
    auto* source = Access::as<MeshData>(in.mData);
    if (!source) {
        out.mData = MObject();
        return;
    }
    // The input stays untouched (it is shared with the geometry upstream): the output shares
    // its points and topology, and the first write through the iterator gives the output
    // points of its own (all new ones when deform sets every position at once).
    Ref<Data> copy = source->clone();
    out.mData = Access::wrap(copy.get());
    auto* deformer = dynamic_cast<MPxDeformerNode*>(node->user());
    if (!deformer) return;
    const MMatrix localToWorld = geometryMatrix(scene, node, plug.mPath);
    std::unique_ptr<MItGeometry> iterator(Access::newIterator());
    Access::setGeometry(*iterator, static_cast<MeshData*>(copy.get()), localToWorld);
    MDataBlock block = Access::block(node);
    try {
        // The output keeps what deform left in the copy, whatever it returns.
        const MStatus status =
            deformer->deform(block, *iterator, localToWorld, static_cast<unsigned int>(plug.index()));
        if (!status)
            scene.noteFailure(
                Error::evaluation(status.statusCode(), plugName(plug), node->type()->plugin(),
                                  "deform of " + plugName(plug) + " failed: " + status.errorString().asChar()));
    } catch (...) {
        scene.noteException("deform", plug);
    }
}

}  // namespace

MMatrix worldMatrixOf(Scene& scene, Node* node) {
    return scene.evaluate(plugOf(node, baseAttributes().worldMatrix)).value().mMatrix;
}

void builtinCompute(Scene& scene, const PlugRef& plug) {
    const BaseAttributes& b = baseAttributes();
    Node* node = plug.mNode;
    Value& out = node->cell(plug).value();
    switch (node->type()->base()) {
    case BaseKind::Deformer:
        if (plug.mAttribute == b.outputGeom.get() && plug.isComplete()) computeDeformerOutput(scene, plug, out);
        return;
    case BaseKind::Mesh:
        if (plug.mAttribute == b.outMesh.get()) {
            // The shape's own geometry passes through; it is shared, not copied.
            out.mData = scene.evaluate(plugOf(node, b.inMesh)).value().mData;
            return;
        }
        [[fallthrough]];
    case BaseKind::Transform:
    case BaseKind::Locator: computeDag(scene, plug, out); return;
    case BaseKind::Depend:
    case BaseKind::Time: return;
    }
}

}  // namespace hx
