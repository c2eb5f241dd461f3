#include <maya/MAngle.h>
#include <maya/MDataHandle.h>
#include <maya/MDistance.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MTime.h>

#include "../engine/Data.h"
#include "../engine/Engine.h"
#include "../engine/PlugEdit.h"
#include "../engine/PlugPath.h"
#include "FnSet.h"

#include <algorithm>
#include <type_traits>

using hx::Access;
using hx::Attribute;
using hx::AttrKind;
using hx::Node;
using hx::PlugRef;

namespace hx {

MPlug Access::plug(const PlugRef& ref) {
    MPlug plug;
    plug.mNode = wrap(ref.mNode);
    plug.mAttribute = wrap(const_cast<Attribute*>(ref.mAttribute));
    store(ref.mPath, plug.mPath);
    return plug;
}

PlugRef Access::ref(const MPlug& plug) {
    return PlugRef{as<Node>(plug.mNode), as<Attribute>(plug.mAttribute), path(plug.mPath)};
}

ElementPath Access::path(const int indices[]) {
    ElementPath path;
    for (int level = 0; level < ElementPath::kDepth && indices[level] >= 0; ++level)
        path = path.with(level, indices[level]);
    return path;
}

void Access::store(const ElementPath& path, int indices[]) {
    static_assert(ElementPath::kDepth == 3, "MPlug and MDataHandle keep three element indices");
    for (int level = 0; level < ElementPath::kDepth; ++level) indices[level] = path[level];
}

}  // namespace hx

namespace {

bool valid(const PlugRef& ref) { return ref.mNode && ref.mAttribute && ref.mNode->type()->has(ref.mAttribute); }

hx::Scene& scene() { return hx::Engine::current().scene(); }

// The plug's current value, pulled through the graph; null (with a status) when the plug
// has no single value.
hx::Cell* pull(const MPlug& plug, MStatus& status, const char* function) {
    const PlugRef ref = Access::ref(plug);
    status = hx::injectedFault(function, hx::faultSubject(ref.mAttribute));
    if (!status) return nullptr;
    if (!valid(ref)) {
        status = Access::fail(MStatus::kInvalidParameter, "the plug is null");
        return nullptr;
    }
    if (!ref.isComplete()) {
        status = Access::fail(MStatus::kInvalidParameter, hx::plugName(ref) + " is a multi: read one element");
        return nullptr;
    }
    status = MStatus();
    return &scene().evaluate(ref);
}

MStatus number(const MPlug& plug, double& out, const char* function = "MPlug::getValue") {
    MStatus status;
    hx::Cell* cell = pull(plug, status, function);
    if (!cell) return status;
    const Attribute* a = Access::ref(plug).mAttribute;
    if (a->kind() != AttrKind::Numeric)
        return Access::fail(MStatus::kInvalidParameter, hx::plugName(Access::ref(plug)) + " is not numeric");
    out = hx::numericComponent(cell->value(), a->numericType(), 0);
    return MStatus();
}

MStatus setNumber(const MPlug& plug, double value) {
    return Access::status(hx::setNumbers(scene(), Access::ref(plug), {value}));
}

template <class T>
T asNumber(const MPlug& plug, MStatus* ReturnStatus, const char* function) {
    double value = 0.0;
    hx::report(ReturnStatus, number(plug, value, function));
    return static_cast<T>(value);
}

}  // namespace

MPlug::MPlug() { Access::store(hx::ElementPath(), mPath); }
MPlug::MPlug(const MPlug&) = default;
MPlug::MPlug(const MObject& node, const MObject& attribute) {
    Access::store(hx::ElementPath(), mPath);
    // A plug is only made for an attribute the node has; otherwise it stays null.
    Node* n = Access::as<Node>(node);
    auto* a = Access::as<Attribute>(attribute);
    if (n && a && n->type()->has(a)) {
        mNode = node;
        mAttribute = attribute;
    }
}
MPlug::~MPlug() {}
MPlug& MPlug::operator=(const MPlug&) = default;

