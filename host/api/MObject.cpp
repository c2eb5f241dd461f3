#include <maya/MObject.h>
#include <maya/MTypeId.h>

#include "../engine/Access.h"

MObject MObject::kNullObj;

MObject::MObject() : mObject(nullptr) {}
MObject::MObject(const MObject& other) : mObject(other.mObject) {
    if (mObject) mObject->retain();
}
MObject::~MObject() {
    if (mObject) mObject->release();
}

MObject& MObject::operator=(const MObject& other) {
    if (other.mObject) other.mObject->retain();
    if (mObject) mObject->release();
    mObject = other.mObject;
    return *this;
}

bool MObject::isNull() const { return mObject == nullptr; }
MFn::Type MObject::apiType() const { return mObject ? mObject->apiType() : MFn::kInvalid; }
bool MObject::hasFn(MFn::Type fs) const { return mObject && hx::isKindOf(mObject->apiType(), fs); }
bool MObject::operator==(const MObject& other) const { return mObject == other.mObject; }
bool MObject::operator!=(const MObject& other) const { return mObject != other.mObject; }

namespace hx {

MObject Access::wrap(Object* object) {
    MObject handle;
    handle.mObject = object;
    if (object) object->retain();
    return handle;
}

}  // namespace hx

MTypeId::MTypeId() : mId(0) {}
MTypeId::MTypeId(unsigned int id) : mId(id) {}
// The SDK combines a 24-bit prefix with an 8-bit id.
MTypeId::MTypeId(unsigned int prefix, unsigned int id) : mId((prefix << 8) | (id & 0xFF)) {}
MTypeId::MTypeId(const MTypeId&) = default;
MTypeId::~MTypeId() {}
MTypeId& MTypeId::operator=(const MTypeId&) = default;
bool MTypeId::operator==(const MTypeId& rhs) const { return mId == rhs.mId; }
bool MTypeId::operator!=(const MTypeId& rhs) const { return mId != rhs.mId; }
unsigned int MTypeId::id(MStatus* ReturnStatus) const {
    if (ReturnStatus) *ReturnStatus = MStatus::kSuccess;
    return mId;
}
