#include <maya/MAngle.h>
#include <maya/MDataHandle.h>
#include <maya/MDistance.h>
#include <maya/MPlug.h>
#include <maya/MTime.h>

#include "../engine/Data.h"
#include "../engine/Engine.h"
#include "../engine/PlugEdit.h"
#include "../engine/PlugPath.h"
#include "FnSet.h"

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
    plug.mIndex = ref.mIndex;
    return plug;
}

PlugRef Access::ref(const MPlug& plug) {
    return PlugRef{as<Node>(plug.mNode), as<Attribute>(plug.mAttribute), plug.mIndex};
}

}  // namespace hx

namespace {

bool valid(const PlugRef& ref) { return ref.mNode && ref.mAttribute && ref.mNode->mType->has(ref.mAttribute); }

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
    if (ref.mAttribute->inArray() && ref.mIndex < 0) {
        status = Access::fail(MStatus::kInvalidParameter, hx::plugName(ref) + " is a multi: read one element");
        return nullptr;
    }
    status = MStatus();
    return &hx::Engine::get().scene().evaluate(ref);
}

MStatus number(const MPlug& plug, double& out, const char* function = "MPlug::getValue") {
    MStatus status;
    hx::Cell* cell = pull(plug, status, function);
    if (!cell) return status;
    const Attribute* a = Access::ref(plug).mAttribute;
    if (a->mKind != AttrKind::Numeric)
        return Access::fail(MStatus::kInvalidParameter, hx::plugName(Access::ref(plug)) + " is not numeric");
    out = hx::numericComponent(cell->mValue, a->mNumericType, 0);
    return MStatus();
}

MStatus setNumber(const MPlug& plug, double value) {
    std::string error;
    if (!hx::setNumbers(Access::ref(plug), {value}, error)) return Access::fail(MStatus::kInvalidParameter, error);
    return MStatus();
}

template <class T>
T asNumber(const MPlug& plug, MStatus* ReturnStatus, const char* function) {
    double value = 0.0;
    hx::report(ReturnStatus, number(plug, value, function));
    return static_cast<T>(value);
}

}  // namespace

MPlug::MPlug() : mIndex(-1) {}
MPlug::MPlug(const MPlug& in) : mNode(in.mNode), mAttribute(in.mAttribute), mIndex(in.mIndex) {}
MPlug::MPlug(const MObject& node, const MObject& attribute) : mIndex(-1) {
    // A plug is only made for an attribute the node has; otherwise it stays null.
    Node* n = Access::as<Node>(node);
    auto* a = Access::as<Attribute>(attribute);
    if (n && a && n->mType->has(a)) {
        mNode = node;
        mAttribute = attribute;
    }
}
MPlug::~MPlug() {}
MPlug& MPlug::operator=(const MPlug& other) {
    mNode = other.mNode;
    mAttribute = other.mAttribute;
    mIndex = other.mIndex;
    return *this;
}

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

