#include <maya/MFnNumericAttribute.h>

#include "../engine/Attribute.h"
#include "AttributeCreation.h"
#include "AttributeValues.h"
#include "FnSet.h"

#include <algorithm>

using hx::Attribute;
using hx::AttrKind;
using hx::Limit;
using hx::ValueField;

HX_DEFINE_MFN(MFnNumericAttribute, MFn::kNumericAttribute)

namespace {

MStatus setValues(const MObject& object, hx::ValueField field, int count, double v1, double v2, double v3) {
    const double values[3] = {v1, v2, v3};
    return hx::setValues(MFnNumericAttribute::className(), hx::numericAttribute(object), field, count, values);
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

MObject MFnNumericAttribute::create(const MString& fullName, const MString& briefName, MFnNumericData::Type unitType,
                                    double defaultValue, MStatus* ReturnStatus) {
    hx::Ref<Attribute> a =
        hx::newAttribute("MFnNumericAttribute::create", AttrKind::Numeric, fullName, briefName, ReturnStatus);
    if (!a) return MObject();
    if (hx::componentCount(unitType) == 0) {
        hx::report(ReturnStatus,
                   hx::Access::fail(MStatus::kInvalidParameter,
                                    "numeric type " + std::to_string(unitType) + " cannot make an attribute"));
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
    const bool allAttributes =
        std::find(children.begin(), children.end(), static_cast<Attribute*>(nullptr)) == children.end();
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
    Attribute* a = hx::numericAttribute(mObject);
    hx::report(ReturnStatus, a ? MStatus() : hx::notAttached("MFnNumericAttribute"));
    return a ? a->numericType() : MFnNumericData::kInvalid;
}

#define HX_SETTER(Name, Which)                                                                                \
    MStatus MFnNumericAttribute::Name(double a) { return setValues(mObject, ValueField::Which, 1, a, 0, 0); } \
    MStatus MFnNumericAttribute::Name(double a, double b) { return setValues(mObject, ValueField::Which, 2, a, b, 0); }
HX_SETTER(setMin, Min)
HX_SETTER(setMax, Max)
#undef HX_SETTER
MStatus MFnNumericAttribute::setMin(double a, double b, double c) {
    return setValues(mObject, ValueField::Min, 3, a, b, c);
}
MStatus MFnNumericAttribute::setMax(double a, double b, double c) {
    return setValues(mObject, ValueField::Max, 3, a, b, c);
}
MStatus MFnNumericAttribute::setSoftMin(double a) { return setValues(mObject, ValueField::SoftMin, 1, a, 0, 0); }
MStatus MFnNumericAttribute::setSoftMax(double a) { return setValues(mObject, ValueField::SoftMax, 1, a, 0, 0); }

HX_DEFINE_HAS_LIMITS(MFnNumericAttribute, hx::numericAttribute)

namespace {

// Copies up to three values of `field` out, as `T`.
template <class T>
MStatus getAs(const MObject& object, ValueField field, T* a, T* b = nullptr, T* c = nullptr) {
    double values[3] = {0, 0, 0};
    const MStatus status = hx::getValues(MFnNumericAttribute::className(), hx::numericAttribute(object), field,
                                         &values[0], &values[1], &values[2]);
    T* out[3] = {a, b, c};
    if (status)
        for (int i = 0; i < 3; ++i)
            if (out[i]) *out[i] = static_cast<T>(values[i]);
    return status;
}

}  // namespace

MStatus MFnNumericAttribute::getMin(double& a) const { return getAs(mObject, ValueField::Min, &a); }
MStatus MFnNumericAttribute::getMin(double& a, double& b) const { return getAs(mObject, ValueField::Min, &a, &b); }
MStatus MFnNumericAttribute::getMin(double& a, double& b, double& c) const {
    return getAs(mObject, ValueField::Min, &a, &b, &c);
}
MStatus MFnNumericAttribute::getMax(double& a) const { return getAs(mObject, ValueField::Max, &a); }
MStatus MFnNumericAttribute::getMax(double& a, double& b) const { return getAs(mObject, ValueField::Max, &a, &b); }
MStatus MFnNumericAttribute::getMax(double& a, double& b, double& c) const {
    return getAs(mObject, ValueField::Max, &a, &b, &c);
}
MStatus MFnNumericAttribute::getSoftMin(double& a) const { return getAs(mObject, ValueField::SoftMin, &a); }
MStatus MFnNumericAttribute::getSoftMax(double& a) const { return getAs(mObject, ValueField::SoftMax, &a); }

MStatus MFnNumericAttribute::setDefault(bool a) { return setValues(mObject, ValueField::Default, 1, a ? 1 : 0, 0, 0); }
MStatus MFnNumericAttribute::setDefault(char a) { return setValues(mObject, ValueField::Default, 1, a, 0, 0); }

// The defaults of one to three components, each type alike.
#define HX_DEFAULTS(T)                                                                                                \
    MStatus MFnNumericAttribute::setDefault(T a) { return setValues(mObject, ValueField::Default, 1, a, 0, 0); }      \
    MStatus MFnNumericAttribute::setDefault(T a, T b) { return setValues(mObject, ValueField::Default, 2, a, b, 0); } \
    MStatus MFnNumericAttribute::setDefault(T a, T b, T c) {                                                          \
        return setValues(mObject, ValueField::Default, 3, a, b, c);                                                   \
    }                                                                                                                 \
    MStatus MFnNumericAttribute::getDefault(T& a) { return getAs(mObject, ValueField::Default, &a); }                 \
    MStatus MFnNumericAttribute::getDefault(T& a, T& b) { return getAs(mObject, ValueField::Default, &a, &b); }       \
    MStatus MFnNumericAttribute::getDefault(T& a, T& b, T& c) {                                                       \
        return getAs(mObject, ValueField::Default, &a, &b, &c);                                                       \
    }
HX_DEFAULTS(int)
HX_DEFAULTS(float)
HX_DEFAULTS(double)
#undef HX_DEFAULTS

MStatus MFnNumericAttribute::getDefault(bool& a) {
    double d = 0;
    MStatus status = getAs(mObject, ValueField::Default, &d);
    a = d != 0.0;
    return status;
}
MStatus MFnNumericAttribute::getDefault(char& a) { return getAs(mObject, ValueField::Default, &a); }
