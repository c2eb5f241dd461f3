#include <maya/MFnNumericAttribute.h>

#include "../engine/Attribute.h"
#include "AttributeCreation.h"
#include "FnSet.h"

#include <algorithm>

using hx::Attribute;
using hx::AttrKind;
using hx::Limit;

HX_DEFINE_MFN(MFnNumericAttribute, MFn::kNumericAttribute)

namespace {

// A numeric attribute, or a compound of numbers made as one (a point, a colour).
Attribute* numericAttribute(const MObject& object) {
    Attribute* a = hx::Access::as<Attribute>(object);
    const bool numeric = a && (a->kind() == AttrKind::Numeric || (a->kind() == AttrKind::Compound &&
                                                                   a->numericType() != MFnNumericData::kInvalid));
    return numeric ? a : nullptr;
}

enum class Field { Min, Max, SoftMin, SoftMax, Default };

// The API function that sets `field`, as a fault plan names it.
const char* setterName(Field field) {
    switch (field) {
    case Field::Min: return "MFnNumericAttribute::setMin";
    case Field::Max: return "MFnNumericAttribute::setMax";
    case Field::SoftMin: return "MFnNumericAttribute::setSoftMin";
    case Field::SoftMax: return "MFnNumericAttribute::setSoftMax";
    case Field::Default: return "MFnNumericAttribute::setDefault";
    }
    return "MFnNumericAttribute";
}

void store(Attribute* a, Field field, int count, const double values[]) {
    if (field == Field::Default)
        a->setDefault(count, values);
    else
        a->setLimit(static_cast<Limit>(field), count, values);
}

// Stores up to three values into one of the attribute's value fields; a compound of numbers
// keeps them in its children too, one each.
MStatus setValues(const MObject& object, Field field, int count, double v1, double v2, double v3) {
    Attribute* a = numericAttribute(object);
    if (MStatus fault = hx::injectedFault(setterName(field), hx::faultSubject(a)); !fault) return fault;
    if (!a) return hx::notAttached("MFnNumericAttribute");
    const double values[3] = {v1, v2, v3};
    store(a, field, count, values);
    if (a->kind() == AttrKind::Compound)
        for (int i = 0; i < count && i < static_cast<int>(a->children().size()); ++i)
            store(a->children()[i].get(), field, 1, &values[i]);
    return MStatus();
}

// The numeric type of a compound of `children`: k2/k3 of their one shared type.
MFnNumericData::Type compoundType(const std::vector<Attribute*>& children) {
    const MFnNumericData::Type first = children[0]->numericType();
    for (const Attribute* child : children)
        if (child->kind() != AttrKind::Numeric || child->isEnum() || child->numericType() != first)
            return MFnNumericData::kInvalid;
    const bool three = children.size() == 3;
    switch (first) {
    case MFnNumericData::kShort: return three ? MFnNumericData::k3Short : MFnNumericData::k2Short;
    case MFnNumericData::kInt: return three ? MFnNumericData::k3Int : MFnNumericData::k2Int;
    case MFnNumericData::kFloat: return three ? MFnNumericData::k3Float : MFnNumericData::k2Float;
    case MFnNumericData::kDouble: return three ? MFnNumericData::k3Double : MFnNumericData::k2Double;
    default: return MFnNumericData::kInvalid;
    }
}

}  // namespace

MObject MFnNumericAttribute::create(const MString& fullName, const MString& briefName,
                                    MFnNumericData::Type unitType, double defaultValue, MStatus* ReturnStatus) {
    hx::Ref<Attribute> a =
        hx::newAttribute("MFnNumericAttribute::create", AttrKind::Numeric, fullName, briefName, ReturnStatus);
    if (!a) return MObject();
    if (hx::componentCount(unitType) == 0) {
        hx::report(ReturnStatus, hx::Access::fail(MStatus::kInvalidParameter, "numeric type " + std::to_string(unitType) +
                                                                                  " cannot make an attribute"));
        return MObject();
    }
    a->setNumericType(unitType);
    const double defaults[3] = {defaultValue, defaultValue, defaultValue};
    a->setDefault(3, defaults);
    mObject = hx::Access::wrap(a.get());
    return mObject;
}

