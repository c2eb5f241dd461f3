#include <maya/MFnAttribute.h>

#include "../engine/Attribute.h"
#include "FnSet.h"

using hx::Attribute;

HX_DEFINE_MFN(MFnAttribute, MFn::kAttribute)

namespace {

MStatus setFlag(const MObject& object, bool Attribute::*flag, bool state, const char* function) {
    Attribute* attribute = hx::Access::as<Attribute>(object);
    if (MStatus fault = hx::injectedFault(function, hx::faultSubject(attribute)); !fault) return fault;
    if (!attribute) return hx::notAttached("MFnAttribute");
    attribute->*flag = state;
    return MStatus();
}

bool getFlag(const MObject& object, bool Attribute::*flag, MStatus* ReturnStatus) {
    Attribute* attribute = hx::Access::as<Attribute>(object);
    hx::report(ReturnStatus, attribute ? MStatus() : hx::notAttached("MFnAttribute"));
    return attribute && attribute->*flag;
}

}  // namespace

#define HX_FLAG_SETTER(Name, Field)                                                    \
    MStatus MFnAttribute::Name(bool s) { return setFlag(mObject, &Attribute::Field, s, "MFnAttribute::" #Name); }
HX_FLAG_SETTER(setKeyable, mKeyable)
HX_FLAG_SETTER(setStorable, mStorable)
HX_FLAG_SETTER(setReadable, mReadable)
HX_FLAG_SETTER(setWritable, mWritable)
HX_FLAG_SETTER(setConnectable, mConnectable)
HX_FLAG_SETTER(setHidden, mHidden)
HX_FLAG_SETTER(setCached, mCached)
HX_FLAG_SETTER(setChannelBox, mChannelBox)
HX_FLAG_SETTER(setIndexMatters, mIndexMatters)
HX_FLAG_SETTER(setUsesArrayDataBuilder, mUsesArrayDataBuilder)
#undef HX_FLAG_SETTER

MStatus MFnAttribute::setArray(bool state) {
    Attribute* attribute = hx::Access::as<Attribute>(mObject);
    if (!attribute) return hx::notAttached("MFnAttribute");
    // Plugs of a type's attributes already exist; their shape cannot change under them.
    if (attribute->mAdded)
        return hx::Access::fail(MStatus::kFailure, "'" + attribute->mName +
                                                       "' already belongs to a node type; it cannot become a multi");
    attribute->mArray = state;
    return MStatus();
}

MStatus MFnAttribute::setDisconnectBehavior(DisconnectBehavior behavior) {
    Attribute* attribute = hx::Access::as<Attribute>(mObject);
    if (!attribute) return hx::notAttached("MFnAttribute");
    attribute->mDisconnectBehavior = behavior;
    return MStatus();
}

bool MFnAttribute::isKeyable(MStatus* st) const { return getFlag(mObject, &Attribute::mKeyable, st); }
bool MFnAttribute::isStorable(MStatus* st) const { return getFlag(mObject, &Attribute::mStorable, st); }
bool MFnAttribute::isReadable(MStatus* st) const { return getFlag(mObject, &Attribute::mReadable, st); }
bool MFnAttribute::isWritable(MStatus* st) const { return getFlag(mObject, &Attribute::mWritable, st); }
bool MFnAttribute::isConnectable(MStatus* st) const { return getFlag(mObject, &Attribute::mConnectable, st); }
bool MFnAttribute::isHidden(MStatus* st) const { return getFlag(mObject, &Attribute::mHidden, st); }
bool MFnAttribute::isCached(MStatus* st) const { return getFlag(mObject, &Attribute::mCached, st); }
bool MFnAttribute::isArray(MStatus* st) const { return getFlag(mObject, &Attribute::mArray, st); }
bool MFnAttribute::isChannelBoxFlagSet(MStatus* st) const { return getFlag(mObject, &Attribute::mChannelBox, st); }
bool MFnAttribute::indexMatters(MStatus* st) const { return getFlag(mObject, &Attribute::mIndexMatters, st); }

MFnAttribute::DisconnectBehavior MFnAttribute::disconnectBehavior(MStatus* ReturnStatus) const {
    Attribute* attribute = hx::Access::as<Attribute>(mObject);
    hx::report(ReturnStatus, attribute ? MStatus() : hx::notAttached("MFnAttribute"));
    return attribute ? static_cast<DisconnectBehavior>(attribute->mDisconnectBehavior) : kNothing;
}

MString MFnAttribute::name(MStatus* ReturnStatus) const {
    Attribute* attribute = hx::Access::as<Attribute>(mObject);
    hx::report(ReturnStatus, attribute ? MStatus() : hx::notAttached("MFnAttribute"));
    return attribute ? MString(attribute->mName.c_str()) : MString();
}

MString MFnAttribute::shortName(MStatus* ReturnStatus) const {
    Attribute* attribute = hx::Access::as<Attribute>(mObject);
    hx::report(ReturnStatus, attribute ? MStatus() : hx::notAttached("MFnAttribute"));
    return attribute ? MString(attribute->mShortName.c_str()) : MString();
}

MObject MFnAttribute::parent(MStatus* ReturnStatus) const {
    Attribute* attribute = hx::Access::as<Attribute>(mObject);
    hx::report(ReturnStatus, attribute ? MStatus() : hx::notAttached("MFnAttribute"));
    return attribute ? hx::Access::wrap(attribute->mParent) : MObject();
}
