#include <maya/MFnAttribute.h>

#include "../engine/Attribute.h"
#include "FnSet.h"

using hx::Attribute;
using hx::Flag;

HX_DEFINE_MFN(MFnAttribute, MFn::kAttribute)

namespace {

Attribute* attributeOf(const MObject& object) { return hx::Access::as<Attribute>(object); }

MStatus setFlag(const MObject& object, Flag flag, bool state, const char* function) {
    Attribute* attribute = attributeOf(object);
    if (MStatus fault = hx::injectedFault(function, hx::faultSubject(attribute)); !fault) return fault;
    if (!attribute) return hx::notAttached("MFnAttribute");
    return hx::Access::status(attribute->setFlag(flag, state));
}

bool getFlag(const MObject& object, Flag flag, MStatus* ReturnStatus) {
    Attribute* attribute = attributeOf(object);
    hx::report(ReturnStatus, attribute ? MStatus() : hx::notAttached("MFnAttribute"));
    return attribute && attribute->flag(flag);
}

}  // namespace

#define HX_FLAG(Setter, Getter, Which)                                                                          \
    MStatus MFnAttribute::Setter(bool s) { return setFlag(mObject, Flag::Which, s, "MFnAttribute::" #Setter); } \
    bool MFnAttribute::Getter(MStatus* st) const { return getFlag(mObject, Flag::Which, st); }
HX_FLAG(setKeyable, isKeyable, Keyable)
HX_FLAG(setStorable, isStorable, Storable)
HX_FLAG(setReadable, isReadable, Readable)
HX_FLAG(setWritable, isWritable, Writable)
HX_FLAG(setConnectable, isConnectable, Connectable)
HX_FLAG(setHidden, isHidden, Hidden)
HX_FLAG(setCached, isCached, Cached)
HX_FLAG(setChannelBox, isChannelBoxFlagSet, ChannelBox)
HX_FLAG(setIndexMatters, indexMatters, IndexMatters)
HX_FLAG(setUsesArrayDataBuilder, isUsesArrayDataBuilder, UsesArrayDataBuilder)
HX_FLAG(setUsedAsColor, isUsedAsColor, UsedAsColor)
#undef HX_FLAG

// Plugs of a type's attributes already exist: a multi cannot become single or the reverse.
MStatus MFnAttribute::setArray(bool state) {
    Attribute* attribute = attributeOf(mObject);
    if (!attribute) return hx::notAttached("MFnAttribute");
    return hx::Access::status(attribute->setFlag(Flag::Array, state));
}
bool MFnAttribute::isArray(MStatus* st) const { return getFlag(mObject, Flag::Array, st); }

MStatus MFnAttribute::setDisconnectBehavior(DisconnectBehavior behavior) {
    Attribute* attribute = attributeOf(mObject);
    if (!attribute) return hx::notAttached("MFnAttribute");
    attribute->setDisconnectBehavior(behavior);
    return MStatus();
}

MFnAttribute::DisconnectBehavior MFnAttribute::disconnectBehavior(MStatus* ReturnStatus) const {
    Attribute* attribute = attributeOf(mObject);
    hx::report(ReturnStatus, attribute ? MStatus() : hx::notAttached("MFnAttribute"));
    return attribute ? static_cast<DisconnectBehavior>(attribute->disconnectBehavior()) : kNothing;
}

MString MFnAttribute::name(MStatus* ReturnStatus) const {
    Attribute* attribute = attributeOf(mObject);
    hx::report(ReturnStatus, attribute ? MStatus() : hx::notAttached("MFnAttribute"));
    return attribute ? MString(attribute->name().c_str()) : MString();
}

MString MFnAttribute::shortName(MStatus* ReturnStatus) const {
    Attribute* attribute = attributeOf(mObject);
    hx::report(ReturnStatus, attribute ? MStatus() : hx::notAttached("MFnAttribute"));
    return attribute ? MString(attribute->shortName().c_str()) : MString();
}

MObject MFnAttribute::parent(MStatus* ReturnStatus) const {
    Attribute* attribute = attributeOf(mObject);
    hx::report(ReturnStatus, attribute ? MStatus() : hx::notAttached("MFnAttribute"));
    return attribute ? hx::Access::wrap(attribute->parent()) : MObject();
}