MObject MFnNumericAttribute::create(const MString& fullName, const MString& briefName, const MObject& child1,
                                    const MObject& child2, const MObject& child3, MStatus* ReturnStatus) {
    hx::Ref<Attribute> a =
        hx::newAttribute("MFnNumericAttribute::create", AttrKind::Compound, fullName, briefName, ReturnStatus);
    if (!a) return MObject();
    std::vector<Attribute*> children;
    for (const MObject* child : {&child1, &child2, &child3})
        if (!child->isNull() || child != &child3) children.push_back(hx::Access::as<Attribute>(*child));
    const bool allAttributes = std::find(children.begin(), children.end(), static_cast<Attribute*>(nullptr)) == children.end();
    const MFnNumericData::Type type = allAttributes ? compoundType(children) : MFnNumericData::kInvalid;
    if (type == MFnNumericData::kInvalid) {
        hx::report(ReturnStatus, hx::Access::fail(MStatus::kInvalidParameter,
                                                  "'" + std::string(fullName.asChar()) +
                                                      "': the children must be numeric attributes of one type"));
        return MObject();
    }
    a->setNumericType(type);
    for (Attribute* child : children) {
        if (hx::Error error = a->addChild(hx::Ref<Attribute>(child))) {
            // Children already taken stay with the attribute that failed: give them back.
            while (!a->children().empty()) static_cast<void>(a->removeChild(a->children().back().get()));
            hx::report(ReturnStatus, hx::Access::status(error));
            return MObject();
        }
    }
    double defaults[3] = {0, 0, 0};
    for (size_t i = 0; i < children.size(); ++i) defaults[i] = children[i]->defaultValue();
    a->setDefault(static_cast<int>(children.size()), defaults);
    mObject = hx::Access::wrap(a.get());
    return mObject;
}

namespace {

// A compound of three floats named <name><suffix>.
MObject createFloatTriple(MFnNumericAttribute& fn, const MString& fullName, const MString& briefName,
                          const char* suffixes, MStatus* ReturnStatus) {
    MFnNumericAttribute childFn;
    MObject children[3];
    for (int i = 0; i < 3; ++i) {
        const char suffix[2] = {suffixes[i], '\0'};
        children[i] = childFn.create(fullName + suffix, briefName + suffix, MFnNumericData::kFloat, 0.0, ReturnStatus);
        if (children[i].isNull()) return MObject();
    }
    return fn.create(fullName, briefName, children[0], children[1], children[2], ReturnStatus);
}

}  // namespace

MObject MFnNumericAttribute::createPoint(const MString& fullName, const MString& briefName, MStatus* ReturnStatus) {
    return createFloatTriple(*this, fullName, briefName, "XYZ", ReturnStatus);
}

MObject MFnNumericAttribute::createColor(const MString& fullName, const MString& briefName, MStatus* ReturnStatus) {
    MObject color = createFloatTriple(*this, fullName, briefName, "RGB", ReturnStatus);
    if (Attribute* a = hx::Access::as<Attribute>(color)) static_cast<void>(a->setFlag(hx::Flag::UsedAsColor, true));
    return color;
}

MFnNumericData::Type MFnNumericAttribute::unitType(MStatus* ReturnStatus) const {
    Attribute* a = numericAttribute(mObject);
    hx::report(ReturnStatus, a ? MStatus() : hx::notAttached("MFnNumericAttribute"));
    return a ? a->numericType() : MFnNumericData::kInvalid;
}

MStatus MFnNumericAttribute::setMin(double a) { return setValues(mObject, Field::Min, 1, a, 0, 0); }
MStatus MFnNumericAttribute::setMin(double a, double b) { return setValues(mObject, Field::Min, 2, a, b, 0); }
MStatus MFnNumericAttribute::setMin(double a, double b, double c) { return setValues(mObject, Field::Min, 3, a, b, c); }
MStatus MFnNumericAttribute::setMax(double a) { return setValues(mObject, Field::Max, 1, a, 0, 0); }
MStatus MFnNumericAttribute::setMax(double a, double b) { return setValues(mObject, Field::Max, 2, a, b, 0); }
MStatus MFnNumericAttribute::setMax(double a, double b, double c) { return setValues(mObject, Field::Max, 3, a, b, c); }
MStatus MFnNumericAttribute::setSoftMin(double a) { return setValues(mObject, Field::SoftMin, 1, a, 0, 0); }
MStatus MFnNumericAttribute::setSoftMax(double a) { return setValues(mObject, Field::SoftMax, 1, a, 0, 0); }

namespace {

bool hasLimit(const MObject& object, Limit which, MStatus* ReturnStatus) {
    Attribute* a = numericAttribute(object);
    hx::report(ReturnStatus, a ? MStatus() : hx::notAttached("MFnNumericAttribute"));
    return a && a->hasLimit(which);
}

// Copies up to three limit values out; fails when the attribute has no such limit.
MStatus getLimit(const MObject& object, Limit which, double* a, double* b, double* c) {
    Attribute* attr = numericAttribute(object);
    if (!attr) return hx::notAttached("MFnNumericAttribute");
    if (!attr->hasLimit(which)) return MStatus::kFailure;
    double* out[3] = {a, b, c};
    for (int i = 0; i < 3; ++i)
        if (out[i]) *out[i] = attr->limit(which, i);
    return MStatus();
}

}  // namespace

bool MFnNumericAttribute::hasMin(MStatus* st) const { return hasLimit(mObject, Limit::Min, st); }
bool MFnNumericAttribute::hasMax(MStatus* st) const { return hasLimit(mObject, Limit::Max, st); }
bool MFnNumericAttribute::hasSoftMin(MStatus* st) const { return hasLimit(mObject, Limit::SoftMin, st); }
bool MFnNumericAttribute::hasSoftMax(MStatus* st) const { return hasLimit(mObject, Limit::SoftMax, st); }

