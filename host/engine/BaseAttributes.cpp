// The attributes the host's own node kinds carry: every node, DAG nodes, transforms,
// meshes, locator shapes and deformers.
#include "Engine.h"

namespace hx {

namespace {

Ref<Attribute> numeric(const char* name, const char* shortName, MFnNumericData::Type type,
                       double value = 0.0) {
    Ref<Attribute> a(new Attribute(AttrKind::Numeric, name, shortName));
    a->mNumericType = type;
    a->mDefault[0] = a->mDefault[1] = a->mDefault[2] = value;
    return a;
}

Ref<Attribute> matrixOutput(const char* name, const char* shortName) {
    Ref<Attribute> a(new Attribute(AttrKind::Matrix, name, shortName));
    a->mWritable = false;
    a->mStorable = false;
    return a;
}

Ref<Attribute> compound(const char* name, const char* shortName,
                        std::initializer_list<Ref<Attribute>> children) {
    Ref<Attribute> a(new Attribute(AttrKind::Compound, name, shortName));
    for (const Ref<Attribute>& child : children) {
        child->mParent = a.get();
        a->mChildren.push_back(child);
    }
    return a;
}

// A compound of three doubles named <name>X/Y/Z.
Ref<Attribute> triple(const char* name, const char* shortName, Ref<Attribute>& x,
                      Ref<Attribute>& y, Ref<Attribute>& z, double value = 0.0,
                      bool keyable = false) {
    const std::string n(name), s(shortName);
    x = numeric((n + "X").c_str(), (s + "x").c_str(), MFnNumericData::kDouble, value);
    y = numeric((n + "Y").c_str(), (s + "y").c_str(), MFnNumericData::kDouble, value);
    z = numeric((n + "Z").c_str(), (s + "z").c_str(), MFnNumericData::kDouble, value);
    for (Attribute* c : {x.get(), y.get(), z.get()}) c->mKeyable = keyable;
    Ref<Attribute> whole = compound(name, shortName, {x, y, z});
    whole->mKeyable = keyable;
    return whole;
}

Ref<Attribute> typed(const char* name, const char* shortName, MFnData::Type type) {
    Ref<Attribute> a(new Attribute(AttrKind::Typed, name, shortName));
    a->mDataType = type;
    return a;
}

}  // namespace

BaseAttributes::BaseAttributes() {
    message = Ref<Attribute>(new Attribute(AttrKind::Message, "message", "msg"));
    message->mWritable = false;
    message->mStorable = false;
    isHistoricallyInteresting = numeric("isHistoricallyInteresting", "ihi", MFnNumericData::kByte, 2);
    caching = numeric("caching", "cch", MFnNumericData::kBoolean);
    nodeState = numeric("nodeState", "nds", MFnNumericData::kInt);

    matrix = matrixOutput("matrix", "m");
    inverseMatrix = matrixOutput("inverseMatrix", "im");
    worldMatrix = matrixOutput("worldMatrix", "wm");
    worldInverseMatrix = matrixOutput("worldInverseMatrix", "wim");
    parentMatrix = matrixOutput("parentMatrix", "pm");
    parentInverseMatrix = matrixOutput("parentInverseMatrix", "pim");
    visibility = numeric("visibility", "v", MFnNumericData::kBoolean, 1);
    visibility->mKeyable = true;
    intermediateObject = numeric("intermediateObject", "io", MFnNumericData::kBoolean);

    translate = triple("translate", "t", translateX, translateY, translateZ, 0.0, true);
    rotate = triple("rotate", "r", rotateX, rotateY, rotateZ, 0.0, true);
    for (Attribute* a : {rotate.get(), rotateX.get(), rotateY.get(), rotateZ.get()}) a->mAngle = true;
    scale = triple("scale", "s", scaleX, scaleY, scaleZ, 1.0, true);
    rotateOrder = numeric("rotateOrder", "ro", MFnNumericData::kInt);
    rotateOrder->mHasMin = rotateOrder->mHasMax = true;
    rotateOrder->mMin[0] = 0;
    rotateOrder->mMax[0] = 5;

    inMesh = typed("inMesh", "i", MFnData::kMesh);
    outMesh = typed("outMesh", "o", MFnData::kMesh);
    outMesh->mWritable = false;
    outMesh->mStorable = false;

    underWorldObject = numeric("underWorldObject", "uwo", MFnNumericData::kBoolean);
    localPosition = triple("localPosition", "lp", localPositionX, localPositionY, localPositionZ);
    worldPosition = triple("worldPosition", "wp", worldPositionX, worldPositionY, worldPositionZ);
    for (Attribute* a : {worldPosition.get(), worldPositionX.get(), worldPositionY.get(), worldPositionZ.get()}) {
        a->mWritable = false;
        a->mStorable = false;
    }
    localScale = triple("localScale", "los", localScaleX, localScaleY, localScaleZ, 1.0);
    nodeBoundingBoxMin = triple("boundingBoxMin", "bbmn", nodeBoundingBoxMinX, nodeBoundingBoxMinY, nodeBoundingBoxMinZ);
    nodeBoundingBoxMax = triple("boundingBoxMax", "bbmx", nodeBoundingBoxMaxX, nodeBoundingBoxMaxY, nodeBoundingBoxMaxZ);
    nodeBoundingBoxSize = triple("boundingBoxSize", "bbsi", nodeBoundingBoxSizeX, nodeBoundingBoxSizeY, nodeBoundingBoxSizeZ);
    nodeBoundingBox = compound("boundingBox", "bb", {nodeBoundingBoxMin, nodeBoundingBoxMax, nodeBoundingBoxSize});
    center = triple("center", "c", boundingBoxCenterX, boundingBoxCenterY, boundingBoxCenterZ);
    instObjGroups = Ref<Attribute>(new Attribute(AttrKind::Message, "instObjGroups", "iog"));
    instObjGroups->mArray = true;

    inputGeom = typed("inputGeometry", "ig", MFnData::kMesh);
    inputGeom->mStorable = false;
    groupId = numeric("groupId", "gi", MFnNumericData::kInt);
    input = compound("input", "ip", {inputGeom, groupId});
    input->mArray = true;
    outputGeom = typed("outputGeometry", "og", MFnData::kMesh);
    outputGeom->mArray = true;
    outputGeom->mWritable = false;
    outputGeom->mStorable = false;
    envelope = numeric("envelope", "en", MFnNumericData::kFloat, 1.0);
    envelope->mKeyable = true;
    envelope->mHasMin = envelope->mHasMax = true;
    envelope->mMin[0] = 0.0;
    envelope->mMax[0] = 1.0;
    weights = numeric("weights", "w", MFnNumericData::kFloat, 1.0);
    weights->mArray = true;
    weightList = compound("weightList", "wl", {weights});
    weightList->mArray = true;
}

const BaseAttributes& baseAttributes() {
    // Built on first use: the API's class statics and the engine both ask for it while the
    // library's static initialisers run, in an order nobody controls.
    static const BaseAttributes* attributes = new BaseAttributes();
    return *attributes;
}

}  // namespace hx
