// The attributes the host's own node kinds carry: every node, DAG nodes, transforms,
// meshes, locator shapes, deformers and the time node.
#include "BaseAttributes.h"

namespace hx {

namespace {

Ref<Attribute> numeric(const char* name, const char* shortName, MFnNumericData::Type type, double value = 0.0) {
    Ref<Attribute> a(new Attribute(AttrKind::Numeric, name, shortName));
    a->setNumericType(type);
    const double defaults[3] = {value, value, value};
    a->setDefault(3, defaults);
    return a;
}

void makeOutput(const Ref<Attribute>& a) {
    static_cast<void>(a->setFlag(Flag::Writable, false));
    static_cast<void>(a->setFlag(Flag::Storable, false));
}

Ref<Attribute> matrixOutput(const char* name, const char* shortName) {
    Ref<Attribute> a(new Attribute(AttrKind::Matrix, name, shortName));
    makeOutput(a);
    return a;
}

Ref<Attribute> compound(const char* name, const char* shortName, std::initializer_list<Ref<Attribute>> children) {
    Ref<Attribute> a(new Attribute(AttrKind::Compound, name, shortName));
    for (const Ref<Attribute>& child : children) static_cast<void>(a->addChild(child));
    return a;
}

// A compound of three doubles named <name>X/Y/Z.
Ref<Attribute> triple(const char* name, const char* shortName, Ref<Attribute>& x, Ref<Attribute>& y, Ref<Attribute>& z,
                      double value = 0.0, bool keyable = false) {
    const std::string n(name), s(shortName);
    x = numeric((n + "X").c_str(), (s + "x").c_str(), MFnNumericData::kDouble, value);
    y = numeric((n + "Y").c_str(), (s + "y").c_str(), MFnNumericData::kDouble, value);
    z = numeric((n + "Z").c_str(), (s + "z").c_str(), MFnNumericData::kDouble, value);
    Ref<Attribute> whole = compound(name, shortName, {x, y, z});
    whole->setNumericType(MFnNumericData::k3Double);
    for (Attribute* a : {whole.get(), x.get(), y.get(), z.get()}) static_cast<void>(a->setFlag(Flag::Keyable, keyable));
    return whole;
}

Ref<Attribute> typed(const char* name, const char* shortName, MFnData::Type type) {
    Ref<Attribute> a(new Attribute(AttrKind::Typed, name, shortName));
    a->setDataType(type);
    return a;
}

void setRange(const Ref<Attribute>& a, double min, double max) {
    a->setLimit(Limit::Min, 1, &min);
    a->setLimit(Limit::Max, 1, &max);
}

void makeArray(const Ref<Attribute>& a) { static_cast<void>(a->setFlag(Flag::Array, true)); }

}  // namespace

BaseAttributes::BaseAttributes() {
    message = Ref<Attribute>(new Attribute(AttrKind::Message, "message", "msg"));
    makeOutput(message);
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
    static_cast<void>(visibility->setFlag(Flag::Keyable, true));
    intermediateObject = numeric("intermediateObject", "io", MFnNumericData::kBoolean);

    translate = triple("translate", "t", translateX, translateY, translateZ, 0.0, true);
    rotate = triple("rotate", "r", rotateX, rotateY, rotateZ, 0.0, true);
    for (Attribute* a : {rotate.get(), rotateX.get(), rotateY.get(), rotateZ.get()}) a->setUnit(Unit::Angle);
    scale = triple("scale", "s", scaleX, scaleY, scaleZ, 1.0, true);
    rotateOrder = numeric("rotateOrder", "ro", MFnNumericData::kInt);
    setRange(rotateOrder, 0, 5);

    inMesh = typed("inMesh", "i", MFnData::kMesh);
    outMesh = typed("outMesh", "o", MFnData::kMesh);
    makeOutput(outMesh);

    underWorldObject = numeric("underWorldObject", "uwo", MFnNumericData::kBoolean);
    localPosition = triple("localPosition", "lp", localPositionX, localPositionY, localPositionZ);
    worldPosition = triple("worldPosition", "wp", worldPositionX, worldPositionY, worldPositionZ);
    for (const Ref<Attribute>& a : {worldPosition, worldPositionX, worldPositionY, worldPositionZ}) makeOutput(a);
    localScale = triple("localScale", "los", localScaleX, localScaleY, localScaleZ, 1.0);
    nodeBoundingBoxMin =
        triple("boundingBoxMin", "bbmn", nodeBoundingBoxMinX, nodeBoundingBoxMinY, nodeBoundingBoxMinZ);
    nodeBoundingBoxMax =
        triple("boundingBoxMax", "bbmx", nodeBoundingBoxMaxX, nodeBoundingBoxMaxY, nodeBoundingBoxMaxZ);
    nodeBoundingBoxSize =
        triple("boundingBoxSize", "bbsi", nodeBoundingBoxSizeX, nodeBoundingBoxSizeY, nodeBoundingBoxSizeZ);
    nodeBoundingBox = compound("boundingBox", "bb", {nodeBoundingBoxMin, nodeBoundingBoxMax, nodeBoundingBoxSize});
    center = triple("center", "c", boundingBoxCenterX, boundingBoxCenterY, boundingBoxCenterZ);
    instObjGroups = Ref<Attribute>(new Attribute(AttrKind::Message, "instObjGroups", "iog"));
    makeArray(instObjGroups);

    inputGeom = typed("inputGeometry", "ig", MFnData::kMesh);
    static_cast<void>(inputGeom->setFlag(Flag::Storable, false));
    groupId = numeric("groupId", "gi", MFnNumericData::kInt);
    input = compound("input", "ip", {inputGeom, groupId});
    makeArray(input);
    outputGeom = typed("outputGeometry", "og", MFnData::kMesh);
    makeArray(outputGeom);
    makeOutput(outputGeom);
    envelope = numeric("envelope", "en", MFnNumericData::kFloat, 1.0);
    static_cast<void>(envelope->setFlag(Flag::Keyable, true));
    setRange(envelope, 0.0, 1.0);
    // Painted weights: weightList[geometry].weights[point], 1 where none is stored.
    weights = numeric("weights", "w", MFnNumericData::kFloat, 1.0);
    makeArray(weights);
    weightList = compound("weightList", "wl", {weights});
    makeArray(weightList);

    // The scene's current time, in frames.
    outTime = numeric("outTime", "o", MFnNumericData::kDouble, 1.0);
    outTime->setUnit(Unit::Time);
    static_cast<void>(outTime->setFlag(Flag::Keyable, true));
}

const BaseAttributes& baseAttributes() {
    // Built on first use: the API's class statics and the engine both ask for it while the
    // library's static initialisers run, in an order nobody controls.
    static const BaseAttributes* attributes = new BaseAttributes();
    return *attributes;
}

}  // namespace hx
