#include <maya/MFnEnumAttribute.h>

#include "../engine/Attribute.h"
#include "AttributeCreation.h"
#include "AttributeValues.h"
#include "FnSet.h"

#include <algorithm>

using hx::Attribute;
using hx::Limit;
using hx::ValueField;

HX_DEFINE_MFN(MFnEnumAttribute, MFn::kEnumAttribute)

namespace {

// The index of the field named `name`, or null.
const short* indexOf(const Attribute* a, const std::string& name) {
    for (const auto& [index, field] : a->enumFields())
        if (field == name) return &index;
    return nullptr;
}

}  // namespace

MObject MFnEnumAttribute::create(const MString& fullName, const MString& briefName, short defaultValue,
                                 MStatus* ReturnStatus) {
    hx::Ref<Attribute> a =
        hx::newAttribute("MFnEnumAttribute::create", hx::AttrKind::Numeric, fullName, briefName, ReturnStatus);
    if (!a) return MObject();
    a->setNumericType(MFnNumericData::kShort);
    a->makeEnum();
    const double value = defaultValue;
    a->setDefault(1, &value);
    mObject = hx::Access::wrap(a.get());
    return mObject;
}

MStatus MFnEnumAttribute::addField(const MString& fieldString, short index) {
    Attribute* a = hx::enumAttribute(mObject);
    if (!a) return hx::notAttached(MFnEnumAttribute::className());
    if (hx::Error error = a->addEnumField(fieldString.asChar(), index)) return hx::Access::status(error);
    // Values stay within the fields' range.
    short lo = index, hi = index;
    for (const auto& field : a->enumFields()) {
        lo = std::min(lo, field.first);
        hi = std::max(hi, field.first);
    }
    const double min = lo, max = hi;
    a->setLimit(Limit::Min, 1, &min);
    a->setLimit(Limit::Max, 1, &max);
    return MStatus();
}

MString MFnEnumAttribute::fieldName(short index, MStatus* ReturnStatus) const {
    Attribute* a = hx::enumAttribute(mObject);
    if (a)
        for (const auto& [value, field] : a->enumFields())
            if (value == index) {
                hx::report(ReturnStatus, MStatus());
                return MString(field.c_str());
            }
    hx::report(ReturnStatus, a ? MStatus(MStatus::kInvalidParameter) : hx::notAttached(MFnEnumAttribute::className()));
    return MString();
}

short MFnEnumAttribute::fieldIndex(const MString& fieldString, MStatus* ReturnStatus) const {
    Attribute* a = hx::enumAttribute(mObject);
    const short* index = a ? indexOf(a, fieldString.asChar()) : nullptr;
    hx::report(ReturnStatus, index ? MStatus()
                             : a   ? MStatus(MStatus::kInvalidParameter)
                                   : hx::notAttached(MFnEnumAttribute::className()));
    return index ? *index : 0;
}

namespace {

MStatus getShort(const MObject& object, ValueField field, short& value) {
    double number = 0.0;
    const MStatus status = hx::getValues(MFnEnumAttribute::className(), hx::enumAttribute(object), field, &number);
    if (status) value = static_cast<short>(number);
    return status;
}

}  // namespace

MStatus MFnEnumAttribute::getMin(short& minValue) const { return getShort(mObject, ValueField::Min, minValue); }
MStatus MFnEnumAttribute::getMax(short& maxValue) const { return getShort(mObject, ValueField::Max, maxValue); }
MStatus MFnEnumAttribute::getDefault(short& index) const { return getShort(mObject, ValueField::Default, index); }

MStatus MFnEnumAttribute::setDefault(short index) {
    const double value = index;
    return hx::setValues(MFnEnumAttribute::className(), hx::enumAttribute(mObject), ValueField::Default, 1, &value);
}

MStatus MFnEnumAttribute::setDefault(const MString& fieldString) {
    Attribute* a = hx::enumAttribute(mObject);
    if (!a) return hx::notAttached(MFnEnumAttribute::className());
    const short* index = indexOf(a, fieldString.asChar());
    if (!index)
        return hx::Access::fail(MStatus::kInvalidParameter,
                                "'" + a->name() + "' has no field named '" + fieldString.asChar() + "'");
    return setDefault(*index);
}

MString MFnEnumAttribute::defaultValue(MStatus* ReturnStatus) const {
    short index = 0;
    const MStatus status = getDefault(index);
    if (!status) {
        hx::report(ReturnStatus, status);
        return MString();
    }
    return fieldName(index, ReturnStatus);
}