MObject MPlug::attribute(MStatus* ReturnStatus) const {
    hx::report(ReturnStatus, isNull() ? MStatus(MStatus::kInvalidParameter) : MStatus());
    return mAttribute;
}
MObject MPlug::node(MStatus* ReturnStatus) const {
    hx::report(ReturnStatus, isNull() ? MStatus(MStatus::kInvalidParameter) : MStatus());
    return mNode;
}
MString MPlug::name(MStatus* ReturnStatus) const {
    hx::report(ReturnStatus, isNull() ? MStatus(MStatus::kInvalidParameter) : MStatus());
    return isNull() ? MString() : MString(hx::plugName(Access::ref(*this)).c_str());
}
MString MPlug::partialName(bool includeNodeName, bool, bool, bool, bool, bool useLongNames,
                           MStatus* ReturnStatus) const {
    hx::report(ReturnStatus, isNull() ? MStatus(MStatus::kInvalidParameter) : MStatus());
    if (isNull()) return MString();
    std::string text = hx::plugName(Access::ref(*this), useLongNames);
    if (!includeNodeName) text = text.substr(text.find('.') + 1);
    return MString(text.c_str());
}
bool MPlug::isNull(MStatus* ReturnStatus) const {
    hx::report(ReturnStatus, MStatus());
    return mNode.isNull() || mAttribute.isNull();
}

namespace {

// The plug's reference when it is valid, with the status saying whether it is.
PlugRef checked(const MPlug& plug, MStatus* ReturnStatus) {
    const PlugRef r = Access::ref(plug);
    hx::report(ReturnStatus, valid(r) ? MStatus() : MStatus(MStatus::kInvalidParameter));
    return valid(r) ? r : PlugRef();
}

}  // namespace

bool MPlug::isArray(MStatus* ReturnStatus) const { return checked(*this, ReturnStatus).isWholeArray(); }
bool MPlug::isElement(MStatus* ReturnStatus) const {
    const PlugRef r = checked(*this, ReturnStatus);
    return r.mAttribute && r.mAttribute->isArray() && r.index() >= 0;
}
bool MPlug::isCompound(MStatus* ReturnStatus) const {
    const PlugRef r = checked(*this, ReturnStatus);
    return r.mAttribute && r.mAttribute->kind() == AttrKind::Compound;
}
bool MPlug::isChild(MStatus* ReturnStatus) const {
    const PlugRef r = checked(*this, ReturnStatus);
    return r.mAttribute && r.mAttribute->parent() != nullptr;
}
bool MPlug::isConnected(MStatus* ReturnStatus) const {
    const PlugRef r = checked(*this, ReturnStatus);
    if (!r.mAttribute) return false;
    for (const Attribute* leaf : r.mAttribute->subtree())
        if (hx::Cell* cell = r.mNode->findCell(leaf, r.mPath))
            if (cell->isConnected()) return true;
    return false;
}
bool MPlug::connectedTo(MPlugArray& array, bool asDst, bool asSrc, MStatus* ReturnStatus) const {
    array.clear();
    const PlugRef r = checked(*this, ReturnStatus);
    if (!r.mAttribute) return false;
    const bool compound = r.mAttribute->kind() == AttrKind::Compound;
    std::vector<PlugRef> found;
    auto note = [&](const PlugRef& other) {
        // A child's connection stands for its compound's: report the compound.
        const PlugRef reported = compound && other.mAttribute->parent()
                                     ? PlugRef{other.mNode, other.mAttribute->parent(),
                                               other.mPath.prefix(other.mAttribute->parent()->arrayDepth())}
                                     : other;
        if (std::find(found.begin(), found.end(), reported) == found.end()) found.push_back(reported);
    };
    std::vector<const Attribute*> leaves{r.mAttribute};
    if (compound) {
        leaves.clear();
        for (const auto& child : r.mAttribute->children()) leaves.push_back(child.get());
    }
    for (const Attribute* leaf : leaves)
        if (hx::Cell* cell = r.mNode->findCell(leaf, r.mPath)) {
            if (asDst && cell->source()) note(*cell->source());
            if (asSrc)
                for (const PlugRef& d : cell->destinations()) note(d);
        }
    for (const PlugRef& plug : found) array.append(Access::plug(plug));
    return !found.empty();
}

