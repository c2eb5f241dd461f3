#include <maya/MFnUnitAttribute.h>

#include "../engine/Attribute.h"
#include "AttributeCreation.h"
#include "AttributeValues.h"
#include "FnSet.h"

using hx::Attribute;
using hx::ValueField;

HX_DEFINE_MFN(MFnUnitAttribute, MFn::kUnitAttribute)

namespace {

hx::Unit engineUnit(MFnUnitAttribute::Type type) {
    switch (type) {
    case MFnUnitAttribute::kAngle: return hx::Unit::Angle;
    case MFnUnitAttribute::kDistance: return hx::Unit::Distance;
    case MFnUnitAttribute::kTime: return hx::Unit::Time;
    default: return hx::Unit::Scalar;
    }
}

// Values in the host's internal units.
double internal(const MTime& value) { return value.as(MTime::kFilm); }
double internal(const MAngle& value) { return value.asRadians(); }
double internal(const MDistance& value) { return value.asCentimeters(); }
void fromInternal(double value, MTime& out) { out = MTime(value, MTime::kFilm); }
void fromInternal(double value, MAngle& out) { out = MAngle(value, MAngle::kRadians); }
void fromInternal(double value, MDistance& out) { out = MDistance(value, MDistance::kCentimeters); }

MStatus setValue(const MObject& object, ValueField field, double value) {
    return hx::setValues(MFnUnitAttribute::className(), hx::unitAttribute(object), field, 1, &value);
}

MStatus getValue(const MObject& object, ValueField field, double& value) {
    return hx::getValues(MFnUnitAttribute::className(), hx::unitAttribute(object), field, &value);
}

template <class T>
MStatus getValue(const MObject& object, ValueField field, T& value) {
    double number = 0.0;
    const MStatus status = getValue(object, field, number);
    if (status) fromInternal(number, value);
    return status;
}

}  // namespace

MObject MFnUnitAttribute::create(const MString& fullName, const MString& briefName, Type unitType, double defaultValue,
                                 MStatus* ReturnStatus) {
    hx::Ref<Attribute> a =
        hx::newAttribute("MFnUnitAttribute::create", hx::AttrKind::Numeric, fullName, briefName, ReturnStatus);
    if (!a) return MObject();
    if (engineUnit(unitType) == hx::Unit::Scalar) {
        hx::report(ReturnStatus, hx::Access::fail(MStatus::kInvalidParameter, "invalid unit type"));
        return MObject();
    }
    a->setNumericType(MFnNumericData::kDouble);
    a->setUnit(engineUnit(unitType));
    a->setDefault(1, &defaultValue);
    mObject = hx::Access::wrap(a.get());
    return mObject;
}

MObject MFnUnitAttribute::create(const MString& fullName, const MString& briefName, const MTime& defaultValue,
                                 MStatus* ReturnStatus) {
    return create(fullName, briefName, kTime, internal(defaultValue), ReturnStatus);
}
MObject MFnUnitAttribute::create(const MString& fullName, const MString& briefName, const MAngle& defaultValue,
                                 MStatus* ReturnStatus) {
    return create(fullName, briefName, kAngle, internal(defaultValue), ReturnStatus);
}
MObject MFnUnitAttribute::create(const MString& fullName, const MString& briefName, const MDistance& defaultValue,
                                 MStatus* ReturnStatus) {
    return create(fullName, briefName, kDistance, internal(defaultValue), ReturnStatus);
}

MFnUnitAttribute::Type MFnUnitAttribute::unitType(MStatus* ReturnStatus) const {
    Attribute* a = hx::unitAttribute(mObject);
    hx::report(ReturnStatus, a ? MStatus() : hx::notAttached(MFnUnitAttribute::className()));
    switch (a ? a->unit() : hx::Unit::Scalar) {
    case hx::Unit::Angle: return kAngle;
    case hx::Unit::Distance: return kDistance;
    case hx::Unit::Time: return kTime;
    case hx::Unit::Scalar: break;
    }
    return kInvalid;
}

HX_DEFINE_HAS_LIMITS(MFnUnitAttribute, hx::unitAttribute)

// Each field's setter and getter, for plain numbers and each unit class.
#define HX_UNIT_FIELD(Setter, Getter, Field)                                                                           \
    MStatus MFnUnitAttribute::Setter(double v) { return setValue(mObject, ValueField::Field, v); }                     \
    MStatus MFnUnitAttribute::Setter(const MTime& v) { return setValue(mObject, ValueField::Field, internal(v)); }     \
    MStatus MFnUnitAttribute::Setter(const MAngle& v) { return setValue(mObject, ValueField::Field, internal(v)); }    \
    MStatus MFnUnitAttribute::Setter(const MDistance& v) { return setValue(mObject, ValueField::Field, internal(v)); } \
    MStatus MFnUnitAttribute::Getter(double& v) const { return getValue(mObject, ValueField::Field, v); }              \
    MStatus MFnUnitAttribute::Getter(MTime& v) const { return getValue(mObject, ValueField::Field, v); }               \
    MStatus MFnUnitAttribute::Getter(MAngle& v) const { return getValue(mObject, ValueField::Field, v); }              \
    MStatus MFnUnitAttribute::Getter(MDistance& v) const { return getValue(mObject, ValueField::Field, v); }
HX_UNIT_FIELD(setMin, getMin, Min)
HX_UNIT_FIELD(setMax, getMax, Max)
HX_UNIT_FIELD(setSoftMin, getSoftMin, SoftMin)
HX_UNIT_FIELD(setSoftMax, getSoftMax, SoftMax)
HX_UNIT_FIELD(setDefault, getDefault, Default)
#undef HX_UNIT_FIELD
