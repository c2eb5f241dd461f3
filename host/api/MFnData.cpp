#include <maya/MFnData.h>
#include <maya/MFnMatrixData.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnStringData.h>
#include <maya/MFnVectorArrayData.h>

#include "../engine/Data.h"
#include "FnSet.h"

HX_DEFINE_MFN(MFnData, MFn::kData)
HX_DEFINE_MFN(MFnNumericData, MFn::kNumericData)
HX_DEFINE_MFN(MFnVectorArrayData, MFn::kVectorArrayData)
HX_DEFINE_MFN(MFnMatrixData, MFn::kMatrixData)
HX_DEFINE_MFN(MFnStringData, MFn::kStringData)

MObject MFnNumericData::create(Type dataType, MStatus* ReturnStatus) {
    if (hx::componentCount(dataType) == 0) {
        hx::report(ReturnStatus, hx::Access::fail(MStatus::kInvalidParameter, "invalid numeric data type"));
        return MObject();
    }
    mObject = hx::Access::wrap(new hx::NumericData(dataType));
    hx::report(ReturnStatus, MStatus());
    return mObject;
}

MFnNumericData::Type MFnNumericData::numericType(MStatus* ReturnStatus) {
    auto* data = hx::Access::as<hx::NumericData>(mObject);
    hx::report(ReturnStatus, data ? MStatus() : hx::notAttached("MFnNumericData"));
    return data ? data->numericType() : kInvalid;
}

MStatus MFnNumericData::getData(double& val1, double& val2, double& val3) {
    auto* data = hx::Access::as<hx::NumericData>(mObject);
    if (!data) return hx::notAttached("MFnNumericData");
    val1 = data->value(0);
    val2 = data->value(1);
    val3 = data->value(2);
    return MStatus();
}

MStatus MFnNumericData::setData(double val1, double val2, double val3) {
    auto* data = hx::Access::as<hx::NumericData>(mObject);
    if (!data) return hx::notAttached("MFnNumericData");
    data->set(val1, val2, val3);
    return MStatus();
}

MObject MFnVectorArrayData::create(const MVectorArray& in, MStatus* ReturnStatus) {
    if (MStatus fault = hx::injectedFault("MFnVectorArrayData::create"); !fault) {
        hx::report(ReturnStatus, fault);
        return MObject();
    }
    mObject = hx::Access::wrap(new hx::VectorArrayData(in));
    hx::report(ReturnStatus, MStatus());
    return mObject;
}

MObject MFnVectorArrayData::create(MStatus* ReturnStatus) { return create(MVectorArray(), ReturnStatus); }

MVectorArray MFnVectorArrayData::array(MStatus* ReturnStatus) {
    auto* data = hx::Access::as<hx::VectorArrayData>(mObject);
    hx::report(ReturnStatus, data ? MStatus() : hx::notAttached("MFnVectorArrayData"));
    return data ? data->array() : MVectorArray();
}

unsigned int MFnVectorArrayData::length(MStatus* ReturnStatus) const {
    auto* data = hx::Access::as<hx::VectorArrayData>(mObject);
    hx::report(ReturnStatus, data ? MStatus() : hx::notAttached("MFnVectorArrayData"));
    return data ? data->array().length() : 0;
}

MStatus MFnVectorArrayData::set(const MVectorArray& newArray) {
    auto* data = hx::Access::as<hx::VectorArrayData>(mObject);
    if (!data) return hx::notAttached("MFnVectorArrayData");
    data->set(newArray);
    return MStatus();
}

MStatus MFnVectorArrayData::copyTo(MVectorArray& dest) const {
    auto* data = hx::Access::as<hx::VectorArrayData>(mObject);
    if (!data) return hx::notAttached("MFnVectorArrayData");
    dest = data->array();
    return MStatus();
}

MObject MFnMatrixData::create(const MMatrix& in, MStatus* ReturnStatus) {
    if (MStatus fault = hx::injectedFault("MFnMatrixData::create"); !fault) {
        hx::report(ReturnStatus, fault);
        return MObject();
    }
    mObject = hx::Access::wrap(new hx::MatrixData(in));
    hx::report(ReturnStatus, MStatus());
    return mObject;
}

MObject MFnMatrixData::create(MStatus* ReturnStatus) { return create(MMatrix(), ReturnStatus); }

const MMatrix& MFnMatrixData::matrix(MStatus* ReturnStatus) const {
    auto* data = hx::Access::as<hx::MatrixData>(mObject);
    hx::report(ReturnStatus, data ? MStatus() : hx::notAttached("MFnMatrixData"));
    return data ? data->matrix() : MMatrix::identity;
}

MStatus MFnMatrixData::set(const MMatrix& matrix) {
    auto* data = hx::Access::as<hx::MatrixData>(mObject);
    if (!data) return hx::notAttached("MFnMatrixData");
    data->set(matrix);
    return MStatus();
}

MObject MFnStringData::create(const MString& str, MStatus* ReturnStatus) {
    mObject = hx::Access::wrap(new hx::StringData(str));
    hx::report(ReturnStatus, MStatus());
    return mObject;
}

MObject MFnStringData::create(MStatus* ReturnStatus) { return create(MString(), ReturnStatus); }

MString MFnStringData::string(MStatus* ReturnStatus) const {
    auto* data = hx::Access::as<hx::StringData>(mObject);
    hx::report(ReturnStatus, data ? MStatus() : hx::notAttached("MFnStringData"));
    return data ? data->text() : MString();
}

MStatus MFnStringData::set(const MString& newString) {
    auto* data = hx::Access::as<hx::StringData>(mObject);
    if (!data) return hx::notAttached("MFnStringData");
    data->set(newString);
    return MStatus();
}