unsigned int MPlug::logicalIndex(MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    const bool element = !isNull() && r.mAttribute->isArray() && r.index() >= 0;
    hx::report(ReturnStatus, element ? MStatus() : MStatus(MStatus::kInvalidParameter));
    return element ? static_cast<unsigned int>(r.index()) : 0;
}
MPlug MPlug::elementByLogicalIndex(unsigned int logicalIndex, MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    if (!valid(r) || !r.mAttribute->isArray() || logicalIndex > 0x7fffffffu) {
        hx::report(ReturnStatus, Access::fail(MStatus::kInvalidParameter, "the plug is not a multi"));
        return MPlug();
    }
    hx::report(ReturnStatus, MStatus());
    const int level = r.mAttribute->arrayDepth() - 1;
    return Access::plug({r.mNode, r.mAttribute, r.mPath.with(level, static_cast<int>(logicalIndex))});
}
unsigned int MPlug::numChildren(MStatus* ReturnStatus) const {
    const PlugRef r = checked(*this, ReturnStatus);
    return r.mAttribute ? static_cast<unsigned int>(r.mAttribute->children().size()) : 0;
}
MPlug MPlug::child(unsigned int index, MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    if (!valid(r) || index >= r.mAttribute->children().size()) {
        hx::report(ReturnStatus, MStatus(MStatus::kInvalidParameter));
        return MPlug();
    }
    hx::report(ReturnStatus, MStatus());
    return Access::plug({r.mNode, r.mAttribute->children()[index].get(), r.mPath});
}
MPlug MPlug::child(const MObject& attr, MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    auto* wanted = Access::as<Attribute>(attr);
    if (valid(r) && wanted && wanted->parent() == r.mAttribute) {
        hx::report(ReturnStatus, MStatus());
        return Access::plug({r.mNode, wanted, r.mPath});
    }
    hx::report(ReturnStatus, MStatus(MStatus::kInvalidParameter));
    return MPlug();
}
MPlug MPlug::parent(MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    if (!valid(r) || !r.mAttribute->parent()) {
        hx::report(ReturnStatus, MStatus(MStatus::kInvalidParameter));
        return MPlug();
    }
    hx::report(ReturnStatus, MStatus());
    // The parent keeps the elements of the multis around it, not those of the child's own.
    const Attribute* parent = r.mAttribute->parent();
    return Access::plug({r.mNode, parent, r.mPath.prefix(parent->arrayDepth())});
}

MStatus MPlug::getValue(MObject& val, MDGContext&) const {
    MStatus status;
    hx::Cell* cell = pull(*this, status, "MPlug::getValue");
    if (!cell) return status;
    const Attribute* a = Access::ref(*this).mAttribute;
    // A matrix plug hands out matrix data (MFnMatrixData reads it).
    if (a->kind() == AttrKind::Matrix) {
        val = Access::wrap(new hx::MatrixData(cell->value().mMatrix));
        return MStatus();
    }
    if (a->kind() != AttrKind::Typed)
        return Access::fail(MStatus::kInvalidParameter, hx::plugName(Access::ref(*this)) + " does not hold data");
    if (a->dataType() == MFnData::kString) {
        val = Access::wrap(new hx::StringData(cell->value().mString));
        return MStatus();
    }
    // Small arrays are handed out as copies so that a caller's edits cannot reach the graph;
    // meshes, which no function set here edits, are shared.
    auto* data = Access::as<hx::Data>(cell->value().mData);
    val = data && data->dataType() != MFnData::kMesh ? Access::wrap(data->clone().get()) : cell->value().mData;
    return MStatus();
}
MStatus MPlug::getValue(MDataHandle& val, MDGContext&) const {
    MStatus status;
    hx::Cell* cell = pull(*this, status, "MPlug::getValue");
    if (!cell) return status;
    val = Access::handle(Access::ref(*this), cell, true);
    return MStatus();
}
namespace {

// A numeric plug's value, converted to the caller's type; `val` changes only on success.
template <class T>
MStatus numberAs(const MPlug& plug, T& val) {
    double v = 0;
    MStatus s = number(plug, v);
    if (s) val = std::is_same<T, bool>::value ? v != 0.0 : static_cast<T>(v);
    return s;
}

// A unit plug's value with its internal unit (centimetres, radians, film frames).
template <class T, class Unit>
MStatus unitValue(const MPlug& plug, T& val, Unit internalUnit) {
    double v = 0;
    MStatus s = number(plug, v);
    if (s) val = T(v, internalUnit);
    return s;
}

}  // namespace

MStatus MPlug::getValue(double& val, MDGContext&) const { return number(*this, val); }
MStatus MPlug::getValue(float& val, MDGContext&) const { return numberAs(*this, val); }
MStatus MPlug::getValue(int& val, MDGContext&) const { return numberAs(*this, val); }
MStatus MPlug::getValue(short& val, MDGContext&) const { return numberAs(*this, val); }
MStatus MPlug::getValue(bool& val, MDGContext&) const { return numberAs(*this, val); }
MStatus MPlug::getValue(char& val, MDGContext&) const { return numberAs(*this, val); }
MStatus MPlug::getValue(MString& val, MDGContext&) const {
    MStatus status;
    hx::Cell* cell = pull(*this, status, "MPlug::getValue");
    if (!cell) return status;
    const Attribute* a = Access::ref(*this).mAttribute;
    if (a->kind() != AttrKind::Typed || a->dataType() != MFnData::kString)
        return Access::fail(MStatus::kInvalidParameter, hx::plugName(Access::ref(*this)) + " is not a string");
    val = cell->value().mString;
    return MStatus();
}
MStatus MPlug::getValue(MDistance& val, MDGContext&) const { return unitValue(*this, val, MDistance::kCentimeters); }
MStatus MPlug::getValue(MAngle& val, MDGContext&) const { return unitValue(*this, val, MAngle::kRadians); }
MStatus MPlug::getValue(MTime& val, MDGContext&) const { return unitValue(*this, val, MTime::kFilm); }