bool MPlug::isArray(MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    hx::report(ReturnStatus, valid(r) ? MStatus() : MStatus(MStatus::kInvalidParameter));
    return valid(r) && r.mAttribute->mArray && r.mIndex < 0;
}
bool MPlug::isElement(MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    hx::report(ReturnStatus, valid(r) ? MStatus() : MStatus(MStatus::kInvalidParameter));
    return valid(r) && r.mAttribute->mArray && r.mIndex >= 0;
}
bool MPlug::isCompound(MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    hx::report(ReturnStatus, valid(r) ? MStatus() : MStatus(MStatus::kInvalidParameter));
    return valid(r) && r.mAttribute->mKind == AttrKind::Compound;
}
bool MPlug::isChild(MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    hx::report(ReturnStatus, valid(r) ? MStatus() : MStatus(MStatus::kInvalidParameter));
    return valid(r) && r.mAttribute->mParent != nullptr;
}
bool MPlug::isConnected(MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    hx::report(ReturnStatus, valid(r) ? MStatus() : MStatus(MStatus::kInvalidParameter));
    if (!valid(r)) return false;
    std::vector<const Attribute*> leaves{r.mAttribute};
    for (const auto& child : r.mAttribute->mChildren) leaves.push_back(child.get());
    for (const Attribute* leaf : leaves)
        if (hx::Cell* cell = r.mNode->findCell(leaf, r.mIndex))
            if (cell->mSource || !cell->mDestinations.empty()) return true;
    return false;
}
unsigned int MPlug::logicalIndex(MStatus* ReturnStatus) const {
    const bool element = mIndex >= 0 && !isNull();
    hx::report(ReturnStatus, element ? MStatus() : MStatus(MStatus::kInvalidParameter));
    return element ? static_cast<unsigned int>(mIndex) : 0;
}
MPlug MPlug::elementByLogicalIndex(unsigned int logicalIndex, MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    if (!valid(r) || !r.mAttribute->mArray || logicalIndex > 0x7fffffffu) {
        hx::report(ReturnStatus, Access::fail(MStatus::kInvalidParameter, "the plug is not a multi"));
        return MPlug();
    }
    hx::report(ReturnStatus, MStatus());
    return Access::plug({r.mNode, r.mAttribute, static_cast<int>(logicalIndex)});
}
unsigned int MPlug::numChildren(MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    hx::report(ReturnStatus, valid(r) ? MStatus() : MStatus(MStatus::kInvalidParameter));
    return valid(r) ? static_cast<unsigned int>(r.mAttribute->mChildren.size()) : 0;
}
MPlug MPlug::child(unsigned int index, MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    if (!valid(r) || index >= r.mAttribute->mChildren.size()) {
        hx::report(ReturnStatus, MStatus(MStatus::kInvalidParameter));
        return MPlug();
    }
    hx::report(ReturnStatus, MStatus());
    return Access::plug({r.mNode, r.mAttribute->mChildren[index].get(), r.mIndex});
}
MPlug MPlug::child(const MObject& attr, MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    auto* wanted = Access::as<Attribute>(attr);
    if (valid(r) && wanted)
        for (const auto& c : r.mAttribute->mChildren)
            if (c.get() == wanted) {
                hx::report(ReturnStatus, MStatus());
                return Access::plug({r.mNode, wanted, r.mIndex});
            }
    hx::report(ReturnStatus, MStatus(MStatus::kInvalidParameter));
    return MPlug();
}
MPlug MPlug::parent(MStatus* ReturnStatus) const {
    const PlugRef r = Access::ref(*this);
    if (!valid(r) || !r.mAttribute->mParent) {
        hx::report(ReturnStatus, MStatus(MStatus::kInvalidParameter));
        return MPlug();
    }
    hx::report(ReturnStatus, MStatus());
    return Access::plug({r.mNode, r.mAttribute->mParent, r.mIndex});
}

MStatus MPlug::getValue(MObject& val, MDGContext&) const {
    MStatus status;
    hx::Cell* cell = pull(*this, status, "MPlug::getValue");
    if (!cell) return status;
    const Attribute* a = Access::ref(*this).mAttribute;
    if (a->mKind != AttrKind::Typed)
        return Access::fail(MStatus::kInvalidParameter, hx::plugName(Access::ref(*this)) + " does not hold data");
    // Small arrays are handed out as copies so that a caller's edits cannot reach the graph;
    // meshes, which no function set here edits, are shared.
    auto* data = Access::as<hx::Data>(cell->mValue.mData);
    val = data && data->dataType() != MFnData::kMesh ? Access::wrap(data->clone().get()) : cell->mValue.mData;
    return MStatus();
}
MStatus MPlug::getValue(MDataHandle& val, MDGContext&) const {
    MStatus status;
    hx::Cell* cell = pull(*this, status, "MPlug::getValue");
    if (!cell) return status;
    const PlugRef r = Access::ref(*this);
    val = Access::handle(r.mNode, r.mAttribute, r.mIndex, cell, true);
    return MStatus();
}
MStatus MPlug::getValue(double& val, MDGContext&) const { return number(*this, val); }
MStatus MPlug::getValue(float& val, MDGContext&) const {
    double v = 0;
    MStatus s = number(*this, v);
    if (s) val = static_cast<float>(v);
    return s;
}
MStatus MPlug::getValue(int& val, MDGContext&) const {
    double v = 0;
    MStatus s = number(*this, v);
    if (s) val = static_cast<int>(v);
    return s;
}
MStatus MPlug::getValue(short& val, MDGContext&) const {
    double v = 0;
    MStatus s = number(*this, v);
    if (s) val = static_cast<short>(v);
    return s;
}
MStatus MPlug::getValue(bool& val, MDGContext&) const {
    double v = 0;
    MStatus s = number(*this, v);
    if (s) val = v != 0.0;
    return s;
}
MStatus MPlug::getValue(char& val, MDGContext&) const {
    double v = 0;
    MStatus s = number(*this, v);
    if (s) val = static_cast<char>(v);
    return s;
}
MStatus MPlug::getValue(MString& val, MDGContext&) const {
    MStatus status;
    hx::Cell* cell = pull(*this, status, "MPlug::getValue");
    if (!cell) return status;
    const Attribute* a = Access::ref(*this).mAttribute;
    if (a->mKind != AttrKind::Typed || a->mDataType != MFnData::kString)
        return Access::fail(MStatus::kInvalidParameter, hx::plugName(Access::ref(*this)) + " is not a string");
    val = cell->mValue.mString;
    return MStatus();
}
MStatus MPlug::getValue(MDistance& val, MDGContext&) const {
    double v = 0;
    MStatus s = number(*this, v);
    if (s) val = MDistance(v, MDistance::kCentimeters);
    return s;
}
MStatus MPlug::getValue(MAngle& val, MDGContext&) const {
    double v = 0;
    MStatus s = number(*this, v);
    if (s) val = MAngle(v, MAngle::kRadians);
    return s;
}
MStatus MPlug::getValue(MTime& val, MDGContext&) const {
    double v = 0;
    MStatus s = number(*this, v);
    if (s) val = MTime(v, MTime::kFilm);
    return s;
}

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

