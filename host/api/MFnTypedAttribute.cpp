#include <maya/MFloatMatrix.h>
#include <maya/MFnMatrixAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MMatrix.h>

#include "../engine/Attribute.h"
#include "AttributeCreation.h"
#include "FnSet.h"

using hx::Attribute;

HX_DEFINE_MFN(MFnTypedAttribute, MFn::kTypedAttribute)
HX_DEFINE_MFN(MFnMatrixAttribute, MFn::kMatrixAttribute)

namespace {

// A typed attribute's default must be data of the attribute's own type.
MStatus checkDefault(const MObject& data, MFnData::Type type, hx::Data*& out) {
    out = nullptr;
    if (data.isNull()) return MStatus();
    out = hx::Access::as<hx::Data>(data);
    if (!out || out->dataType() != type)
        return hx::Access::fail(MStatus::kInvalidParameter, "the default data does not match the attribute's type");
    return MStatus();
}

}  // namespace

MObject MFnTypedAttribute::create(const MString& fullName, const MString& briefName, MFnData::Type type,
                                  MObject defaultData, MStatus* ReturnStatus) {
    hx::Ref<Attribute> a =
        hx::newAttribute("MFnTypedAttribute::create", hx::AttrKind::Typed, fullName, briefName, ReturnStatus);
    if (!a) return MObject();
    if (type <= MFnData::kInvalid || type >= MFnData::kLast) {
        hx::report(ReturnStatus, hx::Access::fail(MStatus::kInvalidParameter, "invalid data type"));
        return MObject();
    }
    hx::Data* data = nullptr;
    MStatus status = checkDefault(defaultData, type, data);
    if (!status) {
        hx::report(ReturnStatus, status);
        return MObject();
    }
    a->setDataType(type);
    a->setDefaultData(hx::Ref<hx::Data>(data));
    mObject = hx::Access::wrap(a.get());
    return mObject;
}

MObject MFnTypedAttribute::create(const MString& fullName, const MString&, const MTypeId&, MObject,
                                  MStatus* ReturnStatus) {
    hx::report(ReturnStatus, hx::Access::fail(MStatus::kNotImplemented, std::string("'") + fullName.asChar() +
                                                                            "': this host has no plug-in data types"));
    return MObject();
}

MObject MFnTypedAttribute::create(const MString& fullName, const MString& briefName, MFnData::Type type,
                                  MStatus* ReturnStatus) {
    return create(fullName, briefName, type, MObject::kNullObj, ReturnStatus);
}

MFnData::Type MFnTypedAttribute::attrType(MStatus* ReturnStatus) const {
    Attribute* a = hx::attributeOfKind(mObject, hx::AttrKind::Typed);
    hx::report(ReturnStatus, a ? MStatus() : hx::notAttached("MFnTypedAttribute"));
    return a ? a->dataType() : MFnData::kInvalid;
}

MStatus MFnTypedAttribute::setDefault(const MObject& defaultData) {
    Attribute* a = hx::attributeOfKind(mObject, hx::AttrKind::Typed);
    if (!a) return hx::notAttached("MFnTypedAttribute");
    hx::Data* data = nullptr;
    MStatus status = checkDefault(defaultData, a->dataType(), data);
    if (status) a->setDefaultData(hx::Ref<hx::Data>(data));
    return status;
}

MStatus MFnTypedAttribute::getDefault(MObject& defaultData) {
    Attribute* a = hx::attributeOfKind(mObject, hx::AttrKind::Typed);
    if (!a) return hx::notAttached("MFnTypedAttribute");
    defaultData = hx::Access::wrap(a->defaultData().get());
    return MStatus();
}

MObject MFnMatrixAttribute::create(const MString& fullName, const MString& briefName, Type matrixType,
                                   MStatus* ReturnStatus) {
    hx::Ref<Attribute> a =
        hx::newAttribute("MFnMatrixAttribute::create", hx::AttrKind::Matrix, fullName, briefName, ReturnStatus);
    if (!a) return MObject();
    a->setMatrixType(matrixType);
    mObject = hx::Access::wrap(a.get());
    return mObject;
}

MStatus MFnMatrixAttribute::setDefault(const MMatrix& matrix) {
    Attribute* a = hx::attributeOfKind(mObject, hx::AttrKind::Matrix);
    if (!a) return hx::notAttached("MFnMatrixAttribute");
    a->setDefaultMatrix(matrix);
    return MStatus();
}

MStatus MFnMatrixAttribute::getDefault(MMatrix& matrix) {
    Attribute* a = hx::attributeOfKind(mObject, hx::AttrKind::Matrix);
    if (!a) return hx::notAttached("MFnMatrixAttribute");
    matrix = a->defaultMatrix();
    return MStatus();
}

MStatus MFnMatrixAttribute::setDefault(const MFloatMatrix& matrix) { return setDefault(MMatrix(matrix.matrix)); }

MStatus MFnMatrixAttribute::getDefault(MFloatMatrix& matrix) {
    MMatrix m;
    MStatus status = getDefault(m);
    if (status) matrix = MFloatMatrix(m.matrix);
    return status;
}
