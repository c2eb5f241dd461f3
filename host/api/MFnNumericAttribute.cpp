#include <maya/MFnNumericAttribute.h>

#include "../engine/Attribute.h"
#include "AttributeNames.h"
#include "FnSet.h"

using hx::Attribute;

HX_DEFINE_MFN(MFnNumericAttribute, MFn::kNumericAttribute)

namespace {

Attribute* numericAttribute(const MObject& object) {
    Attribute* a = hx::Access::as<Attribute>(object);
    return a && a->mKind == hx::AttrKind::Numeric ? a : nullptr;
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

// Stores up to three values into one of the attribute's value fields.
MStatus setValues(const MObject& object, Field field, int count, double v1, double v2, double v3) {
    Attribute* a = numericAttribute(object);
    if (MStatus fault = hx::injectedFault(setterName(field), hx::faultSubject(a)); !fault) return fault;
    if (!a) return hx::notAttached("MFnNumericAttribute");
    double* target = nullptr;
    switch (field) {
    case Field::Min: target = a->mMin; a->mHasMin = true; break;
    case Field::Max: target = a->mMax; a->mHasMax = true; break;
    case Field::SoftMin: target = &a->mSoftMin; a->mHasSoftMin = true; break;
    case Field::SoftMax: target = &a->mSoftMax; a->mHasSoftMax = true; break;
    case Field::Default: target = a->mDefault; break;
    }
    const double values[3] = {v1, v2, v3};
    for (int i = 0; i < count; ++i) target[i] = values[i];
    return MStatus();
}

}  // namespace

MObject MFnNumericAttribute::create(const MString& fullName, const MString& briefName,
                                    MFnNumericData::Type unitType, double defaultValue, MStatus* ReturnStatus) {
    if (MStatus fault = hx::injectedFault("MFnNumericAttribute::create", fullName.asChar()); !fault) {
        hx::report(ReturnStatus, fault);
        return MObject();
    }
    std::string error;
    if (!hx::validAttributeNames(fullName, briefName, error)) {
        hx::report(ReturnStatus, hx::Access::fail(MStatus::kInvalidParameter, error));
        return MObject();
    }
    if (hx::componentCount(unitType) == 0) {
        hx::report(ReturnStatus, hx::Access::fail(MStatus::kInvalidParameter,
                                                  "numeric type " + std::to_string(unitType) +
                                                      " cannot make an attribute"));
        return MObject();
    }
    auto* a = new Attribute(hx::AttrKind::Numeric, fullName.asChar(), briefName.asChar());
    a->mNumericType = unitType;
    a->mDefault[0] = a->mDefault[1] = a->mDefault[2] = defaultValue;
    mObject = hx::Access::wrap(a);
    hx::report(ReturnStatus, MStatus());
    return mObject;
}

MFnNumericData::Type MFnNumericAttribute::unitType(MStatus* ReturnStatus) const {
    Attribute* a = numericAttribute(mObject);
    hx::report(ReturnStatus, a ? MStatus() : hx::notAttached("MFnNumericAttribute"));
    return a ? a->mNumericType : MFnNumericData::kInvalid;
}

MStatus MFnNumericAttribute::setMin(double a) { return setValues(mObject, Field::Min, 1, a, 0, 0); }
MStatus MFnNumericAttribute::setMin(double a, double b) { return setValues(mObject, Field::Min, 2, a, b, 0); }
MStatus MFnNumericAttribute::setMin(double a, double b, double c) { return setValues(mObject, Field::Min, 3, a, b, c); }
MStatus MFnNumericAttribute::setMax(double a) { return setValues(mObject, Field::Max, 1, a, 0, 0); }
MStatus MFnNumericAttribute::setMax(double a, double b) { return setValues(mObject, Field::Max, 2, a, b, 0); }
MStatus MFnNumericAttribute::setMax(double a, double b, double c) { return setValues(mObject, Field::Max, 3, a, b, c); }
MStatus MFnNumericAttribute::setSoftMin(double a) { return setValues(mObject, Field::SoftMin, 1, a, 0, 0); }
MStatus MFnNumericAttribute::setSoftMax(double a) { return setValues(mObject, Field::SoftMax, 1, a, 0, 0); }

#define HX_NUMERIC_QUERY(Name, Field)                                                  \
    bool MFnNumericAttribute::Name(MStatus* ReturnStatus) const {                    \
        Attribute* a = numericAttribute(mObject);                                    \
        hx::report(ReturnStatus, a ? MStatus() : hx::notAttached("MFnNumericAttribute")); \
        return a && a->Field;                                                        \
    }
HX_NUMERIC_QUERY(hasMin, mHasMin)
HX_NUMERIC_QUERY(hasMax, mHasMax)
HX_NUMERIC_QUERY(hasSoftMin, mHasSoftMin)
HX_NUMERIC_QUERY(hasSoftMax, mHasSoftMax)
#undef HX_NUMERIC_QUERY

namespace {

// Copies up to three limit values out; fails when the attribute has no such limit.
MStatus getLimit(const MObject& object, bool max, double* a, double* b, double* c) {
    Attribute* attr = numericAttribute(object);
    if (!attr) return hx::notAttached("MFnNumericAttribute");
    if (!(max ? attr->mHasMax : attr->mHasMin)) return MStatus::kFailure;
    const double* v = max ? attr->mMax : attr->mMin;
    if (a) *a = v[0];
    if (b) *b = v[1];
    if (c) *c = v[2];
    return MStatus();
}

}  // namespace

MStatus MFnNumericAttribute::getMin(double& a) const { return getLimit(mObject, false, &a, nullptr, nullptr); }
MStatus MFnNumericAttribute::getMin(double& a, double& b) const { return getLimit(mObject, false, &a, &b, nullptr); }
MStatus MFnNumericAttribute::getMin(double& a, double& b, double& c) const { return getLimit(mObject, false, &a, &b, &c); }
MStatus MFnNumericAttribute::getMax(double& a) const { return getLimit(mObject, true, &a, nullptr, nullptr); }
MStatus MFnNumericAttribute::getMax(double& a, double& b) const { return getLimit(mObject, true, &a, &b, nullptr); }
MStatus MFnNumericAttribute::getMax(double& a, double& b, double& c) const { return getLimit(mObject, true, &a, &b, &c); }

MStatus MFnNumericAttribute::getSoftMin(double& a) const {
    Attribute* attr = numericAttribute(mObject);
    if (!attr) return hx::notAttached("MFnNumericAttribute");
    if (!attr->mHasSoftMin) return MStatus::kFailure;
    a = attr->mSoftMin;
    return MStatus();
}

MStatus MFnNumericAttribute::getSoftMax(double& a) const {
    Attribute* attr = numericAttribute(mObject);
    if (!attr) return hx::notAttached("MFnNumericAttribute");
    if (!attr->mHasSoftMax) return MStatus::kFailure;
    a = attr->mSoftMax;
    return MStatus();
}

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
        if (out[i]) *out[i] = static_cast<T>(attr->mDefault[i]);
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
