#include <maya/MFnBase.h>

#include "FnSet.h"

MFnBase::MFnBase() {}
MFnBase::~MFnBase() {}
MFn::Type MFnBase::type() const { return MFn::kBase; }
const char* MFnBase::className() { return "MFnBase"; }

bool MFnBase::hasObj(MFn::Type tp) const { return mObject.hasFn(tp); }
bool MFnBase::hasObj(const MObject& object) const { return object.hasFn(type()); }

MObject MFnBase::object(MStatus* ReturnStatus) const {
    hx::report(ReturnStatus, mObject.isNull() ? MStatus(MStatus::kInvalidParameter) : MStatus());
    return mObject;
}

MStatus MFnBase::setObject(MObject& object) { return attach(object); }
MStatus MFnBase::setObject(const MObject& object) { return attach(object); }

MStatus MFnBase::attach(const MObject& object) {
    if (object.isNull()) {
        mObject = MObject();
        return hx::Access::fail(MStatus::kInvalidParameter, std::string(className()) + ": the object is null");
    }
    if (!object.hasFn(type())) {
        mObject = MObject();
        return hx::Access::fail(MStatus::kInvalidParameter, "the object is not compatible with this function set");
    }
    mObject = object;
    return MStatus();
}
