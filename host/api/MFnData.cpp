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

namespace {

// Attaches `attached` to a new data object holding `value` and returns it; a fault plan may
// refuse `function` (no subject), which leaves the set as it was.
template <class D, class T>
MObject createData(const char* function, const T& value, MObject& attached, MStatus* ReturnStatus) {
    MStatus status = function ? hx::injectedFault(function) : MStatus();
    hx::report(ReturnStatus, status);
    if (!status) return MObject();
    return attached = hx::Access::wrap(new D(value));
}

// The data object of kind D a set is attached to, or null; the status says which.
template <class D>
D* attachedData(const MObject& object, const char* functionSet, MStatus* ReturnStatus) {
    auto* data = hx::Access::as<D>(object);
    hx::report(ReturnStatus, data ? MStatus() : hx::notAttached(functionSet));
    return data;
}

template <class D, class T>
MStatus setData(const MObject& object, const char* functionSet, const T& value) {
    MStatus status;
    if (D* data = attachedData<D>(object, functionSet, &status)) data->set(value);
    return status;
}

}  // namespace

MObject MFnVectorArrayData::create(const MVectorArray& in, MStatus* ReturnStatus) {
    return createData<hx::VectorArrayData>("MFnVectorArrayData::create", in, mObject, ReturnStatus);
}
MObject MFnVectorArrayData::create(MStatus* ReturnStatus) { return create(MVectorArray(), ReturnStatus); }
MVectorArray MFnVectorArrayData::array(MStatus* ReturnStatus) {
    auto* data = attachedData<hx::VectorArrayData>(mObject, "MFnVectorArrayData", ReturnStatus);
    return data ? data->value() : MVectorArray();
}
unsigned int MFnVectorArrayData::length(MStatus* ReturnStatus) const {
    auto* data = attachedData<hx::VectorArrayData>(mObject, "MFnVectorArrayData", ReturnStatus);
    return data ? data->value().length() : 0;
}
MStatus MFnVectorArrayData::set(const MVectorArray& newArray) {
    return setData<hx::VectorArrayData>(mObject, "MFnVectorArrayData", newArray);
}
MStatus MFnVectorArrayData::copyTo(MVectorArray& dest) const {
    MStatus status;
    if (auto* data = attachedData<hx::VectorArrayData>(mObject, "MFnVectorArrayData", &status)) dest = data->value();
    return status;
}

MObject MFnMatrixData::create(const MMatrix& in, MStatus* ReturnStatus) {
    return createData<hx::MatrixData>("MFnMatrixData::create", in, mObject, ReturnStatus);
}
MObject MFnMatrixData::create(MStatus* ReturnStatus) { return create(MMatrix(), ReturnStatus); }
const MMatrix& MFnMatrixData::matrix(MStatus* ReturnStatus) const {
    auto* data = attachedData<hx::MatrixData>(mObject, "MFnMatrixData", ReturnStatus);
    return data ? data->value() : MMatrix::identity;
}
MStatus MFnMatrixData::set(const MMatrix& matrix) { return setData<hx::MatrixData>(mObject, "MFnMatrixData", matrix); }

MObject MFnStringData::create(const MString& str, MStatus* ReturnStatus) {
    return createData<hx::StringData>(nullptr, str, mObject, ReturnStatus);
}
MObject MFnStringData::create(MStatus* ReturnStatus) { return create(MString(), ReturnStatus); }
MString MFnStringData::string(MStatus* ReturnStatus) const {
    auto* data = attachedData<hx::StringData>(mObject, "MFnStringData", ReturnStatus);
    return data ? data->value() : MString();
}
MStatus MFnStringData::set(const MString& newString) {
    return setData<hx::StringData>(mObject, "MFnStringData", newString);
}