MStatus MPlug::setValue(MObject& val) {
    std::string error;
    const PlugRef r = Access::ref(*this);
    if (r.mAttribute && r.mAttribute->mKind == AttrKind::Matrix) {
        return Access::fail(MStatus::kInvalidParameter, "matrix data objects are not supported; use the engine");
    }
    if (!hx::setData(r, val, error)) return Access::fail(MStatus::kInvalidParameter, error);
    return MStatus();
}
MStatus MPlug::setValue(MPxData*) {
    return Access::fail(MStatus::kNotImplemented, "this host has no plug-in data types");
}
MStatus MPlug::setValue(MDataHandle& handle) {
    hx::Cell* cell = Access::handleCell(handle);
    const Attribute* from = Access::handleAttribute(handle);
    const PlugRef r = Access::ref(*this);
    if (!cell || !from || !valid(r)) return Access::fail(MStatus::kInvalidParameter, "null handle or plug");
    std::string error;
    bool ok = false;
    if (r.mAttribute->mKind == AttrKind::Numeric && from->mKind == AttrKind::Numeric) {
        std::vector<double> values;
        for (int i = 0; i < hx::componentCount(r.mAttribute->mNumericType); ++i)
            values.push_back(hx::numericComponent(cell->mValue, from->mNumericType, i));
        ok = hx::setNumbers(r, values, error);
    } else if (r.mAttribute->mKind == AttrKind::Matrix && from->mKind == AttrKind::Matrix) {
        ok = hx::setMatrix(r, cell->mValue.mMatrix, error);
    } else if (r.mAttribute->mKind == AttrKind::Typed && from->mKind == AttrKind::Typed) {
        ok = hx::setData(r, cell->mValue.mData, error);
    } else {
        error = "type mismatch: the handle's value does not fit " + hx::plugName(r);
    }
    return ok ? MStatus() : Access::fail(MStatus::kInvalidParameter, error);
}
MStatus MPlug::setValue(double val) { return setNumber(*this, val); }
MStatus MPlug::setValue(float val) { return setNumber(*this, val); }
MStatus MPlug::setValue(int val) { return setNumber(*this, val); }
MStatus MPlug::setValue(short val) { return setNumber(*this, val); }
MStatus MPlug::setValue(bool val) { return setNumber(*this, val ? 1.0 : 0.0); }
MStatus MPlug::setValue(char val) { return setNumber(*this, val); }
MStatus MPlug::setValue(const MString& val) {
    const PlugRef r = Access::ref(*this);
    std::string error;
    if (!hx::checkSettable(r, error)) return Access::fail(MStatus::kInvalidParameter, error);
    if (r.mAttribute->mKind != AttrKind::Typed || r.mAttribute->mDataType != MFnData::kString)
        return Access::fail(MStatus::kInvalidParameter, hx::plugName(r) + " is not a string");
    r.mNode->cell(r.mAttribute, r.mIndex).mValue.mString = val;
    hx::Engine::get().scene().propagateDirty(r);
    return MStatus();
}
MStatus MPlug::setValue(const char* val) { return setValue(MString(val)); }
MStatus MPlug::setValue(MDistance& val) { return setNumber(*this, val.asCentimeters()); }
MStatus MPlug::setValue(MAngle& val) { return setNumber(*this, val.asRadians()); }
MStatus MPlug::setValue(MTime& val) { return setNumber(*this, val.as(MTime::kFilm)); }

bool MPlug::operator==(const MPlug& other) const {
    return mNode == other.mNode && mAttribute == other.mAttribute && mIndex == other.mIndex;
}
bool MPlug::operator==(const MObject& other) const { return !mAttribute.isNull() && mAttribute == other; }
bool MPlug::operator!=(const MPlug& other) const { return !(*this == other); }
bool MPlug::operator!=(const MObject& other) const { return !(*this == other); }
MPlug::operator MObject() const { return mAttribute; }
bool MPlug::operator!() const { return isNull(); }