MObject MPlug::asMObject(MDGContext& ctx, MStatus* ReturnStatus) const {
    MObject value;
    hx::report(ReturnStatus, getValue(value, ctx));
    return value;
}
double MPlug::asDouble(MDGContext&, MStatus* st) const { return asNumber<double>(*this, st, "MPlug::asDouble"); }
float MPlug::asFloat(MDGContext&, MStatus* st) const { return asNumber<float>(*this, st, "MPlug::asFloat"); }
int MPlug::asInt(MDGContext&, MStatus* st) const { return asNumber<int>(*this, st, "MPlug::asInt"); }
short MPlug::asShort(MDGContext&, MStatus* st) const { return asNumber<short>(*this, st, "MPlug::asShort"); }
bool MPlug::asBool(MDGContext&, MStatus* st) const { return asNumber<double>(*this, st, "MPlug::asBool") != 0.0; }
char MPlug::asChar(MDGContext&, MStatus* st) const { return asNumber<char>(*this, st, "MPlug::asChar"); }
MString MPlug::asString(MDGContext& ctx, MStatus* ReturnStatus) const {
    MString value;
    hx::report(ReturnStatus, getValue(value, ctx));
    return value;
}

MStatus MPlug::setValue(MObject& val) { return Access::status(hx::setData(scene(), Access::ref(*this), val)); }
MStatus MPlug::setValue(MPxData*) {
    return Access::fail(MStatus::kNotImplemented, "this host has no plug-in data types");
}
MStatus MPlug::setValue(MDataHandle& handle) {
    hx::Cell* cell = Access::handleCell(handle);
    const Attribute* from = Access::handlePlug(handle).mAttribute;
    const PlugRef r = Access::ref(*this);
    if (!cell || !from || !valid(r)) return Access::fail(MStatus::kInvalidParameter, "null handle or plug");
    const AttrKind kind = r.mAttribute->kind();
    if (kind == AttrKind::Numeric && from->kind() == AttrKind::Numeric) {
        std::vector<double> values;
        for (int i = 0; i < hx::componentCount(r.mAttribute->numericType()); ++i)
            values.push_back(hx::numericComponent(cell->value(), from->numericType(), i));
        return Access::status(hx::setNumbers(scene(), r, values));
    }
    if (kind == AttrKind::Matrix && from->kind() == AttrKind::Matrix)
        return Access::status(hx::setMatrix(scene(), r, cell->value().mMatrix));
    if (kind == AttrKind::Typed && from->kind() == AttrKind::Typed)
        return Access::status(hx::setData(scene(), r, cell->value().mData));
    return Access::fail(MStatus::kInvalidParameter,
                        "type mismatch: the handle's value does not fit " + hx::plugName(r));
}
MStatus MPlug::setValue(double val) { return setNumber(*this, val); }
MStatus MPlug::setValue(float val) { return setNumber(*this, val); }
MStatus MPlug::setValue(int val) { return setNumber(*this, val); }
MStatus MPlug::setValue(short val) { return setNumber(*this, val); }
MStatus MPlug::setValue(bool val) { return setNumber(*this, val ? 1.0 : 0.0); }
MStatus MPlug::setValue(char val) { return setNumber(*this, val); }
MStatus MPlug::setValue(const MString& val) { return Access::status(hx::setString(scene(), Access::ref(*this), val)); }
MStatus MPlug::setValue(const char* val) { return setValue(MString(val)); }
MStatus MPlug::setValue(MDistance& val) { return setNumber(*this, val.asCentimeters()); }
MStatus MPlug::setValue(MAngle& val) { return setNumber(*this, val.asRadians()); }
MStatus MPlug::setValue(MTime& val) { return setNumber(*this, val.as(MTime::kFilm)); }

bool MPlug::operator==(const MPlug& other) const { return Access::ref(*this) == Access::ref(other); }
bool MPlug::operator==(const MObject& other) const { return !mAttribute.isNull() && mAttribute == other; }
bool MPlug::operator!=(const MPlug& other) const { return !(*this == other); }
bool MPlug::operator!=(const MObject& other) const { return !(*this == other); }
MPlug::operator MObject() const { return mAttribute; }
bool MPlug::operator!() const { return isNull(); }