MStatus MFnNumericAttribute::getMin(double& a) const { return getLimit(mObject, Limit::Min, &a, nullptr, nullptr); }
MStatus MFnNumericAttribute::getMin(double& a, double& b) const { return getLimit(mObject, Limit::Min, &a, &b, nullptr); }
MStatus MFnNumericAttribute::getMin(double& a, double& b, double& c) const { return getLimit(mObject, Limit::Min, &a, &b, &c); }
MStatus MFnNumericAttribute::getMax(double& a) const { return getLimit(mObject, Limit::Max, &a, nullptr, nullptr); }
MStatus MFnNumericAttribute::getMax(double& a, double& b) const { return getLimit(mObject, Limit::Max, &a, &b, nullptr); }
MStatus MFnNumericAttribute::getMax(double& a, double& b, double& c) const { return getLimit(mObject, Limit::Max, &a, &b, &c); }
MStatus MFnNumericAttribute::getSoftMin(double& a) const { return getLimit(mObject, Limit::SoftMin, &a, nullptr, nullptr); }
MStatus MFnNumericAttribute::getSoftMax(double& a) const { return getLimit(mObject, Limit::SoftMax, &a, nullptr, nullptr); }

MStatus MFnNumericAttribute::setDefault(bool a) { return setValues(mObject, Field::Default, 1, a ? 1 : 0, 0, 0); }
MStatus MFnNumericAttribute::setDefault(char a) { return setValues(mObject, Field::Default, 1, a, 0, 0); }
MStatus MFnNumericAttribute::setDefault(int a) { return setValues(mObject, Field::Default, 1, a, 0, 0); }
MStatus MFnNumericAttribute::setDefault(int a, int b) { return setValues(mObject, Field::Default, 2, a, b, 0); }
MStatus MFnNumericAttribute::setDefault(int a, int b, int c) { return setValues(mObject, Field::Default, 3, a, b, c); }
MStatus MFnNumericAttribute::setDefault(float a) { return setValues(mObject, Field::Default, 1, a, 0, 0); }
MStatus MFnNumericAttribute::setDefault(float a, float b) { return setValues(mObject, Field::Default, 2, a, b, 0); }
MStatus MFnNumericAttribute::setDefault(float a, float b, float c) { return setValues(mObject, Field::Default, 3, a, b, c); }
MStatus MFnNumericAttribute::setDefault(double a) { return setValues(mObject, Field::Default, 1, a, 0, 0); }
MStatus MFnNumericAttribute::setDefault(double a, double b) { return setValues(mObject, Field::Default, 2, a, b, 0); }
MStatus MFnNumericAttribute::setDefault(double a, double b, double c) { return setValues(mObject, Field::Default, 3, a, b, c); }

namespace {

template <class T>
MStatus getDefaults(const MObject& object, T* a, T* b, T* c) {
    Attribute* attr = numericAttribute(object);
    if (!attr) return hx::notAttached("MFnNumericAttribute");
    T* out[3] = {a, b, c};
    for (int i = 0; i < 3; ++i)
        if (out[i]) *out[i] = static_cast<T>(attr->defaultValue(i));
    return MStatus();
}

}  // namespace

MStatus MFnNumericAttribute::getDefault(bool& a) {
    double d = 0;
    MStatus status = getDefaults<double>(mObject, &d, nullptr, nullptr);
    a = d != 0.0;
    return status;
}
MStatus MFnNumericAttribute::getDefault(char& a) { return getDefaults<char>(mObject, &a, nullptr, nullptr); }
MStatus MFnNumericAttribute::getDefault(int& a) { return getDefaults<int>(mObject, &a, nullptr, nullptr); }
MStatus MFnNumericAttribute::getDefault(int& a, int& b) { return getDefaults<int>(mObject, &a, &b, nullptr); }
MStatus MFnNumericAttribute::getDefault(int& a, int& b, int& c) { return getDefaults<int>(mObject, &a, &b, &c); }
MStatus MFnNumericAttribute::getDefault(float& a) { return getDefaults<float>(mObject, &a, nullptr, nullptr); }
MStatus MFnNumericAttribute::getDefault(float& a, float& b) { return getDefaults<float>(mObject, &a, &b, nullptr); }
MStatus MFnNumericAttribute::getDefault(float& a, float& b, float& c) { return getDefaults<float>(mObject, &a, &b, &c); }
MStatus MFnNumericAttribute::getDefault(double& a) { return getDefaults<double>(mObject, &a, nullptr, nullptr); }
MStatus MFnNumericAttribute::getDefault(double& a, double& b) { return getDefaults<double>(mObject, &a, &b, nullptr); }
MStatus MFnNumericAttribute::getDefault(double& a, double& b, double& c) { return getDefaults<double>(mObject, &a, &b, &c); }
